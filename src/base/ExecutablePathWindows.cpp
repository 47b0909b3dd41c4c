#include "base/ExecutablePath.h"

#include "base/Errors.h"
#include "base/WindowsApi.h"
#include "base/WindowsText.h"

#include <vector>

std::string ExecutablePath() {
    // The wide name, so that any folder name survives; the returned length equals the buffer
    // size when the path did not fit: grow and retry.
    for (DWORD size = MAX_PATH; size <= 32768; size *= 2) {
        std::vector<wchar_t> buffer(size);
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), size);
        if (length == 0)
            break;
        if (length < size)
            return WideToUtf8(std::wstring(buffer.data(), length));
    }
    throw Exception("Unable to find the program's own file");
}
