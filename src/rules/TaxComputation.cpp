#include "rules/TaxComputation.h"

#include "base/NumText.h"

#include <cmath>

TaxEntries ConvertEntries(const TaxEntryTexts& texts) {
    const ColumnEntries<std::string>& mainTexts = texts.mainResidence;
    const ColumnEntries<std::string>& otherTexts = texts.otherBuildings;
    TaxEntries entries{};
    ColumnEntries<long double>& main = entries.mainResidence;
    main.income = StrToFloat(mainTexts.income);
    main.ratePerThousand = StrToFloat(mainTexts.ratePerThousand);
    entries.deduction = StrToFloat(texts.deduction);
    main.sharePercent = StrToFloat(mainTexts.sharePercent);
    main.months = StrToFloat(mainTexts.months);
    main.revaluationPercent = StrToFloat(mainTexts.revaluationPercent);
    ColumnEntries<long double>& other = entries.otherBuildings;
    other.income = StrToFloat(otherTexts.income);
    other.revaluationPercent = StrToFloat(otherTexts.revaluationPercent);
    other.ratePerThousand = StrToFloat(otherTexts.ratePerThousand);
    other.sharePercent = StrToFloat(otherTexts.sharePercent);
    other.months = StrToFloat(otherTexts.months);
    return entries;
}

RangeFault CheckRanges(const TaxEntries& entries) {
    const ColumnEntries<long double>& main = entries.mainResidence;
    if (main.sharePercent >= 101)
        return RangeFault::Percentage;
    if (main.months < 1 || main.months >= 13)
        return RangeFault::Months;
    return RangeFault::None;
}

namespace {

// The yearly tax of a column before any deduction: the income raised by the revaluation,
// times 100, times the rate per thousand, the share and the months over twelve. Every step
// is one extended operation, in this order, so that the cents come out as they always have.
long double YearlyTax(const ColumnEntries<long double>& column) {
    long double tax = column.income * column.revaluationPercent;
    tax = tax / 100;
    tax = tax + column.income;
    tax = tax * 100;
    tax = tax * (column.ratePerThousand / 1000);
    tax = tax * (column.sharePercent / 100);
    tax = tax * (column.months / 12);
    return tax;
}

} // namespace

Instalment ComputeInstalment(const TaxEntries& entries) {
    long double mainResidence = YearlyTax(entries.mainResidence);
    // The whole yearly deduction, not scaled by share or months, and only up to the main
    // residence's own tax: what it leaves unused is never taken off the other buildings.
    mainResidence = mainResidence - entries.deduction;
    if (mainResidence < 0)
        mainResidence = 0;
    mainResidence = mainResidence / 2;
    long double otherBuildings = YearlyTax(entries.otherBuildings);
    otherBuildings = otherBuildings / 2;

    Instalment result{};
    result.mainResidence = static_cast<double>(mainResidence);
    result.otherBuildings = static_cast<double>(otherBuildings);
    result.total = static_cast<double>(static_cast<long double>(result.mainResidence) +
                                       static_cast<long double>(result.otherBuildings));
    return result;
}

double RoundDecimals(double value, int decimals) {
    double factor = 1;
    if (decimals == 1)
        factor = 10;
    else
        for (int i = 0; i < decimals; ++i)
            factor = factor * 10; // each product stored as a double
    long double scaled = static_cast<long double>(value) * factor;
    scaled = scaled + 0.5L;
    scaled = std::trunc(scaled);
    scaled = scaled / factor;
    return static_cast<double>(scaled);
}

bool IsZeroOrNegative(const Instalment& instalment) {
    return !(instalment.total > 0);
}

std::string RangeFaultMessage(RangeFault fault) {
    switch (fault) {
    case RangeFault::Percentage:
        return "Nel campo PERCENTUALE DI POSSESSO\rnon si può scrivere numeri superiori a 100!!";
    case RangeFault::Months:
        return "Nel campo MESI DI POSSESSO si\rpossono scrivere numeri da  1 a  12!!";
    case RangeFault::None:
        break;
    }
    return "";
}
