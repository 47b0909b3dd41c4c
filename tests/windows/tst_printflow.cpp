// The print flow through the windows on a scripted print system, on the follow-up's intervals
// shortened twenty times: what the user is told of each print and when, one box at a time, a
// window that never waits on a frozen print system, and the program's end with a print that its
// printer has not taken.
#include "support/MessageRecorder.h"
#include "support/ScriptedPrintSystem.h"
#include "support/StandIn.h"
#include "support/TestMain.h"
#include "support/WindowTest.h"
#include "windows/SlipPrintFlow.h"

#ifndef _WIN32
#include "support/NoNewThreads.h"
#endif

#include <QElapsedTimer>
#include <QFileInfo>
#include <QTest>
#include <QTimer>

#include <optional>

Q_DECLARE_METATYPE(PrintScript)
Q_DECLARE_METATYPE(JobCancel)
Q_DECLARE_METATYPE(MessageAnswer)

using namespace std::chrono_literals;

class TestPrintFlow : public WindowTest {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void cleanupTestCase();

    void tellsWhatBecameOfAPrint_data();
    void tellsWhatBecameOfAPrint();
    void twoPrintsFailingTogetherAreToldOneAtATime();
    void aFrozenPrintSystemNeverHoldsTheWindow();
#ifndef _WIN32
    void aThreadThatCannotStartPrintsAndSaysSo();
#endif
    void theProgramsEndAsksAboutAPrintNotTaken_data();
    void theProgramsEndAsksAboutAPrintNotTaken();
    void closingTheMainWindowAsksToo();
    void theProgramsEndOnAFrozenPrintSystemTakesAFewSecondsAtMost();

private:
    // A window set made afresh on a scripted print system (the flow follows its jobs on the
    // print system in use when the window is made), the summary shown.
    bool StartOn(const PrintScriptSettings& settings);

    std::shared_ptr<ScriptedPrintSystem> system_;
    std::optional<StandIn<std::shared_ptr<PrintSystem>>> standIn_;
    PrintJobFollowTiming programTiming_ = PrintJobFollowTiming::Usual();
};

namespace {

// The program's intervals, each this many times shorter.
constexpr int Shortened = 20;
const PrintJobFollowTiming Usual = PrintJobFollowTiming::Usual();

int Ms(std::chrono::milliseconds interval) {
    return static_cast<int>(interval.count());
}

const QString Offer = QString::fromUtf8("Vuoi salvarlo come file PDF, da stampare in seguito?");

} // namespace

void TestPrintFlow::initTestCase() {
    PrintJobFollowTiming shortened = Usual;
    for (std::chrono::milliseconds* interval :
         {&shortened.lookEvery, &shortened.troubleAfter, &shortened.troubleGoneAfter,
          &shortened.noAnswerAfter, &shortened.takenAfter})
        *interval /= Shortened;
    programTiming_ = SlipPrintFlow::SetFollowTiming(shortened);
}

void TestPrintFlow::cleanup() {
    if (system_)
        system_->Release();
    standIn_.reset();
    WindowTest::cleanup();
}

void TestPrintFlow::cleanupTestCase() {
    WindowTest::cleanupTestCase();
    SlipPrintFlow::SetFollowTiming(programTiming_);
}

bool TestPrintFlow::StartOn(const PrintScriptSettings& settings) {
    system_ = std::make_shared<ScriptedPrintSystem>(settings);
    standIn_.emplace(SetPrintSystem, system_);
    if (!StartWindowSet())
        return false;
    Form2->SetAlignmentDirectory(QFileInfo(testFile("Allinea.ini")).absolutePath().toStdString());
    return FillComputeAndShowSummary();
}

void TestPrintFlow::tellsWhatBecameOfAPrint_data() {
    using S = PrintJobState;
    QTest::addColumn<PrintScript>("script");
    QTest::addColumn<JobCancel>("cancelAnswer");
    QTest::addColumn<QStringList>("told"); // each report without the print it names
    QTest::addColumn<int>("cancels");
    const auto lasting = [](std::chrono::milliseconds usual) { return usual / Shortened; };
    const QString unreachable = QString::fromUtf8(
        "La stampante \"Scripted\" non è raggiungibile: il bollettino non è stato stampato e la "
        "stampa viene ritirata.\r");
    QTest::newRow("printing, then printed")
        << PrintScript{{S::Waiting, lasting(3s)}, {S::Completed}} << JobCancel::Cancelled
        << QStringList() << 0;
    QTest::newRow("cancelled by the user") << PrintScript{{S::Waiting, lasting(1s)}, {S::Cancelled}}
                                           << JobCancel::Cancelled << QStringList() << 0;
    QTest::newRow("stopped by the print system")
        << PrintScript{{S::Waiting, lasting(1s)}, {S::Failed}} << JobCancel::Cancelled
        << QStringList{"La stampante \"Scripted\" non ha stampato il bollettino.\r" + Offer} << 1;
    QTest::newRow("unreachable for 10 s, withdrawn")
        << PrintScript{{S::Unreachable, lasting(60s)}} << JobCancel::Cancelled
        << QStringList{unreachable + Offer} << 1;
    QTest::newRow("unreachable, the withdrawal refused")
        << PrintScript{{S::Unreachable, lasting(60s)}} << JobCancel::Refused
        << QStringList{unreachable + Offer,
                       QString::fromUtf8("Non è stato possibile ritirare la stampa dalla stampante "
                                         "\"Scripted\": il bollettino potrebbe uscire quando la "
                                         "stampante torna disponibile.\rControllare la coda di "
                                         "stampa.")}
        << 1;
    QTest::newRow("no answer for 6 s")
        << PrintScript{{S::Waiting, lasting(1s)}, {S::NoAnswer}} << JobCancel::Cancelled
        << QStringList{QString::fromUtf8("Il server di stampa non risponde più: non si sa se il "
                                         "bollettino è stato stampato.\r") +
                       Offer}
        << 0;
    QTest::newRow("out of paper, then printed")
        << PrintScript{{S::Stalled, lasting(20s), PrinterCondition::PaperOut}, {S::Completed}}
        << JobCancel::Cancelled
        << QStringList{QString::fromUtf8(
               "La stampante \"Scripted\" è ferma (senza carta, in errore o in attesa di un "
               "intervento): il bollettino non è ancora stato stampato.\rLa stampa resta in coda "
               "e uscirà quando la stampante riprende.")}
        << 0;
}

// Each report comes once, names the print, and is followed by nothing else: the PDF offer is
// declined, and a withdrawal is a cancel the print system really received.
void TestPrintFlow::tellsWhatBecameOfAPrint() {
    QFETCH(PrintScript, script);
    QFETCH(JobCancel, cancelAnswer);
    QFETCH(QStringList, told);
    QFETCH(int, cancels);
    PrintScriptSettings settings;
    settings.scripts = {script};
    settings.cancelAnswer = cancelAnswer;
    MessageRecorder recorder;
    recorder.answers = {MessageAnswer::No, MessageAnswer::No};
    QVERIFY(StartOn(settings));
    PressStampa();
    const int settled = Ms(Usual.troubleAfter * 2 / Shortened + Usual.lookEvery);
    QTRY_COMPARE_WITH_TIMEOUT(ReportBodies(recorder.texts()), told, settled * 2);
    QTest::qWait(settled);
    QCOMPARE(ReportBodies(recorder.texts()), told);
    for (const QString& name : ReportNames(recorder.texts()))
        QVERIFY2(name.startsWith("n. 1 (ore ") && name.endsWith(", stampante \"Scripted\")"),
                 qPrintable(name));
    QCOMPARE(system_->CancelledJobs().size(), std::size_t(cancels));
}

// Two prints that fail at the same moment: the second box waits until the first is answered,
// and each names its own print.
void TestPrintFlow::twoPrintsFailingTogetherAreToldOneAtATime() {
    using S = PrintJobState;
    const auto failsAt = [](std::chrono::milliseconds from) {
        return PrintScript{{S::Waiting, from}, {S::Failed}};
    };
    PrintScriptSettings settings;
    // The second print is handed over later, so its job fails at the same time.
    settings.scripts = {failsAt(400ms), failsAt(300ms)};
    MessageRecorder recorder;
    recorder.answers = {MessageAnswer::No, MessageAnswer::No};
    int open = 0;
    int mostOpen = 0;
    recorder.whileShown = [&open, &mostOpen](const MessageRequest&) {
        mostOpen = std::max(mostOpen, ++open);
        QTest::qWait(300); // the other print's news arrives meanwhile
        --open;
    };
    QVERIFY(StartOn(settings));
    PressStampa();
    QTest::qWait(100);
    PressStampa();
    QTRY_COMPARE_WITH_TIMEOUT(recorder.messages.size(), 2, 3000);
    QCOMPARE(mostOpen, 1);
    const QStringList names = ReportNames(recorder.texts());
    QVERIFY2(names[0].startsWith("n. 1 ") && names[1].startsWith("n. 2 "),
             qPrintable(names.join(" | ")));
}

// Every call to the print system waits until the test releases it: the press gives the window
// back at once all the same, and what the print became is told once the hand-over ends, naming
// its print.
void TestPrintFlow::aFrozenPrintSystemNeverHoldsTheWindow() {
    PrintScriptSettings settings;
    settings.handOver = PageHandOver::NoPrinter;
    MessageRecorder recorder;
    recorder.answers = {MessageAnswer::No};
    QVERIFY(StartOn(settings));
    system_->Freeze();
    QElapsedTimer clock;
    clock.start();
    QTest::mouseClick(Find<QToolButton>(Form2, "StampaBtn1"), Qt::LeftButton);
    const qint64 held = clock.elapsed();
    QVERIFY2(held < 500, qPrintable(QString::number(held)));
    QTRY_VERIFY(system_->FrozenCalls() > 0);
    QTest::qWait(Ms(SlipPrintFlow::NamedAfter));
    QVERIFY(recorder.messages.isEmpty());
    system_->Release();
    QTRY_COMPARE(ReportBodies(recorder.texts()), QStringList{NoPrinterMessage});
    QVERIFY(ReportNames(recorder.texts())[0].startsWith("n. 1 (ore "));
}

#ifndef _WIN32
// No thread can start: the page is handed over on the window's own thread all the same, and the
// user hears that it is not followed, in a plain box rather than the error handler's.
void TestPrintFlow::aThreadThatCannotStartPrintsAndSaysSo() {
    MessageRecorder recorder;
    QVERIFY(StartOn(PrintScriptSettings()));
    {
        const NoNewThreads none;
        QVERIFY(none.Limited());
        PressStampa();
    }
    QCOMPARE(system_->Calls(ScriptedPrintSystem::Call::HandOverPage), 1);
    QCOMPARE(recorder.shown(),
             QStringList{QString::fromUtf8(
                 "Plain Quotario: Il bollettino è stato mandato alla stampante \"Scripted\", ma il "
                 "programma non può seguire la stampa.\rControllare che il bollettino sia stato "
                 "stampato.")});
}
#endif

void TestPrintFlow::theProgramsEndAsksAboutAPrintNotTaken_data() {
    using S = PrintJobState;
    QTest::addColumn<PrintScript>("script");
    QTest::addColumn<int>("chiudiAfterMs");
    QTest::addColumn<MessageAnswer>("answer");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("ends");
    QTest::addColumn<int>("cancels");
    QTest::addColumn<JobCancel>("cancelAnswer");
    const PrintScript unreachable{{S::Unreachable}};
    // After a few looks, or at once: the print system has not said anything of a new job yet.
    const int looked = Ms(Usual.lookEvery * 8 / Shortened) + 100;
    const auto beforeTaken = Usual.takenAfter / Shortened / 2;
    QTest::newRow("printing normally: no question")
        << PrintScript{{S::Waiting}} << looked << MessageAnswer::Yes << false << true << 0
        << JobCancel::Cancelled;
    QTest::newRow("withdraw it and end")
        << unreachable << looked << MessageAnswer::Yes << true << true << 1 << JobCancel::Cancelled;
    QTest::newRow("end and leave it queued")
        << unreachable << looked << MessageAnswer::No << true << true << 0 << JobCancel::Cancelled;
    QTest::newRow("server not answering, withdrawn")
        << PrintScript{{S::Waiting, 50ms}, {S::NoAnswer}} << looked << MessageAnswer::Yes << true
        << true << 1 << JobCancel::Cancelled;
    // Then the follow-up goes on: the printer out of reach is told, and withdrawn at the No.
    QTest::newRow("wait for it") << unreachable << looked << MessageAnswer::Cancel << true << false
                                 << 1 << JobCancel::Cancelled;
    // The windows are gone, but the user learns that the page may still come out.
    QTest::newRow("withdrawal refused at the end")
        << unreachable << looked << MessageAnswer::Yes << true << true << 1 << JobCancel::Refused;
    // The end waits for the first news of a print just made.
    QTest::newRow("at once, printed meanwhile: no question")
        << PrintScript{{S::Waiting, beforeTaken}, {S::Completed}} << 0 << MessageAnswer::Yes
        << false << true << 0 << JobCancel::Cancelled;
    QTest::newRow("at once, found out of reach meanwhile")
        << PrintScript{{S::Waiting, beforeTaken}, {S::Unreachable}} << 0 << MessageAnswer::Yes
        << true << true << 1 << JobCancel::Cancelled;
}

// "Chiudi" while the print's job is followed. The program's own loop runs until it ends; one
// still running after a while has not ended.
void TestPrintFlow::theProgramsEndAsksAboutAPrintNotTaken() {
    QFETCH(PrintScript, script);
    QFETCH(int, chiudiAfterMs);
    QFETCH(MessageAnswer, answer);
    QFETCH(bool, asked);
    QFETCH(bool, ends);
    QFETCH(int, cancels);
    QFETCH(JobCancel, cancelAnswer);
    PrintScriptSettings settings;
    settings.scripts = {script};
    settings.cancelAnswer = cancelAnswer;
    MessageRecorder recorder;
    recorder.answers = {answer, MessageAnswer::No};
    QVERIFY(StartOn(settings));
    PressStampa();
    QTest::qWait(chiudiAfterMs);
    const ChiudiOutcome end = PressChiudiAndRunTheLoop(2000);
    QCOMPARE(end.exitCode, ends ? 0 : 99);
    if (ends)
        QVERIFY2(end.elapsedMs < 5000, qPrintable(QString::number(end.elapsedMs)));
    QCOMPARE(recorder.messages.isEmpty(), !asked);
    if (asked) {
        QCOMPARE(recorder.messages[0].kind, MessageKind::QuestionWithCancel);
        QVERIFY(recorder.messages[0].text.contains("Stampa n. 1 (ore "));
    }
    QCOMPARE(system_->CancelledJobs().size(), std::size_t(cancels));
    if (asked)
        QCOMPARE(recorder.messages.last().text.startsWith("Non è stato possibile ritirare"),
                 cancelAnswer != JobCancel::Cancelled);
    // Withdrawn, the windows go before the cancel; otherwise nothing is closed before the end.
    QCOMPARE(end.windowsGoneAtOnce, asked && answer == MessageAnswer::Yes);
}

// Back in the main window, its close box ends the program the same way: asked, and "Annulla"
// keeps the window open.
void TestPrintFlow::closingTheMainWindowAsksToo() {
    PrintScriptSettings settings;
    settings.scripts = {{{PrintJobState::Unreachable}}};
    MessageRecorder recorder;
    recorder.answers = {MessageAnswer::Cancel, MessageAnswer::No};
    QVERIFY(StartOn(settings));
    PressStampa();
    QTest::qWait(Ms(Usual.lookEvery * 8 / Shortened) + 100);
    QTest::mouseClick(Find<QPushButton>(Form2, "CorreggiBtn"), Qt::LeftButton);
    QVERIFY(Form1->isVisible());
    QVERIFY(!Form1->close());
    QVERIFY(Form1->isVisible());
    QVERIFY(!recorder.messages.isEmpty());
    QCOMPARE(recorder.messages[0].kind, MessageKind::QuestionWithCancel);
}

// "Chiudi" while the page is still on its way to a print system that answers nothing: the print
// is asked about, the windows go at once, and the program ends within 5 s all the same.
void TestPrintFlow::theProgramsEndOnAFrozenPrintSystemTakesAFewSecondsAtMost() {
    MessageRecorder recorder;
    recorder.answers = {MessageAnswer::Yes};
    QVERIFY(StartOn(PrintScriptSettings()));
    system_->Freeze();
    PressStampa();
    const ChiudiOutcome end = PressChiudiAndRunTheLoop(8000);
    QCOMPARE(end.exitCode, 0);
    QVERIFY2(end.elapsedMs < 5000, qPrintable(QString::number(end.elapsedMs)));
    QVERIFY(end.windowsGoneAtOnce);
    // Asked, then told that the page on its way may still come out.
    QCOMPARE(recorder.messages.size(), 2);
    QVERIFY(recorder.messages[0].text.contains("Stampa n. 1 (ore "));
    QVERIFY(recorder.messages[1].text.startsWith("Non è stato possibile ritirare"));
}

QUOTARIO_GUI_TEST_MAIN(TestPrintFlow)
#include "tst_printflow.moc"
