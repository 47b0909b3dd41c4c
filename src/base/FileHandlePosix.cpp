#include "base/FileHandle.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
