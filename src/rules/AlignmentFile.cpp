#include "rules/AlignmentFile.h"

#include "base/FileRead.h"
#include "base/ProgramDirectory.h"
#include "base/UserFolders.h"
#include "rules/ProfileText.h"

#include <cerrno>
#include <filesystem>

namespace {

constexpr const char* FileName = "Allinea.ini";
constexpr const char* Section = "ALLINEA";

bool EndsWithSeparator(const std::string& directory) {
#ifdef _WIN32
    return directory.back() == '/' || directory.back() == '\\';
#else
    return directory.back() == '/';
#endif
}

std::string SingleLine(const std::string& value) {
    return value.substr(0, value.find_first_of(std::string("\r\n\0", 3)));
}

std::filesystem::path PathOf(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

} // namespace

EIniFileException::EIniFileException(const std::string& file, std::string reason)
    : Exception(MessageWithText("Unable to write to %s", file)), file_(file),
      reason_(std::move(reason)) {}

std::string SaveFailureReason(const std::string& file, int systemError) {
    namespace fs = std::filesystem;
    std::error_code unknown;
    const fs::path path = PathOf(file);
    const fs::file_status status = fs::status(path, unknown);
    if (fs::is_directory(status))
        return "al suo posto c'è una cartella con lo stesso nome";
    if (fs::is_regular_file(status) &&
        (status.permissions() & fs::perms::owner_write) == fs::perms::none)
        return "il file è di sola lettura";
    if (!fs::is_directory(path.parent_path(), unknown))
        return "la cartella che dovrebbe contenerlo non esiste o non è una cartella";
    switch (systemError) {
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return "il disco è pieno";
    case EROFS:
        return "il disco è protetto in scrittura";
    case EACCES:
        return "non si ha il permesso di scrivere nella sua cartella";
    case EPERM:
    case EBUSY:
        return "il sistema non permette di modificarlo";
    default:
        return "il sistema non ha permesso di scriverlo (errore " + std::to_string(systemError) +
               ")";
    }
}

std::string SaveFailureMessage(const EIniFileException& failure) {
    return "Impossibile salvare l'allineamento nel file\r" + failure.File() + "\rperché " +
           failure.Reason() + ".\rL'allineamento salvato prima resta com'era.";
}

std::string AlignmentFilePath(const std::string& directory) {
    if (directory.empty() || EndsWithSeparator(directory))
        return directory + FileName;
    return directory + "/" + FileName;
}

AlignmentFilePlace AlignmentFilePlaceFor(const std::string& programDirectory) {
    const std::string beside = AlignmentFilePath(programDirectory);
#ifndef _WIN32
    if (!FolderIsWritable(programDirectory)) {
        try {
            return {AlignmentFilePath(UserConfigFolder() + "/quotario"), beside};
        } catch (const Exception&) {
            // No home folder: the shipped default is read, and a save says why it cannot be.
            return {std::string(), beside};
        }
    }
#endif
    return {beside, {}};
}

AlignmentFilePlace ProgramAlignmentFilePlace() {
    return AlignmentFilePlaceFor(ProgramDirectory());
}

AlignmentTexts ReadAlignment(const AlignmentFilePlace& place) {
    std::error_code unknown;
    if (place.shippedDefault.empty() || std::filesystem::exists(place.file, unknown))
        return ReadAlignmentFile(place.file);
    return ReadAlignmentFile(place.shippedDefault);
}

void SaveAlignment(const AlignmentFilePlace& place, const AlignmentTexts& texts,
                   FileOperations& operations) {
    if (place.file.empty())
        throw EIniFileException("~/.config/quotario/Allinea.ini",
                                "la cartella personale dell'utente non si trova");
#ifndef _WIN32
    // A folder that cannot be made makes the write below fail, and that reports the file.
    if (!place.shippedDefault.empty())
        MakePrivateFolders(std::filesystem::path(place.file).parent_path().string());
#endif
    WriteAlignmentFile(place.file, texts, operations);
}

AlignmentTexts ReadAlignmentFile(const std::string& path) {
    // Anything but a regular file (a directory, a FIFO that might never deliver) counts as
    // missing.
    const std::string content =
        ProfileTextOfFile(ReadRegularFile(path, MaxAlignmentFileBytes).value_or(std::string()));
    auto read = [&content](const char* key) {
        return FindProfileValue(content, Section, key).value_or(AlignmentDefaultValue);
    };
    AlignmentTexts texts;
    texts.verticalCorrection = read("EDIT1");
    texts.horizontalCorrection = read("EDIT2");
    texts.paperMarks.centre = read("EDITC");
    texts.paperMarks.right = read("EDITD");
    texts.paperMarks.left = read("EDITS");
    return texts;
}

std::string AlignmentFileContent(const AlignmentTexts& texts) {
    return std::string("[") + Section + "]\n" +                     //
           "EDITC=" + SingleLine(texts.paperMarks.centre) + "\n" +  //
           "EDITD=" + SingleLine(texts.paperMarks.right) + "\n" +   //
           "EDITS=" + SingleLine(texts.paperMarks.left) + "\n" +    //
           "EDIT1=" + SingleLine(texts.verticalCorrection) + "\n" + //
           "EDIT2=" + SingleLine(texts.horizontalCorrection) + "\n";
}

void WriteAlignmentFile(const std::string& path, const AlignmentTexts& texts,
                        FileOperations& operations) {
    if (!ReplaceFileContent(path, AlignmentFileContent(texts), operations)) {
        const int systemError = errno;
        throw EIniFileException(path, SaveFailureReason(path, systemError));
    }
}
