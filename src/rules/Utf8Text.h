#pragma once
// Reading UTF-8 that comes from outside the program: only well-formed text counts (no overlong
// forms, no surrogates, nothing beyond U+10FFFF).
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

std::optional<std::u32string> DecodeUtf8(std::string_view text);

// The length the text has in an edit box, which counts UTF-16 code units.
std::size_t Utf16Length(const std::u32string& characters);
