#include "endurance/ProcessFootprint.h"

#ifdef _WIN32

#include "base/WindowsApi.h"
#include <malloc.h>

#include <psapi.h>
#include <tlhelp32.h>

namespace {

// The C runtime's heap blocks in use.
std::size_t HeapInUseBytes() {
    std::size_t used = 0;
    _HEAPINFO entry{};
    while (_heapwalk(&entry) == _HEAPOK)
        if (entry._useflag == _USEDENTRY)
            used += entry._size;
    return used;
}

// When the process was started, or 0 when it has ended meanwhile.
ULONGLONG StartTime(DWORD pid) {
    const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!process)
        return 0;
    FILETIME created{}, exited{}, kernel{}, user{};
    ULONGLONG start = 0;
    if (GetProcessTimes(process, &created, &exited, &kernel, &user))
        start = (ULONGLONG(created.dwHighDateTime) << 32) | created.dwLowDateTime;
    CloseHandle(process);
    return start;
}

} // namespace

ProcessFootprint ReadProcessFootprint() {
    _heapmin();
    ProcessFootprint footprint;
    footprint.heapInUseBytes = HeapInUseBytes();
    PROCESS_MEMORY_COUNTERS memory{};
    if (GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof(memory)))
        footprint.residentBytes = memory.WorkingSetSize;
    DWORD handles = 0;
    if (GetProcessHandleCount(GetCurrentProcess(), &handles))
        footprint.openDescriptors = static_cast<int>(handles);
    const DWORD self = GetCurrentProcessId();
    const ULONGLONG selfStart = StartTime(self);
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS | TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return footprint;
    THREADENTRY32 thread{};
    thread.dwSize = sizeof(thread);
    for (BOOL more = Thread32First(snapshot, &thread); more; more = Thread32Next(snapshot, &thread))
        if (thread.th32OwnerProcessID == self)
            ++footprint.threads;
    PROCESSENTRY32W process{};
    process.dwSize = sizeof(process);
    // Windows keeps the number of a parent that has ended, and gives that number to the next
    // process: Wine's services, started by a program that has ended, can name this process as
    // their parent. A child is only a process started after this one.
    for (BOOL more = Process32FirstW(snapshot, &process); more;
         more = Process32NextW(snapshot, &process))
        if (process.th32ParentProcessID == self && StartTime(process.th32ProcessID) >= selfStart)
            footprint.children.append(QStringLiteral("%1 %2")
                                          .arg(process.th32ProcessID)
                                          .arg(QString::fromWCharArray(process.szExeFile)));
    CloseHandle(snapshot);
    return footprint;
}

#else

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <malloc.h>
#include <unistd.h>

namespace {

int CountEntries(const char* folder) {
    return int(QDir(QString::fromLatin1(folder))
                   .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)
                   .size());
}

std::size_t ResidentBytes() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    const QRegularExpression line(QStringLiteral("^VmRSS:\\s+(\\d+) kB"),
                                  QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match = line.match(QString::fromLatin1(status.readAll()));
    return match.hasMatch() ? match.captured(1).toULongLong() * 1024 : 0;
}

// Every process whose parent is this one, as its pid and name. The parent's pid is the fourth
// field of stat, after the command name in parentheses (which may itself hold spaces and
// parentheses).
QStringList Children() {
    QStringList children;
    const pid_t self = getpid();
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString& entry : entries) {
        bool isPid = false;
        entry.toInt(&isPid);
        if (!isPid)
            continue;
        QFile stat(QStringLiteral("/proc/%1/stat").arg(entry));
        if (!stat.open(QIODevice::ReadOnly))
            continue; // ended meanwhile
        const QByteArray text = stat.readAll();
        const qsizetype nameEnd = text.lastIndexOf(')');
        const QList<QByteArray> fields = text.mid(nameEnd + 2).split(' ');
        if (fields.size() > 1 && fields[1].toInt() == self) {
            const qsizetype nameStart = text.indexOf('(') + 1;
            children.append(entry + ' ' +
                            QString::fromLocal8Bit(text.mid(nameStart, nameEnd - nameStart)));
        }
    }
    return children;
}

} // namespace

ProcessFootprint ReadProcessFootprint() {
    malloc_trim(0);
    ProcessFootprint footprint;
    const struct mallinfo2 heap = mallinfo2();
    footprint.heapInUseBytes = heap.uordblks + heap.hblkhd;
    footprint.residentBytes = ResidentBytes();
    footprint.openDescriptors = CountEntries("/proc/self/fd");
    footprint.threads = CountEntries("/proc/self/task");
    footprint.children = Children();
    return footprint;
}

#endif
