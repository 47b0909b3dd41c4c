#pragma once
// The texts one complete computation writes into the main window. Everything after the
// column results is derived from the text of the rounded total, read back as the window
// shows it, never from the unrounded numbers.
#include "rules/TaxComputation.h"

#include <string>

struct ResultTexts {
    std::string mainResidence;  // main residence, rounded to cents
    std::string otherBuildings; // other buildings, rounded to cents
    std::string total;          // the total instalment rounded to cents
    std::string totalEuros;     // its whole euros, truncated toward zero
    std::string totalCents;     // its cents: two digits for a positive total
    std::string totalInWords;   // the amount in words followed by the cents
    std::string statusLine;     // the yearly amount and the instalment
};

// Raises EConvertError when the total is too large for a currency amount; then none of the
// texts is written.
ResultTexts ComputeResultTexts(const Instalment& instalment);

// The cents of a total's text: (value − whole part) × 100 rounded to the nearest, ties to
// even; negative for a negative total; a single digit gets a leading zero ("05").
std::string CentsText(const std::string& totalText);

// The status line for a given instalment text: the yearly amount is the instalment added to
// itself.
std::string StatusLineText(const std::string& instalmentText);
