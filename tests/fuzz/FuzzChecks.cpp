#include "fuzz/FuzzChecks.h"

#include "base/Errors.h"
#include "base/NumText.h"
#include "rules/AlignmentFile.h"
#include "rules/AmountInWords.h"
#include "rules/DataFile.h"
#include "rules/ProfileText.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include <unistd.h>

namespace {

void Require(bool holds, const std::string& what, std::string_view input) {
    if (!holds)
        throw FuzzCheckFailure(what + " (input \"" + std::string(input) + "\")");
}

// The result of a conversion, or nothing when it raised EConvertError; any other exception
// goes on.
template <typename Conversion>
auto Converted(Conversion convert) -> std::optional<decltype(convert())> {
    try {
        return convert();
    } catch (const EConvertError&) {
        return std::nullopt;
    }
}

void CheckFloatRoundTrip(long double value, std::string_view input) {
    const std::string text = FloatToStr(value);
    const auto back = Converted([&] { return StrToFloat(text); });
    Require(back.has_value(), "FloatToStr gave \"" + text + "\", which does not convert", input);
    Require(FloatToStr(*back) == text, "\"" + text + "\" does not convert back to itself", input);
    // Fifteen significant digits: at most half a unit of the 15th digit away.
    if (std::fabs(value) >= LDBL_MIN)
        Require(std::fabs(*back - value) <= std::fabs(value) * 1e-14L,
                "\"" + text + "\" is too far from the value", input);
}

// Spaces may only lead a whole number, as in every integer conversion of the program.
bool HasIntegerForm(const std::string& text) {
    return !text.empty() && text.find_first_of(",eE") == std::string::npos && text.back() != ' ';
}

} // namespace

void CheckNumberTexts(std::string_view bytes) {
    const std::string text(bytes);
    const auto value = Converted([&] { return StrToFloat(text); });
    if (value) {
        Require(std::isfinite(*value), "StrToFloat returned a value beyond the range", bytes);
        CheckFloatRoundTrip(*value, bytes);
    }

    const auto integer = Converted([&] { return StrToInt(text); });
    if (integer)
        Require(value && *value == *integer, "StrToInt and StrToFloat disagree", bytes);
    else if (value && HasIntegerForm(text) && *value >= INT_MIN && *value <= INT_MAX)
        Require(false, "StrToInt refused a whole number in range", bytes);

    const auto currency = Converted([&] { return StrToCurr(text); });
    if (currency) {
        Require(value.has_value(), "StrToCurr took a text StrToFloat refuses", bytes);
        const long double scaled = *value * CurrencyScale;
        Require(std::fabs(static_cast<long double>(*currency) - scaled) <= 0.5L,
                "StrToCurr is not the nearest ten-thousandth", bytes);
    } else if (value) {
        Require(std::fabs(*value) >= 9e14L, "StrToCurr refused an amount in range", bytes);
    }
}

namespace {

const std::array<const char*, 5> AlignmentKeys = {"EDIT1", "EDIT2", "EDITC", "EDITD", "EDITS"};

void CheckValue(const std::optional<std::string>& value, std::string_view input) {
    if (!value)
        return;
    Require(value->size() <= MaxProfileValueLength, "a value beyond the length bound", input);
    Require(value->find_first_of(std::string("\n\0", 2)) == std::string::npos,
            "a value holding a line break or NUL", input);
}

std::string_view FirstLine(std::string_view text) {
    return text.substr(0, text.find('\n'));
}

// One file per process for the reader to read, removed when the process ends. It lies in
// memory where it can: a disk file emptied and rewritten for every input is flushed on each
// close (ext4) and would slow a fuzz run down a hundredfold.
class ScratchFile {
public:
    ScratchFile()
        : directory_((std::filesystem::is_directory("/dev/shm")
                          ? std::filesystem::path("/dev/shm")
                          : std::filesystem::temp_directory_path()) /
                     ("quotario-fuzz-" + std::to_string(::getpid()))) {
        std::filesystem::create_directories(directory_);
    }
    ~ScratchFile() {
        std::error_code ignored;
        std::filesystem::remove_all(directory_, ignored);
    }
    std::string holding(std::string_view bytes) const {
        const std::string path = AlignmentFilePath(directory_.string());
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        file.write(bytes.data(), std::streamsize(bytes.size()));
        return path;
    }

private:
    std::filesystem::path directory_;
};

std::string AlignmentValue(const AlignmentTexts& texts, std::string_view key) {
    if (key == "EDIT1")
        return texts.verticalCorrection;
    if (key == "EDIT2")
        return texts.horizontalCorrection;
    if (key == "EDITC")
        return texts.paperMarks.centre;
    if (key == "EDITD")
        return texts.paperMarks.right;
    return texts.paperMarks.left;
}

} // namespace

void CheckProfileReading(std::string_view bytes) {
    // Section and key names taken from the input itself, whatever they hold.
    const std::string_view section = FirstLine(bytes);
    const std::string_view rest = bytes.substr(std::min(bytes.size(), section.size() + 1));
    CheckValue(FindProfileValue(bytes, section, FirstLine(rest)), bytes);

    static const ScratchFile scratch;
    const AlignmentTexts read = ReadAlignmentFile(scratch.holding(bytes));
    const std::string text = ProfileTextOfFile(bytes);
    for (const char* key : AlignmentKeys) {
        const auto value = FindProfileValue(text, "ALLINEA", key);
        CheckValue(value, bytes);
        Require(AlignmentValue(read, key) == value.value_or(AlignmentDefaultValue),
                std::string("ReadAlignmentFile disagrees on ") + key, bytes);
    }

    const std::string saved = AlignmentFileContent(read);
    Require(saved.rfind("[ALLINEA]\n", 0) == 0, "a save without its section line", bytes);
    Require(std::count(saved.begin(), saved.end(), '\n') == 6, "a save of other than six lines",
            bytes);
    for (const char* key : AlignmentKeys)
        Require(FindProfileValue(saved, "ALLINEA", key).has_value(),
                std::string("a save that loses ") + key, bytes);
}

void CheckAmountInWords(std::string_view bytes) {
    std::uint64_t raw = 0;
    std::memcpy(&raw, bytes.data(), std::min(bytes.size(), sizeof raw));
    const Currency amount = static_cast<Currency>(raw);
    const std::string words = AmountInWords(amount);
    const std::string input = std::to_string(amount);

    Require(words.size() >= 3 && words.front() == '#' && words.back() == '/',
            "\"" + words + "\" is not framed by # and /", input);
    for (std::size_t i = 1; i + 1 < words.size(); ++i)
        Require(words[i] >= 'A' && words[i] <= 'Z', "\"" + words + "\" holds a non-letter", input);
    Require((words == "#ZERO/") == (amount > -CurrencyScale && amount < CurrencyScale),
            "\"" + words + "\" for an amount of that size", input);
    if (amount != INT64_MIN)
        Require(AmountInWords(-amount) == words, "the sign changes the words", input);
    Require(AmountInWords(amount - amount % CurrencyScale) == words, "the cents change the words",
            input);
}

void CheckDataFileReading(std::string_view bytes) {
    const DataFileReading reading = ParseDataFile(bytes);
    if (reading.fault != DataFileFault::None) {
        Require(!DataFileRefusedMessage("f.ici", reading).empty(), "a refusal without a message",
                bytes);
        return;
    }
    for (const EntryBoxRow& row : EntryBoxTable)
        Require(BoxCanHold(row, reading.texts[static_cast<std::size_t>(row.box)]),
                std::string("a text its box cannot hold taken for ") + row.fileKey, bytes);
    const std::string saved = DataFileContent(reading.texts);
    Require(saved.size() <= MaxDataFileBytes, "a save longer than reading takes", bytes);
    const DataFileReading again = ParseDataFile(saved);
    Require(again.fault == DataFileFault::None && again.texts == reading.texts,
            "what a save writes does not read back the same", bytes);
}
