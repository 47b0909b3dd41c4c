#include "rules/SlipReport.h"

#include <stdexcept>

namespace {

using enum SlipFace;
using enum SlipAlignment;
using enum SlipWidthRule;

// Left, top and width in layout units; every box is 17 units high.
constexpr std::array<SlipLabelDesign, SlipLabelCount> Designs{{
    {"QRCCNR1", "QRCCNR1", 112, 24, 120, Spaziato, 10, Left, FitsText},
    {"QRIMP1", "QRIMP1XX", 300, 24, 137, Spaziato, 10, Right, Fixed},
    {"QRCENT1", "QRCENT1", 440, 24, 89, Spaziato, 10, Left, Fixed},
    {"QRCCNR11", "QRCCNR11", 621, 24, 137, Spaziato, 10, Left, FitsText},
    {"QRIMP11", "QRIMP11X", 921, 24, 137, Spaziato, 10, Right, Fixed},
    {"QRCENT11", "QRCENT11", 1063, 24, 57, Spaziato, 10, Left, Fixed},
    {"QRIMPLETT1", "QRIMPLETT1", 96, 48, 83, Arial, 10, Left, FitsText},
    {"QRIMPLETT11", "QRIMPLETT11", 624, 56, 90, Arial, 10, Left, FitsText},
    {"QRINTEST1", "QRINTEST1", 96, 72, 59, Arial, 8, Left, FitsText},
    {"QRINTEST11", "QRINTEST11", 528, 80, 171, Spaziato, 10, Left, FitsText},
    {"QRINTEST12", "QRINTEST12", 528, 104, 171, Spaziato, 10, Left, FitsText},
    {"QRNOME1", "QRNOME1", 93, 104, 59, Arial, 9, Left, FitsText},
    {"QRNOME11", "QRNOME11", 584, 128, 66, Arial, 9, Left, FitsText},
    {"QRCOMUNE1", "QRCOMUNE1", 200, 136, 75, Arial, 9, Left, FitsText},
    {"QRCOMUNE11", "QRCOMUNE11", 528, 160, 171, Spaziato, 10, Left, FitsText},
    {"QRCODFISC1", "QRCODFISC1012345", 40, 184, 257, Spaziato, 9, Left, FitsText},
    {"QRCODFISC11", "QRCODFISC112345", 821, 180, 256, Spaziato, 10, Left, FitsText},
    {"QRABIT1", "QRABIT1", 104, 256, 51, Arial, 9, Left, FitsText},
    {"QRALTRI1", "QRALTRI1", 104, 272, 58, Arial, 9, Left, FitsText},
    {"QRABIT11", "QRABIT11X", 929, 248, 154, Spaziato, 10, Right, Fixed},
    {"QRALTRI11", "QRALTRI11", 922, 272, 161, Spaziato, 10, Right, Fixed},
    {"QRDETRAZ1", "QRDETRAZ1", 112, 304, 70, Arial, 9, Left, FitsText},
    {"QRDETRAZ11", "QRDETRAZ11", 718, 248, 171, Spaziato, 10, Right, Fixed},
    {"QRFABB1", "QRFABB1", 248, 221, 55, Arial, 9, Left, FitsText},
    {"QRANNO1", "QRANNO1", 248, 240, 58, Arial, 9, Left, FitsText},
    {"QRACC1", "X", 256, 256, 18, Spaziato, 10, Left, FitsText},
    {"QRSALDO1", "X", 256, 280, 18, Spaziato, 10, Left, FitsText},
    {"QRANNO11", "AN", 755, 207, 35, Spaziato, 10, Left, FitsText},
    {"QRACC11", "X", 820, 207, 18, Spaziato, 10, Left, FitsText},
    {"QRSALDO11", "X", 869, 207, 18, Spaziato, 10, Left, FitsText},
    {"QRFABB11", "QRFABB11", 752, 272, 137, Spaziato, 10, Right, Fixed},
}};

} // namespace

int SpacedCellWidth(int pointSize) {
    return pointSize <= 9 ? 16 : 17;
}

const std::array<SlipLabelDesign, SlipLabelCount>& SlipLabelDesigns() {
    return Designs;
}

SlipReport::SlipReport() {
    for (std::size_t i = 0; i < SlipLabelCount; ++i) {
        const SlipLabelDesign& design = Designs[i];
        m_labels[i] = SlipLabel{&design, std::string(design.placeholder), design.top, design.left};
    }
}

SlipLabel& SlipReport::label(std::string_view name) {
    for (SlipLabel& label : m_labels)
        if (label.design->name == name)
            return label;
    throw std::out_of_range("no label " + std::string(name) + " on the slip");
}

const SlipLabel& SlipReport::label(std::string_view name) const {
    return const_cast<SlipReport*>(this)->label(name);
}
