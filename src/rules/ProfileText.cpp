#include "rules/ProfileText.h"

namespace {

bool IsBlank(char character) {
    return character == ' ' || character == '\t' || character == '\r' || character == '\v' ||
           character == '\f';
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

char AsciiUpper(char character) {
    return (character >= 'a' && character <= 'z') ? static_cast<char>(character - 'a' + 'A')
                                                  : character;
}

bool SameName(std::string_view name, std::string_view wanted) {
    if (name.size() != wanted.size())
        return false;
    for (std::size_t i = 0; i < name.size(); ++i)
        if (AsciiUpper(name[i]) != AsciiUpper(wanted[i]))
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

void AppendUtf8(std::string& text, char32_t codePoint) {
    if (codePoint < 0x80) {
        text += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        text += static_cast<char>(0xC0 | (codePoint >> 6));
        text += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        text += static_cast<char>(0xE0 | (codePoint >> 12));
        text += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        text += static_cast<char>(0xF0 | (codePoint >> 18));
        text += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        text += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (codePoint & 0x3F));
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
        const char32_t current = unit(i);
        if (current >= 0xDC00 && current <= 0xDFFF)
            return std::nullopt;
        if (current < 0xD800 || current > 0xDBFF) {
            AppendUtf8(text, current);
            continue;
        }
        if (i + 1 == count)
            break;
        const char32_t low = unit(++i);
        if (low < 0xDC00 || low > 0xDFFF)
            return std::nullopt;
        AppendUtf8(text, 0x10000 + ((current - 0xD800) << 10) + (low - 0xDC00));
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
