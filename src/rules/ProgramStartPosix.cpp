// Starting a program on POSIX systems: posix_spawnp, never a shell, so no character of the command
// line has any meaning but the blanks that separate its items.
#include "rules/AppExecErrors.h"
#include "rules/ProgramStart.h"

#include <cerrno>
#include <csignal>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <system_error>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

bool IsDirectory(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The launcher's number for a system error, where the table has a row that means the same.
int LauncherErrNo(int error, const std::string& program) {
    switch (error) {
    case ENOENT: {
        // A program named with a directory that does not exist is a path, not a file, not found.
        const auto slash = program.rfind('/');
        if (slash != std::string::npos && !IsDirectory(program.substr(0, slash + 1)))
            return 3;
        return 2;
    }
    case ENOTDIR:
        return 3;
    case EACCES:
    case EPERM:
        return 5;
    case ENOMEM:
        return 8;
    case ENOEXEC:
        return 11;
    case ELIBBAD:
        return 20;
    case E2BIG:
        return ErrNoCommandLineTooLong;
    default:
        return -error;
    }
}

// The program's exit code, or -1 when it did not exit by itself.
int WaitForEnd(pid_t pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) == -1)
        if (errno != EINTR)
            return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A program started without waiting is collected by a thread of its own that waits for it, so it
// never stays behind as a zombie. A thread per program leaves the process's SIGCHLD handling alone
// (ignoring SIGCHLD would break every other wait in the process) and needs no fork in a threaded
// program.
void CollectWhenEnded(pid_t pid) {
    try {
        std::thread(WaitForEnd, pid).detach();
    } catch (const std::system_error&) {
        // No thread to spare: the program has started all the same, and once ended it only keeps
        // its process-table entry until this program ends.
    }
}

// The started program gets a clean signal set-up, not the launcher's: no blocked signals and the
// default action for SIGPIPE, which GUI programs often ignore.
class SpawnAttributes {
public:
    SpawnAttributes() {
        posix_spawnattr_init(&attributes_);
        sigset_t none;
        sigemptyset(&none);
        posix_spawnattr_setsigmask(&attributes_, &none);
        sigset_t byDefault;
        sigemptyset(&byDefault);
        sigaddset(&byDefault, SIGPIPE);
        posix_spawnattr_setsigdefault(&attributes_, &byDefault);
        posix_spawnattr_setflags(&attributes_, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    }
    ~SpawnAttributes() { posix_spawnattr_destroy(&attributes_); }
    SpawnAttributes(const SpawnAttributes&) = delete;
    SpawnAttributes& operator=(const SpawnAttributes&) = delete;
    const posix_spawnattr_t* Get() const { return &attributes_; }

private:
    posix_spawnattr_t attributes_;
};

} // namespace

StartResult StartProgramOnSystem(const StartRequest& request) {
    std::vector<std::string> items = SplitCommandLine(request.commandLine);
    if (items.empty())
        return {false, 2}; // a blank command line names no program to find
    std::vector<char*> argv;
    for (std::string& item : items)
        argv.push_back(item.data());
    argv.push_back(nullptr);

    // The show command has no counterpart here: a program opens its own windows as it likes.
    const SpawnAttributes attributes;
    pid_t pid = 0;
    const int error = posix_spawnp(&pid, argv[0], nullptr, attributes.Get(), argv.data(), environ);
    if (error != 0)
        return {false, LauncherErrNo(error, items.front())};
    if (request.wait)
        return {true, 0, WaitForEnd(pid)};
    CollectWhenEnded(pid);
    return {true, 0};
}

std::optional<std::string> ChangeCurrentDirectory(const std::string& path) {
    if (chdir(path.c_str()) == 0)
        return std::nullopt;
    const int error = errno;
    return std::system_category().message(error);
}

std::optional<std::string> SystemStartErrorText(int, const std::string&) {
    return std::nullopt;
}
