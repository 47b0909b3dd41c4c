// The CUPS print system against a private print server that freezes (SIGSTOP: it keeps its
// socket and answers nothing): every call gives up within its bound and says that no answer
// came, whichever request of a print the server freezes after. And a job on a printer that
// cannot be reached, withdrawn at the program's end.
#include "page/ConnectionCutter.h"
#include "page/PrintJobFollower.h"
#include "page/PrintSystem.h"
#include "page/SlipPrinting.h"
#include "rules/SlipCopy.h"
#include "support/PrivateCupsd.h"
#include "support/SampleSlip.h"

#include <QElapsedTimer>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <sys/un.h>
#include <unistd.h>

#include <thread>

namespace {

enum class Call {
    ServerAnswers,
    QueueAcceptsJobs,
    HandOverPage,
    FindJob,
    LookAtJob,
    CancelJob,
    LookAtPrinter
};

// One request on a connection of our own: its wait, and the second the library adds.
constexpr qint64 RequestBoundMs = 3500;
// A whole print: the look-up and the mark on connections of our own, the queue's check, then
// Qt's own requests, which give up once the hand-over has taken 8 s, and whose connections are
// cut at 12 s.
constexpr qint64 PrintBoundMs = 20000;

// The sample slip printed on a thread of its own, as the program prints it: the library keeps
// a connection to the server per thread, and one that earlier freezes left behind is not the
// program's.
SlipPrintResult PrintSample() {
    SlipReport report;
    CopySlipToReport(SampleSlip(), report);
    SlipPrintResult printed;
    std::thread([&report, &printed] { printed = PrintSlipOnSystemPrinter(report); }).join();
    return printed;
}

// What the call says, in words a failure message can show; `expected` is what it says when
// no answer came.
QString AskFrozen(PrintSystem& system, Call call, const PrintJobMark& mark, int job) {
    switch (call) {
    case Call::ServerAnswers:
        return system.ServerAnswers() ? "answers" : "no answer";
    case Call::QueueAcceptsJobs:
        // A queue that cannot be described counts as accepting: the hand-over then tells.
        return system.QueueAcceptsJobs(mark.queue) ? "no answer" : "refuses";
    case Call::HandOverPage: {
        std::optional<PrintJobMark> handed;
        const PageHandOverResult result = system.HandOverPage(
            QString(), mark.documentName, [](QPagedPaintDevice&) { return true; }, handed);
        return result.outcome == PageHandOver::NoAnswer ? "no answer" : "handed over or refused";
    }
    case Call::FindJob:
        return system.FindJob(mark, {}) ? "found" : "no answer";
    case Call::LookAtJob:
        return system.LookAtJob(mark.queue, job) == PrintJobState::NoAnswer ? "no answer"
                                                                            : "a state";
    case Call::CancelJob:
        return system.CancelJob(mark.queue, job) == JobCancel::NoAnswer ? "no answer" : "an answer";
    case Call::LookAtPrinter:
        return system.LookAtPrinter(mark.queue) == PrinterCondition::NoAnswer ? "no answer"
                                                                              : "a condition";
    }
    return QString();
}

} // namespace

Q_DECLARE_METATYPE(Call)

class TestPrintSystemCups : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void cleanup();
    void everyCallGivesUpOnAFrozenServer_data();
    void everyCallGivesUpOnAFrozenServer();
    void aPrintEndsWithinItsBoundWhereverTheServerFreezes_data();
    void aPrintEndsWithinItsBoundWhereverTheServerFreezes();
    // Last: it makes another queue the default.
    void theProgramsEndWithdrawsAJobTheUnreachablePrinterHasNotTaken();
    void aWaitOnTheServerIsCutAndNoOtherConnection();

private:
    PrivateCupsd server_;
};

void TestPrintSystemCups::initTestCase() {
    QVERIFY(server_.start());
}

void TestPrintSystemCups::cleanupTestCase() {
    server_.stop();
}

void TestPrintSystemCups::cleanup() {
    QVERIFY(server_.setAnswering(true));
    QVERIFY(server_.cancelAllJobs());
}

void TestPrintSystemCups::everyCallGivesUpOnAFrozenServer_data() {
    QTest::addColumn<Call>("call");
    QTest::newRow("does the server answer") << Call::ServerAnswers;
    QTest::newRow("does the queue take jobs") << Call::QueueAcceptsJobs;
    QTest::newRow("hand the page over") << Call::HandOverPage;
    QTest::newRow("which job is ours") << Call::FindJob;
    QTest::newRow("how is the job doing") << Call::LookAtJob;
    QTest::newRow("withdraw the job") << Call::CancelJob;
    QTest::newRow("what does the printer say") << Call::LookAtPrinter;
}

// A job of ours on the queue, then the server freezes after answering a first question.
void TestPrintSystemCups::everyCallGivesUpOnAFrozenServer() {
    QFETCH(Call, call);
    const SlipPrintResult printed = PrintSample();
    QCOMPARE(printed.status, SlipPrintStatus::Printed);
    QVERIFY(printed.mark);
    const std::shared_ptr<PrintSystem> system = CurrentPrintSystem();
    const std::optional<int> job = system->FindJob(*printed.mark, {});
    QVERIFY(job && *job > printed.mark->newestJobBefore);

    QVERIFY(system->ServerAnswers());
    QVERIFY(server_.setAnswering(false));
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(AskFrozen(*system, call, *printed.mark, *job), QString("no answer"));
    QVERIFY2(clock.elapsed() <= RequestBoundMs, qPrintable(QString::number(clock.elapsed())));
}

void TestPrintSystemCups::aPrintEndsWithinItsBoundWhereverTheServerFreezes_data() {
    QTest::addColumn<int>("requests");
    // A print asks the server some fifteen times (our questions, Qt's look-up of the printer
    // and its page description, the job and its document); the freeze comes after each of its
    // requests in turn.
    for (int requests = 1; requests <= 16; ++requests)
        QTest::addRow("after %d", requests) << requests;
}

// Whatever the print says then, it says it in time; a print that says it was handed over did
// reach the queue.
void TestPrintSystemCups::aPrintEndsWithinItsBoundWhereverTheServerFreezes() {
    QFETCH(int, requests);
    QVERIFY(server_.freezeAfterRequests(requests));
    QElapsedTimer clock;
    clock.start();
    const SlipPrintResult printed = PrintSample();
    QVERIFY2(clock.elapsed() <= PrintBoundMs, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(server_.setAnswering(true));
    if (printed.status == SlipPrintStatus::Printed) {
        QVERIFY(printed.mark);
        QVERIFY(CurrentPrintSystem()->FindJob(*printed.mark, {}).value_or(0) > 0);
    } else {
        QCOMPARE(printed.status, SlipPrintStatus::ServerNotAnswering);
    }
}

// socket://127.0.0.1:9: the server keeps the job and retries for ever. Withdrawn at the end, it
// leaves the queue, confirmed.
void TestPrintSystemCups::theProgramsEndWithdrawsAJobTheUnreachablePrinterHasNotTaken() {
    QVERIFY(server_.addDefaultQueue("Lontana", "socket://127.0.0.1:9"));
    const SlipPrintResult printed = PrintSample();
    QCOMPARE(printed.status, SlipPrintStatus::Printed);
    QCOMPARE(printed.target, QString("Lontana"));
    PrintJobFollower follower([](int, PrintJobNews) {});
    const std::optional<int> job = follower.Follow(*printed.mark);
    QVERIFY(job);
    QTRY_COMPARE_WITH_TIMEOUT(follower.JobsNotTaken(), std::vector<int>{*job}, 10000);
    QVERIFY(!server_.queueIsEmpty());
    QElapsedTimer clock;
    clock.start();
    QVERIFY(follower.WithdrawAndStop({*job}, std::chrono::seconds(4)));
    QVERIFY2(clock.elapsed() < 4000, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(server_.queueIsEmpty());
}

namespace {

// A connection to a server that listens and never answers, as a frozen one.
struct SilentServer {
    explicit SilentServer(const QString& path) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        qstrncpy(address.sun_path, QFile::encodeName(path).constData(), sizeof(address.sun_path));
        const auto* named = reinterpret_cast<const sockaddr*>(&address);
        listening = socket(AF_UNIX, SOCK_STREAM, 0);
        client = socket(AF_UNIX, SOCK_STREAM, 0);
        connected = bind(listening, named, sizeof(address)) == 0 && listen(listening, 4) == 0 &&
                    ::connect(client, named, sizeof(address)) == 0;
    }
    ~SilentServer() {
        close(client);
        close(listening);
    }
    int listening = -1;
    int client = -1;
    bool connected = false;
};

} // namespace

// A read waiting on the server ends soon after the cut begins; a connection elsewhere stays.
void TestPrintSystemCups::aWaitOnTheServerIsCutAndNoOtherConnection() {
    QTemporaryDir folder;
    SilentServer server(folder.filePath("server.sock"));
    SilentServer other(folder.filePath("other.sock"));
    QVERIFY(server.connected && other.connected);
    PeerAddress address;
    QVERIFY(ReadPeerAddress(server.client, address));
    QElapsedTimer clock;
    clock.start();
    ssize_t read = -2;
    {
        const ConnectionCutter cutter(address, std::chrono::milliseconds(300));
        char byte = 0;
        read = recv(server.client, &byte, 1, 0);
    }
    QCOMPARE(read, ssize_t(0));
    QVERIFY2(clock.elapsed() >= 300 && clock.elapsed() < 1500,
             qPrintable(QString::number(clock.elapsed())));
    char byte = 0;
    QCOMPARE(recv(other.client, &byte, 1, MSG_DONTWAIT), ssize_t(-1));
    QCOMPARE(errno, EAGAIN);
}

QTEST_MAIN(TestPrintSystemCups)
#include "tst_printsystemcups.moc"
