#pragma once
// The directory of the running program's own executable file, whatever the working directory.
#include <string>

// The executable's full path up to and including its last path separator. Raises Exception
// when the system cannot tell where the executable is.
std::string ProgramDirectory();
