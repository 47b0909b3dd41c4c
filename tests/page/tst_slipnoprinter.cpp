// With no print server reachable there is no default printer: the print says so instead of
// printing nothing, so that the window can offer the page as a PDF file.
#include "page/SlipPrinting.h"

#include <QTest>

class TestSlipNoPrinter : public QObject {
    Q_OBJECT
private slots:
    void reportsThatThereIsNoPrinter();
};

void TestSlipNoPrinter::reportsThatThereIsNoPrinter() {
    QVERIFY2(qEnvironmentVariable("CUPS_SERVER").startsWith("/nonexistent"),
             "run with CUPS_SERVER pointing nowhere");
    const SlipPrintResult result = PrintSlipOnSystemPrinter(SlipReport());
    QCOMPARE(result.status, SlipPrintStatus::NoPrinter);
}

QTEST_MAIN(TestSlipNoPrinter)
#include "tst_slipnoprinter.moc"
