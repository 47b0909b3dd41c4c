// The operations a user waits for, timed with QBENCHMARK: one C&alcola press through the main
// window, one amount in words, and one print run (the slip copied into the report, placed and
// printed) into a PDF file and to the default printer. scripts/bench runs it against a private
// print server.
#include "page/SlipPrinting.h"
#include "rules/AmountInWords.h"
#include "rules/SlipCopy.h"
#include "rules/SlipPlacement.h"
#include "support/MessageRecorder.h"
#include "support/SampleSlip.h"
#include "support/TestMain.h"
#include "support/WindowSetFixture.h"

#include <QPrinterInfo>
#include <QTemporaryDir>
#include <QTest>

class BenchOperations : public QObject {
    Q_OBJECT
private slots:
    void calcolaPress();
    void amountInWords();
    void printRunToPdf();
    void printRunToDefaultPrinter();
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
    SetEntries(NamedEntries("EdCCNR=12345678|EdIntest1=COMUNE DI ROMA|"
                            "EdIntest2=SERVIZIO TRIBUTI ICI|EdNome=ROSSI MARIO VIA APPIA 12|"
                            "EdComun=ROMA|EdCodFisc=RSSMRA60A01H501X|EdNum=2|EdAnno=2001"));
    SetEntries(ColumnEntryTexts("1250;5;5;103,29;100;12", "820;5;7;50;12"));
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
        const SlipPrintResult result = PrintRun(slip, PrintSlipOnDefaultPrinter);
        QCOMPARE(result.status, SlipPrintStatus::Printed);
    }
}

QUOTARIO_GUI_TEST_MAIN(BenchOperations)
#include "bench_operations.moc"
