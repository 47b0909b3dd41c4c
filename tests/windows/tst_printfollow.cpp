// A print on a printer that behaves like a real one: busy for seconds, failing late, out of
// reach, or on a server that stops answering once the page is handed over. The window is back
// at once every time, the job is followed for as long as it takes, and a print that does not
// come out is always told, once, with the PDF offer. Each case runs as a test of its own
// (tests/windows/CMakeLists.txt), in parallel, each on a private print server of its own.
#include "frame/SlipPdfFile.h"
#include "support/MessageRecorder.h"
#include "support/PrintedPage.h"
#include "support/PrivateCupsd.h"
#include "support/StandIn.h"
#include "support/TestMain.h"
#include "support/WindowTest.h"

#include <QDir>
#include <QElapsedTimer>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>

class TestPrintFollow : public WindowTest {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();

    void aSlowPrinterLeavesTheWindowFreeAndPrints();
    void aPrinterThatGivesUpLaterIsTold();
    void anUnreachablePrinterIsToldAndItsJobWithdrawn();
    void aServerThatStopsAnsweringAfterTheHandOverIsTold();
    void endingWithAJobOnAnUnreachablePrinterAsksAndWithdrawsIt();

private:
    PrivateCupsd server_;
};

namespace {

const QString Offer = QString::fromUtf8("Vuoi salvarlo come file PDF, da stampare in seguito?");

// The time from the press of "Stampa il bollettino" to the event loop's next turn: how long
// the window does not answer; -1 when the loop did not turn within 10 s.
qint64 PressStampaUntilNextTurn() {
    QElapsedTimer clock;
    clock.start();
    PressStampa();
    qint64 turn = -1;
    QTimer::singleShot(
        0, [&turn, &clock] { turn = clock.elapsed(); });
    return QTest::qWaitFor([&turn] { return turn >= 0; }, 10000) ? turn : -1;
}

// The window is back well before the printer has done; before the job was followed on the
// window's own thread, it froze for 3.1 s.
constexpr qint64 WindowBackMs = 1500;

QStringList PrintedJobs(const QString& folder) {
    return QDir(folder).entryList({"job-*.pdf"}, QDir::Files, QDir::Name);
}

} // namespace

void TestPrintFollow::initTestCase() {
    QVERIFY(server_.start());
}

void TestPrintFollow::cleanupTestCase() {
    WindowTest::cleanupTestCase();
    server_.stop();
}

// A printer that takes 4 s a page, pressed twice in a row: the window answers at once each
// time, both pages come out, and nothing is said.
void TestPrintFollow::aSlowPrinterLeavesTheWindowFreeAndPrints() {
    QVERIFY(server_.addDefaultQueue("Lenta", server_.sleepingDevice(4)));
    MessageRecorder recorder;
    recorder.answers = {MessageAnswer::No, MessageAnswer::No};
    QVERIFY(FillComputeAndShowSummary());
    for (int press = 0; press < 2; ++press) {
        const qint64 held = PressStampaUntilNextTurn();
        QVERIFY2(held >= 0 && held < WindowBackMs, qPrintable(QString::number(held)));
    }
    QTRY_COMPARE_WITH_TIMEOUT(PrintedJobs(server_.sleepingFolder()).size(), 2, 20000);
    QTRY_VERIFY(server_.queueIsEmpty());
    QTest::qWait(500); // the follow-up's last look
    QVERIFY2(recorder.texts().isEmpty(), qPrintable(recorder.texts().join(" | ")));
}

// A device that gives up only after 4 s, pressed twice: the user is told of each print once, in
// the main window the user has gone back to meanwhile, and both jobs are withdrawn, so that they
// cannot come out later. The PDF kept is the page of the print it was offered for.
void TestPrintFollow::aPrinterThatGivesUpLaterIsTold() {
    QVERIFY(
        server_.addDefaultQueue("Lenta", server_.sleepingDevice(4, PrivateCupsd::Sleeping::Fails)));
    const QString kept = testFile("kept.pdf");
    const StandIn<PdfFileChooser> chooser(SetPdfFileChooser,
                                          [&kept](QWidget*, const QString&) { return kept; });
    MessageRecorder recorder;
    recorder.answers = {MessageAnswer::Yes, MessageAnswer::No};
    QVERIFY(FillComputeAndShowSummary());
    for (int press = 0; press < 2; ++press) {
        const qint64 held = PressStampaUntilNextTurn();
        QVERIFY2(held >= 0 && held < WindowBackMs, qPrintable(QString::number(held)));
    }
    const SlipReport page = QRFM->QREP;
    QTest::mouseClick(Form2->findChild<QPushButton*>("CorreggiBtn"), Qt::LeftButton);
    QVERIFY(Form1->isVisible() && Form2->isHidden());
    QVERIFY(recorder.messages.isEmpty());
    const QString told =
        QString::fromUtf8("La stampante \"Lenta\" non ha stampato il bollettino.\r") + Offer;
    QTRY_COMPARE_WITH_TIMEOUT(ReportBodies(recorder.texts()), QStringList({told, told}), 15000);
    // Each box says which print it speaks of.
    const QStringList names = ReportNames(recorder.texts());
    QVERIFY2(names[0].endsWith(", stampante \"Lenta\")") && names[0] != names[1],
             qPrintable(names.join(" | ")));
    QVERIFY2(server_.queueIsEmpty(), "the job that did not print waits in the queue");
    const QStringList faults = CheckPrintedPage(kept, page);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
    QTest::qWait(500);
    QCOMPARE(recorder.messages.size(), 2);
    QVERIFY(PrintedJobs(server_.sleepingFolder()).isEmpty());
}

// socket://127.0.0.1:9: the print system retries for ever and says only that the printer may
// not exist. The user hears of it within about 30 s, and the job is withdrawn whatever the
// answer.
void TestPrintFollow::anUnreachablePrinterIsToldAndItsJobWithdrawn() {
    QVERIFY(server_.addDefaultQueue("Lontana", "socket://127.0.0.1:9"));
    MessageRecorder recorder;
    recorder.answers = {MessageAnswer::No};
    QVERIFY(FillComputeAndShowSummary());
    QElapsedTimer clock;
    clock.start();
    const qint64 held = PressStampaUntilNextTurn();
    QVERIFY2(held >= 0 && held < WindowBackMs, qPrintable(QString::number(held)));
    QTRY_COMPARE_WITH_TIMEOUT(recorder.messages.size(), 1, 30000);
    QVERIFY2(clock.elapsed() <= 30000, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(ReportBodies(recorder.texts()),
             QStringList{QString::fromUtf8("La stampante \"Lontana\" non è raggiungibile: il "
                                           "bollettino non è stato stampato e la stampa viene "
                                           "ritirata.\r") +
                         Offer});
    QTRY_VERIFY2(server_.queueIsEmpty(), "the job still waits for the printer");
    QCOMPARE(recorder.messages.size(), 1);
}

// SIGSTOP a second after the hand-over, while the slow printer is at work: the print cannot be
// confirmed, and the user is told so rather than nothing.
void TestPrintFollow::aServerThatStopsAnsweringAfterTheHandOverIsTold() {
    QVERIFY(server_.addDefaultQueue("Lenta", server_.sleepingDevice(4)));
    MessageRecorder recorder;
    recorder.answers = {MessageAnswer::No};
    QVERIFY(FillComputeAndShowSummary());
    const qint64 held = PressStampaUntilNextTurn();
    QVERIFY2(held >= 0 && held < WindowBackMs, qPrintable(QString::number(held)));
    QTest::qWait(1000);
    const auto answerAgain = qScopeGuard([this] { server_.setAnswering(true); });
    QVERIFY(server_.setAnswering(false));
    QTRY_COMPARE_WITH_TIMEOUT(
        ReportBodies(recorder.texts()),
        QStringList{QString::fromUtf8("Il server di stampa non risponde più: non si sa se il "
                                      "bollettino è stato stampato.\r") +
                    Offer},
        20000);
}

// "Chiudi" 3 s after the print, before the print server has found the printer out of reach (it
// takes about 4 s): the end waits for that news, the user is asked, chooses to withdraw the
// print, the windows go at once, and the program ends within 5 s with the queue empty, so that
// nothing comes out when the printer comes back.
void TestPrintFollow::endingWithAJobOnAnUnreachablePrinterAsksAndWithdrawsIt() {
    QVERIFY(server_.addDefaultQueue("Lontana", "socket://127.0.0.1:9"));
    MessageRecorder recorder;
    recorder.answers = {MessageAnswer::Yes};
    QVERIFY(FillComputeAndShowSummary());
    PressStampa();
    QTest::qWait(3000);
    QVERIFY2(!server_.queueIsEmpty(), "the job did not wait for the printer");
    const ChiudiOutcome end = PressChiudiAndRunTheLoop(10000);
    QCOMPARE(end.exitCode, 0);
    QVERIFY2(end.elapsedMs < 5000, qPrintable(QString::number(end.elapsedMs)));
    QVERIFY(end.windowsGoneAtOnce);
    QCOMPARE(recorder.messages.size(), 1);
    QCOMPARE(recorder.messages[0].kind, MessageKind::QuestionWithCancel);
    QVERIFY(recorder.messages[0].text.contains(QString::fromUtf8("stampante \"Lontana\"")));
    QVERIFY2(server_.queueIsEmpty(), "the job still waits for the printer");
}

QUOTARIO_GUI_TEST_MAIN(TestPrintFollow)
#include "tst_printfollow.moc"
