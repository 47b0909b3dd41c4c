#include "rules/SlipDataCheck.h"

namespace {
const char* const CannotBeEmpty = "\rnon può essere lasciato vuoto!";
}

SlipDataFault FirstSlipDataFault(const SlipDataTexts& t) {
    using F = SlipDataField;
    const std::string empty = CannotBeEmpty;
    if (t.accountNumber.empty())
        return {F::AccountNumber, "ERRORE!! Il campo ContoCorrente" + empty};
    if (t.holderLine1.empty())
        return {F::HolderLine1, "ERRORE!! Il campo Intestato a" + empty};
    if (t.holderLine2.empty())
        return {F::HolderLine2, "ERRORE!! Il campo Intestato a" + empty};
    if (t.payer.empty())
        return {F::Payer, "ERRORE!! Il campo Nome Cognome ecc." + empty};
    if (t.municipality.empty())
        return {F::Municipality, "ERRORE!! Il campo Comune ubicazione ecc." + empty};
    if (t.taxCode.empty())
        return {F::TaxCode, "ERRORE!! Il campo Codice fiscale" + empty};
    if (t.buildingCount.empty())
        return {F::BuildingCount, "ERRORE!! Il campo Numero Fabbricati" + empty};
    if (t.buildingCount == "00" || t.buildingCount == "0")
        return {F::BuildingCount,
                "ERRORE!! Nel campo Numero Fabbricati\ril numero dei fabbricati non è corretto !"};
    if (t.taxYear.empty())
        return {F::TaxYear, "ERRORE!! Il campo Anno Imposta" + empty};
    return {};
}
