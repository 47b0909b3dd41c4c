#pragma once
// Starting another program: the one place that talks to the system's process calls.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

struct StartRequest {
    std::string commandLine;       // program name and parameters separated by spaces, unquoted
    std::uint16_t showCommand = 1; // how its first window is shown (1 normal, 2 min., 3 max.)
    bool wait = false;             // return only once the program has ended
};

struct StartResult {
    bool started = false;
    // When not started: the reason in the launcher's numbering. On Windows that is the system's
    // own error number, which the table was made for. Elsewhere a system error becomes the row
    // that means the same thing, or else its negative system number (below -1, so it can never
    // be mistaken for a row).
    int errNo = 0;
    // When started and waited for: the program's exit code (a killed program counts as -1).
    int exitCode = 0;
};

// Starts the program named by the first item of the command line, found the system's usual way
// (searched along the PATH when named without a directory), with the caller's environment and
// current directory. With wait, blocks without time limit until it ends. Without wait, the
// program runs on by itself and leaves nothing behind when it ends. Goes through the starter
// seam below.
StartResult StartProgram(const StartRequest& request);

// The system's own start, which the seam calls unless a test has put a starter in its place.
StartResult StartProgramOnSystem(const StartRequest& request);

// Starts the program of a request; tests put a recorder in place of the system's start so that
// no real program opens. Returns the starter it replaces; an empty one puts the system's back.
using ProgramStarter = std::function<StartResult(const StartRequest& request)>;
ProgramStarter SetProgramStarter(ProgramStarter replacement);

// The system's own text for the number of a failed start, when that number is the system's: on
// Windows every positive number (GetLastError's), so that 193, say, reads as "not a valid Win32
// application" in the language of the user's Windows, with `program` in the place of the file.
// Nothing elsewhere.
std::optional<std::string> SystemStartErrorText(int errNo, const std::string& program);

// Makes path the process's current directory; on failure returns the system's message.
std::optional<std::string> ChangeCurrentDirectory(const std::string& path);

// The items a started program receives from an unquoted command line: the text split at runs of
// spaces and tabs, with leading and trailing blanks giving no empty item.
std::vector<std::string> SplitCommandLine(const std::string& commandLine);
