#pragma once
// Following print jobs after their pages went to the print system, each until it completes, is
// cancelled or fails, for as long as that takes while the program runs; withdrawing one when
// asked, at once, and at the program's end. The print system (the one in use when the follower
// is made) is asked on a thread of the follower's own, which touches no window: a server that
// answers slowly or not at all never holds the program. What it finds is told on the thread
// that made the follower, through its event loop.
#include "page/PrintSystem.h"

#include <QObject>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <thread>
#include <vector>

enum class PrintJobNews {
    Printed,     // completed; or left the queue, as a job long done does
    Cancelled,   // by the user, through the print system
    NotPrinted,  // stopped or aborted by the print system, or its printer stopped: withdrawn
    Unreachable, // the printer has not been reachable for a while; the job waits on, followed
    Stalled,     // the printer has waited for paper, or in error, for a while; followed on
    NoAnswer,    // the server stopped answering: what became of the job cannot be known
    Withdrawn,   // Withdraw's answer: the job will not come out (or had already ended)
    // Withdraw's answer: the print system refused or did not answer; the job may still come out.
    NotWithdrawn,
};

// How often the follower looks, and how long a state lasts before it is told.
struct PrintJobFollowTiming {
    std::chrono::milliseconds lookEvery;
    // A printer counts as unreachable, or stalled, once the print system has said so for this
    // long: every network printer is "connecting" for a moment at each job.
    std::chrono::milliseconds troubleAfter;
    // A sign of trouble not seen again for this long is forgotten.
    std::chrono::milliseconds troubleGoneAfter;
    // A server that answers no question for this long has stopped or gone.
    std::chrono::milliseconds noAnswerAfter;
    // A job waiting normally counts as taken by its printer once it has been followed this
    // long: before that, the print system may not have found yet that the printer is out of
    // reach (a network printer that does not answer: about 4 s).
    std::chrono::milliseconds takenAfter;

    // The program's own.
    static PrintJobFollowTiming Usual();
};

class PrintJobFollower : public QObject {
public:
    // Called with the number Follow gave and what became of that job. Each job ends with
    // exactly one of Printed, Cancelled, NotPrinted or NoAnswer, or, once Withdraw was asked,
    // with Withdrawn or NotWithdrawn and nothing else; Unreachable and Stalled come at most
    // once each before that.
    using Listener = std::function<void(int job, PrintJobNews news)>;

    explicit PrintJobFollower(Listener listener, QObject* parent = nullptr);
    PrintJobFollower(Listener listener, const PrintJobFollowTiming& timing,
                     QObject* parent = nullptr);
    // Stops following at once: a request under way is left to end on its own, told to no one.
    ~PrintJobFollower() override;
    PrintJobFollower(const PrintJobFollower&) = delete;
    PrintJobFollower& operator=(const PrintJobFollower&) = delete;

    // Follows the print's own job after the mark. Returns the number the news of this job
    // comes with; nothing when the follower's thread cannot start (then the print is not
    // followed, and the caller says so).
    std::optional<int> Follow(const PrintJobMark& mark);
    // Withdraws the job now (a bounded cancel on the follower's thread, its answer checked);
    // the news Withdrawn or NotWithdrawn follows, and nothing else of that job.
    void Withdraw(int job);
    // The jobs the printer has not taken: not found yet, waiting while the printer is
    // unreachable or stalled, unanswered, or too new to tell. A job waiting normally (printing)
    // for `takenAfter` is not among them.
    std::vector<int> JobsNotTaken() const;
    // True while a job is too new to tell: found or sought, with no sign of trouble yet.
    bool AnyJobTooNewToTell() const;
    // The program's end: withdraws the given jobs (each cancel bounded, its answer checked) and
    // stops following; returns within `limit` whatever the server does, true when every
    // withdrawal was confirmed. Nothing more is told.
    bool WithdrawAndStop(const std::vector<int>& jobs, std::chrono::milliseconds limit);

private:
    struct Shared;
    void Tell(int job, PrintJobNews news);
    void Stop();

    Listener listener_;
    std::shared_ptr<Shared> shared_;
    std::thread thread_;
    std::set<int> withdrawn_; // asked to withdraw: only the answer is told
    int nextJob_ = 1;
};
