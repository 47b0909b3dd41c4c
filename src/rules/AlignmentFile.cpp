#include "rules/AlignmentFile.h"

#include "base/ProgramDirectory.h"
#include "rules/ProfileText.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <optional>

namespace {

constexpr const char* FileName = "Allinea.ini";
constexpr const char* Section = "ALLINEA";

// The first MaxAlignmentFileBytes of a regular file, or nothing when it cannot be read. Other
// kinds of file (a directory, a pipe that might never deliver) count as missing.
std::optional<std::string> ReadBoundedFile(const std::string& name) {
    // The path is UTF-8 text; on Windows a plain string would be read in the system's code page.
    const std::filesystem::path path(std::u8string(name.begin(), name.end()));
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return std::nullopt;
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return std::nullopt;
    // Read in small pieces: a settings file is a few dozen bytes, and every activation of the
    // summary window reads it.
    std::string content;
    std::array<char, 16 * 1024> piece;
    while (content.size() < MaxAlignmentFileBytes) {
        const std::size_t wanted = std::min(piece.size(), MaxAlignmentFileBytes - content.size());
        file.read(piece.data(), static_cast<std::streamsize>(wanted));
        content.append(piece.data(), static_cast<std::size_t>(file.gcount()));
        if (!file)
            break;
    }
    return content;
}

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

std::string AlignmentFilePath() {
    return ProgramDirectory() + FileName;
}

std::string AlignmentFilePath(const std::string& directory) {
    if (directory.empty() || EndsWithSeparator(directory))
        return directory + FileName;
    return directory + "/" + FileName;
}

AlignmentTexts ReadAlignmentFile(const std::string& path) {
    const std::string content = ReadBoundedFile(path).value_or(std::string());
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
        throw EIniFileException(FormatMessage("Unable to write to %s", path));
}
