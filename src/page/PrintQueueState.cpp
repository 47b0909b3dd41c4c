#include "page/PrintQueueState.h"

#ifdef QUOTARIO_HAVE_CUPS
#include <cups/cups.h>

#include <QByteArray>
#include <QElapsedTimer>
#include <QLibrary>

#include <algorithm>
#include <optional>
#include <string>

namespace {

constexpr int PrinterStateStopped = 5; // IPP printer-state: 3 idle, 4 processing, 5 stopped

// A request waits this long for the server's answer (the library adds up to a second of its
// own); a connection that cannot be made is given up after the same time.
constexpr int AnswerMilliseconds = 2000;
// A server that is not running refuses the connection at once, well within this.
constexpr int RefusalMilliseconds = 1000;

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
    decltype(&cupsUser) user = nullptr;
    decltype(&ippAddString) addString = nullptr;
    decltype(&ippAddStrings) addStrings = nullptr;
    decltype(&ippFindAttribute) findAttribute = nullptr;
    decltype(&ippGetCount) count = nullptr;
    decltype(&ippGetInteger) integer = nullptr;
    decltype(&ippGetString) string = nullptr;
    decltype(&ippGetStatusCode) statusCode = nullptr;
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
            !Resolve(library, "cupsUser", found.user) ||
            !Resolve(library, "ippAddString", found.addString) ||
            !Resolve(library, "ippAddStrings", found.addStrings) ||
            !Resolve(library, "ippFindAttribute", found.findAttribute) ||
            !Resolve(library, "ippGetCount", found.count) ||
            !Resolve(library, "ippGetInteger", found.integer) ||
            !Resolve(library, "ippGetString", found.string) ||
            !Resolve(library, "ippGetStatusCode", found.statusCode) ||
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

// Words of the printer's state reasons, and of the message its device last gave, that say the
// device cannot be reached. The message comes in the language of the print system's
// translations; CUPS has no Italian text for "may not exist".
constexpr const char* UnreachableReasons[] = {"connecting-to-device", "offline", "timed-out",
                                              "unreachable", "not-found"};
constexpr const char* UnreachableWords[] = {"connecting",
                                            "offline",
                                            "unreachable",
                                            "not found",
                                            "may not exist",
                                            "unable to locate",
                                            "unable to connect",
                                            "not responding",
                                            "host is down",
                                            "connection refused",
                                            "non risponde",
                                            "localizzare la stampante",
                                            "connessione alla stampante",
                                            "non raggiungibile",
                                            "non in linea"};

bool SaysUnreachable(const CupsLibrary& cups, ipp_t* job) {
    if (ipp_attribute_t* reasons =
            cups.findAttribute(job, "job-printer-state-reasons", IPP_TAG_KEYWORD)) {
        for (int i = 0; i < cups.count(reasons); ++i) {
            const std::string reason = cups.string(reasons, i, nullptr);
            for (const char* word : UnreachableReasons)
                if (reason.find(word) != std::string::npos)
                    return true;
        }
    }
    ipp_attribute_t* message = cups.findAttribute(job, "job-printer-state-message", IPP_TAG_TEXT);
    if (!message || !cups.string(message, 0, nullptr))
        return false;
    const QString text = QString::fromUtf8(cups.string(message, 0, nullptr)).toLower();
    for (const char* word : UnreachableWords)
        if (text.contains(QString::fromUtf8(word)))
            return true;
    return false;
}

bool HasKeyword(const CupsLibrary& cups, ipp_t* job, const char* name, const char* keyword) {
    ipp_attribute_t* keywords = cups.findAttribute(job, name, IPP_TAG_KEYWORD);
    for (int i = 0; keywords && i < cups.count(keywords); ++i)
        if (QByteArray(cups.string(keywords, i, nullptr)) == keyword)
            return true;
    return false;
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
        return -1;
    const Connection connection(*cups);
    if (!connection.Http())
        return -1;
    cups_job_t* jobs = nullptr;
    const int count = cups->getJobs(connection.Http(), &jobs, QueueName(queue).constData(), 1,
                                    CUPS_WHICHJOBS_ALL);
    if (count < 0)
        return -1;
    int newest = 0;
    for (int i = 0; i < count; ++i)
        newest = std::max(newest, jobs[i].id);
    if (count > 0)
        cups->freeJobs(count, jobs);
    return newest;
}

std::optional<int> OldestPrintJobAfter(const QString& queue, int newestBefore) {
    const CupsLibrary* cups = Cups();
    if (!cups)
        return 0;
    const Connection connection(*cups);
    if (!connection.Http())
        return std::nullopt;
    cups_job_t* jobs = nullptr;
    const int count = cups->getJobs(connection.Http(), &jobs, QueueName(queue).constData(), 1,
                                    CUPS_WHICHJOBS_ALL);
    if (count < 0)
        return std::nullopt;
    int oldest = 0;
    for (int i = 0; i < count; ++i)
        if (jobs[i].id > newestBefore && (oldest == 0 || jobs[i].id < oldest))
            oldest = jobs[i].id;
    if (count > 0)
        cups->freeJobs(count, jobs);
    return oldest;
}

PrintJobState LookAtPrintJob(int job) {
    const CupsLibrary* cups = Cups();
    if (!cups)
        return PrintJobState::Gone;
    const Connection connection(*cups);
    if (!connection.Http())
        return PrintJobState::NoAnswer;
    ipp_t* request = cups->newRequest(IPP_OP_GET_JOB_ATTRIBUTES);
    const std::string uri = "ipp://localhost/jobs/" + std::to_string(job);
    cups->addString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri.c_str());
    cups->addString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
                    cups->user());
    const char* const wanted[] = {"job-state", "job-state-reasons", "job-printer-state-message",
                                  "job-printer-state-reasons"};
    cups->addStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                     static_cast<int>(std::size(wanted)), nullptr, wanted);
    ipp_t* answer = cups->doRequest(connection.Http(), request, "/");
    if (!answer)
        return PrintJobState::NoAnswer;
    PrintJobState state = PrintJobState::Waiting;
    ipp_attribute_t* jobState = cups->findAttribute(answer, "job-state", IPP_TAG_ENUM);
    if (cups->statusCode(answer) > IPP_STATUS_OK_EVENTS_COMPLETE || !jobState) {
        state = PrintJobState::Gone;
    } else {
        switch (static_cast<ipp_jstate_t>(cups->integer(jobState, 0))) {
        case IPP_JSTATE_COMPLETED:
            state = PrintJobState::Completed;
            break;
        case IPP_JSTATE_CANCELED:
            state = PrintJobState::Cancelled;
            break;
        case IPP_JSTATE_ABORTED:
        case IPP_JSTATE_STOPPED:
            state = PrintJobState::Failed;
            break;
        case IPP_JSTATE_PENDING:
        case IPP_JSTATE_HELD:
        case IPP_JSTATE_PROCESSING:
            // A device that fails stops the printer and puts the job back to wait.
            if (HasKeyword(*cups, answer, "job-state-reasons", "printer-stopped"))
                state = PrintJobState::Failed;
            else if (SaysUnreachable(*cups, answer))
                state = PrintJobState::Unreachable;
            break;
        }
    }
    cups->deleteMessage(answer);
    return state;
}

void CancelPrintJob(const QString& queue, int job) {
    const CupsLibrary* cups = Cups();
    if (!cups)
        return;
    const Connection connection(*cups);
    if (connection.Http())
        cups->cancelJob(connection.Http(), QueueName(queue).constData(), job, 0);
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
    return -1;
}

std::optional<int> OldestPrintJobAfter(const QString&, int) {
    return 0;
}

PrintJobState LookAtPrintJob(int) {
    return PrintJobState::Gone;
}

void CancelPrintJob(const QString&, int) {}

#endif
