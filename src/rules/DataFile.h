#pragma once
// The taxpayer's data file: the texts of the main window's boxes as typed (the account, its
// holder, the payer, the advance/balance marks and the eleven yellow entries; no results), so
// that the second instalment, or next year's, starts from them. A UTF-8 text file the user can
// read, keep and send:
//   Quotario dati ICI, versione 1
//   ContoCorrente=12345678
//   ...
// one line "<key>=<text>" per box, keys as EntryBoxTable names them, the text exactly as the box
// holds it (spaces included). Reading takes LF or CR LF line ends, a byte-order mark, empty lines
// and lines beginning with "#". A file is read whole and checked before the window takes any of
// it: every box once, each text one its box can hold. Writing replaces the file in one step.
#include "base/FileReplace.h"
#include "rules/EntryBoxes.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

inline constexpr const char* DataFileExtension = "ici";
inline constexpr int DataFileVersion = 1;
// Far above any file the program writes, even with every box full.
inline constexpr std::size_t MaxDataFileBytes = 1024 * 1024;

// The boxes' texts in the order of EntryBoxTable.
using DataFileTexts = std::array<std::string, EntryBoxTable.size()>;

enum class DataFileFault {
    None,
    Unreadable,   // missing, no regular file, or not readable
    TooLong,      // longer than MaxDataFileBytes
    NotOurs,      // does not begin as a data file of this program
    NewerVersion, // written by a later version of the program
    Damaged,      // a line that is no "<key>=<text>", an unknown key, a box missing or twice
    BadText,      // a text its box cannot hold: wrong characters or too long
};

struct DataFileReading {
    DataFileFault fault = DataFileFault::None;
    DataFileTexts texts;           // all of them when there is no fault
    int line = 0;                  // the line at fault, counted from 1, when there is one
    std::optional<EntryBoxId> box; // the box at fault (BadText, and a box missing or twice)
};

DataFileReading ParseDataFile(std::string_view content);
DataFileReading ReadDataFile(const std::string& path);

std::string DataFileContent(const DataFileTexts& texts);
// Nothing when the file was written whole; else why not, as the user can mend it. A failed
// write leaves the file at `path` as it was.
std::optional<std::string> WriteDataFile(const std::string& path, const DataFileTexts& texts,
                                         FileOperations& operations = SystemFileOperations());

// The user is told which file was refused and what is wrong with it; the window keeps its texts.
std::string DataFileRefusedMessage(const std::string& path, const DataFileReading& reading);
std::string DataFileNotSavedMessage(const std::string& path, const std::string& reason);
