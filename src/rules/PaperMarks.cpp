#include "rules/PaperMarks.h"

namespace {
constexpr const char* CentreMark = "C1";
constexpr const char* RightMark = "D1";
constexpr const char* LeftMark = "S1";
} // namespace

PaperMarks MarksFromPlacement(PaperPlacement placement) {
    PaperMarks marks;
    if (placement == PaperPlacement::Centre)
        marks.centre = CentreMark;
    if (placement == PaperPlacement::Right)
        marks.right = RightMark;
    if (placement == PaperPlacement::Left)
        marks.left = LeftMark;
    return marks;
}

PaperPlacement PlacementFromMarks(const PaperMarks& marks) {
    PaperPlacement placement = PaperPlacement::None;
    if (marks.centre == CentreMark)
        placement = PaperPlacement::Centre;
    if (marks.right == RightMark)
        placement = PaperPlacement::Right;
    if (marks.left == LeftMark)
        placement = PaperPlacement::Left;
    return placement;
}
