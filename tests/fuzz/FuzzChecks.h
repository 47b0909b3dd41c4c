#pragma once
// What must hold for every input of the rules that read outside data: the number texts the
// user types, the alignment file, the taxpayer's data file, the amount spelled on the slip.
// Each check takes arbitrary bytes and raises FuzzCheckFailure when the rule breaks a promise; any
// other exception that escapes is a fault as well. The fuzz targets and the replay test run the
// same checks.
#include <stdexcept>
#include <string_view>

class FuzzCheckFailure : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

// StrToFloat gives a finite value or raises EConvertError; FloatToStr of that value converts
// back to the same text and nearly the same value; StrToInt and StrToCurr agree with it.
void CheckNumberTexts(std::string_view bytes);

// The bytes as an alignment file: every value found is bounded, on one line, without NUL;
// ReadAlignmentFile sees what FindProfileValue sees in the file's text; what a save would write
// reads back.
void CheckProfileReading(std::string_view bytes);

// The bytes as a data file: a file taken has a text every box can hold, and what a save of it
// writes reads back the same; a file refused has a message.
void CheckDataFileReading(std::string_view bytes);

// The first 8 bytes as a currency amount: "#", upper-case letters only, "/"; the sign and the
// cents change nothing.
void CheckAmountInWords(std::string_view bytes);
