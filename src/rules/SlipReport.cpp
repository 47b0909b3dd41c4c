#include "rules/SlipReport.h"

namespace {

using enum SlipFace;
using enum SlipAlignment;
using enum SlipWidthRule;

// The label's id and its name as text, spelled once so that the two cannot differ.
#define LABEL(id) SlipLabelId::id, #id

// Left, top and width in layout units; every box is 17 units high. Row and column are the
// placement's values.
constexpr std::array<SlipLabelDesign, SlipLabelCount> Designs{{
    {LABEL(QRCCNR1), "QRCCNR1", 112, 24, 120, Spaziato, 10, Left, FitsText, 24, 112},
    {LABEL(QRIMP1), "QRIMP1XX", 300, 24, 137, Spaziato, 10, Right, Fixed, 24, 302},
    {LABEL(QRCENT1), "QRCENT1", 440, 24, 89, Spaziato, 10, Left, Fixed, 24, 442},
    {LABEL(QRCCNR11), "QRCCNR11", 621, 24, 137, Spaziato, 10, Left, FitsText, 24, 621},
    {LABEL(QRIMP11), "QRIMP11X", 921, 24, 137, Spaziato, 10, Right, Fixed, 24, 924},
    {LABEL(QRCENT11), "QRCENT11", 1063, 24, 57, Spaziato, 10, Left, Fixed, 24, 1066},
    {LABEL(QRIMPLETT1), "QRIMPLETT1", 96, 48, 83, Arial, 10, Left, FitsText, 51, 94},
    {LABEL(QRIMPLETT11), "QRIMPLETT11", 624, 56, 90, Arial, 10, Left, FitsText, 51, 622},
    {LABEL(QRINTEST1), "QRINTEST1", 96, 72, 59, Arial, 8, Left, FitsText, 80, 96},
    {LABEL(QRINTEST11), "QRINTEST11", 528, 80, 171, Spaziato, 10, Left, FitsText, 80, 526},
    {LABEL(QRINTEST12), "QRINTEST12", 528, 104, 171, Spaziato, 10, Left, FitsText, 102, 526},
    {LABEL(QRNOME1), "QRNOME1", 93, 104, 59, Arial, 9, Left, FitsText, 104, 93},
    {LABEL(QRNOME11), "QRNOME11", 584, 128, 66, Arial, 9, Left, FitsText, 126, 582},
    {LABEL(QRCOMUNE1), "QRCOMUNE1", 200, 136, 75, Arial, 9, Left, FitsText, 138, 200},
    {LABEL(QRCOMUNE11), "QRCOMUNE11", 528, 160, 171, Spaziato, 10, Left, FitsText, 160, 526},
    {LABEL(QRCODFISC1), "QRCODFISC1012345", 40, 184, 257, Spaziato, 9, Left, FitsText, 184, 37},
    {LABEL(QRCODFISC11), "QRCODFISC112345", 821, 180, 256, Spaziato, 10, Left, FitsText, 182, 819},
    {LABEL(QRABIT1), "QRABIT1", 104, 256, 51, Arial, 9, Left, FitsText, 256, 104},
    {LABEL(QRALTRI1), "QRALTRI1", 104, 272, 58, Arial, 9, Left, FitsText, 275, 104},
    {LABEL(QRABIT11), "QRABIT11X", 929, 248, 154, Spaziato, 10, Right, Fixed, 248, 929},
    {LABEL(QRALTRI11), "QRALTRI11", 922, 272, 161, Spaziato, 10, Right, Fixed, 268, 922},
    {LABEL(QRDETRAZ1), "QRDETRAZ1", 112, 304, 70, Arial, 9, Left, FitsText, 304, 112},
    {LABEL(QRDETRAZ11), "QRDETRAZ11", 718, 248, 171, Spaziato, 10, Right, Fixed, 248, 715},
    {LABEL(QRFABB1), "QRFABB1", 248, 221, 55, Arial, 9, Left, FitsText, 221, 246},
    {LABEL(QRANNO1), "QRANNO1", 248, 240, 58, Arial, 9, Left, FitsText, 240, 246},
    {LABEL(QRACC1), "X", 256, 256, 18, Spaziato, 10, Left, FitsText, 256, 254},
    {LABEL(QRSALDO1), "X", 256, 280, 18, Spaziato, 10, Left, FitsText, 280, 256},
    {LABEL(QRANNO11), "AN", 755, 207, 35, Spaziato, 10, Left, FitsText, 205, 754},
    {LABEL(QRACC11), "X", 820, 207, 18, Spaziato, 10, Left, FitsText, 205, 819},
    {LABEL(QRSALDO11), "X", 869, 207, 18, Spaziato, 10, Left, FitsText, 205, 869},
    {LABEL(QRFABB11), "QRFABB11", 752, 272, 137, Spaziato, 10, Right, Fixed, 268, 749},
}};

#undef LABEL

// Indexing by id relies on every row sitting at its id's place.
constexpr bool RowsInIdOrder() {
    for (std::size_t i = 0; i < SlipLabelCount; ++i)
        if (static_cast<std::size_t>(Designs[i].id) != i)
            return false;
    return true;
}
static_assert(RowsInIdOrder(), "the designs must be listed in the order of SlipLabelId");

} // namespace

int SpacedCellWidth(int pointSize) {
    return pointSize <= 9 ? 16 : 17;
}

const std::array<SlipLabelDesign, SlipLabelCount>& SlipLabelDesigns() {
    return Designs;
}

const SlipLabelDesign& SlipLabelDesignOf(SlipLabelId id) {
    return Designs[static_cast<std::size_t>(id)];
}

SlipReport::SlipReport() {
    for (const SlipLabelDesign& design : Designs)
        Label(design.id) =
            SlipLabel{&design, std::string(design.placeholder), design.top, design.left};
}
