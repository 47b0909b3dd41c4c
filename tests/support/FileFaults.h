#pragma once
// Real faults of the file system for the tests that write files: a tmpfs of a given size,
// a read-only bind mount, a file system filled up, and a FIFO that frees whatever blocks on it.
// The mounts need root and a mount namespace of the test's own, so that none outlives the
// test or is seen by other processes.
#include <QString>
#include <QStringList>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

// Every name in the directory, hidden ones included.
QStringList DirectoryEntries(const QString& directory);

// Moves this process into a mount namespace of its own whose mounts are private. Gives the
// reason when that is impossible (not root), nothing when it worked.
QString EnterPrivateMountNamespace();

// Mounts made by one test function, taken away again by Unmount() or with the object. Each
// helper gives the reason of a failure, or nothing when the mount is in place.
class TestMounts {
public:
    ~TestMounts();
    QString MountTmpfs(const QString& where, const QString& options);
    QString RemountReadOnly(const QString& path);
    void Unmount();

private:
    QStringList mounts_;
};

// Writes `filler` until its file system is full, then gives back `leaveBytes` of it, so that a
// later write of more than that fails part-way. False when the filler cannot be written.
bool FillFileSystem(const QString& filler, qint64 leaveBytes = 0);

// A FIFO made at `path`. A process that opens it for writing blocks until a reader comes:
// after `seconds` the trap comes as that reader, drains the FIFO and says so in Sprang(), so
// that a hang fails the test instead of blocking it for ever.
class FifoTrap {
public:
    explicit FifoTrap(const QString& path, int seconds = 5);
    ~FifoTrap();
    FifoTrap(const FifoTrap&) = delete;
    FifoTrap& operator=(const FifoTrap&) = delete;

    bool Made() const { return made_; }
    // True when the time ran out while the test still held on to the trap.
    bool Sprang() const { return sprang_; }

private:
    void Watch(int seconds);

    QString path_;
    bool made_ = false;
    std::atomic<bool> sprang_{false};
    std::mutex mutex_;
    std::condition_variable done_;
    bool released_ = false;
    std::thread watcher_;
};
