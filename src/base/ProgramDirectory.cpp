#include "base/ProgramDirectory.h"

#include "base/Errors.h"
#include "base/ExecutablePath.h"

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
