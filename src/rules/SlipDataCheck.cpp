#include "rules/SlipDataCheck.h"

namespace {
const char* const CannotBeEmpty = "\rnon può essere lasciato vuoto!";
}

SlipDataFault FirstSlipDataFault(const SlipDataTexts& t) {
    using F = SlipDataField;
    const std::string empty = CannotBeEmpty;
    if (t.ccnr.empty())
        return {F::EdCCNR, "ERRORE!! Il campo ContoCorrente" + empty};
    if (t.intest1.empty())
        return {F::EdIntest1, "ERRORE!! Il campo Intestato a" + empty};
    if (t.intest2.empty())
        return {F::EdIntest2, "ERRORE!! Il campo Intestato a" + empty};
    if (t.nome.empty())
        return {F::EdNome, "ERRORE!! Il campo Nome Cognome ecc." + empty};
    if (t.comun.empty())
        return {F::EdComun, "ERRORE!! Il campo Comune ubicazione ecc." + empty};
    if (t.codFisc.empty())
        return {F::EdCodFisc, "ERRORE!! Il campo Codice fiscale" + empty};
    if (t.num.empty())
        return {F::EdNum, "ERRORE!! Il campo Numero Fabbricati" + empty};
    if (t.num == "00" || t.num == "0")
        return {F::EdNum,
                "ERRORE!! Nel campo Numero Fabbricati\ril numero dei fabbricati non è corretto !"};
    if (t.anno.empty())
        return {F::EdAnno, "ERRORE!! Il campo Anno Imposta" + empty};
    return {};
}
