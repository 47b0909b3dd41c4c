#include "rules/TaxComputation.h"

#include "base/NumText.h"

#include <cmath>

TaxEntries ConvertEntries(const TaxEntryTexts& t) {
    TaxEntries e{};
    e.r1 = StrToFloat(t.rend1);
    e.a1 = StrToFloat(t.aliq1);
    e.d1 = StrToFloat(t.detr1);
    e.p1 = StrToFloat(t.perc1);
    e.m1 = StrToFloat(t.mesi1);
    e.v1 = StrToFloat(t.rival1);
    e.r2 = StrToFloat(t.edit1);
    e.v2 = StrToFloat(t.edit2);
    e.a2 = StrToFloat(t.edit3);
    e.p2 = StrToFloat(t.edit5);
    e.m2 = StrToFloat(t.edit6);
    return e;
}

RangeFault CheckRanges(const TaxEntries& e) {
    if (e.p1 >= 101)
        return RangeFault::Percentage;
    if (e.m1 < 1 || e.m1 >= 13)
        return RangeFault::Months;
    return RangeFault::None;
}

namespace {

// The yearly tax of a column before any deduction: the income raised by the revaluation,
// times 100, times the rate per thousand, the share and the months over twelve. Every step
// is one extended operation, in this order, so that the cents come out as they always have.
long double yearlyTax(long double income, long double revaluation, long double rate,
                      long double share, long double months) {
    long double x = income * revaluation;
    x = x / 100;
    x = x + income;
    x = x * 100;
    x = x * (rate / 1000);
    x = x * (share / 100);
    x = x * (months / 12);
    return x;
}

} // namespace

Instalment ComputeInstalment(const TaxEntries& e) {
    long double a = yearlyTax(e.r1, e.v1, e.a1, e.p1, e.m1);
    a = a - e.d1; // the whole yearly deduction, not scaled by share or months
    a = a / 2;
    long double b = yearlyTax(e.r2, e.v2, e.a2, e.p2, e.m2);
    b = b / 2;

    Instalment result{};
    result.mainResidence = static_cast<double>(a);
    result.otherBuildings = static_cast<double>(b);
    result.total = static_cast<double>(static_cast<long double>(result.mainResidence) +
                                       static_cast<long double>(result.otherBuildings));
    return result;
}

double RoundDecimals(double value, int decimals) {
    double factor = 1;
    if (decimals == 1) {
        factor = 10;
    } else {
        for (int i = 0; i < decimals; ++i)
            factor = factor * 10; // each product stored as a double
    }
    long double v = static_cast<long double>(value) * factor;
    v = v + 0.5L;
    v = std::trunc(v);
    v = v / factor;
    return static_cast<double>(v);
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

const char* const ZeroOrNegativeMessage =
    "L'importo dell'ICI da pagare\rè risultato ZERO o NEGATIVO!!";
