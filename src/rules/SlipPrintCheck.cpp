#include "rules/SlipPrintCheck.h"

const std::string InsufficientSlipDataMessage =
    std::string("Dati insufficienti per stampare !! ") + "\r" + "..Cliccare su CORREGGI!....";

bool HasEssentialSlipTexts(const SlipData& slip) {
    for (const std::string* text :
         {&slip.CCNR, &slip.IMPLETT, &slip.INTEST1, &slip.NOME, &slip.Comune, &slip.CODFISC})
        if (text->empty())
            return false;
    return true;
}

bool EssentialLabelsOnSheet(const SlipReport& report) {
    using enum SlipLabelId;
    for (const SlipLabelId id :
         {QRCCNR1, QRCCNR11, QRIMPLETT1, QRIMPLETT11, QRINTEST1, QRINTEST11, QRNOME1, QRNOME11,
          QRCOMUNE1, QRCOMUNE11, QRCODFISC1, QRCODFISC11}) {
        const SlipLabel& label = report.Label(id);
        // In long long: a position may lie near the limit of int.
        const long long right = static_cast<long long>(label.left) + label.design->width;
        const long long bottom = static_cast<long long>(label.top) + SlipLabelHeight;
        if (right <= 0 || bottom <= 0 || label.left >= SlipPageWidthUnits ||
            label.top >= SlipPageHeightUnits)
            return false;
    }
    return true;
}
