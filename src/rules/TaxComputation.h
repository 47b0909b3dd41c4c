#pragma once
// The tax of one instalment (half the yearly tax) for the main residence and for the other
// buildings, in 80-bit extended precision, each column stored as a double.
#include <string>

// The eleven entry texts of the two columns, as the main window holds them.
struct TaxEntryTexts {
    std::string rend1, rival1, aliq1, detr1, perc1, mesi1; // main residence
    std::string edit1, edit2, edit3, edit5, edit6;         // other buildings
};

struct TaxEntries {
    long double r1, v1, a1, d1, p1, m1; // income, revaluation %, rate ‰, deduction, share %, months
    long double r2, v2, a2, p2, m2;
};

// Converts in the order REND1, ALIQ1, DETR1, PERC1, MESI1, RIVAL1, Edit1, Edit2, Edit3, Edit5,
// Edit6; the first text that is not a number raises EConvertError and the rest are not read.
TaxEntries ConvertEntries(const TaxEntryTexts& texts);

// The main residence's share and months are checked, in this order; the other buildings' not.
enum class RangeFault { None, Percentage, Months };
RangeFault CheckRanges(const TaxEntries& entries);

struct Instalment {
    double mainResidence;  // T1
    double otherBuildings; // T2
    double total;          // T1 + T2, from the unrounded columns
};

Instalment ComputeInstalment(const TaxEntries& entries);

// Rounds half up to the given decimals for positive values; for negative values the
// truncation toward zero lands one unit of the last decimal higher (-31.60 gives -31.59),
// which is how the amounts have always been printed.
double RoundDecimals(double value, int decimals);

// A total that is not above zero is reported to the user and the yellow fields reset.
bool IsZeroOrNegative(const Instalment& instalment);

// The warnings of the range checks and of a total that is not above zero, two lines joined by
// a carriage return.
std::string RangeFaultMessage(RangeFault fault);
extern const char* const ZeroOrNegativeMessage;
