#include "base/NumText.h"

#include "base/CLocale.h"
#include "base/Errors.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace {

constexpr const char* FloatMessage = "'%s' is not a valid floating point value";
constexpr const char* IntegerMessage = "'%s' is not a valid integer value";

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::size_t SkipSpaces(const std::string& text, std::size_t i) {
    while (i < text.size() && text[i] == ' ')
        ++i;
    return i;
}

std::size_t TakeDigits(const std::string& text, std::size_t i, std::string& out) {
    while (i < text.size() && IsDigit(text[i]))
        out += text[i++];
    return i;
}

// Checks the grammar and rewrites the number in the C library's own notation
// ("-12.5e3"), or gives nothing when the text is not a number.
std::optional<std::string> ToCNotation(const std::string& text) {
    std::size_t i = SkipSpaces(text, 0);
    std::string number;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        number += text[i++];

    std::string whole, fraction;
    i = TakeDigits(text, i, whole);
    bool comma = false;
    if (i < text.size() && text[i] == ',') {
        comma = true;
        i = TakeDigits(text, i + 1, fraction);
    }
    if (whole.empty() && fraction.empty() && !comma)
        return std::nullopt;
    number += whole.empty() ? "0" : whole;
    if (!fraction.empty())
        number += "." + fraction;

    if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
        std::string exponent = "e";
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            exponent += text[i++];
        std::string digits;
        i = TakeDigits(text, i, digits);
        if (digits.empty())
            return std::nullopt;
        number += exponent + digits;
    }

    i = SkipSpaces(text, i);
    if (i != text.size())
        return std::nullopt;
    return number;
}

} // namespace

long double StrToFloat(const std::string& text) {
    const auto number = ToCNotation(text);
    if (!number)
        throw EConvertError(MessageWithText(FloatMessage, text));
    CLocaleScope c;
    errno = 0;
    const long double value = std::strtold(number->c_str(), nullptr);
    // Overflow fails; an underflow keeps the nearest value the type holds (0 or subnormal).
    if (errno == ERANGE && std::isinf(value))
        throw EConvertError(MessageWithText(FloatMessage, text));
    return value;
}

int StrToInt(const std::string& text) {
    std::size_t i = SkipSpaces(text, 0);
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    std::string digits;
    i = TakeDigits(text, i, digits);
    if (digits.empty() || i != text.size())
        throw EConvertError(MessageWithText(IntegerMessage, text));

    long long value = 0;
    for (char d : digits) {
        value = value * 10 + (d - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            throw EConvertError(MessageWithText(IntegerMessage, text));
    }
    if (negative)
        value = -value;
    if (value < INT_MIN || value > INT_MAX)
        throw EConvertError(MessageWithText(IntegerMessage, text));
    return static_cast<int>(value);
}

std::string FloatToStr(long double value) {
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value > 0 ? "INF" : "-INF";
    if (value == 0)
        return "0";

    // Fifteen significant digits, correctly rounded: "d.dddddddddddddde[+-]x".
    char buffer[64];
    {
        CLocaleScope c;
        std::snprintf(buffer, sizeof buffer, "%.14Le", std::fabs(value));
    }
    const std::string scientific = buffer;
    std::string digits = scientific.substr(0, 1) + scientific.substr(2, 14);
    const int exponent = std::atoi(scientific.c_str() + scientific.find('e') + 1);
    digits.erase(digits.find_last_not_of('0') + 1);

    std::string text = value < 0 ? "-" : "";
    if (exponent >= 15 || exponent < -4) {
        text += digits.substr(0, 1);
        if (digits.size() > 1)
            text += "," + digits.substr(1);
        text += "E" + std::to_string(exponent);
    } else if (exponent < 0) {
        text += "0," + std::string(-exponent - 1, '0') + digits;
    } else {
        const std::size_t wholeDigits = exponent + 1;
        if (digits.size() <= wholeDigits)
            text += digits + std::string(wholeDigits - digits.size(), '0');
        else
            text += digits.substr(0, wholeDigits) + "," + digits.substr(wholeDigits);
    }
    return text;
}

Currency StrToCurr(const std::string& text) {
    const long double scaled = StrToFloat(text) * CurrencyScale;
    // 2^63 is exact in the extended type; anything from there on does not fit.
    constexpr long double limit = 9223372036854775808.0L;
    if (!(scaled >= -limit && scaled < limit - 0.5L))
        throw EConvertError(MessageWithText(FloatMessage, text));
    return std::llrint(scaled);
}
