#include "rules/AlignmentFile.h"

#include "base/FileRead.h"
#include "base/ProgramDirectory.h"
#include "base/UserFolders.h"
#include "rules/ProfileText.h"

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

} // namespace

std::string AlignmentFilePath(const std::string& directory) {
    if (directory.empty() || EndsWithSeparator(directory))
        return directory + FileName;
    return directory + "/" + FileName;
}

AlignmentFilePlace AlignmentFilePlaceFor(const std::string& programDirectory) {
    const std::string beside = AlignmentFilePath(programDirectory);
#ifndef _WIN32
    if (!FolderIsWritable(programDirectory))
        return {AlignmentFilePath(UserConfigFolder() + "/quotario"), beside};
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
    if (!ReplaceFileContent(path, AlignmentFileContent(texts), operations))
        throw EIniFileException(MessageWithText("Unable to write to %s", path));
}
