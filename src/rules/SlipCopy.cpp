#include "rules/SlipCopy.h"

#include "base/NumText.h"
#include "rules/ResetTexts.h"

std::string AmountInCents(const std::string& amount) {
    if (amount == AmountStartText)
        return "00";
    return FloatToStr(StrToFloat(amount) * 100);
}

void CopySlipToReport(const SlipData& slip, SlipReport& report) {
    using enum SlipLabelId;
    const auto set = [&report](SlipLabelId id, const std::string& text) {
        report.Label(id).text = text;
    };
    set(QRCCNR1, slip.CCNR);
    set(QRCCNR11, slip.CCNR);
    set(QRIMP1, slip.Imp);
    set(QRIMP11, slip.Imp);
    set(QRCENT1, slip.CENT);
    set(QRCENT11, slip.CENT);
    set(QRIMPLETT1, slip.IMPLETT);
    set(QRIMPLETT11, slip.IMPLETT);
    // The left part has room for one holder line only: both lines, always joined by a space.
    set(QRINTEST1, slip.INTEST1 + " " + slip.INTEST2);
    set(QRINTEST11, slip.INTEST1);
    set(QRINTEST12, slip.INTEST2);
    set(QRNOME1, slip.NOME);
    set(QRNOME11, slip.NOME);
    set(QRCOMUNE1, slip.Comune);
    set(QRCOMUNE11, slip.Comune);
    set(QRCODFISC1, slip.CODFISC);
    set(QRCODFISC11, slip.CODFISC);
    set(QRFABB1, slip.FABB);
    set(QRFABB11, slip.FABB);
    set(QRANNO1, slip.ANNO);
    set(QRANNO11, slip.ANNO);
    set(QRABIT1, slip.ABPRINC);
    set(QRACC1, slip.ACC);
    set(QRACC11, slip.ACC);
    set(QRSALDO1, slip.SALDO);
    set(QRSALDO11, slip.SALDO);
    set(QRALTRI1, slip.ALTRIFABB);
    set(QRDETRAZ1, slip.DETRAZ);
    // Converted last, one by one: a bad amount leaves everything before it copied.
    set(QRABIT11, AmountInCents(slip.ABPRINC));
    set(QRALTRI11, AmountInCents(slip.ALTRIFABB));
    set(QRDETRAZ11, AmountInCents(slip.DETRAZ));
}
