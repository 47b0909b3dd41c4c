// The slip page printed for real: through a private CUPS server on its default queue (as the
// program prints) and into a PDF file; every text is read back from the PDF with poppler and
// must lie within 0.1 mm of its label's place.
#include "page/SlipPrinting.h"
#include "rules/SlipCopy.h"
#include "rules/SlipPlacement.h"
#include "support/PrintedPage.h"
#include "support/PrivateCupsd.h"
#include "support/SampleSlip.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <cmath>

Q_DECLARE_METATYPE(PaperPlacement)

namespace {

enum class Refusal { Rejecting, Stopped, Forbidden };

SlipReport PlacedReport(PaperPlacement placement, int vertical, int horizontal) {
    SlipReport report;
    CopySlipToReport(SampleSlip(), report);
    PlaceSlip(report, placement, std::to_string(vertical), std::to_string(horizontal));
    return report;
}

} // namespace

Q_DECLARE_METATYPE(Refusal)

class TestSlipPrint : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void printsOnTheDefaultPrinter_data();
    void printsOnTheDefaultPrinter();
    void aQueueThatTakesNoJobsGetsNothing_data();
    void aQueueThatTakesNoJobsGetsNothing();
    void printsToAPdfFile();
    void keepsAnOverlongAmountInsideItsBox();
    void reportsAFileThatCannotBeWritten();
    void takesEveryNameTheFileSystemTakes_data();
    void takesEveryNameTheFileSystemTakes();

private:
    QTemporaryDir m_files;
    PrivateCupsd m_server;
};

void TestSlipPrint::initTestCase() {
    QVERIFY(m_files.isValid());
    QVERIFY(m_server.start());
}

void TestSlipPrint::cleanupTestCase() {
    m_server.stop();
}

void TestSlipPrint::printsOnTheDefaultPrinter_data() {
    QTest::addColumn<PaperPlacement>("placement");
    QTest::addColumn<int>("vertical");
    QTest::addColumn<int>("horizontal");
    const std::pair<const char*, PaperPlacement> positions[] = {{"left", PaperPlacement::Left},
                                                                {"centre", PaperPlacement::Centre},
                                                                {"right", PaperPlacement::Right}};
    for (const auto& [name, placement] : positions) {
        for (int correction : {0, 10, 26, 60})
            QTest::addRow("%s %d", name, correction) << placement << correction << correction;
        QTest::addRow("%s 0/60", name) << placement << 0 << 60;
    }
    QTest::newRow("no paper position: design places") << PaperPlacement::None << 26 << 26;
}

void TestSlipPrint::printsOnTheDefaultPrinter() {
    QFETCH(PaperPlacement, placement);
    QFETCH(int, vertical);
    QFETCH(int, horizontal);
    const SlipReport report = PlacedReport(placement, vertical, horizontal);
    const QString job = m_server.jobFile();
    QFile::remove(job);

    const SlipPrintResult result = PrintSlipOnSystemPrinter(report);
    QCOMPARE(result.status, SlipPrintStatus::Printed);
    QCOMPARE(result.target, QString("Quotario"));
    QVERIFY2(WaitForJobFile(job), "the print job did not reach the queue's file");

    const QStringList faults = CheckPrintedPage(job, report);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
    if (placement == PaperPlacement::Right && vertical == 26)
        KeepPrintedPage(job, "printed-right-26.pdf");
}

void TestSlipPrint::aQueueThatTakesNoJobsGetsNothing_data() {
    QTest::addColumn<Refusal>("refusal");
    QTest::newRow("queue rejecting jobs") << Refusal::Rejecting; // cupsreject
    QTest::newRow("printer stopped") << Refusal::Stopped;        // cupsdisable
    // Seen only once Qt has handed the job over: the answer Qt drops must still be read.
    QTest::newRow("job forbidden at hand-over") << Refusal::Forbidden;
}

void TestSlipPrint::aQueueThatTakesNoJobsGetsNothing() {
    QFETCH(Refusal, refusal);
    const auto restore = qScopeGuard([this] {
        m_server.setAcceptingJobs(true);
        m_server.setPrinterEnabled(true);
        m_server.setJobsForbidden(false);
    });
    QVERIFY(refusal == Refusal::Rejecting ? m_server.setAcceptingJobs(false)
            : refusal == Refusal::Stopped ? m_server.setPrinterEnabled(false)
                                          : m_server.setJobsForbidden(true));
    const SlipReport report = PlacedReport(PaperPlacement::Centre, 26, 26);
    const QString job = m_server.jobFile();
    QFile::remove(job);

    const SlipPrintResult refused = PrintSlipOnSystemPrinter(report);
    QCOMPARE(refused.status, SlipPrintStatus::NotStarted);
    QCOMPARE(refused.target, QString("Quotario"));
    QVERIFY2(m_server.queueIsEmpty(), "a job waits in the queue");
    QThread::msleep(500);
    QVERIFY(!QFile::exists(job));

    // Taking jobs again, the queue prints the same page.
    QVERIFY(m_server.setAcceptingJobs(true));
    QVERIFY(m_server.setPrinterEnabled(true));
    QVERIFY(m_server.setJobsForbidden(false));
    QCOMPARE(PrintSlipOnSystemPrinter(report).status, SlipPrintStatus::Printed);
    QVERIFY2(WaitForJobFile(job), "the print job did not reach the queue's file");
    const QStringList faults = CheckPrintedPage(job, report);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
}

void TestSlipPrint::printsToAPdfFile() {
    const SlipReport report = PlacedReport(PaperPlacement::Centre, 26, 26);
    const QString file = m_files.filePath("bollettino.pdf");
    const SlipPrintResult result = PrintSlipToPdf(report, file);
    QCOMPARE(result.status, SlipPrintStatus::Printed);
    QCOMPARE(result.target, file);
    const QStringList faults = CheckPrintedPage(file, report);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));

    // Arial's metric twin for the proportional texts, a bold monospace face for the spaced ones.
    QProcess pdffonts;
    pdffonts.start("pdffonts", {file});
    QVERIFY(pdffonts.waitForFinished(30000));
    const QString fonts = QString::fromUtf8(pdffonts.readAllStandardOutput());
    QVERIFY2(fonts.contains("LiberationSans-Bold") && fonts.contains("LiberationMono-Bold"),
             qPrintable(fonts));
}

// Nine digits in the eight cells of the euros box: all of them print, inside the box.
void TestSlipPrint::keepsAnOverlongAmountInsideItsBox() {
    SlipReport report = PlacedReport(PaperPlacement::Left, 10, 10);
    report.Label(SlipLabelId::QRIMP11).text = "123456789";
    const QString file = m_files.filePath("overlong.pdf");
    QCOMPARE(PrintSlipToPdf(report, file).status, SlipPrintStatus::Printed);
    const QStringList faults = CheckPrintedPage(file, report);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));

    const PrintedPage page = ReadPrintedPage(file);
    const SlipLabel& label = report.Label(SlipLabelId::QRIMP11);
    const double boxLeft = label.left * PointsPerUnit;
    const double boxRight = (label.left + label.design->width) * PointsPerUnit;
    int digits = 0;
    for (const PrintedWord& word : page.words)
        if (std::abs(word.yMin - (BandTopPoints + label.top * PointsPerUnit)) <= Tolerance &&
            word.xMin >= boxLeft && word.xMax <= boxRight)
            ++digits;
    QCOMPARE(digits, 9);
}

void TestSlipPrint::reportsAFileThatCannotBeWritten() {
    const QString file = m_files.filePath("no-such-folder/bollettino.pdf");
    QCOMPARE(PrintSlipToPdf(SlipReport(), file).status, SlipPrintStatus::NotStarted);
}

void TestSlipPrint::takesEveryNameTheFileSystemTakes_data() {
    QTest::addColumn<QString>("name");
    // Up to 255 bytes in UTF-8; the temporary file beside it must not be longer.
    QTest::newRow("234 bytes") << QString(230, 'a') + ".pdf";
    QTest::newRow("235 bytes") << QString(231, 'a') + ".pdf";
    QTest::newRow("255 bytes") << QString(251, 'a') + ".pdf";
    QTest::newRow("255 bytes, accented") << QString(125, QChar(0xE8)) + "x.pdf";
}

// Saved twice: made, then replaced whole; nothing is left beside it.
void TestSlipPrint::takesEveryNameTheFileSystemTakes() {
    QFETCH(QString, name);
    QVERIFY(name.toUtf8().size() <= 255);
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString file = folder.filePath(name);
    for (const int correction : {10, 30}) {
        const SlipReport report = PlacedReport(PaperPlacement::Left, correction, correction);
        QCOMPARE(PrintSlipToPdf(report, file).status, SlipPrintStatus::Printed);
        const QStringList faults = CheckPrintedPage(file, report);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
    }
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
             QStringList{name});
}

QTEST_MAIN(TestSlipPrint)
#include "tst_slipprint.moc"
