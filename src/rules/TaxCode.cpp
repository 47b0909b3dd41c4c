#include "rules/TaxCode.h"

#include <array>
#include <string_view>

namespace {

constexpr std::string_view Letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr std::string_view Digits = "0123456789";
// A digit replaced for homonymy: L stands for 0, M for 1, ... V for 9.
constexpr std::string_view HomonymyLetters = "LMNPQRSTUV";
constexpr std::string_view MonthLetters = "ABCDEHLMPRST";

bool IsIn(std::string_view set, char c) {
    return set.find(c) != std::string_view::npos;
}

// What each place of a person's code takes: 'L' a letter, 'D' a digit or its homonymy letter,
// 'M' a month letter.
constexpr std::string_view PersonShape = "LLLLLLDDMDDLDDDL";

// The value of a character in an odd place (first, third, ...), for digits and letters alike
// (0 and A, 1 and B, ..., 9 and J share a value).
constexpr std::array<int, 26> OddPlaceValues = {1,  0,  5, 7, 9, 13, 15, 17, 19, 21, 2,  4,  18,
                                                20, 11, 3, 6, 8, 12, 14, 16, 10, 22, 25, 24, 23};

int CharacterIndex(char c) {
    return IsIn(Digits, c) ? c - '0' : c - 'A';
}

char PersonCheckCharacter(std::string_view firstFifteen) {
    int sum = 0;
    for (std::size_t i = 0; i < firstFifteen.size(); ++i) {
        const int index = CharacterIndex(firstFifteen[i]);
        sum += i % 2 == 0 ? OddPlaceValues[static_cast<std::size_t>(index)] : index;
    }
    return Letters[static_cast<std::size_t>(sum % 26)];
}

char CompanyCheckDigit(std::string_view firstTen) {
    int sum = 0;
    for (std::size_t i = 0; i < firstTen.size(); ++i) {
        const int digit = firstTen[i] - '0';
        if (i % 2 == 0) {
            sum += digit;
        } else {
            const int doubled = digit * 2;
            sum += doubled > 9 ? doubled - 9 : doubled;
        }
    }
    return static_cast<char>('0' + (10 - sum % 10) % 10);
}

TaxCodeCheck WrongCharacter(std::size_t index, std::string allowed) {
    return {TaxCodeFault::WrongCharacter, static_cast<int>(index) + 1, 0, std::move(allowed)};
}

TaxCodeCheck CheckPersonCode(const std::string& code) {
    for (std::size_t i = 0; i < PersonShape.size(); ++i) {
        const char c = code[i];
        switch (PersonShape[i]) {
        case 'L':
            if (!IsIn(Letters, c))
                return WrongCharacter(i, "una lettera");
            break;
        case 'D':
            if (!IsIn(Digits, c) && !IsIn(HomonymyLetters, c))
                return WrongCharacter(i, "una cifra (o una delle lettere L M N P Q R S T U V "
                                         "che la sostituiscono per omocodia)");
            break;
        case 'M':
            if (!IsIn(MonthLetters, c))
                return WrongCharacter(i, "la lettera del mese (A B C D E H L M P R S T)");
            break;
        }
    }
    const char expected = PersonCheckCharacter(std::string_view(code).substr(0, 15));
    if (code[15] != expected)
        return {TaxCodeFault::WrongCheckCharacter, 16, expected, {}};
    return {};
}

TaxCodeCheck CheckCompanyCode(const std::string& code) {
    for (std::size_t i = 0; i < code.size(); ++i)
        if (!IsIn(Digits, code[i]))
            return WrongCharacter(i, "una cifra");
    const char expected = CompanyCheckDigit(std::string_view(code).substr(0, 10));
    if (code[10] != expected)
        return {TaxCodeFault::WrongCheckCharacter, 11, expected, {}};
    return {};
}

} // namespace

TaxCodeCheck CheckTaxCode(const std::string& code) {
    if (code.size() == 16)
        return CheckPersonCode(code);
    if (code.size() == 11)
        return CheckCompanyCode(code);
    return {TaxCodeFault::WrongLength, 0, 0, {}};
}

std::string TaxCodeWarningMessage(const std::string& code, const TaxCodeCheck& check) {
    std::string what;
    switch (check.fault) {
    case TaxCodeFault::None:
        return {};
    case TaxCodeFault::WrongLength:
        what = "Un codice fiscale ha 16 caratteri (persone) o 11 cifre (società):\r"
               "questo ne ha " +
               std::to_string(code.size()) + ".";
        break;
    case TaxCodeFault::WrongCharacter:
        what = "Il carattere n. " + std::to_string(check.position) + " dovrebbe essere\r" +
               check.allowed + ".";
        break;
    case TaxCodeFault::WrongCheckCharacter:
        what = std::string("L'ultimo carattere, di controllo, dovrebbe essere ") + check.expected +
               ":\ril codice contiene un errore di battitura.";
        break;
    }
    return "ATTENZIONE: il codice fiscale " + code + " non è valido.\r" + what +
           "\rUn bollettino con un codice errato non viene attribuito al contribuente.\r"
           "Calcolare lo stesso?";
}
