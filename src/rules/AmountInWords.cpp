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

// Spells 0 < n < 10^9 by its groups of units, thousands and millions; empty for 0.
std::string BelowMilliard(std::uint64_t n) {
    const std::string units = GroupInWords(static_cast<int>(n % 1000));
    const std::string thousands = GroupInWords(static_cast<int>(n / 1000 % 1000));
    const std::string millions = GroupInWords(static_cast<int>(n / 1000000 % 1000));
    return WithGroupWord(millions, "unmilione", "milioni") +
           WithGroupWord(thousands, "mille", "mila") + units;
}

// The word tables stop at the milliards. From 10^12 on, the count of milliards (up to
// 922 337 for the largest currency amount) is itself spelled with thousands and millions,
// as Italian says "mille miliardi": 10^12 is MILLEMILIARDI, 2 500 000 000 000 is
// DUEMILACINQUECENTOMILIARDI. Below 10^12 this is exactly the fourth group of the tables.
std::string Spell(std::uint64_t n) {
    const std::uint64_t milliard = 1000000000;
    return WithGroupWord(BelowMilliard(n / milliard), "unmiliardo", "miliardi") +
           BelowMilliard(n % milliard);
}

} // namespace

std::string GroupInWords(int group) {
    if (group < 0 || group > 999)
        throw std::out_of_range("no group of three digits: " + std::to_string(group));
    const int h = group / 100;
    const int t = group / 10 % 10;
    const int u = group % 10;
    std::string words = Units[u];
    if (t == 1)
        words = Teens[u];
    else if (t >= 2 && u == 1)
        words = TensAndOne[t];
    else if (t >= 2)
        words = Tens[t] + words;
    return Hundreds[h] + words;
}

std::string AmountInWords(Currency amount) {
    // The magnitude as unsigned, so that the most negative amount has one too.
    const std::uint64_t magnitude =
        amount < 0 ? 0 - static_cast<std::uint64_t>(amount) : static_cast<std::uint64_t>(amount);
    const std::uint64_t euros = magnitude / CurrencyScale;
    std::string words = euros == 0 ? "zero" : Spell(euros);
    std::string result = "#" + words + "/";
    for (char& c : result)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return result;
}
