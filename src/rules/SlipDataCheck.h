#pragma once
// The slip data must be filled in before the tax is computed: the first empty field (or a
// number of buildings of "0" or "00") stops the computation with its message.
#include <string>

struct SlipDataTexts {
    std::string ccnr, intest1, intest2, nome, comun, codFisc, num, anno;
};

// The control that gets the focus, by its name in the main window.
enum class SlipDataField {
    None,
    EdCCNR,
    EdIntest1,
    EdIntest2,
    EdNome,
    EdComun,
    EdCodFisc,
    EdNum,
    EdAnno
};

struct SlipDataFault {
    SlipDataField field = SlipDataField::None;
    std::string message; // two lines joined by a carriage return
};

// Empty means no characters at all: a text of spaces is filled in.
SlipDataFault FirstSlipDataFault(const SlipDataTexts& texts);
