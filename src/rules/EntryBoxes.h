#pragma once
// The main window's entry boxes, one row each: the box's name, the typing rule it follows, its
// longest text, the text it starts with and the text "Reset tot." leaves in it. The window sets
// its boxes up from this table, and a data file is checked against it box by box.
#include "rules/ResetTexts.h"
#include "rules/TaxComputation.h"

#include <array>
#include <string>
#include <string_view>

enum class EntryBoxId {
    // The yellow entries of the two columns.
    REND1,
    RIVAL1,
    ALIQ1,
    DETR1,
    PERC1,
    MESI1,
    Edit1,
    Edit2,
    Edit3,
    Edit5,
    Edit6,
    // The account, its holder, the payer and the advance/balance marks.
    EdCCNR,
    EdIntest1,
    EdIntest2,
    EdNome,
    EdComun,
    EdCodFisc,
    EdNum,
    EdAnno,
    EdAcc,
    EdSaldo
};

enum class TypingRule {
    AnyCharacter,
    Digits,         // "0" to "9"
    DigitsAndComma, // "0" to "9" and ","
    Capitals,       // any character, letters turned to capitals as they are typed
    Mark            // no typing: empty or "X", set by a click
};

// The longest text of a box the design sets no limit for: as much as an edit box takes.
inline constexpr int NoLengthLimit = 32767;

struct EntryBoxRow {
    EntryBoxId box;
    const char* name;    // the box's own name in the window
    const char* fileKey; // its name in a data file, and in what the program says of the file
    TypingRule rule;
    int maxLength; // in UTF-16 code units, as the edit box counts
    std::string startText;
    std::string clearedText; // after "Reset tot."
};

// The tax year starts as the current year, which the window sets when it is created.
inline const std::array<EntryBoxRow, 21> EntryBoxTable{{
    {EntryBoxId::REND1, "REND1", "RenditaAbitazione", TypingRule::DigitsAndComma, 8,
     StartEntryTexts.mainResidence.income, StartEntryTexts.mainResidence.income},
    {EntryBoxId::RIVAL1, "RIVAL1", "RivalutazioneAbitazione", TypingRule::DigitsAndComma, 3,
     StartEntryTexts.mainResidence.revaluationPercent,
     StartEntryTexts.mainResidence.revaluationPercent},
    {EntryBoxId::ALIQ1, "ALIQ1", "AliquotaAbitazione", TypingRule::DigitsAndComma, 5,
     StartEntryTexts.mainResidence.ratePerThousand, StartEntryTexts.mainResidence.ratePerThousand},
    {EntryBoxId::DETR1, "DETR1", "Detrazione", TypingRule::DigitsAndComma, 7,
     StartEntryTexts.deduction, StartEntryTexts.deduction},
    {EntryBoxId::PERC1, "PERC1", "PercentualeAbitazione", TypingRule::Digits, 3,
     StartEntryTexts.mainResidence.sharePercent, StartEntryTexts.mainResidence.sharePercent},
    {EntryBoxId::MESI1, "MESI1", "MesiAbitazione", TypingRule::Digits, 2,
     StartEntryTexts.mainResidence.months, StartEntryTexts.mainResidence.months},
    // The other buildings' income starts at "00"; the resets put "00,00" into it.
    {EntryBoxId::Edit1, "Edit1", "RenditaAltri", TypingRule::DigitsAndComma, NoLengthLimit, "00",
     StartEntryTexts.otherBuildings.income},
    {EntryBoxId::Edit2, "Edit2", "RivalutazioneAltri", TypingRule::DigitsAndComma, NoLengthLimit,
     StartEntryTexts.otherBuildings.revaluationPercent,
     StartEntryTexts.otherBuildings.revaluationPercent},
    {EntryBoxId::Edit3, "Edit3", "AliquotaAltri", TypingRule::DigitsAndComma, NoLengthLimit,
     StartEntryTexts.otherBuildings.ratePerThousand,
     StartEntryTexts.otherBuildings.ratePerThousand},
    {EntryBoxId::Edit5, "Edit5", "PercentualeAltri", TypingRule::Digits, 3,
     StartEntryTexts.otherBuildings.sharePercent, StartEntryTexts.otherBuildings.sharePercent},
    {EntryBoxId::Edit6, "Edit6", "MesiAltri", TypingRule::Digits, 2,
     StartEntryTexts.otherBuildings.months, StartEntryTexts.otherBuildings.months},
    {EntryBoxId::EdCCNR, "EdCCNR", "ContoCorrente", TypingRule::Digits, 8, "", ""},
    // The first holder line starts with one space and is really empty after "Reset tot.".
    {EntryBoxId::EdIntest1, "EdIntest1", "Intestatario1", TypingRule::AnyCharacter, 32, " ", ""},
    {EntryBoxId::EdIntest2, "EdIntest2", "Intestatario2", TypingRule::AnyCharacter, 32, "", ""},
    {EntryBoxId::EdNome, "EdNome", "NomeDomicilioVia", TypingRule::AnyCharacter, 55, "", ""},
    {EntryBoxId::EdComun, "EdComun", "ComuneImmobili", TypingRule::AnyCharacter, 34, "", ""},
    {EntryBoxId::EdCodFisc, "EdCodFisc", "CodiceFiscale", TypingRule::Capitals, 16, "", ""},
    // "00" after "Reset tot.", which the computation refuses until a number is typed.
    {EntryBoxId::EdNum, "EdNum", "NumeroFabbricati", TypingRule::AnyCharacter, 2, "", "00"},
    {EntryBoxId::EdAnno, "EdAnno", "AnnoImposta", TypingRule::AnyCharacter, NoLengthLimit, "", ""},
    // The payment starts as the advance.
    {EntryBoxId::EdAcc, "EdAcc", "Acconto", TypingRule::AnyCharacter, NoLengthLimit, "X", "X"},
    {EntryBoxId::EdSaldo, "EdSaldo", "Saldo", TypingRule::Mark, NoLengthLimit, "", ""},
}};

const EntryBoxRow& RowOf(EntryBoxId box);

// The yellow entries, the first eleven rows, are the computation's texts.
inline bool IsYellow(EntryBoxId box) {
    return static_cast<int>(box) <= static_cast<int>(EntryBoxId::Edit6);
}
std::string& EntryTextOf(TaxEntryTexts& texts, EntryBoxId yellowBox);
const std::string& EntryTextOf(const TaxEntryTexts& texts, EntryBoxId yellowBox);

// A typed character passes a digits rule when it is a digit, backspace (8) or carriage return
// (13); a digits-and-comma rule also takes the comma. The other rules take every character.
bool TypedCharacterPasses(TypingRule rule, char16_t character);
// What a box with a digits rule says of a character it does not take; nothing for the others.
const char* TypingRuleMessage(TypingRule rule);

// True when `text` (UTF-8) is one the box can hold: within its longest text, no control
// character, and for a rule every character as the rule takes it (digits, capitals, a mark).
bool BoxCanHold(const EntryBoxRow& row, std::string_view text);
