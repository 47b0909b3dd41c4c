#include "page/PrintJobFollower.h"

#include "page/PrintQueueState.h"

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <thread>
#include <utility>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// How often each job is looked at. Asking a local server takes a millisecond or two.
constexpr auto LookEvery = 250ms;
// A printer counts as unreachable once the print system has said so for this long: every
// network printer is "connecting" for a moment at each job, and a printer may come back.
// The print system itself tries again every 30 s or so.
constexpr auto UnreachableAfter = 10s;
// A sign of an unreachable printer not seen again for this long is forgotten.
constexpr auto ReachableAgainAfter = 5s;
// A server that answers no question for this long has stopped or gone: a server that is
// restarted answers again within a second or two.
constexpr auto NoAnswerAfter = 6s;

struct Job {
    QString queue;
    int newestBefore = 0;
    int id = 0; // the print system's number, once found
    std::optional<Clock::time_point> unansweredSince;
    std::optional<Clock::time_point> unreachableSince;
    Clock::time_point unreachableLastSeen;
    bool toldUnreachable = false;
    bool withdraw = false;
};

} // namespace

struct PrintJobFollower::Shared {
    std::mutex mutex;
    std::condition_variable wake;
    std::map<int, Job> jobs;
    bool stop = false;
    std::thread thread;
    PrintJobFollower* follower = nullptr; // until it begins to be destroyed

    void Run();
    // One look at a job, without the lock; the news to tell, if any, and whether it is done.
    std::pair<std::optional<PrintJobNews>, bool> Look(Job& job, const std::set<int>& taken);
    void Tell(int key, PrintJobNews news);
};

void PrintJobFollower::Shared::Tell(int key, PrintJobNews news) {
    // Under the lock, the follower cannot go meanwhile; once it goes, Qt drops what was posted.
    const std::lock_guard lock(mutex);
    if (follower)
        QMetaObject::invokeMethod(
            follower, [follower = follower, key, news] { follower->Tell(key, news); },
            Qt::QueuedConnection);
}

std::pair<std::optional<PrintJobNews>, bool>
PrintJobFollower::Shared::Look(Job& job, const std::set<int>& taken) {
    const Clock::time_point now = Clock::now();
    const auto unanswered = [&job, now]() -> std::pair<std::optional<PrintJobNews>, bool> {
        if (!job.unansweredSince)
            job.unansweredSince = now;
        if (now - *job.unansweredSince >= NoAnswerAfter)
            return {PrintJobNews::NoAnswer, true};
        return {std::nullopt, false};
    };
    if (job.id == 0) {
        // The oldest of this user's jobs after the ones before the print, that is not another
        // print's: two prints in a row find their own jobs in order.
        std::optional<int> found = OldestPrintJobAfter(job.queue, job.newestBefore);
        while (found && *found != 0 && taken.contains(*found))
            found = OldestPrintJobAfter(job.queue, *found);
        if (!found)
            return unanswered();
        if (*found == 0)
            return {PrintJobNews::Printed, true};
        job.id = *found;
    }
    const PrintJobState state = LookAtPrintJob(job.id);
    if (state == PrintJobState::NoAnswer)
        return unanswered();
    job.unansweredSince.reset();
    if (job.withdraw) {
        if (state == PrintJobState::Waiting || state == PrintJobState::Unreachable ||
            state == PrintJobState::Failed)
            CancelPrintJob(job.queue, job.id);
        return {std::nullopt, true};
    }
    switch (state) {
    case PrintJobState::Completed:
    case PrintJobState::Gone:
        return {PrintJobNews::Printed, true};
    case PrintJobState::Cancelled:
        return {PrintJobNews::Cancelled, true};
    case PrintJobState::Failed:
        // Stopped jobs wait in the queue: withdrawn, it cannot come out later on whatever
        // paper is in the printer by then.
        CancelPrintJob(job.queue, job.id);
        return {PrintJobNews::NotPrinted, true};
    case PrintJobState::Unreachable:
        if (!job.unreachableSince || now - job.unreachableLastSeen >= ReachableAgainAfter)
            job.unreachableSince = now;
        job.unreachableLastSeen = now;
        if (!job.toldUnreachable && now - *job.unreachableSince >= UnreachableAfter) {
            job.toldUnreachable = true;
            return {PrintJobNews::Unreachable, false};
        }
        return {std::nullopt, false};
    case PrintJobState::Waiting:
    case PrintJobState::NoAnswer:
        break;
    }
    return {std::nullopt, false};
}

void PrintJobFollower::Shared::Run() {
    std::unique_lock lock(mutex);
    for (;;) {
        wake.wait(lock, [this] { return stop || !jobs.empty(); });
        if (stop)
            return;
        std::set<int> taken;
        for (const auto& [key, job] : jobs)
            if (job.id != 0)
                taken.insert(job.id);
        // Each job is looked at without the lock, so that Follow and Withdraw never wait on
        // the server; only this thread changes a job's own record.
        std::vector<int> keys;
        for (const auto& [key, job] : jobs)
            keys.push_back(key);
        for (const int key : keys) {
            auto found = jobs.find(key);
            if (found == jobs.end() || stop)
                continue;
            Job job = found->second;
            lock.unlock();
            auto [news, done] = Look(job, taken);
            if (job.id != 0)
                taken.insert(job.id);
            lock.lock();
            found = jobs.find(key);
            if (found == jobs.end())
                continue;
            // Nothing is told of a job withdrawn meanwhile; one still waiting is withdrawn at
            // the next look.
            const bool withdrawn = found->second.withdraw;
            job.withdraw = withdrawn;
            if (done)
                jobs.erase(found);
            else
                found->second = job;
            if (news && !withdrawn) {
                lock.unlock();
                Tell(key, *news);
                lock.lock();
            }
        }
        wake.wait_for(lock, LookEvery, [this] { return stop; });
    }
}

PrintJobFollower::PrintJobFollower(Listener listener, QObject* parent)
    : QObject(parent), listener_(std::move(listener)), shared_(std::make_unique<Shared>()) {
    shared_->follower = this;
}

PrintJobFollower::~PrintJobFollower() {
    {
        const std::lock_guard lock(shared_->mutex);
        shared_->stop = true;
        shared_->follower = nullptr;
    }
    shared_->wake.notify_all();
    if (shared_->thread.joinable())
        shared_->thread.join();
}

int PrintJobFollower::Follow(const QString& queue, int newestBefore) {
    const int key = nextJob_++;
    {
        const std::lock_guard lock(shared_->mutex);
        Job& job = shared_->jobs[key];
        job.queue = queue;
        job.newestBefore = newestBefore;
        if (!shared_->thread.joinable())
            shared_->thread = std::thread([shared = shared_.get()] { shared->Run(); });
    }
    shared_->wake.notify_all();
    return key;
}

void PrintJobFollower::Withdraw(int job) {
    const std::lock_guard lock(shared_->mutex);
    const auto found = shared_->jobs.find(job);
    if (found != shared_->jobs.end())
        found->second.withdraw = true;
}

void PrintJobFollower::Tell(int job, PrintJobNews news) {
    if (listener_)
        listener_(job, news);
}
