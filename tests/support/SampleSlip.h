#pragma once
// A slip filled in as after a computation, for the tests of the copy, the placement and the
// print, and for the print's benchmark; each test changes the fields it is about. The amounts
// are large enough for the right part's boxes to be filled.
#include "rules/SlipData.h"

inline SlipData SampleSlip() {
    SlipData slip;
    slip.CCNR = "12345678";
    slip.Imp = "1131";
    slip.CENT = "25";
    slip.IMPLETT = "#millecentotrentuno/25";
    slip.INTEST1 = "COMUNE DI ROMA";
    slip.INTEST2 = "SERV. TESORERIA";
    slip.NOME = "ROSSI MARIO ROMA VIA APPIA 12";
    slip.Comune = "ROMA";
    slip.CODFISC = "RSSMRA60A01H501U";
    slip.FABB = "2";
    slip.ANNO = "07";
    slip.ACC = "X";
    slip.SALDO = "";
    slip.ABPRINC = "1000,5";
    slip.ALTRIFABB = "130,75";
    slip.DETRAZ = "103,29";
    return slip;
}
