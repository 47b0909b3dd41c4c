#pragma once
// The tax code's own check. A person's code is 16 characters: six letters of surname and name,
// the year of birth in two digits, a letter for the month, the day in two digits, a letter and
// three digits for the place, and a check character computed from the other fifteen. When two
// people would get the same code, digits are replaced by letters (L M N P Q R S T U V for 0 to 9)
// from the right, and the check character is computed from the code so changed. A company's
// code, or a provisional one, is 11 digits, the last a check digit.
#include <string>

enum class TaxCodeFault {
    None,
    WrongLength,         // neither 16 characters nor 11
    WrongCharacter,      // a character where the code has no such character
    WrongCheckCharacter, // the last character is not the one the others give
};

struct TaxCodeCheck {
    TaxCodeFault fault = TaxCodeFault::None;
    int position = 0;    // 1-based: the wrong character, or the check character
    char expected = 0;   // the check character the others give
    std::string allowed; // at a wrong character: what may stand there, in words
};

// The code as the box holds it: the box turns letters into capitals as they are typed.
TaxCodeCheck CheckTaxCode(const std::string& code);

// The warning of a code that fails its check: the code, what is wrong, and the question whether
// to compute all the same. Lines joined by a carriage return.
std::string TaxCodeWarningMessage(const std::string& code, const TaxCodeCheck& check);
