#pragma once
// The slip data must be filled in before the tax is computed: the first empty field (or a
// number of buildings of "0" or "00") stops the computation with its message.
#include <string>

struct SlipDataTexts {
    std::string accountNumber; // postal current-account number
    std::string holderLine1;   // account holder, two lines
    std::string holderLine2;
    std::string payer;        // name, tax domicile, street
    std::string municipality; // where the buildings lie
    std::string taxCode;
    std::string buildingCount;
    std::string taxYear;
};

// The field at fault, which gets the focus.
enum class SlipDataField {
    None,
    AccountNumber,
    HolderLine1,
    HolderLine2,
    Payer,
    Municipality,
    TaxCode,
    BuildingCount,
    TaxYear
};

struct SlipDataFault {
    SlipDataField field = SlipDataField::None;
    std::string message; // two lines joined by a carriage return
};

// Empty means no characters at all: a text of spaces is filled in.
SlipDataFault FirstSlipDataFault(const SlipDataTexts& texts);
