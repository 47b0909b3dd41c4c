#include "base/PlatformFiles.h"

#include "base/WindowsApi.h"
#include "base/WindowsText.h"

#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <share.h>
#include <sys/stat.h>

namespace {

class WindowsFileOperations final : public FileOperations {
public:
    int OpenTemporary(const std::string& path, const std::string&) override {
        // Windows keeps no permission bits worth copying; the directory's rights apply.
        int handle = -1;
        const errno_t error =
            _wsopen_s(&handle, Utf8ToWide(path).c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY,
                      _SH_DENYRW, _S_IREAD | _S_IWRITE);
        if (error != 0)
            return error == EEXIST ? TemporaryNameTaken : -1;
        return handle;
    }
    bool WriteAll(int handle, std::string_view bytes) override {
        while (!bytes.empty()) {
            const int written = _write(handle, bytes.data(), static_cast<unsigned>(bytes.size()));
            if (written <= 0)
                return false;
            bytes.remove_prefix(static_cast<std::size_t>(written));
        }
        return true;
    }
    bool FlushToDisk(int handle) override { return _commit(handle) == 0; }
    bool Close(int handle) override { return _close(handle) == 0; }
    bool Rename(const std::string& from, const std::string& to) override {
        // Replaces the old file in one step: a failure leaves it whole.
        return MoveFileExW(Utf8ToWide(from).c_str(), Utf8ToWide(to).c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    }
    void Remove(const std::string& path) override { DeleteFileW(Utf8ToWide(path).c_str()); }
};

} // namespace

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

int ProcessNumber() {
    return _getpid();
}

FileOperations& SystemFileOperations() {
    static WindowsFileOperations operations;
    return operations;
}
