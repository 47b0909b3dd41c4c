#pragma once
// The launcher's errors and the French texts of its start results.
#include "base/Errors.h"

#include <string>

// Any failure of the launcher; the caller shows its message in a plain box.
class EAppExec : public Exception {
public:
    using Exception::Exception;
};

// The directory to change to could not be made the current one; nothing was started.
class EAppExecChDir : public EAppExec {
public:
    using EAppExec::EAppExec;
};

// The program could not be started; the launcher's ErrNo holds the reason.
class EAppExecWinExec : public EAppExec {
public:
    using EAppExec::EAppExec;
};

// Start results that the table has no row for but that every platform can meet.
inline constexpr int ErrNoCommandLineTooLong = 24; // also the system's own number for it

// The text for a start result: the table's row, or a text naming the number and, where the
// system has one, its own text (about program, the program that did not start). Negative
// numbers below -1 hold a system error number with no row (see ProgramStart.h).
std::string AppExecErrorText(int errNo, const std::string& program = {});
