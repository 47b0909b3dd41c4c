#include "rules/SlipPrintCheck.h"

#include "base/Errors.h"
#include "base/NumText.h"
#include "rules/SlipCopy.h"

bool HasEssentialSlipTexts(const SlipData& slip) {
    for (const std::string* text :
         {&slip.CCNR, &slip.IMPLETT, &slip.INTEST1, &slip.NOME, &slip.Comune, &slip.CODFISC})
        if (text->empty())
            return false;
    return true;
}

bool DeductionConverts(const SlipData& slip) {
    try {
        AmountInCents(slip.DETRAZ);
        return true;
    } catch (const EConvertError&) {
        return false;
    }
}

std::string DeductionNotANumberMessage(const std::string& deduction) {
    return MessageWithText("La detrazione \"%s\" non è un numero: il bollettino non è stato "
                           "stampato.\rCliccare su CORREGGI, correggere la detrazione e poi "
                           "cliccare su Calcola.",
                           deduction);
}

bool CorrectionsAreWhole(PaperPlacement placement, const std::string& vertical,
                         const std::string& horizontal) {
    if (placement == PaperPlacement::None)
        return true;
    try {
        StrToInt(vertical);
        StrToInt(horizontal);
        return true;
    } catch (const EConvertError&) {
        return false;
    }
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
