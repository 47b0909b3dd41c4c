#include "endurance/ProcessFootprint.h"

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

// Every process whose parent is this one. The parent's pid is the fourth field of stat, after
// the command name in parentheses (which may itself hold spaces and parentheses).
QList<pid_t> Children() {
    QList<pid_t> children;
    const pid_t self = getpid();
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString& entry : entries) {
        bool isPid = false;
        const pid_t pid = entry.toInt(&isPid);
        if (!isPid)
            continue;
        QFile stat(QStringLiteral("/proc/%1/stat").arg(entry));
        if (!stat.open(QIODevice::ReadOnly))
            continue; // ended meanwhile
        const QByteArray text = stat.readAll();
        const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 1 && fields[1].toInt() == self)
            children.append(pid);
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
