#pragma once
// The test sheet for plain paper: the slip's page as it prints, plus the outline of every
// label's box at its printed place, a millimetre scale along the sheet's top and left edges and,
// in a corner the slip leaves free, the alignment it was printed with. Laid over a pre-printed
// slip against the light, it shows how far the print must move.
#include "rules/PaperPlacement.h"
#include "rules/SlipReport.h"

#include <string>

class QPainter;

// The alignment the sheet was placed with, as the summary window shows it.
struct TestSheetLegend {
    PaperPlacement placement;
    std::string verticalCorrection;
    std::string horizontalCorrection;
};

// Draws on a device that PrepareSlipPage has set up, like PaintSlipReport.
void PaintTestSheet(QPainter& painter, const SlipReport& report, const TestSheetLegend& legend);
