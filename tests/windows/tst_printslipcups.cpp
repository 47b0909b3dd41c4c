// The whole way from the main window to paper: the user fills the main window, computes, opens
// the summary, aligns the paper and presses "Stampa il bollettino"; the page goes to the default
// printer of a private print server, whose queue writes it to a file. Every text must lie where
// the paper position and the corrections put it, within 0.1 mm.
#include "support/DataRows.h"
#include "support/MessageRecorder.h"
#include "support/PrintedPage.h"
#include "support/PrivateCupsd.h"
#include "support/TestFiles.h"
#include "support/TestMain.h"
#include "support/WindowTest.h"

#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>

class TestPrintSlipCups : public WindowTest {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();

    void printsTheComputedSlipWhereTheAlignmentPutsIt();
    void aQueueRejectingJobsOffersThePdf();
    void aPrintThatFailsOffersThePdf_data();
    void aPrintThatFailsOffersThePdf();
    void onlyTheAmountOfTheEntriesReachesPaper_data();
    void onlyTheAmountOfTheEntriesReachesPaper();

private:
    PrivateCupsd server_;
};

using enum SlipLabelId;

namespace {

const SlipTexts OtherPayer = {.accountNumber = "87654321",
                              .holderLine1 = "COMUNE DI RIETI",
                              .holderLine2 = "TESORERIA",
                              .payer = "BIANCHI LUCA RIETI VIA ROMA 3",
                              .municipality = "RIETI",
                              .taxCode = "BNCLCU70B02H282X",
                              .buildingCount = "1",
                              .taxYear = "07"};

// The main window filled in as the user types it, computed, and the summary window opened.
// The tax code goes upper case as it is typed.
bool FillComputeAndOpenSummary() {
    SlipTexts slip = SamplePayer;
    slip.taxCode = slip.taxCode->toLower();
    TypeEntries(EntriesOf(slip));
    TypeEntries(
        EntriesOf({.income = "1500", .revaluation = "5", .rate = "7", .deduction = "103,29"},
                  {.income = "800", .revaluation = "5", .rate = "7", .share = "50"}));
    PressCalcola();
    return ShowSummary();
}

// A step in the main window: a button pressed ("Calcola", "Reset", "Reset tot.", "Correggi": the
// summary shown and left again, "Entries": the columns typed again), or entries typed.
struct Step {
    QString press = {};
    EntryTexts typed = {};
};
using Steps = QList<Step>;

void RunSteps(const Steps& steps, const EntryTexts& columns) {
    for (const Step& step : steps)
        if (step.press == "Calcola")
            PressCalcola();
        else if (step.press == "Reset")
            QTest::mouseClick(Button("ResetBtn"), Qt::LeftButton);
        else if (step.press == "Reset tot.")
            QTest::mouseClick(Button("ResetGenBtn"), Qt::LeftButton);
        else if (step.press == "Correggi") {
            QVERIFY(ShowSummary());
            QTest::mouseClick(Form2->findChild<QPushButton*>("CorreggiBtn"), Qt::LeftButton);
        } else if (step.press == "Entries")
            TypeEntries(columns);
        else
            TypeEntries(step.typed);
}

} // namespace

Q_DECLARE_METATYPE(Steps)

void TestPrintSlipCups::initTestCase() {
    // Before the first print: Qt's print support reads the server's settings then.
    QVERIFY(server_.start());
}

void TestPrintSlipCups::cleanupTestCase() {
    WindowTest::cleanupTestCase();
    server_.stop();
}

void TestPrintSlipCups::printsTheComputedSlipWhereTheAlignmentPutsIt() {
    QVERIFY(WriteBytes(testFile("Allinea.ini"), ShippedAlignment));
    MessageRecorder recorder;
    QVERIFY(FillComputeAndOpenSummary());

    // Paper at the right, the slip 4 units lower and 2 units further left than the default.
    QTest::mouseClick(Radio("RBTND"), Qt::LeftButton);
    QTest::mouseClick(Arrow("UpDown1", "up"), Qt::LeftButton);
    QTest::mouseClick(Arrow("UpDown1", "up"), Qt::LeftButton);
    QTest::mouseClick(Arrow("UpDown2", "down"), Qt::LeftButton);
    QCOMPARE(SummaryEdit("Edit1")->text(), QString("30"));
    QCOMPARE(SummaryEdit("Edit2")->text(), QString("24"));

    const QString job = server_.jobFile();
    QFile::remove(job);
    QElapsedTimer clock;
    clock.start();
    PressStampa();
    // The job is followed only until it completes: a healthy print is not held up.
    QVERIFY2(clock.elapsed() < 1500, qPrintable(QString::number(clock.elapsed())));
    QVERIFY2(recorder.texts().isEmpty(), qPrintable(recorder.texts().join(" | ")));
    QVERIFY2(WaitForJobFile(job), "the print job did not reach the queue's file");

    // The texts copied from the computation, each at the place of the right paper position.
    QCOMPARE(ReportText(QRCCNR1), *SamplePayer.accountNumber);
    QCOMPARE(ReportText(QRCODFISC11), *SamplePayer.taxCode);
    QCOMPARE(ReportText(QRIMPLETT11), Label("LabLett")->text());
    QVERIFY(ReportText(QRIMPLETT11).startsWith('#'));
    QCOMPARE(ReportText(QRDETRAZ1), QString("103,29"));
    QCOMPARE(ReportText(QRDETRAZ11), QString("10329"));
    QCOMPARE(ReportText(QRINTEST1), *SamplePayer.holderLine1 + ' ' + *SamplePayer.holderLine2);
    QCOMPARE(QRFM->QREP.Label(QRCCNR1).top, 30 - 10 + 406 + 24);
    QCOMPARE(QRFM->QREP.Label(QRCCNR1).left, 24 - 10 + 112);
    QCOMPARE(QRFM->QREP.Label(QRDETRAZ1).top, 30 - 10 + 406 + 304);
    QCOMPARE(QRFM->QREP.Label(QRCENT11).left, 24 - 10 + 1066);

    // One landscape A4 page with the 31 texts where the labels are, and nothing else.
    const QStringList faults = CheckPrintedPage(job, QRFM->QREP);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));

    KeepPrintedPage(job, "printed-from-window.pdf");

    QVERIFY(Form2->isVisible());
}

// The queue exists but rejects jobs: nothing reaches it, and instead of silence the user is
// asked whether to keep the page as a PDF. Once it accepts again the same press prints.
void TestPrintSlipCups::aQueueRejectingJobsOffersThePdf() {
    QVERIFY(WriteBytes(testFile("Allinea.ini"), ShippedAlignment));
    MessageRecorder recorder;
    recorder.answers = {MessageAnswer::No};
    QVERIFY(FillComputeAndOpenSummary());

    const auto accept = qScopeGuard([this] { server_.setAcceptingJobs(true); });
    QVERIFY(server_.setAcceptingJobs(false));
    const QString job = server_.jobFile();
    QFile::remove(job);
    PressStampa();
    QCOMPARE(recorder.shown(),
             QStringList{QString::fromUtf8(
                 "Question Quotario: La stampante \"Quotario\" non ha accettato la stampa: il "
                 "bollettino non è stato stampato.\r"
                 "Vuoi salvarlo come file PDF, da stampare in seguito?")});
    QVERIFY2(server_.queueIsEmpty(), "a job waits in the queue");
    QVERIFY(!QFile::exists(job));

    QVERIFY(server_.setAcceptingJobs(true));
    PressStampa();
    QCOMPARE(recorder.messages.size(), 1);
    QVERIFY2(WaitForJobFile(job), "the print job did not reach the queue's file");
    QVERIFY(Form2->isVisible());
}

enum class PrintFault { ServerStopped, DeviceUnopenable };
Q_DECLARE_METATYPE(PrintFault)

void TestPrintSlipCups::aPrintThatFailsOffersThePdf_data() {
    QTest::addColumn<PrintFault>("fault");
    QTest::addColumn<QString>("message");
    QTest::newRow("server stopped with SIGSTOP")
        << PrintFault::ServerStopped
        << QString::fromUtf8("Il server di stampa non risponde: il bollettino non è stato "
                             "stampato.\rVuoi salvarlo come file PDF, da stampare in seguito?");
    QTest::newRow("device that cannot be opened")
        << PrintFault::DeviceUnopenable
        << QString::fromUtf8("La stampante \"Quotario\" non ha stampato il bollettino.\r"
                             "Vuoi salvarlo come file PDF, da stampare in seguito?");
}

// A server that does not answer holds the window a few seconds at most, a printer that fails
// not at all; then the program says what went wrong and offers the PDF, and nothing comes out
// later. Once the fault is gone the same press prints.
void TestPrintSlipCups::aPrintThatFailsOffersThePdf() {
    QFETCH(PrintFault, fault);
    QFETCH(QString, message);
    QVERIFY(WriteBytes(testFile("Allinea.ini"), ShippedAlignment));
    MessageRecorder recorder;
    recorder.answers = {MessageAnswer::No};
    QVERIFY(FillComputeAndOpenSummary());

    const bool stopped = fault == PrintFault::ServerStopped;
    const auto mend = qScopeGuard([this, stopped] {
        stopped ? server_.setAnswering(true) : server_.setDeviceOpenable(true);
    });
    QVERIFY(stopped ? server_.setAnswering(false) : server_.setDeviceOpenable(false));
    const QString job = server_.jobFile();
    QFile::remove(job);
    QElapsedTimer clock;
    clock.start();
    PressStampa();
    QVERIFY2(clock.elapsed() < 6000, qPrintable(QString::number(clock.elapsed())));
    QTRY_COMPARE_WITH_TIMEOUT(ReportBodies(recorder.texts()), QStringList{message}, 15000);
    QVERIFY(Form2->isVisible());

    QVERIFY(stopped ? server_.setAnswering(true) : server_.setDeviceOpenable(true));
    QVERIFY2(server_.queueIsEmpty(), "the job that did not print waits in the queue");
    PressStampa();
    QCOMPARE(recorder.messages.size(), 1);
    QVERIFY2(WaitForJobFile(job), "the print job did not reach the queue's file");
}

void TestPrintSlipCups::onlyTheAmountOfTheEntriesReachesPaper_data() {
    QTest::addColumn<MainColumnTexts>("main");
    QTest::addColumn<OtherColumnTexts>("other");
    QTest::addColumn<Steps>("steps");
    QTest::addColumn<QString>("printed"); // euros and cents on the slip; empty: refused
    const MainColumnTexts main = {
        .income = "750", .revaluation = "5", .rate = "5", .deduction = "103,29"};
    const OtherColumnTexts other = {.income = "1000", .revaluation = "5", .rate = "7"};
    const Step calcola = {"Calcola"};
    AddRow("computed and shown", main, other, Steps{calcola}, "512,73");
    AddRow("recomputed after a change", main, other,
           Steps{calcola, {.typed = {{"ALIQ1", "7"}}}, calcola}, "591,48");
    AddRow("another payer after Correggi, entries unchanged", main, other,
           Steps{calcola, {"Correggi"}, {.typed = EntriesOf(OtherPayer)}}, "512,73");
    AddRow("another taxpayer typed after Reset tot.", main, other,
           Steps{calcola,
                 {"Reset tot."},
                 {.typed = EntriesOf(OtherPayer)},
                 {.typed = {{"REND1", "500"}, {"ALIQ1", "6"}}}},
           "");
    AddRow("rate changed without Calcola", main, other, Steps{calcola, {.typed = {{"ALIQ1", "6"}}}},
           "");
    AddRow("entries typed again after Reset without Calcola", main, other,
           Steps{calcola, {"Reset"}, {"Entries"}}, "");
    AddRow("stopped at the months", main, other,
           Steps{calcola, {.typed = {{"MESI1", "13"}}}, calcola}, "");
    AddRow("the error handler's reset", main, other,
           Steps{calcola, {.typed = {{"REND1", "1,,5"}}}, calcola}, "");
    AddRow("zero-or-negative warning",
           MainColumnTexts{.income = "100", .rate = "4", .deduction = "103,2"},
           OtherColumnTexts{.income = "0", .rate = "0"}, Steps{calcola}, "");
    AddRow("deduction beyond the main residence's tax",
           MainColumnTexts{.income = "150", .revaluation = "5", .rate = "5", .deduction = "103,29"},
           other, Steps{calcola}, "367,50");
}

// The slip carries only the amount of a complete computation of the entries the main window
// holds now; otherwise every print says so and nothing reaches the printer.
void TestPrintSlipCups::onlyTheAmountOfTheEntriesReachesPaper() {
    QFETCH(MainColumnTexts, main);
    QFETCH(OtherColumnTexts, other);
    QFETCH(Steps, steps);
    QFETCH(QString, printed);
    QVERIFY(WriteBytes(testFile("Allinea.ini"), ShippedAlignment));
    TypeEntries(EntriesOf(SamplePayer));
    const EntryTexts columns = EntriesOf(main, other);
    TypeEntries(columns);
    MessageRecorder recorder;
    RunSteps(steps, columns);
    QVERIFY(ShowSummary());
    const int before = int(recorder.messages.size());
    const QString job = server_.jobFile();
    QFile::remove(job);
    PressStampa();
    const QStringList shown = recorder.shown().mid(before);
    if (printed.isEmpty()) {
        QCOMPARE(shown, QStringList{"Plain Quotario: " + StaleAmounts});
        QVERIFY(PrivateCupsd::queueIsEmpty());
        QVERIFY(!QFile::exists(job));
        QCOMPARE(ReportText(QRIMP1), QString::fromStdString(SlipReport().Label(QRIMP1).text));
        return;
    }
    QVERIFY2(shown.isEmpty(), qPrintable(shown.join(" | ")));
    QVERIFY2(WaitForJobFile(job), "the print job did not reach the queue's file");
    QCOMPARE(ReportText(QRIMP1) + "," + ReportText(QRCENT1), printed);
    QCOMPARE(ReportText(QRIMPLETT1), Label("LabLett")->text());
    QCOMPARE(ReportText(QRABIT1), Label("TOT1")->text());
    QCOMPARE(ReportText(QRNOME1), Box("EdNome")->text());
}

QUOTARIO_GUI_TEST_MAIN(TestPrintSlipCups)
#include "tst_printslipcups.moc"
