#include "rules/EntryBoxes.h"

#include "base/Errors.h"
#include "rules/Utf8Text.h"

#include <algorithm>

namespace {

constexpr const char* DigitsMessage = "Accetto solo valori numerici !!";
constexpr const char* DigitsAndCommaMessage = "Accetto la virgola e valori numerici !!";

} // namespace

const EntryBoxRow& RowOf(EntryBoxId box) {
    return EntryBoxTable[static_cast<std::size_t>(box)];
}

std::string& EntryTextOf(TaxEntryTexts& texts, EntryBoxId yellowBox) {
    switch (yellowBox) {
    case EntryBoxId::REND1:
        return texts.mainResidence.income;
    case EntryBoxId::RIVAL1:
        return texts.mainResidence.revaluationPercent;
    case EntryBoxId::ALIQ1:
        return texts.mainResidence.ratePerThousand;
    case EntryBoxId::DETR1:
        return texts.deduction;
    case EntryBoxId::PERC1:
        return texts.mainResidence.sharePercent;
    case EntryBoxId::MESI1:
        return texts.mainResidence.months;
    case EntryBoxId::Edit1:
        return texts.otherBuildings.income;
    case EntryBoxId::Edit2:
        return texts.otherBuildings.revaluationPercent;
    case EntryBoxId::Edit3:
        return texts.otherBuildings.ratePerThousand;
    case EntryBoxId::Edit5:
        return texts.otherBuildings.sharePercent;
    case EntryBoxId::Edit6:
        return texts.otherBuildings.months;
    default:
        throw Exception("not a yellow entry: " + std::string(RowOf(yellowBox).name));
    }
}

const std::string& EntryTextOf(const TaxEntryTexts& texts, EntryBoxId yellowBox) {
    return EntryTextOf(const_cast<TaxEntryTexts&>(texts), yellowBox);
}

bool TypedCharacterPasses(TypingRule rule, char16_t character) {
    const bool digitOrKey =
        (character >= u'0' && character <= u'9') || character == 8 || character == 13;
    switch (rule) {
    case TypingRule::Digits:
        return digitOrKey;
    case TypingRule::DigitsAndComma:
        return digitOrKey || character == u',';
    default:
        return true;
    }
}

const char* TypingRuleMessage(TypingRule rule) {
    switch (rule) {
    case TypingRule::Digits:
        return DigitsMessage;
    case TypingRule::DigitsAndComma:
        return DigitsAndCommaMessage;
    default:
        return "";
    }
}

bool BoxCanHold(const EntryBoxRow& row, std::string_view text) {
    const std::optional<std::u32string> characters = DecodeUtf8(text);
    if (!characters || Utf16Length(*characters) > static_cast<std::size_t>(row.maxLength))
        return false;
    if (row.rule == TypingRule::Mark)
        return text.empty() || text == "X";
    return std::all_of(characters->begin(), characters->end(), [&row](char32_t c) {
        if (c < 0x20 || (c >= 0x7F && c < 0xA0))
            return false;
        if (row.rule == TypingRule::Capitals)
            return !(c >= U'a' && c <= U'z');
        // Backspace and carriage return pass the digits rules as keys, never as text.
        return TypedCharacterPasses(row.rule, static_cast<char16_t>(c));
    });
}
