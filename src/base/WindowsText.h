#pragma once
// The program holds its texts and paths as UTF-8, the system's wide calls take
// UTF-16. Every file and directory call on Windows goes through the wide form, so a folder
// named with "è" or with non-Latin letters works whatever the system's code page.
#include <string>

std::wstring Utf8ToWide(const std::string& text);
std::string WideToUtf8(const std::wstring& text);

// The system's own text for an error number (GetLastError), in UTF-8, without the final line
// break; "Error n" when the system has no text for it. A text about a file names it with a
// place-holder ("%1 is not a valid Win32 application"): file takes its place.
std::string WindowsErrorMessage(unsigned long error, const std::string& file = {});
