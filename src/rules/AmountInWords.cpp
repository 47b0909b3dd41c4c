#include "rules/AmountInWords.h"

#include <array>
#include <cstdint>
#include <stdexcept>

namespace {

const std::array<const char*, 10> Units = {"",       "uno", "due",   "tre",  "quattro",
                                           "cinque", "sei", "sette", "otto", "nove"};
const std::array<const char*, 10> Teens = {"dieci",       "undici",    "dodici", "tredici",
                                           "quattordici", "quindici",  "sedici", "diciassette",
                                           "diciotto",    "diciannove"};
const std::array<const char*, 10> Tens = {"",         "",          "venti",    "trenta",
                                          "quaranta", "cinquanta", "sessanta", "settanta",
                                          "ottanta",  "novanta"};
const std::array<const char*, 10> TensAndOne = {
    "",           "",           "ventuno",   "trentuno", "quarantuno", "cinquantuno",
    "sessantuno", "settantuno", "ottantuno", "novantuno"};
const std::array<const char*, 10> Hundreds = {
    "",         "cento",      "duecento",  "trecento", "quattrocento", "cinquecento",
    "seicento", "settecento", "ottocento", "novecento"};

// A group's words followed by the word of its power of a thousand: the singular word replaces
// a group that is exactly "uno", and a group of zero adds nothing at all.
std::string WithGroupWord(const std::string& words, const char* singular, const char* plural) {
    if (words.empty())
        return "";
    if (words == "uno")
        return singular;
    return words + plural;
}

// Spells 0 < number < 10^9 by its groups of units, thousands and millions; empty for 0.
std::string BelowMilliard(std::uint64_t number) {
    const std::string units = GroupInWords(static_cast<int>(number % 1000));
    const std::string thousands = GroupInWords(static_cast<int>(number / 1000 % 1000));
    const std::string millions = GroupInWords(static_cast<int>(number / 1000000 % 1000));
    return WithGroupWord(millions, "unmilione", "milioni") +
           WithGroupWord(thousands, "mille", "mila") + units;
}

// The word tables stop at the milliards. From 10^12 on, the count of milliards (up to
// 922 337 for the largest currency amount) is itself spelled with thousands and millions,
// as Italian says "mille miliardi": 10^12 is MILLEMILIARDI, 2 500 000 000 000 is
// DUEMILACINQUECENTOMILIARDI. Below 10^12 this is exactly the fourth group of the tables.
std::string Spell(std::uint64_t number) {
    const std::uint64_t milliard = 1000000000;
    return WithGroupWord(BelowMilliard(number / milliard), "unmiliardo", "miliardi") +
           BelowMilliard(number % milliard);
}

} // namespace

std::string GroupInWords(int group) {
    if (group < 0 || group > 999)
        throw std::out_of_range("no group of three digits: " + std::to_string(group));
    const int hundreds = group / 100;
    const int tens = group / 10 % 10;
    const int units = group % 10;
    std::string words = Units[units];
    if (tens == 1)
        words = Teens[units];
    else if (tens >= 2 && units == 1)
        words = TensAndOne[tens];
    else if (tens >= 2)
        words = Tens[tens] + words;
    return Hundreds[hundreds] + words;
}

std::string AmountInWords(Currency amount) {
    // The magnitude as unsigned, so that the most negative amount has one too.
    const std::uint64_t magnitude =
        amount < 0 ? 0 - static_cast<std::uint64_t>(amount) : static_cast<std::uint64_t>(amount);
    const std::uint64_t euros = magnitude / CurrencyScale;
    std::string words = euros == 0 ? "zero" : Spell(euros);
    std::string result = "#" + words + "/";
    for (char& letter : result)
        if (letter >= 'a' && letter <= 'z')
            letter = static_cast<char>(letter - 'a' + 'A');
    return result;
}
