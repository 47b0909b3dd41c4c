#include "rules/PaperMarks.h"

namespace {
constexpr const char* CentreMark = "C1";
constexpr const char* RightMark = "D1";
constexpr const char* LeftMark = "S1";
} // namespace

PaperMarks MarksFromPlacement(PaperPlacement placement) {
    PaperMarks marks;
    if (placement == PaperPlacement::Centre)
        marks.editC = CentreMark;
    if (placement == PaperPlacement::Right)
        marks.editD = RightMark;
    if (placement == PaperPlacement::Left)
        marks.editS = LeftMark;
    return marks;
}

PaperPlacement PlacementFromMarks(const PaperMarks& marks) {
    PaperPlacement placement = PaperPlacement::None;
    if (marks.editC == CentreMark)
        placement = PaperPlacement::Centre;
    if (marks.editD == RightMark)
        placement = PaperPlacement::Right;
    if (marks.editS == LeftMark)
        placement = PaperPlacement::Left;
    return placement;
}
