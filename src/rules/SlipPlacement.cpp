#include "rules/SlipPlacement.h"

#include "base/NumText.h"

#include <algorithm>

namespace {

// A correction can be any 32-bit whole number; positions are kept within a range that no
// arithmetic on them can overflow. Anything that far away is off the page anyway.
constexpr long long PositionLimit = 1'000'000;

int Position(long long base, int tableValue) {
    return static_cast<int>(std::clamp(base + tableValue, -PositionLimit, PositionLimit));
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

void PlaceSlip(SlipReport& report, PaperPlacement placement, const std::string& vertical,
               const std::string& horizontal) {
    if (placement == PaperPlacement::None)
        return;
    const long long verticalBase =
        static_cast<long long>(StrToInt(vertical)) - 10 + PaperPlacementOffset(placement);
    for (const SlipLabelDesign& design : SlipLabelDesigns())
        report.Label(design.id).top = Position(verticalBase, design.row);
    const long long horizontalBase = static_cast<long long>(StrToInt(horizontal)) - 10;
    for (const SlipLabelDesign& design : SlipLabelDesigns())
        report.Label(design.id).left = Position(horizontalBase, design.column);
}
