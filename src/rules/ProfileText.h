#pragma once
// Reading one section of a profile (INI) text the way the Windows profile functions read it.
//
// - Lines end with LF or CR LF. A lone CR is a line's trailing space and is trimmed.
// - A line whose first non-blank character is '[' and that holds a ']' opens a section; its
//   name is what lies between the '[' and the last ']', with spaces trimmed; the rest of that
//   line is ignored. Only the first section with the wanted name counts.
// - Every other line with a '=' is a key: the name before the first '=' and the value after it,
//   each with spaces and tabs around it trimmed. One pair of matching quotes ('...' or "...")
//   around the whole value is dropped. Lines without '=' (comments, blank lines, garbage) hold
//   no key.
// - Section and key names are compared without regard to ASCII case. When a key appears more
//   than once in the section, the first one wins.
// - A value ends at its first NUL byte and is cut to MaxProfileValueLength bytes, so neither
//   binary garbage nor an overlong line yields an unbounded text. Other bytes pass unchanged.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

inline constexpr std::size_t MaxProfileValueLength = 2047;

// The text of a profile file's bytes. A file that begins with a byte-order mark is read as the
// text it marks: UTF-8 without its mark, and UTF-16 (little-endian, as Windows' Notepad saves
// "Unicode", or big-endian) turned into UTF-8. Bytes that are no whole UTF-16 text after its
// mark, and files without a mark, are taken as they are.
std::string ProfileTextOfFile(std::string_view bytes);

// The value of `key` in the first section named `section` of `text`, or nothing when the
// section or the key is missing.
std::optional<std::string> FindProfileValue(std::string_view text, std::string_view section,
                                            std::string_view key);
