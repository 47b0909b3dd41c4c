#pragma once
// The program's own number texts. The decimal separator is always the comma: the start texts,
// the typing rules and the status line are all written for it, whatever the system's settings.
#include <cstdint>
#include <string>

// Text to number: spaces, optional sign, digits, optional comma and digits, optional exponent
// (E or e, optional sign, digits), spaces. A lone "," is 0. The value is the nearest extended.
// Raises EConvertError "'%s' is not a valid floating point value" on any other text or on a
// value beyond the extended range.
long double StrToFloat(const std::string& text);

// Whole number in the range of a 32-bit int, with optional spaces before it and an optional
// sign; a space after it makes the text invalid.
// Raises EConvertError "'%s' is not a valid integer value" otherwise.
int StrToInt(const std::string& text);

// General format, 15 significant digits, comma separator, trailing zeros dropped; exponent
// form ("1,5E15", "1E-5") for magnitudes of 10^15 and above or below 0.0001. Infinities and
// NaN become "INF", "-INF" and "NAN", which no conversion accepts.
std::string FloatToStr(long double value);

// Currency: a signed 64-bit count of ten-thousandths. Text to currency converts like
// StrToFloat and rounds to the nearest ten-thousandth (ties to even); a value outside the
// 64-bit range fails like a bad text.
using Currency = std::int64_t;
constexpr Currency CurrencyScale = 10000;
Currency StrToCurr(const std::string& text);
