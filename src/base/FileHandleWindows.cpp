#include "base/FileHandle.h"

#include "base/WindowsText.h"

#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>

int OpenRegularFile(const std::string& path) {
    int handle = -1;
    if (_wsopen_s(&handle, Utf8ToWide(path).c_str(), _O_RDONLY | _O_BINARY, _SH_DENYNO, 0) != 0)
        return -1;
    struct _stat64 opened;
    if (_fstat64(handle, &opened) != 0 || (opened.st_mode & _S_IFMT) != _S_IFREG) {
        _close(handle);
        return -1;
    }
    return handle;
}

long long ReadSome(int handle, char* buffer, std::size_t size) {
    return _read(handle, buffer, static_cast<unsigned>(size));
}

void CloseFile(int handle) {
    _close(handle);
}
