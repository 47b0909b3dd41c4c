#pragma once
// The tax of one instalment (half the yearly tax) for the main residence and for the other
// buildings, in 80-bit extended precision, each column stored as a double.
#include <string>

// The entries of one column, as texts and as numbers: the cadastral income, its revaluation in
// percent, the tax rate per thousand, the ownership share in percent and the months owned.
template <class Value> struct ColumnEntries {
    Value income;
    Value revaluationPercent;
    Value ratePerThousand;
    Value sharePercent;
    Value months;
    bool operator==(const ColumnEntries&) const = default;
};

// The eleven entries of the two columns; only the main residence has a deduction, the yearly
// one.
template <class Value> struct Entries {
    ColumnEntries<Value> mainResidence;
    Value deduction;
    ColumnEntries<Value> otherBuildings;
    bool operator==(const Entries&) const = default;
};

using TaxEntryTexts = Entries<std::string>;
using TaxEntries = Entries<long double>;

// Converts the main residence's income, rate, deduction, share, months and revaluation, then
// the other buildings' income, revaluation, rate, share and months, in this order; the first
// text that is not a number raises EConvertError and the rest are not read.
TaxEntries ConvertEntries(const TaxEntryTexts& texts);

// The main residence's share and months are checked, in this order; the other buildings' not.
enum class RangeFault { None, Percentage, Months };
RangeFault CheckRanges(const TaxEntries& entries);

struct Instalment {
    double mainResidence;  // T1
    double otherBuildings; // T2
    double total;          // T1 + T2, from the unrounded columns
};

// The main residence's tax never goes below zero: its deduction covers at most that tax.
Instalment ComputeInstalment(const TaxEntries& entries);

// Rounds half up to the given decimals for positive values; for negative values the
// truncation toward zero lands one unit of the last decimal higher (-31.60 gives -31.59).
// The computation hands it none: the entries take no sign, and the deduction stops at zero.
double RoundDecimals(double value, int decimals);

// A total that is not above zero is reported to the user and the yellow fields reset.
bool IsZeroOrNegative(const Instalment& instalment);

// The warnings of the range checks and of a total that is not above zero, two lines joined by
// a carriage return.
std::string RangeFaultMessage(RangeFault fault);
inline constexpr const char* ZeroOrNegativeMessage =
    "L'importo dell'ICI da pagare\rè risultato ZERO o NEGATIVO!!";
