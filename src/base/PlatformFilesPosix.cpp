#include "base/PlatformFiles.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class PosixFileOperations final : public FileOperations {
public:
    int OpenTemporary(const std::string& path, const std::string& permissionsOf) override {
        // O_EXCL: only a file this call creates is ever written. Whatever was planted under the
        // name, a FIFO that would block the open for ever, a hard or symbolic link to another
        // file, is left alone (O_EXCL does not follow a symbolic link either).
        const int handle =
            ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (handle < 0)
            return errno == EEXIST ? TemporaryNameTaken : -1;
        // A replaced file keeps its permissions, but never gains set-id bits from a save.
        struct stat old;
        const mode_t mode = ::stat(permissionsOf.c_str(), &old) == 0 && S_ISREG(old.st_mode)
                                ? (old.st_mode & 0777)
                                : 0644;
        if (::fchmod(handle, mode) != 0) {
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

} // namespace

int OpenRegularFile(const std::string& path) {
    // O_NONBLOCK: opening a FIFO without a writer would wait for one for ever.
    const int handle = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (handle < 0)
        return -1;
    struct stat opened;
    if (::fstat(handle, &opened) != 0 || !S_ISREG(opened.st_mode)) {
        ::close(handle);
        return -1;
    }
    return handle;
}

long long ReadSome(int handle, char* buffer, std::size_t size) {
    ssize_t read = 0;
    do
        read = ::read(handle, buffer, size);
    while (read < 0 && errno == EINTR);
    return read;
}

void CloseFile(int handle) {
    ::close(handle);
}

int ProcessNumber() {
    return static_cast<int>(::getpid());
}

FileOperations& SystemFileOperations() {
    static PosixFileOperations operations;
    return operations;
}
