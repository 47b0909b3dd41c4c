// Saving the alignment file when the system itself gets in the way. Root ignores permission
// bits, so the faults are made with what stops root too: read-only mounts, the immutable
// attribute, a tmpfs too small for the save, and SIGKILL. The test works in a mount namespace
// of its own, so no mount it makes can outlive it or be seen by other processes. A program
// folder on a read-only mount is also where the system-wide package keeps each user's file in
// the user's configuration folder instead.
#include "base/FileReplace.h"
#include "rules/AlignmentFile.h"
#include "support/FileFaults.h"
#include "support/SkipInCi.h"
#include "support/TestFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>

namespace {

const AlignmentTexts OldTexts{"40", "8", {"", "D1", ""}};
const AlignmentTexts NewTexts{"26", "26", {"C1", "", ""}};

QString SystemError(const char* what) {
    return QString("%1: %2").arg(what, std::strerror(errno));
}

// Saves `texts` and gives the error's message and the reason the user reads, or "saved" when
// the save succeeded.
QString SaveOutcome(const QString& path, const AlignmentTexts& texts) {
    try {
        WriteAlignmentFile(path.toStdString(), texts);
        return "saved";
    } catch (const EIniFileException& error) {
        return QString::fromStdString(error.what()) + ": " + QString::fromStdString(error.Reason());
    }
}

// HOME and XDG_CONFIG_HOME ("<unset>" unsets it) for as long as it lives.
class UserFolders {
public:
    UserFolders(const QString& home, const QString& configHome)
        : home_(qgetenv("HOME")), configHome_(qgetenv("XDG_CONFIG_HOME")),
          hadConfigHome_(qEnvironmentVariableIsSet("XDG_CONFIG_HOME")) {
        qputenv("HOME", QFile::encodeName(home));
        if (configHome == "<unset>")
            qunsetenv("XDG_CONFIG_HOME");
        else
            qputenv("XDG_CONFIG_HOME", QFile::encodeName(configHome));
    }
    ~UserFolders() {
        qputenv("HOME", home_);
        if (hadConfigHome_)
            qputenv("XDG_CONFIG_HOME", configHome_);
        else
            qunsetenv("XDG_CONFIG_HOME");
    }

private:
    QByteArray home_;
    QByteArray configHome_;
    bool hadConfigHome_;
};

// The system's file operations, with the process killing itself at one step of a save.
enum class Step { Open, HalfWritten, Written, Flushed, Closed, Renamed };

class KillingFileOperations final : public FileOperations {
public:
    explicit KillingFileOperations(Step at) : at_(at) {}
    int OpenTemporary(const std::string& path, const std::string& permissionsOf) override {
        const int handle = real_.OpenTemporary(path, permissionsOf);
        killAt(Step::Open);
        return handle;
    }
    bool WriteAll(int handle, std::string_view bytes) override {
        real_.WriteAll(handle, bytes.substr(0, bytes.size() / 2));
        killAt(Step::HalfWritten);
        const bool written = real_.WriteAll(handle, bytes.substr(bytes.size() / 2));
        killAt(Step::Written);
        return written;
    }
    bool FlushToDisk(int handle) override {
        const bool flushed = real_.FlushToDisk(handle);
        killAt(Step::Flushed);
        return flushed;
    }
    bool Close(int handle) override {
        const bool closed = real_.Close(handle);
        killAt(Step::Closed);
        return closed;
    }
    bool Rename(const std::string& from, const std::string& to) override {
        const bool renamed = real_.Rename(from, to);
        killAt(Step::Renamed);
        return renamed;
    }
    void Remove(const std::string& path) override { real_.Remove(path); }

private:
    void killAt(Step step) {
        if (step == at_)
            ::raise(SIGKILL);
    }
    Step at_;
    FileOperations& real_ = SystemFileOperations();
};

// What is planted under the name of a save's first temporary file, before the save opens it.
enum class Plant { Fifo, HardLink, SymbolicLink };

class PlantingFileOperations final : public FileOperations {
public:
    PlantingFileOperations(Plant plant, std::string victim)
        : plant_(plant), victim_(std::move(victim)) {}
    int OpenTemporary(const std::string& path, const std::string& permissionsOf) override {
        if (!planted_) {
            planted_ = true;
            const int made = plant_ == Plant::Fifo       ? ::mkfifo(path.c_str(), 0666)
                             : plant_ == Plant::HardLink ? ::link(victim_.c_str(), path.c_str())
                                                         : ::symlink(victim_.c_str(), path.c_str());
            if (made == 0)
                plantedAt = path;
        }
        return real_.OpenTemporary(path, permissionsOf);
    }
    bool WriteAll(int handle, std::string_view bytes) override {
        return real_.WriteAll(handle, bytes);
    }
    bool FlushToDisk(int handle) override { return real_.FlushToDisk(handle); }
    bool Close(int handle) override { return real_.Close(handle); }
    bool Rename(const std::string& from, const std::string& to) override {
        return real_.Rename(from, to);
    }
    void Remove(const std::string& path) override { real_.Remove(path); }
    std::string plantedAt;

private:
    Plant plant_;
    std::string victim_;
    bool planted_ = false;
    FileOperations& real_ = SystemFileOperations();
};

// Runs `work` in a child process and gives the signal that ended it, or 0 when it exited.
// `work` is given a function to call at each step it completes; with `killAfterSteps` >= 0
// the child is killed `thenMicroseconds` after it reported that many. Counting steps rather
// than time from the fork keeps the kills inside the work however slow the fork or the load.
template <typename Work>
int SignalEndingChild(Work work, int killAfterSteps = -1, int thenMicroseconds = 0) {
    int steps[2];
    if (::pipe(steps) != 0)
        return -1;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(steps[0]);
        const auto stepDone = [&] {
            const char step = 1;
            if (::write(steps[1], &step, 1) != 1)
                ::_exit(3);
        };
        // Nothing may return into the test's own frames from the child.
        try {
            work(stepDone);
        } catch (...) {
            ::_exit(2);
        }
        ::_exit(0);
    }
    ::close(steps[1]);
    if (child < 0) {
        ::close(steps[0]);
        return -1;
    }
    if (killAfterSteps >= 0) {
        char step = 0;
        for (int seen = 0; seen < killAfterSteps;) {
            const ssize_t got = ::read(steps[0], &step, 1);
            if (got == 0 || (got < 0 && errno != EINTR))
                break;
            seen += int(got > 0);
        }
        ::usleep(useconds_t(thenMicroseconds));
        ::kill(child, SIGKILL);
    }
    ::close(steps[0]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFSIGNALED(status) ? WTERMSIG(status) : 0;
}

// Runs `work` in a child process: its exit code, or -1 when it had not ended within `seconds`
// (the child is then killed).
template <typename Work> int ExitOfChildWithin(int seconds, Work work) {
    const pid_t child = ::fork();
    if (child == 0) {
        try {
            ::_exit(work() ? 0 : 1);
        } catch (...) {
            ::_exit(2);
        }
    }
    if (child < 0)
        return -2;
    QElapsedTimer clock;
    clock.start();
    int status = 0;
    while (::waitpid(child, &status, WNOHANG) == 0) {
        if (clock.elapsed() > seconds * 1000) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
            return -1;
        }
        ::usleep(10000);
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -3;
}

} // namespace

Q_DECLARE_METATYPE(Step)
Q_DECLARE_METATYPE(Plant)

class TestAlignmentFaults : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void readOnlyPlaceRaisesTheError_data();
    void readOnlyPlaceRaisesTheError();
    void fullFileSystemRaisesTheError_data();
    void fullFileSystemRaisesTheError();
    void killAtEveryStepLeavesAWholeFile_data();
    void killAtEveryStepLeavesAWholeFile();
    void killAtRandomMomentsLeavesAWholeFile();
    void aFifoSwappedInNeverBlocksTheReading();
    void whatIsPlantedAtTheTemporaryNameIsLeftAlone_data();
    void whatIsPlantedAtTheTemporaryNameIsLeftAlone();
    void fileLiesWhereTheUserCanSave_data();
    void fileLiesWhereTheUserCanSave();
    void unwritableConfigFolderNamesTheUserFile();

private:
    void writeOldFile();
    void checkFailedSave(const QByteArray& before, const QString& reason);

    QString noMountsReason_;
    std::unique_ptr<QTemporaryDir> dir_;
    QString place_; // the program's directory in the current case
    QString path_;  // the alignment file in it
    TestMounts mounts_;
};

void TestAlignmentFaults::initTestCase() {
    noMountsReason_ = EnterPrivateMountNamespace();
}

void TestAlignmentFaults::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    place_ = dir_->filePath("program");
    QVERIFY(QDir().mkdir(place_));
    path_ = place_ + "/Allinea.ini";
}

void TestAlignmentFaults::cleanup() {
    mounts_.Unmount();
    dir_.reset();
}

void TestAlignmentFaults::writeOldFile() {
    WriteAlignmentFile(path_.toStdString(), OldTexts);
}

// The save fails with the designed message and the reason, and leaves the directory exactly as
// it was.
void TestAlignmentFaults::checkFailedSave(const QByteArray& before, const QString& reason) {
    const QStringList entries = DirectoryEntries(place_);
    QCOMPARE(SaveOutcome(path_, NewTexts), "Unable to write to " + path_ + ": " + reason);
    QCOMPARE(ReadBytes(path_), before);
    QCOMPARE(DirectoryEntries(place_), entries);
}

void TestAlignmentFaults::readOnlyPlaceRaisesTheError_data() {
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("reason");
    const QString readOnlyDisk = QString::fromUtf8("il disco è protetto in scrittura");
    const QString refused = QString::fromUtf8("il sistema non permette di modificarlo");
    QTest::newRow("directory on a read-only mount") << "read-only directory" << readOnlyDisk;
    QTest::newRow("missing file, directory on a read-only mount")
        << "read-only empty directory" << readOnlyDisk;
    QTest::newRow("file on a read-only mount") << "read-only file" << refused;
    QTest::newRow("immutable file") << "immutable file" << refused;
}

void TestAlignmentFaults::readOnlyPlaceRaisesTheError() {
    QFETCH(QString, fault);
    QFETCH(QString, reason);
    if (!noMountsReason_.isEmpty())
        SKIP_OR_FAIL_IN_CI(noMountsReason_.toUtf8());
    const QString mounted = mounts_.MountTmpfs(place_, "size=1m,mode=0755");
    QVERIFY2(mounted.isEmpty(), qPrintable(mounted));
    if (fault != "read-only empty directory")
        writeOldFile();
    const QByteArray before = fault == "read-only empty directory"
                                  ? QByteArray("<missing>")
                                  : Bytes(AlignmentFileContent(OldTexts));

    if (fault.endsWith("directory") || fault == "read-only file") {
        const QString remounted =
            mounts_.RemountReadOnly(fault == "read-only file" ? path_ : place_);
        QVERIFY2(remounted.isEmpty(), qPrintable(remounted));
    } else {
        const int handle = ::open(QFile::encodeName(path_).constData(), O_RDONLY | O_CLOEXEC);
        QVERIFY(handle >= 0);
        int flags = 0;
        const bool set = ::ioctl(handle, FS_IOC_GETFLAGS, &flags) == 0 &&
                         (flags |= FS_IMMUTABLE_FL, ::ioctl(handle, FS_IOC_SETFLAGS, &flags) == 0);
        const QString notSet = SystemError("the immutable attribute cannot be set");
        ::close(handle);
        if (!set)
            SKIP_OR_FAIL_IN_CI(notSet.toUtf8());
    }
    checkFailedSave(before, reason);
}

void TestAlignmentFaults::fullFileSystemRaisesTheError_data() {
    QTest::addColumn<QString>("options");
    QTest::addColumn<bool>("fill");
    // Room for the old file and for nothing more.
    QTest::newRow("no space left") << "size=64k,mode=0755" << true;
    // The directory and the old file take the only two inodes.
    QTest::newRow("no inode left") << "size=1m,nr_inodes=2,mode=0755" << false;
}

void TestAlignmentFaults::fullFileSystemRaisesTheError() {
    QFETCH(QString, options);
    QFETCH(bool, fill);
    if (!noMountsReason_.isEmpty())
        SKIP_OR_FAIL_IN_CI(noMountsReason_.toUtf8());
    const QString mounted = mounts_.MountTmpfs(place_, options);
    QVERIFY2(mounted.isEmpty(), qPrintable(mounted));
    writeOldFile();
    const QString filler = place_ + "/filler";
    if (fill)
        QVERIFY(FillFileSystem(filler));
    checkFailedSave(Bytes(AlignmentFileContent(OldTexts)), QString::fromUtf8("il disco è pieno"));
    if (QTest::currentTestFailed())
        return;

    // With room again the same save goes through: the fault, not the place, stopped it.
    if (fill) {
        QVERIFY(QFile::remove(filler));
        QCOMPARE(SaveOutcome(path_, NewTexts), "saved");
        QCOMPARE(ReadBytes(path_), Bytes(AlignmentFileContent(NewTexts)));
    }
}

void TestAlignmentFaults::killAtEveryStepLeavesAWholeFile_data() {
    QTest::addColumn<Step>("step");
    QTest::addColumn<bool>("replaced");
    QTest::newRow("after opening the temporary file") << Step::Open << false;
    QTest::newRow("half-way through writing") << Step::HalfWritten << false;
    QTest::newRow("after writing") << Step::Written << false;
    QTest::newRow("after flushing to disk") << Step::Flushed << false;
    QTest::newRow("after closing") << Step::Closed << false;
    QTest::newRow("after renaming") << Step::Renamed << true;
}

void TestAlignmentFaults::killAtEveryStepLeavesAWholeFile() {
    QFETCH(Step, step);
    QFETCH(bool, replaced);
    writeOldFile();
    const int signal = SignalEndingChild([&](const auto&) {
        KillingFileOperations operations(step);
        WriteAlignmentFile(path_.toStdString(), NewTexts, operations);
    });
    QCOMPARE(signal, SIGKILL);
    QCOMPARE(ReadBytes(path_), Bytes(AlignmentFileContent(replaced ? NewTexts : OldTexts)));
    // The next save by a living program goes through all the same.
    QCOMPARE(SaveOutcome(path_, NewTexts), "saved");
    QCOMPARE(ReadBytes(path_), Bytes(AlignmentFileContent(NewTexts)));
}

void TestAlignmentFaults::killAtRandomMomentsLeavesAWholeFile() {
    // A child saves two different settings in turn without pause; it is killed at a random
    // moment, many times over. Whatever the moment, the file is one of the two, whole.
    const QByteArray first = Bytes(AlignmentFileContent(OldTexts));
    const QByteArray second = Bytes(AlignmentFileContent(NewTexts));
    writeOldFile();
    // Each kill falls after zero, one or two whole saves, somewhere within the save after.
    QElapsedTimer clock;
    clock.start();
    for (int save = 0; save < 4; ++save)
        WriteAlignmentFile(path_.toStdString(), save % 2 ? OldTexts : NewTexts);
    const int oneSave = int(clock.nsecsElapsed() / 4000) + 1;
    QRandomGenerator random(20240611);
    int seenFirst = 0, seenSecond = 0;
    for (int round = 0; round < 200; ++round) {
        const int signal = SignalEndingChild(
            [&](const auto& saveDone) {
                for (bool odd = true;; odd = !odd) {
                    WriteAlignmentFile(path_.toStdString(), odd ? NewTexts : OldTexts);
                    saveDone();
                }
            },
            int(random.bounded(3)), int(random.bounded(oneSave)));
        QCOMPARE(signal, SIGKILL);
        const QByteArray content = ReadBytes(path_);
        if (content == first)
            ++seenFirst;
        else if (content == second)
            ++seenSecond;
        else
            QFAIL(qPrintable(QString("round %1 left a broken file: %2")
                                 .arg(round)
                                 .arg(QString::fromLatin1(content.toPercentEncoding()))));
    }
    // The kills fell between saves of both kinds, so they really cut through the saving loop.
    QVERIFY2(seenFirst > 0 && seenSecond > 0,
             qPrintable(QString("first %1, second %2").arg(seenFirst).arg(seenSecond)));
}

void TestAlignmentFaults::aFifoSwappedInNeverBlocksTheReading() {
    // A FIFO and a regular file take the file's name in turn, as fast as they can, while a
    // child reads the file over and over: a FIFO caught between a look at the name and the
    // open would block that reading for ever.
    writeOldFile();
    const QByteArray content = Bytes(AlignmentFileContent(OldTexts));
    const QByteArray fifo = QFile::encodeName(place_ + "/fifo");
    const QByteArray file = QFile::encodeName(place_ + "/file");
    const QByteArray target = QFile::encodeName(path_);
    const pid_t swapper = ::fork();
    if (swapper == 0) {
        for (;;) {
            ::mkfifo(fifo.constData(), 0644);
            ::rename(fifo.constData(), target.constData());
            const int handle = ::open(file.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (::write(handle, content.constData(), size_t(content.size())) < 0)
                ::_exit(1);
            ::close(handle);
            ::rename(file.constData(), target.constData());
        }
    }
    QVERIFY(swapper > 0);
    const AlignmentTexts missing{
        "default value", "default value", {"default value", "default value", "default value"}};
    // A look and an open apart caught the FIFO within a few seconds of this.
    const int exit = ExitOfChildWithin(30, [&] {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 5000) {
            const AlignmentTexts read = ReadAlignmentFile(path_.toStdString());
            if (read != OldTexts && read != missing)
                return false;
        }
        return true;
    });
    ::kill(swapper, SIGKILL);
    ::waitpid(swapper, nullptr, 0);
    QCOMPARE(exit, 0);
}

void TestAlignmentFaults::whatIsPlantedAtTheTemporaryNameIsLeftAlone_data() {
    QTest::addColumn<Plant>("plant");
    QTest::newRow("FIFO") << Plant::Fifo;
    QTest::newRow("hard link to another file") << Plant::HardLink;
    QTest::newRow("symbolic link to another file") << Plant::SymbolicLink;
}

void TestAlignmentFaults::whatIsPlantedAtTheTemporaryNameIsLeftAlone() {
    // The save neither blocks on the FIFO nor writes through the link: it takes another name,
    // and the file behind the link keeps its content and its mode.
    QFETCH(Plant, plant);
    writeOldFile();
    const QString victim = dir_->filePath("victim");
    QVERIFY(WriteBytes(victim, "precious"));
    QVERIFY(::chmod(QFile::encodeName(victim).constData(), 0600) == 0);
    const int exit = ExitOfChildWithin(10, [&] {
        PlantingFileOperations operations(plant, victim.toStdString());
        WriteAlignmentFile(path_.toStdString(), NewTexts, operations);
        struct stat planted;
        return !operations.plantedAt.empty() &&
               ::lstat(operations.plantedAt.c_str(), &planted) == 0;
    });
    QCOMPARE(exit, 0);
    QCOMPARE(ReadBytes(path_), Bytes(AlignmentFileContent(NewTexts)));
    QCOMPARE(ReadBytes(victim), QByteArray("precious"));
    struct stat victimStat;
    QVERIFY(::stat(QFile::encodeName(victim).constData(), &victimStat) == 0);
    QCOMPARE(victimStat.st_mode & 07777, mode_t(0600));
}

void TestAlignmentFaults::fileLiesWhereTheUserCanSave_data() {
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<QString>("configHome");   // "@" stands for the test's folder
    QTest::addColumn<QString>("configFolder"); // where the user's file goes, "" beside
    QTest::newRow("writable folder") << false << "@/config"
                                     << "";
    QTest::newRow("read-only, XDG_CONFIG_HOME set") << true << "@/config"
                                                    << "config";
    QTest::newRow("read-only, XDG_CONFIG_HOME unset") << true << "<unset>"
                                                      << "home/.config";
    QTest::newRow("read-only, XDG_CONFIG_HOME empty") << true << ""
                                                      << "home/.config";
    QTest::newRow("read-only, XDG_CONFIG_HOME relative") << true << "rel/config"
                                                         << "home/.config";
}

void TestAlignmentFaults::fileLiesWhereTheUserCanSave() {
    QFETCH(bool, readOnly);
    QFETCH(QString, configHome);
    QFETCH(QString, configFolder);
    if (readOnly && !noMountsReason_.isEmpty())
        SKIP_OR_FAIL_IN_CI(noMountsReason_.toUtf8());
    const QString shipped = path_;
    writeOldFile();
    if (readOnly) {
        const QString remounted = mounts_.RemountReadOnly(place_);
        QVERIFY2(remounted.isEmpty(), qPrintable(remounted));
    }
    AlignmentFilePlace place;
    AlignmentTexts before, after;
    {
        const UserFolders user(dir_->filePath("home"),
                               QString(configHome).replace("@", dir_->path()));
        place = AlignmentFilePlaceFor(place_.toStdString());
        before = ReadAlignment(place);
        SaveAlignment(place, NewTexts);
        after = ReadAlignment(place);
    }
    const QString file =
        configFolder.isEmpty() ? shipped : dir_->filePath(configFolder + "/quotario/Allinea.ini");
    QCOMPARE(QString::fromStdString(place.file), file);
    QCOMPARE(QString::fromStdString(place.shippedDefault),
             configFolder.isEmpty() ? QString() : shipped);
    QCOMPARE(before, OldTexts);
    QCOMPARE(after, NewTexts);
    QCOMPARE(ReadBytes(file), Bytes(AlignmentFileContent(NewTexts)));
    if (configFolder.isEmpty())
        return;
    QCOMPARE(ReadBytes(shipped), Bytes(AlignmentFileContent(OldTexts)));
    // Every folder the save made is the user's alone.
    for (const QString& made : {configFolder.section('/', 0, 0), configFolder + "/quotario"}) {
        struct stat status;
        QVERIFY(::stat(QFile::encodeName(dir_->filePath(made)).constData(), &status) == 0);
        QCOMPARE(status.st_mode & 07777, mode_t(0700));
    }
}

void TestAlignmentFaults::unwritableConfigFolderNamesTheUserFile() {
    if (!noMountsReason_.isEmpty())
        SKIP_OR_FAIL_IN_CI(noMountsReason_.toUtf8());
    writeOldFile();
    const QString remounted = mounts_.RemountReadOnly(place_);
    QVERIFY2(remounted.isEmpty(), qPrintable(remounted));
    const QString taken = dir_->filePath("config");
    QVERIFY(WriteBytes(taken, "not a folder"));
    const UserFolders user(dir_->filePath("home"), taken);
    try {
        SaveAlignment(AlignmentFilePlaceFor(place_.toStdString()), NewTexts);
        QFAIL("the failed save reported success");
    } catch (const EIniFileException& error) {
        QCOMPARE(QString::fromStdString(error.what()),
                 "Unable to write to " + taken + "/quotario/Allinea.ini");
        QCOMPARE(QString::fromStdString(error.Reason()),
                 QString::fromUtf8("la cartella che dovrebbe contenerlo non esiste o non è una "
                                   "cartella"));
    }
    QCOMPARE(ReadBytes(path_), Bytes(AlignmentFileContent(OldTexts)));
}

QUOTARIO_SKIPPABLE_TEST_MAIN(QCoreApplication, TestAlignmentFaults)
#include "tst_alignmentfaults.moc"
