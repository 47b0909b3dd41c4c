// The slip kept as a PDF file when the system gets in the way: a file system that fills up
// before or half-way through the page, and names that are no regular file. The file then holds
// its old content, byte for byte, and nothing is left beside it; a FIFO never blocks the
// program (a watchdog frees it and fails the test).
#include "page/SlipPrinting.h"
#include "rules/SlipCopy.h"
#include "rules/SlipPlacement.h"
#include "support/FileFaults.h"
#include "support/PrintedPage.h"
#include "support/SampleSlip.h"
#include "support/SkipInCi.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

SlipReport PlacedReport(int correction) {
    SlipReport report;
    CopySlipToReport(SampleSlip(), report);
    PlaceSlip(report, PaperPlacement::Centre, std::to_string(correction),
              std::to_string(correction));
    return report;
}

} // namespace

class TestPdfFaults : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void aFullFileSystemKeepsTheOldFile_data();
    void aFullFileSystemKeepsTheOldFile();
    void aNameThatIsNoRegularFileIsRefused_data();
    void aNameThatIsNoRegularFileIsRefused();

private:
    QString noMountsReason_;
    TestMounts mounts_;
    std::unique_ptr<QTemporaryDir> dir_;
    QString place_; // the folder the PDF goes to
};

void TestPdfFaults::initTestCase() {
    noMountsReason_ = EnterPrivateMountNamespace();
}

void TestPdfFaults::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    place_ = dir_->filePath("documents");
    QVERIFY(QDir().mkdir(place_));
}

void TestPdfFaults::cleanup() {
    mounts_.Unmount();
    dir_.reset();
}

void TestPdfFaults::aFullFileSystemKeepsTheOldFile_data() {
    QTest::addColumn<qint64>("room");
    QTest::newRow("no room at all") << qint64(0);
    QTest::newRow("room for half the page") << qint64(8192);
}

void TestPdfFaults::aFullFileSystemKeepsTheOldFile() {
    QFETCH(qint64, room);
    if (!noMountsReason_.isEmpty())
        SKIP_OR_FAIL_IN_CI(noMountsReason_.toUtf8());
    const QString mounted = mounts_.MountTmpfs(place_, "size=1m,mode=0755");
    QVERIFY2(mounted.isEmpty(), qPrintable(mounted));
    const QString file = place_ + "/Bollettino ICI.pdf";
    QCOMPARE(PrintSlipToPdf(PlacedReport(10), file).status, SlipPrintStatus::Printed);
    const QByteArray old = ReadBytes(file);
    const QString filler = place_ + "/filler";
    QVERIFY(FillFileSystem(filler, room));
    const QStringList entries = DirectoryEntries(place_);

    const SlipReport report = PlacedReport(40);
    const SlipPrintResult result = PrintSlipToPdf(report, file);
    QCOMPARE(result.status, SlipPrintStatus::NotStarted);
    QCOMPARE(result.target, file);
    QVERIFY(ReadBytes(file) == old);
    QCOMPARE(DirectoryEntries(place_), entries);

    // With room again the same page replaces the old one, whole.
    QVERIFY(QFile::remove(filler));
    QCOMPARE(PrintSlipToPdf(report, file).status, SlipPrintStatus::Printed);
    const QStringList faults = CheckPrintedPage(file, report);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
    QCOMPARE(DirectoryEntries(place_), entries.filter("Bollettino"));
}

void TestPdfFaults::aNameThatIsNoRegularFileIsRefused_data() {
    QTest::addColumn<QString>("kind");
    QTest::newRow("FIFO") << "fifo";
    QTest::newRow("link to a FIFO") << "link";
    QTest::newRow("directory") << "directory";
}

void TestPdfFaults::aNameThatIsNoRegularFileIsRefused() {
    QFETCH(QString, kind);
    const QString fifo = place_ + "/pipe";
    const FifoTrap trap(fifo);
    QVERIFY(trap.Made());
    const QString target = kind == "fifo" ? fifo : place_ + "/Bollettino ICI.pdf";
    if (kind == "link")
        QVERIFY(QFile::link(fifo, target));
    if (kind == "directory")
        QVERIFY(QDir().mkdir(target));
    const QStringList entries = DirectoryEntries(place_);

    QCOMPARE(PrintSlipToPdf(PlacedReport(26), target).status, SlipPrintStatus::NotStarted);
    QVERIFY2(!trap.Sprang(), "the FIFO was opened and blocked the print");
    QCOMPARE(DirectoryEntries(place_), entries);
    QCOMPARE(QFileInfo(target).isFile(), false);
    QCOMPARE(QFileInfo(target).isSymLink(), kind == "link");
}

QUOTARIO_SKIPPABLE_TEST_MAIN(QGuiApplication, TestPdfFaults)
#include "tst_pdffaults.moc"
