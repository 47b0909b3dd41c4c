#pragma once
// Following print jobs after their pages went to the print system, each until it completes, is
// cancelled or fails, for as long as that takes while the program runs. The print system is
// asked on a thread of the follower's own, which touches no window: a server that answers
// slowly or not at all never holds the program. What it finds is told on the thread that made
// the follower, through its event loop.
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

enum class PrintJobNews {
    Printed,     // completed; or no longer known to the server, as a job long done is
    Cancelled,   // by the user, through the print system
    NotPrinted,  // stopped or aborted by the print system, or its printer stopped: withdrawn
    Unreachable, // the printer has not been reachable for a while; the job waits on, followed
    NoAnswer,    // the server stopped answering: what became of the job cannot be known
};

class PrintJobFollower : public QObject {
public:
    // Called with the number Follow gave and what became of that job. Each job ends with
    // exactly one of Printed, Cancelled, NotPrinted or NoAnswer, unless it was withdrawn;
    // Unreachable comes at most once before that.
    using Listener = std::function<void(int job, PrintJobNews news)>;

    explicit PrintJobFollower(Listener listener, QObject* parent = nullptr);
    // Stops following; a question to the server under way is waited for (a few seconds at most).
    ~PrintJobFollower() override;
    PrintJobFollower(const PrintJobFollower&) = delete;
    PrintJobFollower& operator=(const PrintJobFollower&) = delete;

    // Follows this user's job on the queue newer than `newestBefore` (NewestPrintJob before the
    // print). Returns the number the news of this job comes with.
    int Follow(const QString& queue, int newestBefore);
    // Withdraws the job unless it is done already; no more news of it comes.
    void Withdraw(int job);

private:
    struct Shared;
    void Tell(int job, PrintJobNews news);

    Listener listener_;
    std::unique_ptr<Shared> shared_;
    int nextJob_ = 1;
};
