#pragma once
// Reading a small file that the program does not control, such as its settings file: never
// waiting on a FIFO or a device that was put in the file's place, and never reading more than a
// bound.
#include <cstddef>
#include <optional>
#include <string>

// The first `maxBytes` bytes of the file at `path` (UTF-8), or nothing when it is missing, cannot
// be read or is no regular file. The kind is told by the file that was opened, not by a look at
// the name beforehand, so a file swapped in between cannot block the caller.
std::optional<std::string> ReadRegularFile(const std::string& path, std::size_t maxBytes);
