#include "base/ProgramDirectory.h"

#include "base/Errors.h"

#include <vector>

#ifdef _WIN32
#include "base/WindowsText.h"

#include <windows.h>
#else
#include <unistd.h>
#endif

namespace {

// The executable's full path as the system reports it.
std::string ExecutablePath() {
#ifdef _WIN32
    // The wide name, so that any folder name survives; the returned length equals the buffer
    // size when the path did not fit: grow and retry.
    for (DWORD size = MAX_PATH; size <= 32768; size *= 2) {
        std::vector<wchar_t> buffer(size);
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), size);
        if (length == 0)
            break;
        if (length < size)
            return WideToUtf8(std::wstring(buffer.data(), length));
    }
#else
    // /proc/self/exe names the executable with every symbolic link resolved.
    for (std::size_t size = 256; size <= 65536; size *= 2) {
        std::vector<char> buffer(size);
        const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0)
            break;
        if (static_cast<std::size_t>(length) < size)
            return std::string(buffer.data(), static_cast<std::size_t>(length));
    }
#endif
    throw Exception("Unable to find the program's own file");
}

} // namespace

std::string ProgramDirectory() {
    const std::string path = ExecutablePath();
#ifdef _WIN32
    const std::size_t separator = path.find_last_of("\\/");
#else
    const std::size_t separator = path.rfind('/');
#endif
    if (separator == std::string::npos)
        throw Exception("Unable to find the program's own file");
    return path.substr(0, separator + 1);
}
