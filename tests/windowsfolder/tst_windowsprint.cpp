// Windows' own print path: the program's windows under Wine, on Wine's desktop, print the slip
// with the print button on Windows' default printer, through GDI and Wine's PostScript printer
// driver. Wine takes its printers from CUPS: tst_windowsprint.sh starts a private print server
// whose default queue becomes that printer, and names the file where the queue's PDF lands in
// QUOTARIO_PRINT_JOB. The driver hands the landscape page to the printer as a portrait sheet with
// the content turned, as real printers take it; turned back, every text must lie where the
// paper position and the corrections put it, within 0.3 mm (the driver and the print server's
// PostScript-to-PDF filter round the places more coarsely than Qt's own PDF does).
#include "support/MessageRecorder.h"
#include "support/PrintedPage.h"
#include "support/TestFiles.h"
#include "support/TestMain.h"
#include "support/WindowTest.h"

#include <QFile>
#include <QPrinterInfo>
#include <QTest>

class TestWindowsPrint : public WindowTest {
    Q_OBJECT
private slots:
    void initTestCase();

    void printsOnTheDefaultPrinterWhereTheAlignmentPutsIt_data();
    void printsOnTheDefaultPrinterWhereTheAlignmentPutsIt();

private:
    QString job_;
};

constexpr double WindowsTolerance = 0.3 / 25.4 * 72.0; // 0.3 mm

void TestWindowsPrint::initTestCase() {
    job_ = qEnvironmentVariable("QUOTARIO_PRINT_JOB");
    QVERIFY2(!job_.isEmpty(), "QUOTARIO_PRINT_JOB names no file: run tst_windowsprint.sh");
    QCOMPARE(QPrinterInfo::defaultPrinterName(), QString("Quotario"));
}

void TestWindowsPrint::printsOnTheDefaultPrinterWhereTheAlignmentPutsIt_data() {
    QTest::addColumn<QString>("paper");
    QTest::addColumn<int>("upClicks");   // vertical correction, from 26
    QTest::addColumn<int>("downClicks"); // horizontal correction, from 26
    QTest::newRow("paper at the right, corrections 30 and 24") << "RBTND" << 2 << 1;
    QTest::newRow("paper at the left, corrections 26 and 26") << "RBTNS" << 0 << 0;
}

void TestWindowsPrint::printsOnTheDefaultPrinterWhereTheAlignmentPutsIt() {
    QFETCH(QString, paper);
    QFETCH(int, upClicks);
    QFETCH(int, downClicks);
    QVERIFY(WriteBytes(testFile("Allinea.ini"), ShippedAlignment));
    MessageRecorder recorder;
    QVERIFY(FillComputeAndShowSummary());
    QTest::mouseClick(Radio(paper), Qt::LeftButton);
    for (int i = 0; i < upClicks; ++i)
        QTest::mouseClick(Arrow("UpDown1", "up"), Qt::LeftButton);
    for (int i = 0; i < downClicks; ++i)
        QTest::mouseClick(Arrow("UpDown2", "down"), Qt::LeftButton);

    QFile::remove(job_);
    PressStampa();
    QVERIFY2(recorder.texts().isEmpty(), qPrintable(recorder.texts().join(" | ")));
    QVERIFY2(WaitForJobFile(job_), "the print job did not reach the queue's file");

    const QString turned = testFile("turned.pdf");
    const QString error = TurnPrintedPage(job_, turned, 90);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    KeepPrintedPage(turned, "printed-by-windows-" + paper + ".pdf");
    const QStringList faults = CheckPrintedPage(turned, QRFM->QREP, OtherTexts::Unexpected,
                                                WindowsTolerance, TextTops::DeclaredAscents);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
}

QUOTARIO_GUI_TEST_MAIN(TestWindowsPrint)
#include "tst_windowsprint.moc"
