#pragma once
// Before printing, the slip must carry its essential texts.
#include "rules/SlipData.h"

#include <string>

// Two lines joined by a carriage return alone; the first ends in a space.
extern const std::string InsufficientSlipDataMessage;

// True when the account number, the amount in words, the first holder line, the payer, the
// municipality and the tax code all have at least one character (blanks count).
bool HasEssentialSlipTexts(const SlipData& slip);
