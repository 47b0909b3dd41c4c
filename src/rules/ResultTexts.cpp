#include "rules/ResultTexts.h"

#include "base/NumText.h"
#include "rules/AmountInWords.h"

#include <cmath>

ResultTexts ComputeResultTexts(const Instalment& instalment) {
    ResultTexts texts;
    texts.mainResidence = FloatToStr(RoundDecimals(instalment.mainResidence, 2));
    texts.otherBuildings = FloatToStr(RoundDecimals(instalment.otherBuildings, 2));
    texts.total = FloatToStr(RoundDecimals(instalment.total, 2));

    // The comma is the only separator the number texts use, so the total's text is read
    // back as it stands. The currency conversion fails first for a total too large to spell,
    // so the whole euros below always fit a 64-bit integer.
    const Currency amount = StrToCurr(texts.total);
    const long double total = StrToFloat(texts.total);
    texts.totalEuros = std::to_string(static_cast<long long>(std::trunc(total)));
    texts.totalCents = CentsText(texts.total);
    texts.totalInWords = AmountInWords(amount) + texts.totalCents;
    texts.statusLine = StatusLineText(texts.total);
    return texts;
}

std::string CentsText(const std::string& totalText) {
    const long double total = StrToFloat(totalText);
    const long double fraction = total - std::trunc(total);
    const long long cents = std::llrint(fraction * 100); // the FPU's rounding: ties to even
    std::string text = std::to_string(cents);
    if (text.size() == 1)
        text = "0" + text;
    return text;
}

std::string StatusLineText(const std::string& instalmentText) {
    const long double instalment = StrToFloat(instalmentText);
    return " L'ICI da pagare è € " + FloatToStr(instalment + instalment) + " cioè DUE rate da € " +
           instalmentText + "-- Scadenza 30/6  - 20/12 --";
}
