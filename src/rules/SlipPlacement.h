#pragma once
// Moving the 31 labels to where the fed paper puts the slip's boxes.
#include "rules/PaperPlacement.h"
#include "rules/SlipReport.h"

#include <string>

// Added to every top: 0, 203 or 406 layout units for the left, centre and right paper
// positions (the slip moves down the landscape page); 0 for none.
int PaperPlacementOffset(PaperPlacement placement);

// Sets every top to (vertical - 10 + offset + row), then every left to (horizontal - 10 +
// column), from the row and column of each label's design. The corrections are whole-number
// texts (normally 0..60, default 26), so corrections of 10 put every label at its row and
// column. Each run places anew from the design: nothing accumulates. With no paper position
// the labels stay where they are.
// Raises EConvertError "'%s' is not a valid integer value" for a correction that is no whole
// number; the vertical one is read first, and a bad horizontal one leaves the tops already set.
void PlaceSlip(SlipReport& report, PaperPlacement placement, const std::string& vertical,
               const std::string& horizontal);
