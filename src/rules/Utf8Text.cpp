#include "rules/Utf8Text.h"

std::optional<std::u32string> DecodeUtf8(std::string_view text) {
    std::u32string characters;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t followers = 0;
        char32_t c = 0;
        char32_t smallest = 0;
        if (lead < 0x80) {
            c = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            followers = 1;
            c = lead & 0x1F;
            smallest = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            followers = 2;
            c = lead & 0x0F;
            smallest = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            followers = 3;
            c = lead & 0x07;
            smallest = 0x10000;
        } else {
            return std::nullopt;
        }
        if (text.size() - i - 1 < followers)
            return std::nullopt;
        for (std::size_t k = 1; k <= followers; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return std::nullopt;
            c = (c << 6) | (next & 0x3F);
        }
        if (c < smallest || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
            return std::nullopt;
        characters.push_back(c);
        i += followers + 1;
    }
    return characters;
}

std::size_t Utf16Length(const std::u32string& characters) {
    std::size_t length = 0;
    for (const char32_t c : characters)
        length += c >= 0x10000 ? 2 : 1;
    return length;
}
