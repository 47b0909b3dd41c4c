#include "base/FileReplace.h"
#include "rules/AlignmentFile.h"
#include "rules/PaperMarks.h"
#include "support/DataRows.h"
#include "support/TestFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <ctime>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

Q_DECLARE_METATYPE(std::string)

namespace {

const std::string Default = "default value";

// A byte literal that may hold NUL bytes: all of it but its terminator.
template <std::size_t N> QByteArray Raw(const char (&literal)[N]) {
    return QByteArray(literal, N - 1);
}

// The text as Windows' Notepad saves it as "Unicode": UTF-16 after its byte-order mark.
QByteArray Utf16File(const QString& text, bool bigEndian) {
    QByteArray bytes(bigEndian ? "\xFE\xFF" : "\xFF\xFE");
    for (const QChar c : text) {
        const char high = char(c.unicode() >> 8), low = char(c.unicode() & 0xFF);
        bytes.append(bigEndian ? high : low).append(bigEndian ? low : high);
    }
    return bytes;
}

// The step of a save that fails, and how.
enum class Failure { Open, OpenAfterCreating, Write, PartialWrite, Flush, Close, Rename };

// The system's file operations with one step made to fail; records the temporary file's name.
class FailingFileOperations final : public FileOperations {
public:
    explicit FailingFileOperations(Failure failure) : failure_(failure) {}
    std::string temporary;

    int OpenTemporary(const std::string& path, const std::string& permissionsOf) override {
        temporary = path;
        if (failure_ == Failure::Open)
            return -1;
        const int handle = real_.OpenTemporary(path, permissionsOf);
        if (failure_ == Failure::OpenAfterCreating && handle >= 0) {
            real_.Close(handle);
            return -1;
        }
        return handle;
    }
    bool WriteAll(int handle, std::string_view bytes) override {
        if (failure_ == Failure::Write)
            return false;
        if (failure_ == Failure::PartialWrite) {
            real_.WriteAll(handle, bytes.substr(0, bytes.size() / 2));
            return false;
        }
        return real_.WriteAll(handle, bytes);
    }
    bool FlushToDisk(int handle) override {
        return failure_ != Failure::Flush && real_.FlushToDisk(handle);
    }
    bool Close(int handle) override {
        const bool closed = real_.Close(handle);
        return failure_ != Failure::Close && closed;
    }
    bool Rename(const std::string& from, const std::string& to) override {
        return failure_ != Failure::Rename && real_.Rename(from, to);
    }
    void Remove(const std::string& path) override { real_.Remove(path); }

private:
    Failure failure_;
    FileOperations& real_ = SystemFileOperations();
};

} // namespace

Q_DECLARE_METATYPE(Failure)

class TestAlignmentFile : public QObject {
    Q_OBJECT
private slots:
    void init();
    void readsTheFiveKeys_data();
    void readsTheFiveKeys();
    void missingFileGivesDefaults();
    void directoryInsteadOfFileGivesDefaults();
    void readsOnlyTheFirstMegabytesOfAHugeFile();
    void writesExactBytes_data();
    void writesExactBytes();
    void valuesCannotAddLines();
    void roundTrip_data();
    void roundTrip();
    void savingCreatesAMissingFile();
    void savingLeavesOnlyTheFiveKeys();
#ifndef _WIN32
    // Windows keeps no permission bits: a replaced file takes its folder's rights. The
    // leftovers' cases are links and file times as POSIX makes them.
    void savingKeepsThePermissions_data();
    void savingKeepsThePermissions();
    void savingRemovesOnlyStaleTemporaries_data();
    void savingRemovesOnlyStaleTemporaries();
#endif
    void failedSaveKeepsTheOldFile_data();
    void failedSaveKeepsTheOldFile();
    void failedSaveOfAMissingFileCreatesNothing();
    void unwritablePlaceRaisesTheError_data();
    void unwritablePlaceRaisesTheError();
    void fileLiesBesideTheProgram();
    void shippedFileHoldsTheStartValues();

private:
    std::unique_ptr<QTemporaryDir> dir_;
    QString path_;
};

void TestAlignmentFile::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    path_ = dir_->filePath("Allinea.ini");
}

void TestAlignmentFile::readsTheFiveKeys_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("texts"); // EDIT1, EDIT2, EDITC, EDITD, EDITS
    AddRow("saved, centre", QByteArray("[ALLINEA]\nEDITC=C1\nEDITD=\nEDITS=\nEDIT1=26\nEDIT2=30\n"),
           QStringList{"26", "30", "C1", "", ""});
    AddRow("CR LF, left",
           QByteArray("[ALLINEA]\r\nEDITC=\r\nEDITD=\r\nEDITS=S1\r\nEDIT1=0\r\nEDIT2=60\r\n"),
           QStringList{"0", "60", "", "", "S1"});
    AddRow("lower-case names, any order",
           QByteArray("[allinea]\nedit2=4\nEditS=\nedit1=2\neditd=D1\neditc=\n"),
           QStringList{"2", "4", "", "D1", ""});
    AddRow("some keys missing", QByteArray("[ALLINEA]\nEDIT1=26\nEDITD=D1\n"),
           QStringList{"26", Default.c_str(), Default.c_str(), "D1", Default.c_str()});
    AddRow("empty file", QByteArray(), QStringList(5, QString::fromStdString(Default)));
    AddRow("no section", QByteArray("EDIT1=26\nEDIT2=26\n"),
           QStringList(5, QString::fromStdString(Default)));
    AddRow("duplicates and spaces",
           QByteArray("[ALLINEA]\n EDIT1 = 10 \nEDIT1=20\nEDIT2=\nEDIT2=8\n"),
           QStringList{"10", "", Default.c_str(), Default.c_str(), Default.c_str()});
    AddRow("garbage around",
           Raw("\xff\xfe\x00\x01junk\n[ALLINEA]\n\x80\x81\nEDIT1=14\n\x00=\x00\n"),
           QStringList{"14", Default.c_str(), Default.c_str(), Default.c_str(), Default.c_str()});
    const QString saved = QString::fromUtf8(
        "[ALLINEA]\r\nEDITC=\r\nEDITD=D1\r\nEDITS=è😀\r\nEDIT1=30\r\nEDIT2=22\r\n");
    const QStringList texts{"30", "22", "", "D1", QString::fromUtf8("è😀")};
    AddRow("UTF-8 with its mark", QByteArray("\xEF\xBB\xBF") + saved.toUtf8(), texts);
    AddRow("UTF-16 little-endian (Notepad's Unicode)", Utf16File(saved, false), texts);
    AddRow("UTF-16 big-endian", Utf16File(saved, true), texts);
    AddRow("UTF-16 mark on an odd number of bytes", QByteArray("\xFF\xFE\n[ALLINEA]\nEDIT1=2\n"),
           QStringList{"2", Default.c_str(), Default.c_str(), Default.c_str(), Default.c_str()});
}

void TestAlignmentFile::readsTheFiveKeys() {
    QFETCH(QByteArray, content);
    QFETCH(QStringList, texts);
    QVERIFY(WriteBytes(path_, content));
    const AlignmentTexts read = ReadAlignmentFile(path_.toStdString());
    QCOMPARE(QString::fromStdString(read.verticalCorrection), texts[0]);
    QCOMPARE(QString::fromStdString(read.horizontalCorrection), texts[1]);
    QCOMPARE(QString::fromStdString(read.paperMarks.centre), texts[2]);
    QCOMPARE(QString::fromStdString(read.paperMarks.right), texts[3]);
    QCOMPARE(QString::fromStdString(read.paperMarks.left), texts[4]);
}

void TestAlignmentFile::missingFileGivesDefaults() {
    const AlignmentTexts read = ReadAlignmentFile(path_.toStdString());
    QCOMPARE(read, (AlignmentTexts{Default, Default, {Default, Default, Default}}));
    QCOMPARE(PlacementFromMarks(read.paperMarks), PaperPlacement::None);
    QVERIFY(!QFile::exists(path_));
}

void TestAlignmentFile::directoryInsteadOfFileGivesDefaults() {
    QVERIFY(QDir(dir_->path()).mkdir("Allinea.ini"));
    QCOMPARE(ReadAlignmentFile(path_.toStdString()).verticalCorrection, Default);
}

void TestAlignmentFile::readsOnlyTheFirstMegabytesOfAHugeFile() {
    // The keys near the start are read even though the file goes on for 12 MiB; keys that lie
    // past the bound are not.
    QByteArray head("[ALLINEA]\nEDIT1=30\n");
    QByteArray filler(12 * 1024 * 1024, 'x');
    for (qsizetype i = 0; i < filler.size(); i += 1000)
        filler[i] = (i / 1000) % 7 == 0 ? '\0' : '\n';
    QVERIFY(WriteBytes(path_, head + filler + "\nEDIT2=40\n"));
    const AlignmentTexts read = ReadAlignmentFile(path_.toStdString());
    QCOMPARE(read.verticalCorrection, std::string("30"));
    QCOMPARE(read.horizontalCorrection, Default);

    // One single overlong line: no crash, the value is bounded.
    QVERIFY(WriteBytes(path_, "[ALLINEA]\nEDIT1=" + QByteArray(8 * 1024 * 1024, '2')));
    QVERIFY(ReadAlignmentFile(path_.toStdString()).verticalCorrection.size() < 4096);
}

void TestAlignmentFile::writesExactBytes_data() {
    QTest::addColumn<PaperPlacement>("placement");
    QTest::addColumn<QString>("edit1");
    QTest::addColumn<QString>("edit2");
    QTest::addColumn<QByteArray>("bytes");
    AddRow("centre, 26 and 26", PaperPlacement::Centre, "26", "26",
           QByteArray("[ALLINEA]\nEDITC=C1\nEDITD=\nEDITS=\nEDIT1=26\nEDIT2=26\n"));
    AddRow("no position", PaperPlacement::None, "0", "60",
           QByteArray("[ALLINEA]\nEDITC=\nEDITD=\nEDITS=\nEDIT1=0\nEDIT2=60\n"));
    AddRow("right", PaperPlacement::Right, "28", "2",
           QByteArray("[ALLINEA]\nEDITC=\nEDITD=D1\nEDITS=\nEDIT1=28\nEDIT2=2\n"));
    AddRow("left, corrections never loaded", PaperPlacement::Left, "default value", "",
           QByteArray("[ALLINEA]\nEDITC=\nEDITD=\nEDITS=S1\nEDIT1=default value\nEDIT2=\n"));
}

void TestAlignmentFile::writesExactBytes() {
    QFETCH(PaperPlacement, placement);
    QFETCH(QString, edit1);
    QFETCH(QString, edit2);
    QFETCH(QByteArray, bytes);
    const PaperMarks marks = MarksFromPlacement(placement);
    QVERIFY(WriteBytes(path_, "[OTHER]\nKEEP=1\n"));
    WriteAlignmentFile(path_.toStdString(), {edit1.toStdString(), edit2.toStdString(), marks});
    QCOMPARE(ReadBytes(path_), bytes);
}

void TestAlignmentFile::valuesCannotAddLines() {
    const AlignmentTexts texts{"26\nEDIT2=0", "26\r\n[X]", {std::string("C1\0D1", 5), "", ""}};
    QCOMPARE(Bytes(AlignmentFileContent(texts)),
             QByteArray("[ALLINEA]\nEDITC=C1\nEDITD=\nEDITS=\nEDIT1=26\nEDIT2=26\n"));
}

void TestAlignmentFile::roundTrip_data() {
    QTest::addColumn<PaperPlacement>("placement");
    QTest::addColumn<QString>("edit1");
    QTest::addColumn<QString>("edit2");
    AddRow("none", PaperPlacement::None, "26", "26");
    AddRow("left", PaperPlacement::Left, "0", "60");
    AddRow("centre", PaperPlacement::Centre, "34", "12");
    AddRow("right", PaperPlacement::Right, "60", "0");
    AddRow("texts that are no numbers", PaperPlacement::Right, "default value", "");
}

void TestAlignmentFile::roundTrip() {
    QFETCH(PaperPlacement, placement);
    QFETCH(QString, edit1);
    QFETCH(QString, edit2);
    const PaperMarks marks = MarksFromPlacement(placement);
    const AlignmentTexts saved{edit1.toStdString(), edit2.toStdString(), marks};
    WriteAlignmentFile(path_.toStdString(), saved);
    const AlignmentTexts loaded = ReadAlignmentFile(path_.toStdString());
    QCOMPARE(loaded, saved);
    QCOMPARE(PlacementFromMarks(loaded.paperMarks), placement);
}

void TestAlignmentFile::savingCreatesAMissingFile() {
    QVERIFY(!QFile::exists(path_));
    WriteAlignmentFile(path_.toStdString(), {"30", "22", "", "D1", ""});
    QCOMPARE(ReadBytes(path_),
             QByteArray("[ALLINEA]\nEDITC=\nEDITD=D1\nEDITS=\nEDIT1=30\nEDIT2=22\n"));
    QCOMPARE(QDir(dir_->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{"Allinea.ini"});
}

void TestAlignmentFile::savingLeavesOnlyTheFiveKeys() {
    QVERIFY(WriteBytes(path_, "; notes\r\n[ALLINEA]\r\nEXTRA=1\r\nEDIT1=4\r\n[OTHER]\r\nA=B\r\n"));
    WriteAlignmentFile(path_.toStdString(), {"26", "26", "C1", "", ""});
    QCOMPARE(ReadBytes(path_),
             QByteArray("[ALLINEA]\nEDITC=C1\nEDITD=\nEDITS=\nEDIT1=26\nEDIT2=26\n"));
}

#ifndef _WIN32
void TestAlignmentFile::savingKeepsThePermissions_data() {
    QTest::addColumn<int>("old"); // -1: no file yet
    QTest::addColumn<int>("umask");
    QTest::addColumn<int>("saved"); // -1: the save is refused and the file stays as it was
    AddRow("kept", 0640, 022, 0640);
    AddRow("read-only refused", 0444, 022, -1);
    AddRow("set-id bits dropped", 06755, 022, 0755);
    AddRow("new file", -1, 022, 0644);
    AddRow("new file, strict umask", -1, 077, 0644);
}

void TestAlignmentFile::savingKeepsThePermissions() {
    QFETCH(int, old);
    QFETCH(int, umask);
    QFETCH(int, saved);
    if (old >= 0) {
        QVERIFY(WriteBytes(path_, "[ALLINEA]\n"));
        QVERIFY(::chmod(QFile::encodeName(path_).constData(), mode_t(old)) == 0);
    }
    const mode_t previous = ::umask(mode_t(umask));
    QString refusal;
    try {
        WriteAlignmentFile(path_.toStdString(), {"26", "26", "", "", ""});
    } catch (const EIniFileException& error) {
        refusal = QString::fromStdString(error.Reason());
    }
    ::umask(previous);
    struct stat after;
    QVERIFY(::stat(QFile::encodeName(path_).constData(), &after) == 0);
    if (saved < 0) {
        QCOMPARE(refusal, QString::fromUtf8("il file è di sola lettura"));
        QCOMPARE(ReadBytes(path_), QByteArray("[ALLINEA]\n"));
        QCOMPARE(int(after.st_mode & 07777), old);
        return;
    }
    QCOMPARE(refusal, QString());
    QCOMPARE(int(after.st_mode & 07777), saved);
}

void TestAlignmentFile::savingRemovesOnlyStaleTemporaries_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind"); // file, symlink, hardlink, directory
    QTest::addColumn<int>("minutes");  // since it was last written
    QTest::addColumn<bool>("removed");
    const QString ours = "Allinea.ini.0123456789abcdef.tmp";
    AddRow("stale temporary", ours, "file", 60, true);
    AddRow("fifteen digits", "Allinea.ini.0123456789abcde.tmp", "file", 60, false);
    AddRow("a save may be writing it", ours, "file", 2, false);
    AddRow("symbolic link", ours, "symlink", 60, false);
    AddRow("file with a second name", ours, "hardlink", 60, false);
    AddRow("directory", ours, "directory", 60, false);
    AddRow("the user's own file", "Allinea.ini.backup.tmp", "file", 60, false);
    AddRow("upper-case digits", "Allinea.ini.0123456789ABCDEF.tmp", "file", 60, false);
    AddRow("another file's temporary", "Other.ini.0123456789abcdef.tmp", "file", 60, false);
}

void TestAlignmentFile::savingRemovesOnlyStaleTemporaries() {
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(int, minutes);
    QFETCH(bool, removed);
    const QString planted = dir_->filePath(name);
    const QString other = dir_->filePath("other");
    QVERIFY(WriteBytes(other, "someone else's"));
    if (kind == "file")
        QVERIFY(WriteBytes(planted, "[ALLINEA]\nEDIT1="));
    else if (kind == "symlink")
        QVERIFY(QFile::link(other, planted));
    else if (kind == "hardlink")
        QVERIFY(::link(QFile::encodeName(other).constData(), QFile::encodeName(planted)) == 0);
    else
        QVERIFY(QDir(dir_->path()).mkdir(name));
    const timespec then{::time(nullptr) - minutes * 60, 0};
    const timespec times[2] = {then, then};
    for (const QString& path : {planted, other})
        QVERIFY(::utimensat(AT_FDCWD, QFile::encodeName(path), times, AT_SYMLINK_NOFOLLOW) == 0);

    WriteAlignmentFile(path_.toStdString(), {"26", "26", {"", "", ""}});
    QCOMPARE(QFileInfo::exists(planted) || QFileInfo(planted).isSymLink(), !removed);
    QCOMPARE(ReadBytes(other), QByteArray("someone else's"));
    QCOMPARE(QDir(dir_->path())
                 .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System)
                 .size(),
             removed ? 2 : 3);
}
#endif

void TestAlignmentFile::failedSaveKeepsTheOldFile_data() {
    QTest::addColumn<Failure>("failure");
    AddRow("open", Failure::Open);
    AddRow("open after creating", Failure::OpenAfterCreating);
    AddRow("write", Failure::Write);
    AddRow("write half-way", Failure::PartialWrite);
    AddRow("flush to disk", Failure::Flush);
    AddRow("close", Failure::Close);
    AddRow("rename", Failure::Rename);
}

void TestAlignmentFile::failedSaveKeepsTheOldFile() {
    QFETCH(Failure, failure);
    const QByteArray old("[ALLINEA]\r\nEDITC=\r\nEDITD=D1\r\nEDITS=\r\nEDIT1=40\r\nEDIT2=8\r\n");
    QVERIFY(WriteBytes(path_, old));
    FailingFileOperations operations(failure);
    try {
        WriteAlignmentFile(path_.toStdString(), {"26", "26", "C1", "", ""}, operations);
        QFAIL("the failed save reported success");
    } catch (const EIniFileException& error) {
        QCOMPARE(QString::fromStdString(error.what()), "Unable to write to " + path_);
    }
    QCOMPARE(ReadBytes(path_), old);
    QCOMPARE(QFileInfo(QString::fromStdString(operations.temporary)).absolutePath(),
             QFileInfo(path_).absolutePath());
    QCOMPARE(QDir(dir_->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{"Allinea.ini"});
}

void TestAlignmentFile::failedSaveOfAMissingFileCreatesNothing() {
    FailingFileOperations operations(Failure::PartialWrite);
    QVERIFY_THROWS_EXCEPTION(
        EIniFileException,
        WriteAlignmentFile(path_.toStdString(), {"26", "26", "", "", ""}, operations));
    QVERIFY(QDir(dir_->path()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
}

void TestAlignmentFile::unwritablePlaceRaisesTheError_data() {
    QTest::addColumn<QString>("place");  // how the settings file's place is spoilt
    QTest::addColumn<QString>("reason"); // what the user is told
    const QString noFolder =
        QString::fromUtf8("la cartella che dovrebbe contenerlo non esiste o non è una cartella");
    AddRow("directory missing", "missing", noFolder);
    AddRow("directory is a file", "file", noFolder);
    AddRow("file name taken by a directory", "directory",
           QString::fromUtf8("al suo posto c'è una cartella con lo stesso nome"));
    AddRow("no home folder for the user's own file", "no home",
           QString::fromUtf8("la cartella personale dell'utente non si trova"));
}

void TestAlignmentFile::unwritablePlaceRaisesTheError() {
    QFETCH(QString, place);
    QFETCH(QString, reason);
    QString path = dir_->filePath("missing/Allinea.ini");
    AlignmentFilePlace saved{path.toStdString(), {}};
    if (place == "no home") {
        path = "~/.config/quotario/Allinea.ini";
        saved = {std::string(), path_.toStdString()};
    } else if (place == "file") {
        QVERIFY(WriteBytes(dir_->filePath("program"), "not a directory"));
        path = dir_->filePath("program/Allinea.ini");
    } else if (place == "directory") {
        QVERIFY(QDir(dir_->path()).mkpath("Allinea.ini/inside"));
        path = path_;
    }
    if (place != "no home")
        saved.file = path.toStdString();
    const QStringList before =
        QDir(dir_->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    try {
        SaveAlignment(saved, {"26", "26", "", "", ""});
        QFAIL("the failed save reported success");
    } catch (const EIniFileException& error) {
        QCOMPARE(QString::fromStdString(error.what()), "Unable to write to " + path);
        QCOMPARE(QString::fromStdString(error.Reason()), reason);
    }
    QCOMPARE(QDir(dir_->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             before);
}

void TestAlignmentFile::fileLiesBesideTheProgram() {
    const QString programDir = QCoreApplication::applicationDirPath();
    const QString expected = programDir + "/Allinea.ini";
    const QString startDir = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir_->path()));
    const AlignmentFilePlace place = ProgramAlignmentFilePlace();
    const std::string& path = place.file;
    bool written = false;
    try {
        SaveAlignment(place, {"32", "20", "", "", "S1"});
        written = true;
    } catch (const EIniFileException&) {
    }
    const AlignmentTexts read = ReadAlignment(place);
    const bool inWorkingDir = QFile::exists("Allinea.ini");
    QFile::remove(expected);
    QDir::setCurrent(startDir);

    QCOMPARE(QDir::fromNativeSeparators(QString::fromStdString(path)), expected);
    QCOMPARE(place.shippedDefault, std::string());
    QVERIFY(written);
    QCOMPARE(read, (AlignmentTexts{"32", "20", {"", "", "S1"}}));
    QVERIFY(!inWorkingDir);
    QCOMPARE(AlignmentFilePath("/opt/q"), std::string("/opt/q/Allinea.ini"));
    QCOMPARE(AlignmentFilePath("/opt/q/"), std::string("/opt/q/Allinea.ini"));
}

void TestAlignmentFile::shippedFileHoldsTheStartValues() {
    const QByteArray shipped = ReadBytes(QStringLiteral(QUOTARIO_SOURCE_DIR "/data/Allinea.ini"));
    QCOMPARE(shipped, Bytes(AlignmentFileContent({"26", "26", "", "", ""})));
    // The build puts a copy beside the program (the user may have saved over it since).
    QVERIFY(QFile::exists(QString::fromStdString(AlignmentFilePath(QUOTARIO_BIN_DIR))));
}

QTEST_GUILESS_MAIN(TestAlignmentFile)
#include "tst_alignmentfile.moc"
