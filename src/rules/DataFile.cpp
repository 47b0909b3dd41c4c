#include "rules/DataFile.h"

#include "base/FileRead.h"
#include "rules/AlignmentFile.h"
#include "rules/Utf8Text.h"

#include <cerrno>
#include <charconv>

namespace {

constexpr std::string_view Header = "Quotario dati ICI, versione ";
constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

DataFileReading Fault(DataFileFault fault, int line = 0,
                      std::optional<EntryBoxId> box = std::nullopt) {
    DataFileReading reading;
    reading.fault = fault;
    reading.line = line;
    reading.box = box;
    return reading;
}

// The next line of `rest`, without its LF or CR LF; `rest` moves past it.
std::string_view NextLine(std::string_view& rest) {
    const std::size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return line;
}

const EntryBoxRow* RowWithKey(std::string_view key) {
    for (const EntryBoxRow& row : EntryBoxTable)
        if (key == row.fileKey)
            return &row;
    return nullptr;
}

} // namespace

DataFileReading ParseDataFile(std::string_view content) {
    if (content.starts_with(ByteOrderMark))
        content.remove_prefix(ByteOrderMark.size());
    std::string_view rest = content;
    const std::string_view first = NextLine(rest);
    if (!first.starts_with(Header))
        return Fault(DataFileFault::NotOurs, 1);
    const std::string_view versionText = first.substr(Header.size());
    int version = 0;
    const auto [end, error] =
        std::from_chars(versionText.data(), versionText.data() + versionText.size(), version);
    if (error == std::errc::result_out_of_range)
        return Fault(DataFileFault::NewerVersion, 1);
    if (error != std::errc() || end != versionText.data() + versionText.size() || version < 1)
        return Fault(DataFileFault::Damaged, 1);
    if (version > DataFileVersion)
        return Fault(DataFileFault::NewerVersion, 1);

    DataFileReading reading;
    std::array<bool, EntryBoxTable.size()> seen{};
    int lineNumber = 1;
    while (!rest.empty()) {
        const std::string_view line = NextLine(rest);
        ++lineNumber;
        if (line.empty() || line.front() == '#')
            continue;
        const std::size_t equals = line.find('=');
        const EntryBoxRow* row =
            equals == std::string_view::npos ? nullptr : RowWithKey(line.substr(0, equals));
        if (!row)
            return Fault(DataFileFault::Damaged, lineNumber);
        const auto index = static_cast<std::size_t>(row->box);
        if (seen[index])
            return Fault(DataFileFault::Damaged, lineNumber, row->box);
        const std::string_view text = line.substr(equals + 1);
        if (!BoxCanHold(*row, text))
            return Fault(DataFileFault::BadText, lineNumber, row->box);
        seen[index] = true;
        reading.texts[index] = std::string(text);
    }
    for (const EntryBoxRow& row : EntryBoxTable)
        if (!seen[static_cast<std::size_t>(row.box)])
            return Fault(DataFileFault::Damaged, 0, row.box);
    return reading;
}

DataFileReading ReadDataFile(const std::string& path) {
    const std::optional<std::string> content = ReadRegularFile(path, MaxDataFileBytes + 1);
    if (!content)
        return Fault(DataFileFault::Unreadable);
    if (content->size() > MaxDataFileBytes)
        return Fault(DataFileFault::TooLong);
    return ParseDataFile(*content);
}

std::string DataFileContent(const DataFileTexts& texts) {
    std::string content = std::string(Header) + std::to_string(DataFileVersion) + "\n";
    for (const EntryBoxRow& row : EntryBoxTable)
        content += std::string(row.fileKey) + "=" + texts[static_cast<std::size_t>(row.box)] + "\n";
    return content;
}

std::optional<std::string> WriteDataFile(const std::string& path, const DataFileTexts& texts,
                                         FileOperations& operations) {
    if (ReplaceFileContent(path, DataFileContent(texts), operations))
        return std::nullopt;
    const int systemError = errno;
    return SaveFailureReason(path, systemError);
}

std::string DataFileRefusedMessage(const std::string& path, const DataFileReading& reading) {
    std::string what;
    const std::string key = reading.box ? RowOf(*reading.box).fileKey : "";
    const std::string atLine =
        reading.line > 0 ? " (riga " + std::to_string(reading.line) + ")" : "";
    switch (reading.fault) {
    case DataFileFault::None:
        return {};
    case DataFileFault::Unreadable:
        what = "il file non esiste o non si può leggere";
        break;
    case DataFileFault::TooLong:
        what = "il file è troppo grande per essere un file di dati di Quotario";
        break;
    case DataFileFault::NotOurs:
        what = "non è un file di dati di Quotario";
        break;
    case DataFileFault::NewerVersion:
        what = "è stato scritto da una versione più recente di Quotario";
        break;
    case DataFileFault::Damaged:
        what = reading.box && reading.line == 0 ? "il file è danneggiato: manca il campo " + key
               : reading.box
                   ? "il file è danneggiato: il campo " + key + " compare due volte" + atLine
                   : "il file è danneggiato" + atLine;
        break;
    case DataFileFault::BadText:
        what = "il campo " + key + " contiene un testo che la casella non accetta" + atLine;
        break;
    }
    return "Impossibile aprire il file\r" + path + "\rperché " + what +
           ".\rI dati nella finestra restano com'erano.";
}

std::string DataFileNotSavedMessage(const std::string& path, const std::string& reason) {
    return "Impossibile salvare i dati nel file\r" + path + "\rperché " + reason +
           ".\rIl file salvato prima resta com'era.";
}
