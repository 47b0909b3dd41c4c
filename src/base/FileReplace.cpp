#include "base/FileReplace.h"

#include <cerrno>
#include <cstdio>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <share.h>
#include <sys/stat.h>
#include <windows.h>

#include "base/WindowsText.h"
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

#ifdef _WIN32

class WindowsFileOperations final : public FileOperations {
public:
    int OpenTemporary(const std::string& path, const std::string&) override {
        // Windows keeps no permission bits worth copying; the directory's rights apply.
        int handle = -1;
        if (_wsopen_s(&handle, Utf8ToWide(path).c_str(),
                      _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY, _SH_DENYRW,
                      _S_IREAD | _S_IWRITE) != 0)
            return -1;
        return handle;
    }
    bool WriteAll(int handle, std::string_view bytes) override {
        while (!bytes.empty()) {
            const int written = _write(handle, bytes.data(), static_cast<unsigned>(bytes.size()));
            if (written <= 0)
                return false;
            bytes.remove_prefix(static_cast<std::size_t>(written));
        }
        return true;
    }
    bool FlushToDisk(int handle) override { return _commit(handle) == 0; }
    bool Close(int handle) override { return _close(handle) == 0; }
    bool Rename(const std::string& from, const std::string& to) override {
        // Replaces the old file in one step: a failure leaves it whole.
        return MoveFileExW(Utf8ToWide(from).c_str(), Utf8ToWide(to).c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    }
    void Remove(const std::string& path) override { DeleteFileW(Utf8ToWide(path).c_str()); }
};

#else

class PosixFileOperations final : public FileOperations {
public:
    int OpenTemporary(const std::string& path, const std::string& permissionsOf) override {
        // O_NOFOLLOW: a link planted under the temporary name must not redirect the write.
        const int handle =
            ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (handle < 0)
            return -1;
        // A replaced file keeps the permissions it had; a new one gets the usual ones.
        struct stat old;
        if (::stat(permissionsOf.c_str(), &old) == 0 && S_ISREG(old.st_mode) &&
            ::fchmod(handle, old.st_mode & 07777) != 0) {
            ::close(handle);
            return -1;
        }
        return handle;
    }
    bool WriteAll(int handle, std::string_view bytes) override {
        while (!bytes.empty()) {
            const ssize_t written = ::write(handle, bytes.data(), bytes.size());
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0)
                return false;
            bytes.remove_prefix(static_cast<std::size_t>(written));
        }
        return true;
    }
    bool FlushToDisk(int handle) override { return ::fsync(handle) == 0; }
    bool Close(int handle) override { return ::close(handle) == 0; }
    bool Rename(const std::string& from, const std::string& to) override {
        if (::rename(from.c_str(), to.c_str()) != 0)
            return false;
        SyncDirectoryOf(to);
        return true;
    }
    void Remove(const std::string& path) override { ::unlink(path.c_str()); }

private:
    // Makes the new name itself durable. The replacement has already happened, so a failure
    // here changes nothing the program could report or undo.
    static void SyncDirectoryOf(const std::string& path) {
        const std::size_t separator = path.rfind('/');
        const std::string directory =
            separator == std::string::npos ? "." : path.substr(0, separator + 1);
        const int handle = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (handle >= 0) {
            ::fsync(handle);
            ::close(handle);
        }
    }
};

#endif

} // namespace

FileOperations& SystemFileOperations() {
#ifdef _WIN32
    static WindowsFileOperations operations;
#else
    static PosixFileOperations operations;
#endif
    return operations;
}

std::string TemporaryFileFor(const std::string& path) {
#ifdef _WIN32
    const int process = _getpid();
#else
    const int process = static_cast<int>(::getpid());
#endif
    return path + "." + std::to_string(process) + ".tmp";
}

bool ReplaceFileContent(const std::string& path, std::string_view content,
                        FileOperations& operations) {
    const std::string temporary = TemporaryFileFor(path);
    const int handle = operations.OpenTemporary(temporary, path);
    if (handle < 0) {
        operations.Remove(temporary);
        return false;
    }
    bool written = operations.WriteAll(handle, content) && operations.FlushToDisk(handle);
    written = operations.Close(handle) && written;
    if (written && operations.Rename(temporary, path))
        return true;
    operations.Remove(temporary);
    return false;
}
