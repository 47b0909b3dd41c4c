#pragma once
// The amount to pay in Italian words, in the fixed form the slip's box takes:
// "#" + words + "/", upper case, no spaces, no accents, no digits.
#include "base/NumText.h"

#include <string>

// The words of one group of three digits (0 to 999), lower case; empty for 0. Raises
// std::out_of_range for any other number: the word tables have no entry for it.
std::string GroupInWords(int group);

// Only the whole euros are spelled (the caller appends the cents); a negative amount is
// spelled as its absolute value and anything below one euro is "#ZERO/".
std::string AmountInWords(Currency amount);
