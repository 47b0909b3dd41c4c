#include "page/PrintJobFollower.h"

#include <algorithm>
#include <condition_variable>
#include <map>
#include <mutex>
#include <system_error>
#include <utility>

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// Where a job stands for the program's end: only a job waiting normally, for a while, is
// taken.
enum class Standing { NotFound, Waiting, Unreachable, Stalled, Unanswered };

// A sign of trouble that is told once it has lasted; one not seen again for a while is
// forgotten, and a printer may come back.
struct Trouble {
    std::optional<Clock::time_point> since;
    Clock::time_point lastSeen;
    bool told = false;

    // True when it is to be told now.
    bool Seen(Clock::time_point now, const PrintJobFollowTiming& timing) {
        if (!since || now - lastSeen >= timing.troubleGoneAfter)
            since = now;
        lastSeen = now;
        if (told || now - *since < timing.troubleAfter)
            return false;
        told = true;
        return true;
    }
};

struct Job {
    PrintJobMark mark;
    Clock::time_point followedSince;
    int id = 0; // the print system's number, once found
    Standing standing = Standing::NotFound;
    bool looked = false;   // looked at once at least
    bool ended = false;    // told its end, yet it may still be in the queue: looked at in silence
    bool withdraw = false; // asked to withdraw, not yet done
    std::optional<Clock::time_point> unansweredSince;
    Trouble unreachable;
    Trouble stalled;
};

// The news of one look, and whether the job is done with.
struct Look {
    std::optional<PrintJobNews> news;
    bool done = false;
};

bool Confirmed(JobCancel cancel) {
    return cancel == JobCancel::Cancelled || cancel == JobCancel::AlreadyEnd;
}

} // namespace

PrintJobFollowTiming PrintJobFollowTiming::Usual() {
    // Asking a local server takes a millisecond or two. The print system itself tries an
    // unreachable printer again every 30 s or so; a server that is restarted answers again
    // within a second or two.
    return {250ms, 10s, 5s, 6s, 10s};
}

struct PrintJobFollower::Shared {
    Shared(std::shared_ptr<PrintSystem> system, const PrintJobFollowTiming& timing)
        : system(std::move(system)), timing(timing) {}

    const std::shared_ptr<PrintSystem> system;
    const PrintJobFollowTiming timing;
    std::mutex mutex;
    std::condition_variable wake;
    std::map<int, Job> jobs;
    bool stop = false;
    bool busy = false;                    // a request to the print system is under way
    PrintJobFollower* follower = nullptr; // until it stops

    void Run();
    // Without the lock: what this thread alone changes of a job's record.
    Look LookAt(Job& job, const std::set<int>& taken);
    Look Unanswered(Job& job, Clock::time_point now) const;
    // A follower gone while a request was under way asks nothing more.
    bool Stopping();
    JobCancel WithdrawJob(Job& job, const std::set<int>& taken) const;
    // Under the lock.
    std::set<int> Taken() const;
    bool TooNewToTell(const Job& job, Clock::time_point now) const;
    bool Urgent() const;
    void Post(int key, PrintJobNews news) const;
};

bool PrintJobFollower::Shared::Stopping() {
    const std::lock_guard lock(mutex);
    return stop;
}

std::set<int> PrintJobFollower::Shared::Taken() const {
    std::set<int> taken;
    for (const auto& [key, job] : jobs)
        if (job.id != 0)
            taken.insert(job.id);
    return taken;
}

bool PrintJobFollower::Shared::TooNewToTell(const Job& job, Clock::time_point now) const {
    return (job.standing == Standing::NotFound || job.standing == Standing::Waiting) &&
           now - job.followedSince < timing.takenAfter;
}

// A withdrawal waits for nothing, and a new job is looked at at once, so that the program's
// end knows whether the printer took it.
bool PrintJobFollower::Shared::Urgent() const {
    for (const auto& [key, job] : jobs)
        if (job.withdraw || !job.looked)
            return true;
    return false;
}

void PrintJobFollower::Shared::Post(int key, PrintJobNews news) const {
    // Under the lock, the follower cannot go meanwhile; once it goes, Qt drops what was posted.
    if (follower)
        QMetaObject::invokeMethod(
            follower, [follower = follower, key, news] { follower->Tell(key, news); },
            Qt::QueuedConnection);
}

Look PrintJobFollower::Shared::Unanswered(Job& job, Clock::time_point now) const {
    job.standing = Standing::Unanswered;
    if (!job.unansweredSince)
        job.unansweredSince = now;
    if (now - *job.unansweredSince < timing.noAnswerAfter)
        return {};
    // Told once; the job is still looked at, in silence, until the server says what became of
    // it, and it counts as not taken meanwhile.
    job.ended = true;
    return {PrintJobNews::NoAnswer, false};
}

Look PrintJobFollower::Shared::LookAt(Job& job, const std::set<int>& taken) {
    job.looked = true;
    if (job.id == 0) {
        const std::optional<int> found = system->FindJob(job.mark, taken);
        if (!found)
            return Unanswered(job, Clock::now());
        if (*found == 0)
            return {PrintJobNews::Printed, true}; // it left the queue before it was looked for
        job.id = *found;
    }
    if (Stopping())
        return {};
    PrintJobState state = system->LookAtJob(job.mark.queue, job.id);
    const Clock::time_point now = Clock::now();
    if (state == PrintJobState::NoAnswer)
        return Unanswered(job, now);
    job.unansweredSince.reset();
    // A job may say nothing of a printer that is offline or out of paper.
    if (state == PrintJobState::Waiting && !Stopping()) {
        switch (system->LookAtPrinter(job.mark.queue)) {
        case PrinterCondition::Offline:
            state = PrintJobState::Unreachable;
            break;
        case PrinterCondition::PaperOut:
        case PrinterCondition::Error:
        case PrinterCondition::Stopped:
            state = PrintJobState::Stalled;
            break;
        case PrinterCondition::Ready:
        case PrinterCondition::NoAnswer:
            break;
        }
    }
    switch (state) {
    case PrintJobState::Completed:
    case PrintJobState::Gone: // found before, and then it left the queue
        return {PrintJobNews::Printed, true};
    case PrintJobState::Cancelled:
        return {PrintJobNews::Cancelled, true};
    case PrintJobState::Failed:
        // A stopped job waits in the queue: withdrawn, it cannot come out later on whatever
        // paper is in the printer by then. Not withdrawn, it stays among the jobs not taken.
        if (Confirmed(system->CancelJob(job.mark.queue, job.id)))
            return {PrintJobNews::NotPrinted, true};
        job.standing = Standing::Stalled;
        job.ended = true;
        return {PrintJobNews::NotPrinted, false};
    case PrintJobState::Unreachable:
        job.standing = Standing::Unreachable;
        if (job.unreachable.Seen(now, timing))
            return {PrintJobNews::Unreachable, false};
        return {};
    case PrintJobState::Stalled:
        job.standing = Standing::Stalled;
        if (job.stalled.Seen(now, timing))
            return {PrintJobNews::Stalled, false};
        return {};
    case PrintJobState::Waiting:
    case PrintJobState::NoAnswer:
        break;
    }
    job.standing = Standing::Waiting;
    return {};
}

JobCancel PrintJobFollower::Shared::WithdrawJob(Job& job, const std::set<int>& taken) const {
    if (job.id == 0) {
        const std::optional<int> found = system->FindJob(job.mark, taken);
        if (!found)
            return JobCancel::NoAnswer;
        if (*found == 0)
            return JobCancel::AlreadyEnd;
        job.id = *found;
    }
    return system->CancelJob(job.mark.queue, job.id);
}

void PrintJobFollower::Shared::Run() {
    std::unique_lock lock(mutex);
    for (;;) {
        wake.wait(lock, [this] { return stop || !jobs.empty(); });
        if (stop)
            return;
        // Each job is asked about without the lock, so that no call of the follower waits on
        // the server; only this thread changes a job's record meanwhile.
        std::vector<int> keys;
        for (const auto& [key, job] : jobs)
            keys.push_back(key);
        // Withdrawals first.
        std::stable_partition(keys.begin(), keys.end(),
                              [this](int key) { return jobs.at(key).withdraw; });
        for (const int key : keys) {
            auto found = jobs.find(key);
            if (stop)
                return;
            if (found == jobs.end())
                continue;
            Job job = found->second;
            const bool toldEnd = job.ended;
            const std::set<int> taken = Taken();
            busy = true;
            lock.unlock();
            std::optional<JobCancel> cancel;
            Look look;
            if (job.withdraw)
                cancel = WithdrawJob(job, taken);
            else
                look = LookAt(job, taken);
            lock.lock();
            busy = false;
            if (stop)
                return;
            found = jobs.find(key);
            if (found == jobs.end())
                continue;
            if (cancel) {
                jobs.erase(found);
                Post(key,
                     Confirmed(*cancel) ? PrintJobNews::Withdrawn : PrintJobNews::NotWithdrawn);
                continue;
            }
            // Asked to withdraw meanwhile: this look tells nothing, the withdrawal comes next.
            job.withdraw = found->second.withdraw;
            if (look.done && !job.withdraw)
                jobs.erase(found);
            else
                found->second = job;
            if (look.news && !job.withdraw && !toldEnd)
                Post(key, *look.news);
        }
        wake.wait_for(lock, timing.lookEvery, [this] { return stop || Urgent(); });
    }
}

PrintJobFollower::PrintJobFollower(Listener listener, QObject* parent)
    : PrintJobFollower(std::move(listener), PrintJobFollowTiming::Usual(), parent) {}

PrintJobFollower::PrintJobFollower(Listener listener, const PrintJobFollowTiming& timing,
                                   QObject* parent)
    : QObject(parent), listener_(std::move(listener)),
      shared_(std::make_shared<Shared>(CurrentPrintSystem(), timing)) {
    shared_->follower = this;
}

PrintJobFollower::~PrintJobFollower() {
    Stop();
}

// A thread waiting for its next look ends at once; one in a request is left to end on its
// own, with the shared state it holds.
void PrintJobFollower::Stop() {
    bool inRequest = false;
    {
        const std::lock_guard lock(shared_->mutex);
        shared_->stop = true;
        shared_->follower = nullptr;
        inRequest = shared_->busy;
    }
    shared_->wake.notify_all();
    if (!thread_.joinable())
        return;
    if (inRequest)
        thread_.detach();
    else
        thread_.join();
}

std::optional<int> PrintJobFollower::Follow(const PrintJobMark& mark) {
    const int key = nextJob_++;
    {
        const std::lock_guard lock(shared_->mutex);
        if (shared_->stop)
            return std::nullopt;
        if (!thread_.joinable()) {
            try {
                thread_ = std::thread([shared = shared_] { shared->Run(); });
            } catch (const std::system_error&) {
                return std::nullopt;
            }
        }
        Job& job = shared_->jobs[key];
        job.mark = mark;
        job.followedSince = Clock::now();
    }
    shared_->wake.notify_all();
    return key;
}

void PrintJobFollower::Withdraw(int job) {
    withdrawn_.insert(job);
    {
        const std::lock_guard lock(shared_->mutex);
        const auto found = shared_->jobs.find(job);
        if (found != shared_->jobs.end()) {
            found->second.withdraw = true;
            shared_->wake.notify_all();
            return;
        }
    }
    // Its end came already, and it left nothing in the queue.
    QMetaObject::invokeMethod(
        this, [this, job] { Tell(job, PrintJobNews::Withdrawn); }, Qt::QueuedConnection);
}

std::vector<int> PrintJobFollower::JobsNotTaken() const {
    const std::lock_guard lock(shared_->mutex);
    const Clock::time_point now = Clock::now();
    std::vector<int> notTaken;
    for (const auto& [key, job] : shared_->jobs)
        if (job.standing != Standing::Waiting || shared_->TooNewToTell(job, now))
            notTaken.push_back(key);
    return notTaken;
}

bool PrintJobFollower::AnyJobTooNewToTell() const {
    const std::lock_guard lock(shared_->mutex);
    const Clock::time_point now = Clock::now();
    return std::any_of(shared_->jobs.begin(), shared_->jobs.end(),
                       [&](const auto& entry) { return shared_->TooNewToTell(entry.second, now); });
}

namespace {

// The withdrawals at the program's end, shared with the thread that makes them: the program
// waits for them only so long.
struct EndWithdrawals {
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    bool allConfirmed = true;
};

} // namespace

bool PrintJobFollower::WithdrawAndStop(const std::vector<int>& jobs,
                                       std::chrono::milliseconds limit) {
    const Clock::time_point deadline = Clock::now() + limit;
    std::vector<Job> toWithdraw;
    std::set<int> taken;
    {
        const std::lock_guard lock(shared_->mutex);
        for (const int key : jobs) {
            const auto found = shared_->jobs.find(key);
            if (found != shared_->jobs.end())
                toWithdraw.push_back(found->second);
        }
        taken = shared_->Taken();
    }
    Stop();
    if (toWithdraw.empty())
        return true;
    const auto withdrawals = std::make_shared<EndWithdrawals>();
    try {
        // Beside the follower's thread, which may still be in a request of its own.
        std::thread([withdrawals, shared = shared_, toWithdraw, taken]() mutable {
            bool allConfirmed = true;
            for (Job& job : toWithdraw)
                allConfirmed = Confirmed(shared->WithdrawJob(job, taken)) && allConfirmed;
            const std::lock_guard lock(withdrawals->mutex);
            withdrawals->allConfirmed = allConfirmed;
            withdrawals->finished = true;
            withdrawals->done.notify_all();
        }).detach();
    } catch (const std::system_error&) {
        return false;
    }
    std::unique_lock lock(withdrawals->mutex);
    return withdrawals->done.wait_until(lock, deadline, [&withdrawals] {
        return withdrawals->finished;
    }) && withdrawals->allConfirmed;
}

void PrintJobFollower::Tell(int job, PrintJobNews news) {
    const bool answer = news == PrintJobNews::Withdrawn || news == PrintJobNews::NotWithdrawn;
    if (withdrawn_.contains(job)) {
        if (!answer)
            return;
        withdrawn_.erase(job);
    }
    if (listener_)
        listener_(job, news);
}
