#pragma once
// The file and process calls that differ between the platforms, one file of them for each:
// the bounded read's calls, the system's file operations of a replacement (declared with the
// replacement) and the process number. A handle is a C runtime file descriptor, -1 when none
// could be had.
#include "base/FileReplace.h"

#include <cstddef>
#include <string>

// Opens the file at `path` (UTF-8) for reading, or returns -1 when it cannot be opened or what
// was opened is no regular file. Never waits: a FIFO without a writer is refused at once.
int OpenRegularFile(const std::string& path);

// Reads at most `size` bytes; 0 at the end of the file, below 0 on an error.
long long ReadSome(int handle, char* buffer, std::size_t size);

void CloseFile(int handle);

int ProcessNumber();
