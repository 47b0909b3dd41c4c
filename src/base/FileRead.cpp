#include "base/FileRead.h"

#include "base/PlatformFiles.h"

#include <algorithm>
#include <array>

std::optional<std::string> ReadRegularFile(const std::string& path, std::size_t maxBytes) {
    const int handle = OpenRegularFile(path);
    if (handle < 0)
        return std::nullopt;
    // Small pieces: the files read this way are a few dozen bytes, and read often.
    std::string content;
    std::array<char, 16 * 1024> piece;
    while (content.size() < maxBytes) {
        const long long read =
            ReadSome(handle, piece.data(), std::min(piece.size(), maxBytes - content.size()));
        if (read < 0) {
            CloseFile(handle);
            return std::nullopt;
        }
        if (read == 0)
            break;
        content.append(piece.data(), static_cast<std::size_t>(read));
    }
    CloseFile(handle);
    return content;
}
