#include "base/ExecutablePath.h"

#include "base/Errors.h"

#include <unistd.h>
#include <vector>

std::string ExecutablePath() {
    // /proc/self/exe names the executable with every symbolic link resolved.
    for (std::size_t size = 256; size <= 65536; size *= 2) {
        std::vector<char> buffer(size);
        const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0)
            break;
        if (static_cast<std::size_t>(length) < size)
            return std::string(buffer.data(), static_cast<std::size_t>(length));
    }
    throw Exception("Unable to find the program's own file");
}
