#include "rules/ProfileText.h"

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

char AsciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiUpper(a[i]) != AsciiUpper(b[i]))
            return false;
    return true;
}

std::string ValueOf(std::string_view raw) {
    std::string_view value = Trimmed(raw);
    if (auto nul = value.find('\0'); nul != std::string_view::npos)
        value = value.substr(0, nul);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::string(value.substr(0, MaxProfileValueLength));
}

// The name of the section that `line` opens, or nothing when it opens none.
std::optional<std::string_view> SectionName(std::string_view line) {
    std::string_view text = Trimmed(line);
    if (text.empty() || text.front() != '[')
        return std::nullopt;
    const std::size_t close = text.rfind(']');
    if (close == std::string_view::npos || close == 0)
        return std::nullopt;
    return Trimmed(text.substr(1, close - 1));
}

} // namespace

std::optional<std::string> FindProfileValue(std::string_view text, std::string_view section,
                                            std::string_view key) {
    bool inSection = false;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view line = text.substr(start, end - start);
        start = end + 1;

        if (auto name = SectionName(line)) {
            if (inSection)
                return std::nullopt; // the first section with the name ended without the key
            inSection = SameName(*name, section);
            continue;
        }
        if (!inSection)
            continue;
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos)
            continue;
        if (SameName(Trimmed(line.substr(0, equals)), key))
            return ValueOf(line.substr(equals + 1));
    }
    return std::nullopt;
}
