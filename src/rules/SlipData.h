#pragma once
// The slip field set: the sixteen texts of the payment slip, each named after the summary box
// that shows it. Texts travel unchanged (UTF-8), exactly as the summary window holds them.
#include <string>

struct SlipData {
    std::string CCNR;      // postal current-account number
    std::string Imp;       // whole euros of the instalment
    std::string CENT;      // cents of the instalment, two digits
    std::string IMPLETT;   // the instalment in words
    std::string INTEST1;   // account holder, line 1
    std::string INTEST2;   // account holder, line 2
    std::string NOME;      // payer: name, tax domicile, street
    std::string Comune;    // municipality where the buildings lie
    std::string CODFISC;   // payer's tax code
    std::string FABB;      // number of buildings
    std::string ANNO;      // tax year, two digits
    std::string ACC;       // "X" for the advance
    std::string SALDO;     // "X" for the balance
    std::string ABPRINC;   // main residence tax of the instalment
    std::string ALTRIFABB; // other buildings tax of the instalment
    std::string DETRAZ;    // yearly main residence deduction as typed
};
