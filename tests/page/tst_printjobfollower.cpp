// The follower of print jobs against a print system that plays a script: what it tells of each
// print, that a withdrawal cancels at once and its answer is told, what counts as not taken at
// the program's end, and that nothing of it ever waits on a frozen server. The follower runs
// on its own intervals shortened alike, so that the table runs in seconds.
#include "page/PrintJobFollower.h"
#ifndef _WIN32
#include "support/NoNewThreads.h"
#endif
#include "support/ScriptedPrintSystem.h"
#include "support/StandIn.h"

#include <QElapsedTimer>
#include <QScopeGuard>
#include <QTest>

#include <algorithm>

using namespace std::chrono_literals;
using Script = ScriptedPrintSystem::Script;
using Step = ScriptedPrintSystem::Step;
using Settings = ScriptedPrintSystem::Settings;

Q_DECLARE_METATYPE(Script)
Q_DECLARE_METATYPE(PrintJobNews)
Q_DECLARE_METATYPE(JobCancel)

namespace {

// The program's intervals, each this many times shorter.
constexpr int Shortened = 20;

PrintJobFollowTiming Timing() {
    PrintJobFollowTiming timing = PrintJobFollowTiming::Usual();
    for (std::chrono::milliseconds* interval :
         {&timing.lookEvery, &timing.troubleAfter, &timing.troubleGoneAfter, &timing.noAnswerAfter,
          &timing.takenAfter})
        *interval /= Shortened;
    return timing;
}

// Comfortably longer and shorter than an interval of the follower's, on a busy machine.
std::chrono::milliseconds Beyond(std::chrono::milliseconds interval) {
    return interval * 2;
}

std::chrono::milliseconds Within(std::chrono::milliseconds interval) {
    return interval / 4;
}

using News = QList<PrintJobNews>;

// A follower on the print system in use, and what it told of each job.
struct Follow {
    explicit Follow(const PrintJobFollowTiming& timing = Timing())
        : follower([this](int job, PrintJobNews news) { told[job].append(news); }, timing) {}

    std::map<int, News> told;
    PrintJobFollower follower;
};

int AllCalls(const ScriptedPrintSystem& system) {
    using Call = ScriptedPrintSystem::Call;
    int calls = 0;
    for (const Call call : {Call::FindJob, Call::LookAtJob, Call::CancelJob, Call::LookAtPrinter})
        calls += system.Calls(call);
    return calls;
}

std::chrono::milliseconds Length(const Script& script) {
    std::chrono::milliseconds length{};
    for (const Step& step : script)
        length += step.lasting;
    return length;
}

} // namespace

class TestPrintJobFollower : public QObject {
    Q_OBJECT
private slots:
#ifndef _WIN32
    // The thread fault is made with a POSIX process limit.
    void aThreadThatCannotStartFollowsNothing();
#endif
    void tellsWhatBecameOfAPrint_data();
    void tellsWhatBecameOfAPrint();
    void twoPrintsFailingTogetherAreToldEach();
    void aWithdrawalCancelsAtOnceAndTellsItsAnswer_data();
    void aWithdrawalCancelsAtOnceAndTellsItsAnswer();
    void theProgramsEndWithdrawsWhatThePrinterHasNotTaken_data();
    void theProgramsEndWithdrawsWhatThePrinterHasNotTaken();
    void theProgramsEndWaitsNoLongerThanItsLimit();
    void goingAwayNeverWaitsOnTheServer();
};

void TestPrintJobFollower::tellsWhatBecameOfAPrint_data() {
    const PrintJobFollowTiming timing = Timing();
    const auto looks = timing.lookEvery * 3;
    QTest::addColumn<Script>("script");
    QTest::addColumn<News>("news");
    QTest::addColumn<int>("cancels");
    using S = PrintJobState;
    using P = PrinterCondition;
    using N = PrintJobNews;
    QTest::newRow("printing then printed")
        << Script{{S::Waiting, looks}, {S::Completed}} << News{N::Printed} << 0;
    // Withdrawn, so that it cannot come out once the printer is started again.
    QTest::newRow("stopped") << Script{{S::Waiting, looks}, {S::Failed}} << News{N::NotPrinted}
                             << 1;
    QTest::newRow("cancelled by the user")
        << Script{{S::Waiting, looks}, {S::Cancelled}} << News{N::Cancelled} << 0;
    QTest::newRow("unreachable for long, then printed")
        << Script{{S::Unreachable, Beyond(timing.troubleAfter)}, {S::Completed}}
        << News{N::Unreachable, N::Printed} << 0;
    QTest::newRow("connecting for a moment")
        << Script{{S::Unreachable, Within(timing.troubleAfter)},
                  {S::Waiting, looks},
                  {S::Completed}}
        << News{N::Printed} << 0;
    QTest::newRow("unreachable, then its printer stops")
        << Script{{S::Unreachable, Beyond(timing.troubleAfter)}, {S::Failed}}
        << News{N::Unreachable, N::NotPrinted} << 1;
    QTest::newRow("the printer offline while the job waits")
        << Script{{S::Waiting, Beyond(timing.troubleAfter), P::Offline}, {S::Completed}}
        << News{N::Unreachable, N::Printed} << 0;
    QTest::newRow("out of paper for long")
        << Script{{S::Stalled, Beyond(timing.troubleAfter)}, {S::Completed}}
        << News{N::Stalled, N::Printed} << 0;
    QTest::newRow("the printer out of paper while the job waits")
        << Script{{S::Waiting, Beyond(timing.troubleAfter), P::PaperOut}, {S::Completed}}
        << News{N::Stalled, N::Printed} << 0;
    QTest::newRow("in error for a moment")
        << Script{{S::Stalled, Within(timing.troubleAfter)}, {S::Completed}} << News{N::Printed}
        << 0;
    // Told once; what the server says later changes nothing the user was told.
    QTest::newRow("no answer for long")
        << Script{{S::NoAnswer, Beyond(timing.noAnswerAfter)}, {S::Completed}} << News{N::NoAnswer}
        << 0;
    QTest::newRow("no answer for a moment")
        << Script{{S::NoAnswer, Within(timing.noAnswerAfter)}, {S::Completed}} << News{N::Printed}
        << 0;
    QTest::newRow("left the queue before it was looked for")
        << Script{{S::Gone}} << News{N::Printed} << 0;
    QTest::newRow("left the queue after it was found")
        << Script{{S::Waiting, looks}, {S::Gone}} << News{N::Printed} << 0;
}

void TestPrintJobFollower::tellsWhatBecameOfAPrint() {
    QFETCH(Script, script);
    QFETCH(News, news);
    QFETCH(int, cancels);
    const auto system = std::make_shared<ScriptedPrintSystem>(Settings{.scripts = {script}});
    const StandIn<std::shared_ptr<PrintSystem>> standIn(SetPrintSystem, system);
    Follow follow;
    const std::optional<int> job = follow.follower.Follow(system->HandOver());
    QVERIFY(job);
    QTRY_COMPARE_WITH_TIMEOUT(follow.told[*job], news, 10000);
    // Nothing more, however long the script goes on.
    QTest::qWait(static_cast<int>((Length(script) + Timing().lookEvery * 8).count()));
    QCOMPARE(follow.told[*job], news);
    QCOMPARE(static_cast<int>(system->CancelledJobs().size()), cancels);
}

// Each print finds its own job, and each is told and withdrawn.
void TestPrintJobFollower::twoPrintsFailingTogetherAreToldEach() {
    const Script fails{{PrintJobState::Waiting, Timing().lookEvery * 3}, {PrintJobState::Failed}};
    const auto system = std::make_shared<ScriptedPrintSystem>(Settings{.scripts = {fails}});
    const StandIn<std::shared_ptr<PrintSystem>> standIn(SetPrintSystem, system);
    Follow follow;
    const std::optional<int> first = follow.follower.Follow(system->HandOver());
    const std::optional<int> second = follow.follower.Follow(system->HandOver());
    QVERIFY(first && second && *first != *second);
    QTRY_COMPARE_WITH_TIMEOUT(follow.told.size(), std::size_t{2}, 10000);
    QCOMPARE(follow.told[*first], News{PrintJobNews::NotPrinted});
    QCOMPARE(follow.told[*second], News{PrintJobNews::NotPrinted});
    std::vector<int> cancelled = system->CancelledJobs();
    std::sort(cancelled.begin(), cancelled.end());
    QCOMPARE(cancelled.size(), std::size_t{2});
    QVERIFY(cancelled[0] != cancelled[1]);
}

void TestPrintJobFollower::aWithdrawalCancelsAtOnceAndTellsItsAnswer_data() {
    QTest::addColumn<JobCancel>("answer");
    QTest::addColumn<PrintJobNews>("news");
    QTest::newRow("confirmed") << JobCancel::Cancelled << PrintJobNews::Withdrawn;
    QTest::newRow("refused") << JobCancel::Refused << PrintJobNews::NotWithdrawn;
    QTest::newRow("no answer") << JobCancel::NoAnswer << PrintJobNews::NotWithdrawn;
    QTest::newRow("printed meanwhile") << JobCancel::AlreadyEnd << PrintJobNews::Withdrawn;
}

// The follower looks again only in an hour: the cancel comes from the withdrawal itself. The
// unreachable printer told before says nothing more.
void TestPrintJobFollower::aWithdrawalCancelsAtOnceAndTellsItsAnswer() {
    QFETCH(JobCancel, answer);
    QFETCH(PrintJobNews, news);
    const auto system = std::make_shared<ScriptedPrintSystem>(
        Settings{.cancelAnswer = answer, .scripts = {{{PrintJobState::Unreachable}}}});
    const StandIn<std::shared_ptr<PrintSystem>> standIn(SetPrintSystem, system);
    PrintJobFollowTiming seldom = Timing();
    seldom.lookEvery = 1h;
    seldom.troubleAfter = 0ms;
    Follow follow(seldom);
    const std::optional<int> job = follow.follower.Follow(system->HandOver());
    QVERIFY(job);
    QTRY_COMPARE(follow.told[*job], News{PrintJobNews::Unreachable});
    follow.follower.Withdraw(*job);
    QTRY_COMPARE_WITH_TIMEOUT(follow.told[*job], (News{PrintJobNews::Unreachable, news}), 2000);
    QCOMPARE(system->CancelledJobs().size(), std::size_t{1});
}

void TestPrintJobFollower::theProgramsEndWithdrawsWhatThePrinterHasNotTaken_data() {
    QTest::addColumn<Script>("script");
    QTest::addColumn<JobCancel>("answer");
    QTest::addColumn<bool>("notTaken");
    QTest::addColumn<bool>("confirmed");
    using S = PrintJobState;
    QTest::newRow("printing: left to the print system")
        << Script{{S::Waiting}} << JobCancel::Cancelled << false << true;
    QTest::newRow("unreachable, withdrawal confirmed")
        << Script{{S::Unreachable}} << JobCancel::Cancelled << true << true;
    QTest::newRow("out of paper, withdrawal refused")
        << Script{{S::Stalled}} << JobCancel::Refused << true << false;
    QTest::newRow("no answer, withdrawal unanswered")
        << Script{{S::Waiting, Timing().lookEvery * 3}, {S::NoAnswer}} << JobCancel::NoAnswer
        << true << false;
}

void TestPrintJobFollower::theProgramsEndWithdrawsWhatThePrinterHasNotTaken() {
    QFETCH(Script, script);
    QFETCH(JobCancel, answer);
    QFETCH(bool, notTaken);
    QFETCH(bool, confirmed);
    const auto system = std::make_shared<ScriptedPrintSystem>(
        Settings{.cancelAnswer = answer, .scripts = {script}});
    const StandIn<std::shared_ptr<PrintSystem>> standIn(SetPrintSystem, system);
    auto follow = std::make_unique<Follow>();
    const std::optional<int> job = follow->follower.Follow(system->HandOver());
    QVERIFY(job);
    const std::vector<int> expected = notTaken ? std::vector<int>{*job} : std::vector<int>{};
    QTRY_COMPARE(follow->follower.JobsNotTaken(), expected);
    const std::vector<int> pending = follow->follower.JobsNotTaken();
    if (!notTaken)
        return;
    QCOMPARE(follow->follower.WithdrawAndStop(pending, 2s), confirmed);
    QCOMPARE(system->CancelledJobs().size(), std::size_t{1});
    // Nothing more is told, and the follower goes at once.
    QTest::qWait(static_cast<int>(Timing().lookEvery.count() * 4));
    QVERIFY(follow->told[*job].isEmpty() || follow->told[*job] == News{PrintJobNews::NoAnswer});
    QElapsedTimer clock;
    clock.start();
    follow.reset();
    QVERIFY2(clock.elapsed() < 100, qPrintable(QString::number(clock.elapsed())));
}

// A server frozen at the end: the program goes on after the limit, the withdrawal unconfirmed.
void TestPrintJobFollower::theProgramsEndWaitsNoLongerThanItsLimit() {
    const auto system = std::make_shared<ScriptedPrintSystem>(
        Settings{.scripts = {{{PrintJobState::Unreachable}}}});
    const StandIn<std::shared_ptr<PrintSystem>> standIn(SetPrintSystem, system);
    const auto release = qScopeGuard([&system] { system->Release(); });
    Follow follow;
    const std::optional<int> job = follow.follower.Follow(system->HandOver());
    QVERIFY(job);
    QTRY_COMPARE(follow.follower.JobsNotTaken(), std::vector<int>{*job});
    system->Freeze();
    constexpr auto Limit = 300ms;
    QElapsedTimer clock;
    clock.start();
    QVERIFY(!follow.follower.WithdrawAndStop({*job}, Limit));
    QVERIFY2(clock.elapsed() >= Limit.count() && clock.elapsed() < Limit.count() + 200,
             qPrintable(QString::number(clock.elapsed())));
    QTRY_VERIFY(system->FrozenCalls() > 0);
}

// Frozen in the middle of a look: the follower goes at once, and the look ends on its own
// once the server answers again.
void TestPrintJobFollower::goingAwayNeverWaitsOnTheServer() {
    const auto system =
        std::make_shared<ScriptedPrintSystem>(Settings{.scripts = {{{PrintJobState::Waiting}}}});
    const StandIn<std::shared_ptr<PrintSystem>> standIn(SetPrintSystem, system);
    auto follow = std::make_unique<Follow>();
    QVERIFY(follow->follower.Follow(system->HandOver()));
    system->Freeze();
    QTRY_VERIFY(system->FrozenCalls() > 0);
    QElapsedTimer clock;
    clock.start();
    follow.reset();
    QVERIFY2(clock.elapsed() < 100, qPrintable(QString::number(clock.elapsed())));
    const int calls = AllCalls(*system);
    system->Release();
    QTest::qWait(static_cast<int>(Timing().lookEvery.count() * 4));
    QCOMPARE(AllCalls(*system), calls);
}

#ifndef _WIN32
void TestPrintJobFollower::aThreadThatCannotStartFollowsNothing() {
    const auto system = std::make_shared<ScriptedPrintSystem>();
    const StandIn<std::shared_ptr<PrintSystem>> standIn(SetPrintSystem, system);
    Follow follow;
    const PrintJobMark mark = system->HandOver();
    std::optional<int> job;
    {
        const NoNewThreads none;
        QVERIFY(none.Limited());
        job = follow.follower.Follow(mark);
    }
    QVERIFY(!job);
    QCOMPARE(follow.follower.JobsNotTaken(), std::vector<int>{});
    // Room again, the next print is followed.
    QVERIFY(follow.follower.Follow(system->HandOver()));
}
#endif

QTEST_MAIN(TestPrintJobFollower)
#include "tst_printjobfollower.moc"
