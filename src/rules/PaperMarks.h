#pragma once
// The settings file keeps the paper position as three marks, one per radio button: "C1" for
// the centre, "D1" for the right ("destra"), "S1" for the left ("sinistra"); a mark is empty
// when its position is not the chosen one.
#include "rules/PaperPlacement.h"

#include <string>

struct PaperMarks {
    std::string centre; // "C1" when the paper is in the centre
    std::string right;  // "D1" when the paper is at the right
    std::string left;   // "S1" when the paper is at the left
    bool operator==(const PaperMarks&) const = default;
};

// The marks that a save writes for the chosen position (all three empty for None).
PaperMarks MarksFromPlacement(PaperPlacement placement);

// The position that a load chooses. Each mark counts only when it is exactly its code (case
// matters, no spaces). The marks are applied centre, right, left, and choosing one position
// clears the others, so when a file marks several the left wins over the right and the right
// over the centre; no mark chooses no position.
PaperPlacement PlacementFromMarks(const PaperMarks& marks);
