#pragma once
// A slip filled in as after a computation, for the tests of the copy, the placement and the
// print; each test changes the fields it is about.
#include "rules/SlipData.h"

inline SlipData SampleSlip() {
    SlipData slip;
    slip.CCNR = "12345678";
    slip.Imp = "131";
    slip.CENT = "25";
    slip.IMPLETT = "#centotrentuno/25";
    slip.INTEST1 = "COMUNE DI ROMA";
    slip.INTEST2 = "SERVIZIO TESORERIA";
    slip.NOME = "ROSSI MARIO ROMA VIA APPIA 12";
    slip.Comune = "ROMA";
    slip.CODFISC = "RSSMRA60A01H501U";
    slip.FABB = "2";
    slip.ANNO = "07";
    slip.ACC = "X";
    slip.SALDO = "";
    slip.ABPRINC = "100,5";
    slip.ALTRIFABB = "30,75";
    slip.DETRAZ = "00,00";
    return slip;
}
