#pragma once
// A print system that plays a script instead of asking a print server, put in through
// SetPrintSystem (StandIn): whether the server answers and the queue takes jobs, what becomes
// of a hand-over, what each print's job does over time, how a cancel is answered. It counts
// what it is asked, so that a test sees that a cancel really happened, and it can freeze, as a
// server stopped with SIGSTOP does, to prove that nobody waits on it. Safe on any thread.
#include "page/PrintSystem.h"

#include <QString>

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <vector>

// One state of a print's job and what its printer says meanwhile, for `lasting` from the
// end of the step before (from the hand-over for the first); the last step lasts for ever.
// A NoAnswer step is a server that answers nothing about the job or its queue.
struct ScriptStep {
    PrintJobState state;
    std::chrono::milliseconds lasting{};
    PrinterCondition printer = PrinterCondition::Ready;
};
using PrintScript = std::vector<ScriptStep>;

// The script: set before the calls it is for.
struct PrintScriptSettings {
    bool serverAnswers = true;
    bool queueAccepts = true;
    PageHandOver handOver = PageHandOver::HandedOver;
    QString queue = QStringLiteral("Scripted");
    JobCancel cancelAnswer = JobCancel::Cancelled;
    // The n-th hand-over's job plays the n-th script; the last one when there are fewer.
    std::vector<PrintScript> scripts{{{PrintJobState::Completed}}};
};

class ScriptedPrintSystem : public PrintSystem {
public:
    using Duration = std::chrono::milliseconds;

    using Step = ScriptStep;
    using Script = PrintScript;
    using Settings = PrintScriptSettings;

    enum class Call {
        ServerAnswers,
        QueueAcceptsJobs,
        HandOverPage,
        FindJob,
        LookAtJob,
        CancelJob,
        LookAtPrinter
    };

    explicit ScriptedPrintSystem(Settings settings = Settings());

    void SetCancelAnswer(JobCancel answer);
    // From now, every call waits until Release, counted as frozen.
    void Freeze();
    void Release();
    int FrozenCalls() const;
    int Calls(Call call) const;
    // The print system's job numbers that a cancel was asked for, in order.
    std::vector<int> CancelledJobs() const;

    // A hand-over of a blank page to the default printer, as a print makes it; its mark.
    PrintJobMark HandOver();

    bool ServerAnswers() override;
    bool QueueAcceptsJobs(const QString& queue) override;
    // Paints the page into a PDF in memory unless the hand-over is scripted to fail; a paint
    // that fails makes it Refused.
    PageHandOverResult HandOverPage(const QString& printerName, const QString& documentName,
                                    const PagePaint& paint,
                                    std::optional<PrintJobMark>& mark) override;
    // A job whose step is Gone has left the queue before it was looked for; one whose step is
    // NoAnswer makes the look-up unanswered.
    std::optional<int> FindJob(const PrintJobMark& mark, const std::set<int>& taken) override;
    PrintJobState LookAtJob(const QString& queue, int job) override;
    JobCancel CancelJob(const QString& queue, int job) override;
    // What the newest job's step says of its printer.
    PrinterCondition LookAtPrinter(const QString& queue) override;

private:
    using Clock = std::chrono::steady_clock;
    struct Job {
        Script script;
        Clock::time_point handedOver;
        bool cancelled = false;
    };

    // Waits while frozen and counts the call; under the lock it returns.
    std::unique_lock<std::mutex> Enter(Call call);
    Step StepNow(const Job& job) const;

    Settings settings_;
    mutable std::mutex mutex_;
    std::condition_variable released_;
    bool frozen_ = false;
    int frozenCalls_ = 0;
    std::map<Call, int> calls_;
    std::map<int, Job> jobs_; // by the print system's number
    std::vector<int> cancelled_;
};
