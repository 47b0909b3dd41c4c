#pragma once
// The printed slip: one landscape A4 page that carries 31 texts and nothing else. Each label
// has its designed place, size, face and alignment, and keeps the text and position it was
// last given; until a placement runs it sits where it was designed.
//
// Positions and sizes are layout units (1/96 inch) from the top-left corner of the band, which
// starts at the sheet's left edge and 0.2 mm below its top edge.
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

// One layout unit is 1/96 inch; the page is 1123 x 794 units, the band 0.2 mm below the top.
constexpr double LayoutUnitsPerInch = 96.0;
constexpr double SlipBandTopMm = 0.2;
constexpr int SlipPageWidthUnits = 1123;
constexpr int SlipPageHeightUnits = 794;
constexpr int SlipLabelHeight = 17; // every label is one line, 4.5 mm high

// "Arial" is the proportional face; "Spaziato" the spaced face that puts every character in a
// cell of its own, so that digits fall into the pre-printed boxes of the slip.
enum class SlipFace { Arial, Spaziato };
enum class SlipAlignment { Left, Right };
// A label that fits its text grows with it; a fixed one keeps its designed width.
enum class SlipWidthRule { FitsText, Fixed };

// The 31 labels, in the report's order (left part and right part interleaved). Each is named as
// on the report; its design carries the name as text too, for messages.
enum class SlipLabelId {
    QRCCNR1,
    QRIMP1,
    QRCENT1,
    QRCCNR11,
    QRIMP11,
    QRCENT11,
    QRIMPLETT1,
    QRIMPLETT11,
    QRINTEST1,
    QRINTEST11,
    QRINTEST12,
    QRNOME1,
    QRNOME11,
    QRCOMUNE1,
    QRCOMUNE11,
    QRCODFISC1,
    QRCODFISC11,
    QRABIT1,
    QRALTRI1,
    QRABIT11,
    QRALTRI11,
    QRDETRAZ1,
    QRDETRAZ11,
    QRFABB1,
    QRANNO1,
    QRACC1,
    QRSALDO1,
    QRANNO11,
    QRACC11,
    QRSALDO11,
    QRFABB11,
};

constexpr std::size_t SlipLabelCount = static_cast<std::size_t>(SlipLabelId::QRFABB11) + 1;

struct SlipLabelDesign {
    SlipLabelId id;
    std::string_view name;        // "QRCCNR1", ...: the label's name on the report
    std::string_view placeholder; // the design text, replaced before every print
    int left;                     // layout units
    int top;
    int width;
    SlipFace face;
    int pointSize;
    SlipAlignment alignment;
    SlipWidthRule widthRule;
    // Where the fed paper puts the label's box, whatever the paper position: the row is added
    // to the top, the column to the left (see PlaceSlip).
    int row;
    int column;
};

// Width of one character cell of the spaced face: 17 units at 10 pt, 16 at 9 pt.
int SpacedCellWidth(int pointSize);

struct SlipLabel {
    const SlipLabelDesign* design;
    std::string text;
    int top;
    int left;
};

class SlipReport {
public:
    // Every label at its design place with its placeholder text.
    SlipReport();

    // The labels in the report's own order (left part and right part interleaved).
    const std::array<SlipLabel, SlipLabelCount>& Labels() const { return labels_; }

    SlipLabel& Label(SlipLabelId id) { return labels_[static_cast<std::size_t>(id)]; }
    const SlipLabel& Label(SlipLabelId id) const { return labels_[static_cast<std::size_t>(id)]; }

private:
    std::array<SlipLabel, SlipLabelCount> labels_;
};

// The design of every label, in the report's order: entry i is the label whose id is i.
const std::array<SlipLabelDesign, SlipLabelCount>& SlipLabelDesigns();
const SlipLabelDesign& SlipLabelDesignOf(SlipLabelId id);
