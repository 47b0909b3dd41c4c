#include "support/FileFaults.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString SystemError(const char* what) {
    return QString("%1: %2").arg(what, std::strerror(errno));
}

} // namespace

QStringList DirectoryEntries(const QString& directory) {
    return QDir(directory).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden |
                                     QDir::System);
}

QString EnterPrivateMountNamespace() {
    if (::unshare(CLONE_NEWNS) != 0)
        return SystemError("no mount namespace of our own (root needed)");
    if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        return SystemError("mounts cannot be made private");
    return {};
}

TestMounts::~TestMounts() {
    Unmount();
}

QString TestMounts::MountTmpfs(const QString& where, const QString& options) {
    if (::mount("tmpfs", QFile::encodeName(where).constData(), "tmpfs", MS_NOSUID | MS_NODEV,
                options.toLatin1().constData()) != 0)
        return SystemError("mount tmpfs");
    mounts_ << where;
    return {};
}

QString TestMounts::RemountReadOnly(const QString& path) {
    const QByteArray where = QFile::encodeName(path);
    if (::mount(where.constData(), where.constData(), nullptr, MS_BIND, nullptr) != 0)
        return SystemError("bind mount");
    mounts_ << path;
    if (::mount(nullptr, where.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) !=
        0)
        return SystemError("remount read-only");
    return {};
}

void TestMounts::Unmount() {
    while (!mounts_.isEmpty())
        ::umount2(QFile::encodeName(mounts_.takeLast()).constData(), MNT_DETACH);
}

bool FillFileSystem(const QString& filler, qint64 leaveBytes) {
    QFile file(filler);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray block(4096, 'x');
    while (file.write(block) == block.size() && file.flush()) {
    }
    file.close();
    return file.resize(std::max<qint64>(0, file.size() - leaveBytes));
}

FifoTrap::FifoTrap(const QString& path, int seconds) : path_(path) {
    made_ = ::mkfifo(QFile::encodeName(path).constData(), 0666) == 0;
    if (made_)
        watcher_ = std::thread([this, seconds] { Watch(seconds); });
}

FifoTrap::~FifoTrap() {
    {
        const std::lock_guard lock(mutex_);
        released_ = true;
    }
    done_.notify_all();
    if (watcher_.joinable())
        watcher_.join();
}

void FifoTrap::Watch(int seconds) {
    {
        std::unique_lock lock(mutex_);
        if (done_.wait_for(lock, std::chrono::seconds(seconds), [this] { return released_; }))
            return;
    }
    sprang_ = true;
    // Not blocking: with no writer at all the open must not wait either.
    const int handle = ::open(QFile::encodeName(path_).constData(), O_RDONLY | O_NONBLOCK);
    if (handle < 0)
        return;
    // Drains until the writer has closed, or until it has been quiet for five seconds.
    char buffer[4096];
    for (int quiet = 0; quiet < 50;) {
        pollfd ready{handle, POLLIN, 0};
        if (::poll(&ready, 1, 100) <= 0)
            ++quiet;
        else if (::read(handle, buffer, sizeof buffer) == 0)
            break;
    }
    ::close(handle);
}
