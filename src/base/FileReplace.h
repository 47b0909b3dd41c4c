#pragma once
// Replacing a whole file in one step, so that a failure at any point leaves the old file whole:
// the new content goes to a temporary file in the same directory, reaches the disk, and only
// then takes the old file's name by a rename.
#include <cstddef>
#include <string>
#include <string_view>

// The file steps of a replacement, one per function, so that a test can make any one of them
// fail. Handles are small non-negative integers; -1 means the step failed.
class FileOperations {
public:
    virtual ~FileOperations() = default;
    // Creates `path` as a new, empty file and opens it for writing. Whatever already has that
    // name (a file, a link, a FIFO, a device) is never opened: the result is then
    // TemporaryNameTaken. The new file gets the permission bits of `permissionsOf` without the
    // set-id bits when that file exists, 0644 otherwise.
    virtual int OpenTemporary(const std::string& path, const std::string& permissionsOf) = 0;
    virtual bool WriteAll(int handle, std::string_view bytes) = 0;
    virtual bool FlushToDisk(int handle) = 0;
    virtual bool Close(int handle) = 0;
    // Gives `from` the name `to` in one step, replacing any file of that name.
    virtual bool Rename(const std::string& from, const std::string& to) = 0;
    virtual void Remove(const std::string& path) = 0;
};

// What OpenTemporary gives when something already has the name; another name is tried.
inline constexpr int TemporaryNameTaken = -2;

// The operating system's own file operations.
FileOperations& SystemFileOperations();

// The longest file name, in bytes, that the usual file systems take (ext4, NTFS, FAT's long
// names): a name the user may give a file.
inline constexpr std::size_t MaxFileNameBytes = 255;

// The temporary file of a name too long to take 21 more bytes is
// "<ShortTemporaryPrefix><16 hexadecimal digits>.tmp" in the same directory.
inline constexpr const char* ShortTemporaryPrefix = ".quotario-";
bool HasShortTemporaryName(const std::string& fileName);

// A fresh name for the temporary file of a replacement of `path`, different at every call:
// beside it, "<name>.<16 hexadecimal digits>.tmp", or the short name when that is too long.
std::string TemporaryFileFor(const std::string& path);

// True when `name` (a bare file name) is one that a replacement of the file `fileName` uses
// for its temporary file: "<fileName>.<16 hexadecimal digits>.tmp", or the short name for a
// name too long for that.
bool IsTemporaryFileName(const std::string& fileName, const std::string& name);

// Temporary files of replacements of `path` left behind by a save that was killed. Only
// regular files with a single name, named as IsTemporaryFileName says and untouched for this
// long, count: a save writes its temporary file within moments, so no save still running can
// own one. Even one so slow loses nothing: its rename fails, the save reports the failure,
// and the old file stays whole.
inline constexpr int StaleTemporaryMinutes = 15;
void RemoveStaleTemporaryFiles(const std::string& path);

// Makes `content` the whole content of `path`, creating the file when it is missing. Returns
// false when any step fails, with errno from that step; the file at `path` is then as it was
// before, and no temporary file is left behind. A file whose owner may not write it is refused
// (EACCES) and stays as it is. Stale temporary files of `path` are removed first.
bool ReplaceFileContent(const std::string& path, std::string_view content,
                        FileOperations& operations = SystemFileOperations());
