#pragma once
// The errors the rules raise. A conversion error carries its full message; the silent abort
// cancels an operation and is dropped without a message by the windows' guard.
#include <stdexcept>
#include <string>

class Exception : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class EConvertError : public Exception {
public:
    using Exception::Exception;
};

class EAbort : public Exception {
public:
    EAbort() : Exception("Operation aborted") {}
};

// The message pattern with its single "%s" replaced by the offending text.
std::string MessageWithText(const std::string& pattern, const std::string& text);
