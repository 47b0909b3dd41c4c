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
