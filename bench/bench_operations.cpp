// The operations a user waits for, timed with QBENCHMARK: one C&alcola press through the main
// window, one amount in words, one print run (the slip copied into the report, placed and
// printed) into a PDF file and to the default printer, and the print button's press through the
// summary window until the event loop turns again, on a printer that takes 10 s a page.
// scripts/bench runs it against a private print server with that printer as "Lenta".
#include "page/SlipPrinting.h"
#include "rules/AmountInWords.h"
#include "rules/SlipCopy.h"
#include "rules/SlipPlacement.h"
#include "support/MessageRecorder.h"
#include "support/SampleSlip.h"
#include "support/TestMain.h"
#include "support/WindowSetFixture.h"

#include <QElapsedTimer>
#include <QPrinterInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <vector>

class BenchOperations : public QObject {
    Q_OBJECT
private slots:
    void calcolaPress();
    void amountInWords();
    void printRunToPdf();
    void printRunToDefaultPrinter();
    void pressToNextTurnOnASlowPrinter();
};

namespace {

// What the print button does once the data are checked: copy, place, print.
template <class Print> SlipPrintResult PrintRun(const SlipData& slip, Print print) {
    SlipReport report;
    CopySlipToReport(slip, report);
    PlaceSlip(report, PaperPlacement::Right, "26", "26");
    return print(report);
}

} // namespace

void BenchOperations::calcolaPress() {
    QVERIFY(StartWindowSet());
    MessageRecorder recorder;
    SetEntries(EntriesOf(SamplePayer));
    SetEntries(EntriesOf({.income = "1250", .revaluation = "5", .rate = "5", .deduction = "103,29"},
                         {.income = "820", .revaluation = "5", .rate = "7", .share = "50"}));
    QPushButton* calcola = Button("CalcolaBtn");
    QBENCHMARK {
        QTest::mouseClick(calcola, Qt::LeftButton);
    }
    QCOMPARE(Label("LabIciTot")->text().isEmpty(), false);
    QVERIFY(recorder.messages.isEmpty());
    StopWindowSet();
}

void BenchOperations::amountInWords() {
    std::size_t length = 0;
    QBENCHMARK {
        length += AmountInWords(Currency(987654321) * CurrencyScale + 1600).size();
    }
    QVERIFY(length > 0);
}

void BenchOperations::printRunToPdf() {
    QTemporaryDir files;
    const QString file = files.filePath("bollettino.pdf");
    const SlipData slip = SampleSlip();
    QBENCHMARK {
        const SlipPrintResult result =
            PrintRun(slip, [&](const SlipReport& report) { return PrintSlipToPdf(report, file); });
        QCOMPARE(result.status, SlipPrintStatus::Printed);
    }
}

void BenchOperations::printRunToDefaultPrinter() {
    if (QPrinterInfo::defaultPrinter().isNull())
        QSKIP("no default printer (scripts/bench starts a private one)");
    const SlipData slip = SampleSlip();
    QBENCHMARK {
        const SlipPrintResult result = PrintRun(
            slip, [](const SlipReport& report) { return PrintSlipOnSystemPrinter(report); });
        QCOMPARE(result.status, SlipPrintStatus::Printed);
    }
}

// The median of PressCount presses: on this shared machine one press now and then waits for
// another program, which a mean of a few presses would carry.
void BenchOperations::pressToNextTurnOnASlowPrinter() {
    if (QProcess::execute("lpadmin", {"-d", "Lenta"}) != 0)
        QSKIP("no printer \"Lenta\" (scripts/bench makes one)");
    QVERIFY(StartWindowSet());
    MessageRecorder recorder;
    QVERIFY(FillComputeAndShowSummary());
    constexpr int PressCount = 21;
    std::vector<double> milliseconds;
    for (int press = 0; press < PressCount; ++press) {
        QElapsedTimer clock;
        clock.start();
        QTest::mouseClick(Form2->findChild<QToolButton*>("StampaBtn1"), Qt::LeftButton);
        bool turned = false;
        QTimer::singleShot(
            0, [&turned] { turned = true; });
        QVERIFY(QTest::qWaitFor([&turned] { return turned; }, 10000));
        milliseconds.push_back(clock.nsecsElapsed() / 1e6);
        // Each press on its own: the next once this page has reached the printer.
        AwaitHandOver();
    }
    std::nth_element(milliseconds.begin(), milliseconds.begin() + PressCount / 2,
                     milliseconds.end());
    QTest::setBenchmarkResult(milliseconds[PressCount / 2], QTest::WalltimeMilliseconds);
    QVERIFY(recorder.messages.isEmpty());
    StopWindowSet();
}

QUOTARIO_GUI_TEST_MAIN(BenchOperations)
#include "bench_operations.moc"
