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

void AppendUtf8(std::string& text, char32_t c) {
    if (c < 0x80) {
        text += static_cast<char>(c);
    } else if (c < 0x800) {
        text += static_cast<char>(0xC0 | (c >> 6));
        text += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        text += static_cast<char>(0xE0 | (c >> 12));
        text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        text += static_cast<char>(0xF0 | (c >> 18));
        text += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// UTF-16 units after the mark turned into UTF-8, or nothing when they are no whole UTF-16 text.
// A high surrogate alone at the very end is dropped: the read bound may have cut its pair.
std::optional<std::string> Utf16ToUtf8(std::string_view units, bool bigEndian) {
    if (units.size() % 2 != 0)
        return std::nullopt;
    auto unit = [&units, bigEndian](std::size_t i) {
        const auto first = static_cast<unsigned char>(units[2 * i]);
        const auto second = static_cast<unsigned char>(units[2 * i + 1]);
        return static_cast<char32_t>(bigEndian ? (first << 8 | second) : (second << 8 | first));
    };
    const std::size_t count = units.size() / 2;
    std::string text;
    text.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const char32_t c = unit(i);
        if (c >= 0xDC00 && c <= 0xDFFF)
            return std::nullopt;
        if (c < 0xD800 || c > 0xDBFF) {
            AppendUtf8(text, c);
            continue;
        }
        if (i + 1 == count)
            break;
        const char32_t low = unit(++i);
        if (low < 0xDC00 || low > 0xDFFF)
            return std::nullopt;
        AppendUtf8(text, 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00));
    }
    return text;
}

} // namespace

std::string ProfileTextOfFile(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF"))
        return std::string(bytes.substr(3));
    const bool little = bytes.starts_with("\xFF\xFE");
    if (little || bytes.starts_with("\xFE\xFF"))
        if (auto text = Utf16ToUtf8(bytes.substr(2), !little))
            return *text;
    return std::string(bytes);
}

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
