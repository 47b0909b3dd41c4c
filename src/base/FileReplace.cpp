#include "base/FileReplace.h"

#include "base/PlatformFiles.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <random>

namespace {

// Tries with fresh names before a save gives up; a clash is already most unlikely.
constexpr int MaxTemporaryAttempts = 16;

// 64 bits that differ at every call. The clock, the process and a counter keep the names
// apart even where the system's random source is weak.
std::uint64_t FreshNumber() {
    static std::atomic<std::uint64_t> counter{0};
    std::uint64_t number =
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
        (static_cast<std::uint64_t>(ProcessNumber()) << 40) ^ (counter++ * 0x9E3779B97F4A7C15ull);
    try {
        std::random_device device;
        number ^= (static_cast<std::uint64_t>(device()) << 32) ^ device();
    } catch (const std::exception&) {
    }
    return number;
}

bool IsHexDigit(char character) {
    return (character >= '0' && character <= '9') || (character >= 'a' && character <= 'f');
}

std::filesystem::path PathOf(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8Of(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

// The error number of the step that failed stays for the caller to report.
void RemoveKeepingError(FileOperations& operations, const std::string& temporary) {
    const int error = errno;
    operations.Remove(temporary);
    errno = error;
}

} // namespace

std::string TemporaryFileFor(const std::string& path) {
    char digits[17];
    std::snprintf(digits, sizeof digits, "%016llx", static_cast<unsigned long long>(FreshNumber()));
    const std::filesystem::path file = PathOf(path);
    const std::string fileName = Utf8Of(file.filename());
    if (!HasShortTemporaryName(fileName))
        return path + "." + digits + ".tmp";
    return Utf8Of(file.parent_path() / PathOf(std::string(ShortTemporaryPrefix) + digits + ".tmp"));
}

bool HasShortTemporaryName(const std::string& fileName) {
    return fileName.size() + std::string_view(".0123456789abcdef.tmp").size() > MaxFileNameBytes;
}

bool IsTemporaryFileName(const std::string& fileName, const std::string& name) {
    const std::string prefix =
        HasShortTemporaryName(fileName) ? std::string(ShortTemporaryPrefix) : fileName + ".";
    const std::string suffix = ".tmp";
    if (name.size() <= prefix.size() + suffix.size() || !name.starts_with(prefix) ||
        !name.ends_with(suffix))
        return false;
    const std::string middle =
        name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
    return middle.size() == 16 && std::all_of(middle.begin(), middle.end(), IsHexDigit);
}

void RemoveStaleTemporaryFiles(const std::string& path) {
    namespace fs = std::filesystem;
    const fs::path file = PathOf(path);
    const fs::path directory = file.has_parent_path() ? file.parent_path() : fs::path(".");
    const std::string fileName = Utf8Of(file.filename());
    const auto now = fs::file_time_type::clock::now();
    std::error_code error;
    for (fs::directory_iterator entry(directory, error), end; !error && entry != end;
         entry.increment(error)) {
        const fs::path& found = entry->path();
        if (!IsTemporaryFileName(fileName, Utf8Of(found.filename())))
            continue;
        std::error_code failed;
        if (fs::symlink_status(found, failed).type() != fs::file_type::regular ||
            fs::hard_link_count(found, failed) != 1)
            continue;
        const fs::file_time_type written = fs::last_write_time(found, failed);
        if (failed || now - written < std::chrono::minutes(StaleTemporaryMinutes))
            continue;
        fs::remove(found, failed);
    }
}

bool ReplaceFileContent(const std::string& path, std::string_view content,
                        FileOperations& operations) {
    // A file its owner made read-only is not to be changed, though its folder would let the
    // rename replace it.
    std::error_code unknown;
    const std::filesystem::file_status status = std::filesystem::status(PathOf(path), unknown);
    if (std::filesystem::is_regular_file(status) &&
        (status.permissions() & std::filesystem::perms::owner_write) ==
            std::filesystem::perms::none) {
        errno = EACCES;
        return false;
    }
    RemoveStaleTemporaryFiles(path);
    std::string temporary;
    int handle = TemporaryNameTaken;
    for (int attempt = 0; attempt < MaxTemporaryAttempts && handle == TemporaryNameTaken;
         ++attempt) {
        temporary = TemporaryFileFor(path);
        handle = operations.OpenTemporary(temporary, path);
    }
    // Whatever holds a taken name belongs to someone else and stays.
    if (handle == TemporaryNameTaken)
        return false;
    if (handle < 0) {
        RemoveKeepingError(operations, temporary);
        return false;
    }
    bool written = operations.WriteAll(handle, content) && operations.FlushToDisk(handle);
    written = operations.Close(handle) && written;
    if (written && operations.Rename(temporary, path))
        return true;
    RemoveKeepingError(operations, temporary);
    return false;
}
