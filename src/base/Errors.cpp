#include "base/Errors.h"

std::string MessageWithText(const std::string& pattern, const std::string& text) {
    std::string result = pattern;
    if (auto at = result.find("%s"); at != std::string::npos)
        result.replace(at, 2, text);
    return result;
}
