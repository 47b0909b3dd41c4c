#pragma once
// The program's own executable file, one way for each platform.
#include <string>

// The executable's full path as the system reports it, in UTF-8. Raises Exception when the
// system cannot say.
std::string ExecutablePath();
