#pragma once
// TAppExec starts another program from a name, a list of parameters and optionally a directory,
// shows its first window in a chosen state and optionally waits for it to end. Failures are
// raised as EAppExecChDir or EAppExecWinExec with French messages.
#include "rules/AppExecErrors.h"
#include "rules/ProgramStart.h"

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

enum class TWindowState { wsNormal, wsMinimized, wsMaximized };

class TAppExec {
public:
    // The longest command line the start accepts; a longer one is refused, never cut.
    static constexpr std::size_t MaxCommandLine = 511;

    bool ChangeDir() const { return changeDir_; }
    void SetChangeDir(bool changeDir) { changeDir_ = changeDir; }

    // -1 nothing started; 0 a waited program has ended; else why the last start failed.
    int ErrNo() const { return errNo_; }
    // After a waited start: the program's exit code (-1 when it did not exit by itself).
    int ExitCode() const { return exitCode_; }

    const std::string& ExeName() const { return exeName_; }
    void SetExeName(const std::string& exeName) { exeName_ = exeName; }

    // The parameters, one item each, in order; the caller may fill the list directly.
    std::vector<std::string>& ExeParams() { return exeParams_; }
    const std::vector<std::string>& ExeParams() const { return exeParams_; }
    void SetExeParams(const std::vector<std::string>& exeParams) { exeParams_ = exeParams; }

    // The directory to change to. A final "\" is dropped unless the path is a root ("\", "C:\").
    const std::string& ExePath() const { return exePath_; }
    void SetExePath(const std::string& exePath);

    bool Wait() const { return wait_; }
    void SetWait(bool wait) { wait_ = wait; }

    TWindowState WindowState() const { return windowState_; }
    void SetWindowState(TWindowState windowState);
    // The system's show command that follows WindowState: 1 normal, 2 minimised, 3 maximised.
    std::uint16_t ShowCommand() const { return showCommand_; }

    // Builds the command line, changes directory if asked (the change stays for the whole
    // program), starts the program and, with Wait, returns once it has ended.
    void Execute();
    // Forgets the program, its path and parameters and the last result; the options stay.
    void Clear();
    // The French text for ErrNo.
    std::string ErrorText() const { return AppExecErrorText(errNo_, exeName_); }

private:
    bool changeDir_ = true;
    int errNo_ = -1;
    int exitCode_ = 0;
    std::string exeName_;
    std::vector<std::string> exeParams_;
    std::string exePath_;
    bool wait_ = false;
    TWindowState windowState_ = TWindowState::wsNormal;
    std::uint16_t showCommand_ = 1;
};

// The program's name followed by each parameter after one space, nothing quoted.
std::string BuildCommandLine(const std::string& exeName, const std::vector<std::string>& exeParams);
