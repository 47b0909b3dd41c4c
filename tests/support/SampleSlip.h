#pragma once
// A slip filled in as after a computation, for the tests of the copy, the placement and the
// print, and for the print's benchmark; each test changes the fields it is about. The payer is
// the tests' one sample taxpayer (SamplePayer); the amounts are large enough for the right
// part's boxes to be filled.
#include "rules/SlipData.h"
#include "support/EntryTexts.h"

inline SlipData SampleSlip() {
    const auto text = [](const std::optional<QString>& entry) { return entry->toStdString(); };
    SlipData slip;
    slip.CCNR = text(SamplePayer.accountNumber);
    slip.Imp = "1131";
    slip.CENT = "25";
    slip.IMPLETT = "#millecentotrentuno/25";
    slip.INTEST1 = text(SamplePayer.holderLine1);
    slip.INTEST2 = text(SamplePayer.holderLine2);
    slip.NOME = text(SamplePayer.payer);
    slip.Comune = text(SamplePayer.municipality);
    slip.CODFISC = text(SamplePayer.taxCode);
    slip.FABB = text(SamplePayer.buildingCount);
    slip.ANNO = text(SamplePayer.taxYear);
    slip.ACC = "X";
    slip.SALDO = "";
    slip.ABPRINC = "1000,5";
    slip.ALTRIFABB = "130,75";
    slip.DETRAZ = "103,29";
    return slip;
}
