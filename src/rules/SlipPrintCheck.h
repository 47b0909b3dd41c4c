#pragma once
// Before printing, the slip must carry its essential texts, and after the placement they must
// still lie on the sheet.
#include "rules/SlipData.h"
#include "rules/SlipReport.h"

#include <string>

// Two lines joined by a carriage return alone; the first ends in a space.
extern const std::string InsufficientSlipDataMessage;

// True when the account number, the amount in words, the first holder line, the payer, the
// municipality and the tax code all have at least one character (blanks count).
bool HasEssentialSlipTexts(const SlipData& slip);

// True when no label that carries an essential text (on both parts of the slip) lies wholly off
// the page: its box, from its top and left over its designed width and the label height, has
// some part within the page's width and height. Corrections far beyond the spinners' range, as
// an edited settings file may hold, would otherwise print a page without them. A box only partly
// on the page passes: the spinners' own highest horizontal correction puts the right part's tax
// code box a little past the page's right edge.
bool EssentialLabelsOnSheet(const SlipReport& report);
