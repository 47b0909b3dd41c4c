#include "rules/ResultTexts.h"

#include "base/NumText.h"
#include "rules/AmountInWords.h"

#include <cmath>

ResultTexts ComputeResultTexts(const Instalment& instalment) {
    ResultTexts r;
    r.tot1 = FloatToStr(RoundDecimals(instalment.mainResidence, 2));
    r.tot2 = FloatToStr(RoundDecimals(instalment.otherBuildings, 2));
    r.labIciTot = FloatToStr(RoundDecimals(instalment.total, 2));

    // The comma is the only separator the number texts use, so the total's text is read
    // back as it stands. The currency conversion fails first for a total too large to spell,
    // so the whole euros below always fit a 64-bit integer.
    const Currency amount = StrToCurr(r.labIciTot);
    const long double total = StrToFloat(r.labIciTot);
    r.labIci = std::to_string(static_cast<long long>(std::trunc(total)));
    r.labCent = CentsText(r.labIciTot);
    r.labLett = AmountInWords(amount) + r.labCent;
    r.statusLine = StatusLineText(r.labIciTot);
    return r;
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
