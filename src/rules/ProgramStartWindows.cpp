// Starting a program on Windows: CreateProcess finds the program named first on the command line
// the system's usual way and splits the rest itself. The wide call, as everywhere: a program or a
// file named in any script reaches the system unchanged.
#include "rules/ProgramStart.h"

#include "base/WindowsApi.h"
#include "base/WindowsText.h"

StartResult StartProgramOnSystem(const StartRequest& request) {
    // CreateProcessW may write into the command line, so it gets a zero-terminated copy of its own.
    const std::wstring wide = Utf8ToWide(request.commandLine);
    std::vector<wchar_t> commandLine(wide.begin(), wide.end());
    commandLine.push_back(L'\0');

    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = request.showCommand;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE,
                        CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS, nullptr, nullptr, &startup,
                        &process)) {
        // The system's own number: the launcher's error table was made for its numbering.
        return {false, static_cast<int>(GetLastError())};
    }
    CloseHandle(process.hThread);
    StartResult result{true, 0};
    if (request.wait) {
        WaitForSingleObject(process.hProcess, INFINITE);
        DWORD exitCode = 0;
        if (GetExitCodeProcess(process.hProcess, &exitCode))
            result.exitCode = static_cast<int>(exitCode);
    }
    CloseHandle(process.hProcess);
    return result;
}

std::optional<std::string> ChangeCurrentDirectory(const std::string& path) {
    // The wide call: the program's own folder may be named in any script.
    if (SetCurrentDirectoryW(Utf8ToWide(path).c_str()))
        return std::nullopt;
    return WindowsErrorMessage(GetLastError());
}

std::optional<std::string> SystemStartErrorText(int errNo, const std::string& program) {
    if (errNo <= 0)
        return std::nullopt;
    return WindowsErrorMessage(static_cast<unsigned long>(errNo), program);
}
