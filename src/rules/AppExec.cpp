#include "rules/AppExec.h"

namespace {

// The system's own numbers for how a started program's first window is shown.
constexpr std::uint16_t ShowNormal = 1;
constexpr std::uint16_t ShowMinimized = 2;
constexpr std::uint16_t ShowMaximized = 3;

std::uint16_t ShowCommandFor(TWindowState state) {
    switch (state) {
    case TWindowState::wsMinimized:
        return ShowMinimized;
    case TWindowState::wsMaximized:
        return ShowMaximized;
    case TWindowState::wsNormal:
        break;
    }
    return ShowNormal;
}

bool IsDriveRoot(const std::string& path) {
    return path.size() == 3 && path[1] == ':' && path[2] == '\\';
}

} // namespace

std::string BuildCommandLine(const std::string& exeName,
                             const std::vector<std::string>& exeParams) {
    std::string commandLine = exeName;
    for (const std::string& param : exeParams) {
        commandLine += ' ';
        commandLine += param;
    }
    return commandLine;
}

void TAppExec::SetExePath(const std::string& exePath) {
    if (exePath == exePath_)
        return;
    exePath_ = exePath;
    if (!exePath_.empty() && exePath_.back() == '\\' && exePath_ != "\\" && !IsDriveRoot(exePath_))
        exePath_.pop_back();
}

void TAppExec::SetWindowState(TWindowState windowState) {
    if (windowState == windowState_)
        return;
    showCommand_ = ShowCommandFor(windowState);
    windowState_ = windowState;
}

void TAppExec::Execute() {
    const std::string commandLine = BuildCommandLine(exeName_, exeParams_);
    if (commandLine.size() > MaxCommandLine) {
        // Cutting it would start the program with other parameters than asked for.
        errNo_ = ErrNoCommandLineTooLong;
        throw EAppExecWinExec(ErrorText());
    }
    if (changeDir_ && !exePath_.empty()) {
        if (const auto failure = ChangeCurrentDirectory(exePath_))
            throw EAppExecChDir(*failure);
    }
    const StartResult result = StartProgram({commandLine, showCommand_, wait_});
    if (!result.started) {
        errNo_ = result.errNo;
        throw EAppExecWinExec(ErrorText());
    }
    if (wait_) {
        errNo_ = 0;
        exitCode_ = result.exitCode;
    }
}

void TAppExec::Clear() {
    errNo_ = -1;
    exitCode_ = 0;
    exeName_.clear();
    exePath_.clear();
    exeParams_.clear();
}
