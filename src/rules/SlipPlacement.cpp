#include "rules/SlipPlacement.h"

#include "base/NumText.h"

#include <algorithm>
#include <array>

namespace {

using enum SlipLabelId;

constexpr std::array<SlipRowColumn, SlipLabelCount> RowColumns{{
    {QRCCNR1, 24, 112},      {QRCCNR11, 24, 621},   {QRIMP1, 24, 302},      {QRIMP11, 24, 924},
    {QRCENT1, 24, 442},      {QRCENT11, 24, 1066},  {QRIMPLETT1, 51, 94},   {QRIMPLETT11, 51, 622},
    {QRINTEST1, 80, 96},     {QRINTEST11, 80, 526}, {QRINTEST12, 102, 526}, {QRNOME1, 104, 93},
    {QRNOME11, 126, 582},    {QRCOMUNE1, 138, 200}, {QRCOMUNE11, 160, 526}, {QRCODFISC1, 184, 37},
    {QRCODFISC11, 182, 819}, {QRFABB1, 221, 246},   {QRFABB11, 268, 749},   {QRANNO1, 240, 246},
    {QRANNO11, 205, 754},    {QRABIT1, 256, 104},   {QRABIT11, 248, 929},   {QRACC1, 256, 254},
    {QRACC11, 205, 819},     {QRSALDO1, 280, 256},  {QRSALDO11, 205, 869},  {QRALTRI1, 275, 104},
    {QRALTRI11, 268, 922},   {QRDETRAZ1, 304, 112}, {QRDETRAZ11, 248, 715},
}};

// A correction can be any 32-bit whole number; positions are kept within a range that no
// arithmetic on them can overflow. Anything that far away is off the page anyway.
constexpr long long PositionLimit = 1'000'000;

int Position(long long base, int tableValue) {
    return int(std::clamp(base + tableValue, -PositionLimit, PositionLimit));
}

} // namespace

int PaperPlacementOffset(PaperPlacement placement) {
    switch (placement) {
    case PaperPlacement::Left:
        return 0;
    case PaperPlacement::Centre:
        return 203;
    case PaperPlacement::Right:
        return 406;
    case PaperPlacement::None:
        break;
    }
    return 0;
}

const SlipRowColumn& SlipRowColumnOf(SlipLabelId id) {
    return *std::find_if(RowColumns.begin(), RowColumns.end(),
                         [id](const SlipRowColumn& entry) { return entry.id == id; });
}

void PlaceSlip(SlipReport& report, PaperPlacement placement, const std::string& vertical,
               const std::string& horizontal) {
    if (placement == PaperPlacement::None)
        return;
    const long long verticalBase =
        (long long)StrToInt(vertical) - 10 + PaperPlacementOffset(placement);
    for (const SlipRowColumn& entry : RowColumns)
        report.label(entry.id).top = Position(verticalBase, entry.row);
    const long long horizontalBase = (long long)StrToInt(horizontal) - 10;
    for (const SlipRowColumn& entry : RowColumns)
        report.label(entry.id).left = Position(horizontalBase, entry.column);
}
