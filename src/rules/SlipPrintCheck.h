#pragma once
// Before printing, the slip must carry its essential texts, amounts that belong to the entries,
// a deduction and corrections that convert; after the placement the essential texts must still
// lie on the sheet. Each refusal says why nothing was printed and what to do.
#include "rules/PaperPlacement.h"
#include "rules/SlipData.h"
#include "rules/SlipReport.h"

#include <string>

// Two lines joined by a carriage return alone; the first ends in a space.
inline constexpr const char* InsufficientSlipDataMessage =
    "Dati insufficienti per stampare !! \r..Cliccare su CORREGGI!....";

// True when the account number, the amount in words, the first holder line, the payer, the
// municipality and the tax code all have at least one character (blanks count).
bool HasEssentialSlipTexts(const SlipData& slip);

// The amounts were not computed from the entries as they stand now.
inline constexpr const char* StaleAmountsMessage =
    "L'importo non corrisponde ai dati: il bollettino non è stato stampato.\r"
    "Cliccare su CORREGGI e poi su Calcola.";

// True when the deduction, as the user typed it, converts into the cents the slip's right part
// prints; otherwise the message names it.
bool DeductionConverts(const SlipData& slip);
std::string DeductionNotANumberMessage(const std::string& deduction);

// True when no paper position is chosen (the corrections are then not used) or both corrections
// are whole numbers, as the placement reads them.
bool CorrectionsAreWhole(PaperPlacement placement, const std::string& vertical,
                         const std::string& horizontal);
inline constexpr const char* CorrectionsNotWholeMessage =
    "Le correzioni dell'allineamento non sono numeri interi: il bollettino non è stato "
    "stampato.\rCliccare su \"Carica valori di DEFAULT\" e riprovare.";

// True when no label that carries an essential text (on both parts of the slip) lies wholly off
// the page: its box, from its top and left over its designed width and the label height, has
// some part within the page's width and height. Corrections far beyond the spinners' range, as
// an edited settings file may hold, would otherwise print a page without them. A box only partly
// on the page passes: the spinners' own highest horizontal correction puts the right part's tax
// code box a little past the page's right edge.
bool EssentialLabelsOnSheet(const SlipReport& report);
