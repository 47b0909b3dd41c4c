#pragma once
// The alignment settings file "Allinea.ini": section "ALLINEA" with the two
// corrections (EDIT1 vertical, EDIT2 horizontal) and the three paper marks (EDITC, EDITD,
// EDITS). All values are texts, read and written unchanged; the window converts them.
//
// Reading takes at most MaxAlignmentFileBytes of the file (anything beyond is ignored), reads a
// file with a byte-order mark as its text, and follows the profile rules of ProfileText.h: names
// without regard to case, the first of duplicate keys, spaces around names and values trimmed, LF
// or CR LF line ends. Whatever the file holds, reading returns five texts; a missing file, section
// or key gives "default value".
//
// Writing always produces the same whole file, with LF line ends:
//   [ALLINEA]
//   EDITC=<centre mark>
//   EDITD=<right mark>
//   EDITS=<left mark>
//   EDIT1=<vertical correction>
//   EDIT2=<horizontal correction>
// It creates the file when it is missing (a save must never be lost silently) and replaces it
// in one step, so the user's earlier settings stay whole when the write fails.
//
// Where it lies: beside the program whenever the program's folder takes new files (an unpacked
// archive, a personal install, the Windows folder). The system-wide package's folder does not,
// so there each user has their own file in the configuration folder,
// $XDG_CONFIG_HOME/quotario/Allinea.ini; until the first save it reads as the default shipped
// beside the program.
#include "base/Errors.h"
#include "base/FileReplace.h"
#include "rules/PaperMarks.h"

#include <cstddef>
#include <string>

// The text of a key that the file does not hold.
inline constexpr const char* AlignmentDefaultValue = "default value";

inline constexpr std::size_t MaxAlignmentFileBytes = 4 * 1024 * 1024;

// The alignment state as the file carries it.
struct AlignmentTexts {
    std::string verticalCorrection;   // EDIT1
    std::string horizontalCorrection; // EDIT2
    PaperMarks paperMarks;            // EDITC, EDITD, EDITS
    bool operator==(const AlignmentTexts&) const = default;
};

// A save that could not write the file. Its message is "Unable to write to <full name>"; it
// also carries the file and the reason, in Italian, for the user.
class EIniFileException : public Exception {
public:
    EIniFileException(const std::string& file, std::string reason);
    const std::string& File() const { return file_; }
    const std::string& Reason() const { return reason_; }

private:
    std::string file_;
    std::string reason_;
};

// Why a save of `file` failed, as the user can mend it ("il file è di sola lettura"), from what
// lies at its place and the system's error number of the failed step.
std::string SaveFailureReason(const std::string& file, int systemError);
// What the user is told when a save failed: the file, the reason, and that nothing changed.
std::string SaveFailureMessage(const EIniFileException& failure);

// "Allinea.ini" in `directory`; a missing trailing separator is added.
std::string AlignmentFilePath(const std::string& directory);

// The file that saves write, and the shipped default read while that file does not exist.
struct AlignmentFilePlace {
    std::string file; // empty when the user's own file has no place: there is no home folder
    std::string shippedDefault; // empty when the file is the one beside the program
    bool operator==(const AlignmentFilePlace&) const = default;
};

// The place for a program whose executable is in `programDirectory`: the file beside it when
// that folder is writable (always on Windows), else the user's own file with the one beside the
// program as its default.
AlignmentFilePlace AlignmentFilePlaceFor(const std::string& programDirectory);
// The place for the running program.
AlignmentFilePlace ProgramAlignmentFilePlace();

// The five texts of the place's file, or of its shipped default while the file does not exist;
// never fails.
AlignmentTexts ReadAlignment(const AlignmentFilePlace& place);
// Saves `texts` into the place's file, first making the user's folders (mode 0700) that the
// file needs. Raises EIniFileException, naming the file, when it cannot be written.
void SaveAlignment(const AlignmentFilePlace& place, const AlignmentTexts& texts,
                   FileOperations& operations = SystemFileOperations());

// The five texts of the file at `path`; never fails.
AlignmentTexts ReadAlignmentFile(const std::string& path);

// The exact bytes a save writes. A value is written up to its first line break or NUL, so one
// value can never turn into further lines of the file.
std::string AlignmentFileContent(const AlignmentTexts& texts);

// Saves `texts` as the whole file at `path`. Raises EIniFileException when the file cannot be
// written; the file is then as it was before.
void WriteAlignmentFile(const std::string& path, const AlignmentTexts& texts,
                        FileOperations& operations = SystemFileOperations());
