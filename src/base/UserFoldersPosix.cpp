#include "base/UserFolders.h"

#include "base/Errors.h"

#include <cerrno>
#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

bool IsAbsolute(const char* path) {
    return path != nullptr && path[0] == '/';
}

bool IsFolder(const std::string& path) {
    struct stat status;
    return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    if (IsAbsolute(home))
        return home;
    std::vector<char> buffer(16384);
    passwd entry;
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && IsAbsolute(found->pw_dir))
        return found->pw_dir;
    throw Exception("Unable to find the user's home folder");
}

} // namespace

bool FolderIsWritable(const std::string& folder) {
    // A save writes a new file in the folder and renames it over the old one: both need write
    // and search permission on the folder itself, whatever the file's own permissions.
    return IsFolder(folder) && ::access(folder.c_str(), W_OK | X_OK) == 0;
}

std::string UserConfigFolder() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (IsAbsolute(config))
        return config;
    return HomeFolder() + "/.config";
}

bool MakePrivateFolders(const std::string& folder) {
    for (std::size_t end = folder.find('/', 1);; end = folder.find('/', end + 1)) {
        const std::string step = folder.substr(0, end);
        if (::mkdir(step.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
        if (end == std::string::npos)
            break;
    }
    return IsFolder(folder);
}
