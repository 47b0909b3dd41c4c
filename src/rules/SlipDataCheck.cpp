#include "rules/SlipDataCheck.h"

namespace {
const char* const CannotBeEmpty = "\rnon può essere lasciato vuoto!";
}

SlipDataFault FirstSlipDataFault(const SlipDataTexts& texts) {
    using Field = SlipDataField;
    const std::string empty = CannotBeEmpty;
    if (texts.accountNumber.empty())
        return {Field::AccountNumber, "ERRORE!! Il campo ContoCorrente" + empty};
    if (texts.holderLine1.empty())
        return {Field::HolderLine1, "ERRORE!! Il campo Intestato a" + empty};
    if (texts.holderLine2.empty())
        return {Field::HolderLine2, "ERRORE!! Il campo Intestato a" + empty};
    if (texts.payer.empty())
        return {Field::Payer, "ERRORE!! Il campo Nome Cognome ecc." + empty};
    if (texts.municipality.empty())
        return {Field::Municipality, "ERRORE!! Il campo Comune ubicazione ecc." + empty};
    if (texts.taxCode.empty())
        return {Field::TaxCode, "ERRORE!! Il campo Codice fiscale" + empty};
    if (texts.buildingCount.empty())
        return {Field::BuildingCount, "ERRORE!! Il campo Numero Fabbricati" + empty};
    if (texts.buildingCount == "00" || texts.buildingCount == "0")
        return {Field::BuildingCount,
                "ERRORE!! Nel campo Numero Fabbricati\ril numero dei fabbricati non è corretto !"};
    if (texts.taxYear.empty())
        return {Field::TaxYear, "ERRORE!! Il campo Anno Imposta" + empty};
    return {};
}
