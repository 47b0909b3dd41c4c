#include "base/FileRead.h"

#include <algorithm>
#include <array>
#include <cerrno>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>

#include "base/WindowsText.h"
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

#ifdef _WIN32

int OpenRegularFile(const std::string& path) {
    int handle = -1;
    if (_wsopen_s(&handle, Utf8ToWide(path).c_str(), _O_RDONLY | _O_BINARY, _SH_DENYNO, 0) != 0)
        return -1;
    struct _stat64 opened;
    if (_fstat64(handle, &opened) != 0 || (opened.st_mode & _S_IFMT) != _S_IFREG) {
        _close(handle);
        return -1;
    }
    return handle;
}

long long ReadSome(int handle, char* buffer, std::size_t size) {
    return _read(handle, buffer, static_cast<unsigned>(size));
}

void CloseFile(int handle) {
    _close(handle);
}

#else

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

#endif

} // namespace

std::optional<std::string> ReadRegularFile(const std::string& path, std::size_t maxBytes) {
    const int handle = OpenRegularFile(path);
    if (handle < 0)
        return std::nullopt;
    // Small pieces: the files read this way are a few dozen bytes, and read often.
    std::string content;
    std::array<char, 16 * 1024> piece;
    while (content.size() < maxBytes) {
        const long long read =
            ReadSome(handle, piece.data(), std::min(piece.size(), maxBytes - content.size()));
        if (read < 0) {
            CloseFile(handle);
            return std::nullopt;
        }
        if (read == 0)
            break;
        content.append(piece.data(), static_cast<std::size_t>(read));
    }
    CloseFile(handle);
    return content;
}
