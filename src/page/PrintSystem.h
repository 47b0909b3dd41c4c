#pragma once
// What printing asks of the system's print service: whether it answers, whether a queue takes
// jobs, handing a page over, which job that page became, how the job is doing, withdrawing it,
// and what the printer says about itself. The build chooses one implementation (the CUPS print
// server on Linux and the BSDs, the spooler on Windows); tests put a stand-in in through
// SetPrintSystem. Every call may be made on any thread and gives up after a few seconds: a
// frozen server costs a bounded wait, never a frozen program.
#include <QString>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <set>

class QPagedPaintDevice;

// Where a queue stood just before a page was handed over, and under which name: what tells the
// print's own job from older ones and from other programs' jobs.
struct PrintJobMark {
    QString queue;
    QString documentName;
    int newestJobBefore = 0; // this user's newest job number on the queue before the print
    std::chrono::system_clock::time_point handedOverFrom; // just before the hand-over began
};

enum class PageHandOver {
    HandedOver, // the page is in the queue: the job may still wait, print or fail
    NoPrinter,  // there is no such printer, or no default printer
    Refused,    // the queue or the printer refused the page or the job: nothing was printed
    NoAnswer,   // the print service did not answer: nothing was handed over
};

struct PageHandOverResult {
    PageHandOver outcome;
    QString queue; // the printer's own name, once it was found
};

// Paints the one page on a device that the print service has set up (A4 landscape, no margins,
// the printer's high resolution); false when the page could not be made.
using PagePaint = std::function<bool(QPagedPaintDevice& device)>;

enum class PrintJobState {
    Waiting,     // waiting or printing normally
    Unreachable, // waiting while the printer cannot be reached (offline, connecting, not there)
    Stalled,     // waiting on the printer: out of paper, in error, blocked, asks for the user
    Completed,   // printed; or left the queue after printing
    Cancelled,   // deleted by the user, or withdrawn
    Failed,      // stopped or aborted by the print service, or its printer stopped meanwhile
    Gone,        // the service says it has no such job (and only that)
    NoAnswer,    // no answer, or an answer that is an error other than "no such job"
};

enum class JobCancel {
    Cancelled,  // withdrawn: it will not come out
    AlreadyEnd, // printed, cancelled or gone before the withdrawal reached it
    Refused,    // the service refused (not authorised, ...): the job may still come out
    NoAnswer,   // the service did not answer in time: the job may still come out
};

// What a printer says about itself, beside any one job.
enum class PrinterCondition {
    Ready,
    Offline,  // offline, unreachable, not available
    PaperOut, // out of paper, paper jam
    Error,    // in error, or asks for the user
    Stopped,  // stopped or paused by its administrator; or refuses jobs
    NoAnswer, // the service did not answer
};

class PrintSystem {
public:
    virtual ~PrintSystem() = default;

    // False when the service takes no connection or answers no short request. Where no print
    // server runs at all the connection is refused at once: that counts as answering, and the
    // print then finds no printer.
    virtual bool ServerAnswers() = 0;
    // False when the queue is known to refuse new jobs or its printer is stopped. A queue the
    // service cannot describe counts as accepting: the print itself then says what happens.
    virtual bool QueueAcceptsJobs(const QString& queue) = 0;
    // The printer of that name, or the default printer when the name is empty: its mark just
    // before the hand-over (nothing when there is no such printer), then the page handed over
    // under the document name through Qt's printing on the calling thread.
    virtual PageHandOverResult HandOverPage(const QString& printerName, const QString& documentName,
                                            const PagePaint& paint,
                                            std::optional<PrintJobMark>& mark) = 0;
    // The oldest job after the mark that is the print's own and not one of `taken`: its number;
    // 0 when there is none (it has left the queue already), nothing when there is no answer.
    virtual std::optional<int> FindJob(const PrintJobMark& mark, const std::set<int>& taken) = 0;
    virtual PrintJobState LookAtJob(const QString& queue, int job) = 0;
    // Withdraws the job now, so that it cannot come out later on whatever paper is in the
    // printer by then; the answer is checked.
    virtual JobCancel CancelJob(const QString& queue, int job) = 0;
    virtual PrinterCondition LookAtPrinter(const QString& queue) = 0;
};

// The print system in use: the platform's own, or a test's stand-in. Shared, so that a follower
// thread keeps the one it began with.
std::shared_ptr<PrintSystem> CurrentPrintSystem();
// Puts another print system in; an empty one puts the platform's own back. Returns the one it
// replaces.
std::shared_ptr<PrintSystem> SetPrintSystem(std::shared_ptr<PrintSystem> replacement);
