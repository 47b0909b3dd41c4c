#include "page/PrintQueueState.h"

#ifdef QUOTARIO_HAVE_CUPS
#include <cups/cups.h>

#include <QByteArray>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QLibrary>
#include <QThread>

#include <algorithm>
#include <optional>

namespace {

constexpr int PrinterStateStopped = 5; // IPP printer-state: 3 idle, 4 processing, 5 stopped

// A request waits this long for the server's answer (the library adds up to a second of its
// own); a connection that cannot be made is given up after the same time.
constexpr int AnswerMilliseconds = 2000;
// A server that is not running refuses the connection at once, well within this.
constexpr int RefusalMilliseconds = 1000;
// How long a job is followed after the hand-over, and how often it is looked at meanwhile.
// A healthy job completes within a tenth of a second on a local queue.
constexpr int FollowMilliseconds = 3000;
constexpr int FollowStepMilliseconds = 100;

// The CUPS library is looked up at the first print, not linked: linked, it and the libraries
// it needs would be loaded at every start of the program. Only the declarations of
// <cups/cups.h> are used here, for the functions' types.
struct CupsLibrary {
    decltype(&cupsGetNamedDest) getNamedDest = nullptr;
    decltype(&cupsGetOption) getOption = nullptr;
    decltype(&cupsFreeDests) freeDests = nullptr;
    decltype(&cupsLastError) lastError = nullptr;
    decltype(&cupsServer) server = nullptr;
    decltype(&ippPort) port = nullptr;
    decltype(&cupsEncryption) encryption = nullptr;
    decltype(&httpConnect2) connect = nullptr;
    decltype(&httpSetTimeout) setTimeout = nullptr;
    decltype(&httpClose) close = nullptr;
    decltype(&ippNewRequest) newRequest = nullptr;
    decltype(&cupsDoRequest) doRequest = nullptr;
    decltype(&ippDelete) deleteMessage = nullptr;
    decltype(&cupsGetJobs2) getJobs = nullptr;
    decltype(&cupsFreeJobs) freeJobs = nullptr;
    decltype(&cupsCancelJob2) cancelJob = nullptr;
};

template <typename Function> bool Resolve(QLibrary& library, const char* name, Function& function) {
    function = reinterpret_cast<Function>(library.resolve(name));
    return function != nullptr;
}

// Null when the library cannot be loaded or lacks one of the functions. By its soname: the
// dynamic loader then hands back the copy Qt's CUPS print support has already loaded, whose
// per-thread status is the one Qt's printing leaves behind. It stays loaded until the end.
const CupsLibrary* Cups() {
    static const CupsLibrary cups = [] {
        CupsLibrary found;
        QLibrary library(QStringLiteral("cups"), 2);
        if (!library.load() || !Resolve(library, "cupsGetNamedDest", found.getNamedDest) ||
            !Resolve(library, "cupsGetOption", found.getOption) ||
            !Resolve(library, "cupsFreeDests", found.freeDests) ||
            !Resolve(library, "cupsServer", found.server) ||
            !Resolve(library, "ippPort", found.port) ||
            !Resolve(library, "cupsEncryption", found.encryption) ||
            !Resolve(library, "httpConnect2", found.connect) ||
            !Resolve(library, "httpSetTimeout", found.setTimeout) ||
            !Resolve(library, "httpClose", found.close) ||
            !Resolve(library, "ippNewRequest", found.newRequest) ||
            !Resolve(library, "cupsDoRequest", found.doRequest) ||
            !Resolve(library, "ippDelete", found.deleteMessage) ||
            !Resolve(library, "cupsGetJobs2", found.getJobs) ||
            !Resolve(library, "cupsFreeJobs", found.freeJobs) ||
            !Resolve(library, "cupsCancelJob2", found.cancelJob) ||
            !Resolve(library, "cupsLastError", found.lastError))
            return CupsLibrary();
        return found;
    }();
    return cups.lastError ? &cups : nullptr;
}

// A connection of its own to the library's default server, the one Qt prints to, on which no
// wait lasts longer than AnswerMilliseconds: a request then fails instead of waiting on.
class Connection {
public:
    explicit Connection(const CupsLibrary& cups)
        : cups_(cups), http_(cups.connect(cups.server(), cups.port(), nullptr, AF_UNSPEC,
                                          cups.encryption(), 1, AnswerMilliseconds, nullptr)) {
        if (http_)
            cups.setTimeout(http_, AnswerMilliseconds / 1000.0, GiveUp, nullptr);
    }
    ~Connection() {
        if (http_)
            cups_.close(http_);
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    http_t* Http() const { return http_; }

private:
    static int GiveUp(http_t*, void*) { return 0; }

    const CupsLibrary& cups_;
    http_t* http_;
};

// Qt names a queue's instance "queue/instance"; CUPS takes the two apart.
QByteArray QueueName(const QString& queue) {
    return queue.left(queue.indexOf('/')).toLocal8Bit();
}

QByteArray InstanceName(const QString& queue) {
    const qsizetype slash = queue.indexOf('/');
    return slash < 0 ? QByteArray() : queue.mid(slash + 1).toLocal8Bit();
}

struct QueueState {
    bool accepting; // takes new jobs
    bool stopped;   // its printer prints nothing until it is started again
};

// The queue as the server on `http` (CUPS_HTTP_DEFAULT: the library's default connection)
// describes it; nothing when it does not.
std::optional<QueueState> DescribeQueue(const CupsLibrary& cups, http_t* http,
                                        const QString& queue) {
    const QByteArray name = QueueName(queue);
    const QByteArray instance = InstanceName(queue);
    cups_dest_t* dest = cups.getNamedDest(http, name.constData(),
                                          instance.isEmpty() ? nullptr : instance.constData());
    if (!dest)
        return std::nullopt;
    const char* accepting =
        cups.getOption("printer-is-accepting-jobs", dest->num_options, dest->options);
    const char* state = cups.getOption("printer-state", dest->num_options, dest->options);
    const QueueState described{!accepting || QByteArray(accepting) != "false",
                               state && QByteArray(state).toInt() == PrinterStateStopped};
    cups.freeDests(1, dest);
    return described;
}

struct JobFound {
    int id = 0; // 0: no such job
    ipp_jstate_t state = IPP_JSTATE_PENDING;
};

// This user's oldest job on the queue newer than `newestBefore` among `which`; nothing when
// the server does not answer.
std::optional<JobFound> FindJob(const CupsLibrary& cups, http_t* http, const QByteArray& name,
                                int newestBefore, int which) {
    cups_job_t* jobs = nullptr;
    const int count = cups.getJobs(http, &jobs, name.constData(), 1, which);
    if (count < 0)
        return std::nullopt;
    JobFound found;
    for (int i = 0; i < count; ++i)
        if (jobs[i].id > newestBefore && (found.id == 0 || jobs[i].id < found.id))
            found = {jobs[i].id, jobs[i].state};
    cups.freeJobs(count, jobs);
    return found;
}

} // namespace

bool PrintServerAnswers() {
    const CupsLibrary* cups = Cups();
    if (!cups)
        return true;
    QElapsedTimer clock;
    clock.start();
    const Connection connection(*cups);
    ipp_t* answer =
        connection.Http()
            ? cups->doRequest(connection.Http(), cups->newRequest(IPP_OP_CUPS_GET_DEFAULT), "/")
            : nullptr;
    if (answer) {
        cups->deleteMessage(answer);
        return true;
    }
    return clock.elapsed() < RefusalMilliseconds;
}

bool PrintQueueAcceptsJobs(const QString& queue) {
    const CupsLibrary* cups = Cups();
    // No connection of its own: the library's default server, the one Qt prints to.
    if (!cups)
        return true;
    const std::optional<QueueState> state = DescribeQueue(*cups, CUPS_HTTP_DEFAULT, queue);
    return !state || (state->accepting && !state->stopped);
}

bool LastPrintJobWasAccepted() {
    // Qt's CUPS printing calls cupsPrintFile on the painting thread and drops its answer; the
    // library keeps the last status per thread.
    const CupsLibrary* cups = Cups();
    return !cups || cups->lastError() <= IPP_STATUS_OK_EVENTS_COMPLETE;
}

int NewestPrintJob(const QString& queue) {
    const CupsLibrary* cups = Cups();
    if (!cups)
        return 0;
    const Connection connection(*cups);
    if (!connection.Http())
        return 0;
    cups_job_t* jobs = nullptr;
    const int count = cups->getJobs(connection.Http(), &jobs, QueueName(queue).constData(), 1,
                                    CUPS_WHICHJOBS_ALL);
    int newest = 0;
    for (int i = 0; i < count; ++i)
        newest = std::max(newest, jobs[i].id);
    if (count > 0)
        cups->freeJobs(count, jobs);
    return newest;
}

bool PrintJobComesThrough(const QString& queue, int newestBefore) {
    const CupsLibrary* cups = Cups();
    if (!cups)
        return true;
    const Connection connection(*cups);
    http_t* http = connection.Http();
    if (!http)
        return true;
    const QByteArray name = QueueName(queue);
    const QDeadlineTimer deadline(FollowMilliseconds);
    for (;;) {
        const std::optional<JobFound> waiting =
            FindJob(*cups, http, name, newestBefore, CUPS_WHICHJOBS_ACTIVE);
        if (!waiting)
            return true;
        if (waiting->id == 0) {
            // Done with: completed, cancelled or aborted.
            const std::optional<JobFound> done =
                FindJob(*cups, http, name, newestBefore, CUPS_WHICHJOBS_COMPLETED);
            return !done || done->id == 0 || done->state != IPP_JSTATE_ABORTED;
        }
        // A device that fails stops the job, or the printer with the job put back to wait.
        const bool stopped = waiting->state == IPP_JSTATE_STOPPED ||
                             (waiting->state == IPP_JSTATE_PENDING &&
                              DescribeQueue(*cups, http, queue).value_or(QueueState{}).stopped);
        if (stopped) {
            cups->cancelJob(http, name.constData(), waiting->id, 0);
            return false;
        }
        if (deadline.hasExpired())
            return true;
        QThread::msleep(FollowStepMilliseconds);
    }
}

#else

bool PrintServerAnswers() {
    return true;
}

bool PrintQueueAcceptsJobs(const QString&) {
    return true;
}

bool LastPrintJobWasAccepted() {
    return true;
}

int NewestPrintJob(const QString&) {
    return 0;
}

bool PrintJobComesThrough(const QString&, int) {
    return true;
}

#endif
