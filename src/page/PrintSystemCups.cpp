// The print system on Linux and the BSDs: the CUPS print server. Qt prints through CUPS but
// drops its answers; asking the library itself keeps a queue that refuses jobs from looking
// printed, finds the print's own job and follows it. Every request of ours goes over a
// connection of its own on which no wait lasts longer than a few seconds, on whichever thread
// asks; Qt's own requests during a hand-over are bounded on the thread's default connection.
#include "page/PrintSystem.h"

#include "page/ConnectionCutter.h"
#include "page/QtPageHandOver.h"

#include <cups/cups.h>

#include <QByteArray>
#include <QElapsedTimer>
#include <QLibrary>
#include <QPrinterInfo>

#include <algorithm>
#include <optional>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr int PrinterStateStopped = 5; // IPP printer-state: 3 idle, 4 processing, 5 stopped

// The requests of one call wait this long in all for the server's answers, in slices (the
// library adds up to a second of its own); a connection that cannot be made is given up after
// the same time.
constexpr int AnswerMilliseconds = 2000;
constexpr double AnswerSliceSeconds = 0.25;
// A server that is not running refuses the connection at once, well within this.
constexpr int RefusalMilliseconds = 1000;
// Qt's requests of a hand-over (the printer's description and page description, the job and
// its document) wait in slices of this length; once the hand-over has taken HandOverLimit, the
// next slice without an answer gives it up. A local server hands a page over in well under a
// second. Outside a hand-over a wait lasts as long as the library's own (a minute).
constexpr double HandOverSliceSeconds = 0.5;
constexpr auto HandOverLimit = 8s;
// The bound belongs to the connection it is put on. A request that gave up may leave the
// library to open a new one for the next, without the bound, waiting a minute for each answer:
// from this long into the hand-over, the program's connections to the server are cut.
constexpr auto HandOverCutAfter = HandOverLimit + 4s;
constexpr auto LibraryWait = 60s;

// The CUPS library is looked up at the first print, not linked: linked, it and the libraries
// it needs would be loaded at every start of the program. Only the declarations of
// <cups/cups.h> are used here, for the functions' types.
struct CupsLibrary {
    decltype(&cupsGetDests2) getDests = nullptr;
    decltype(&cupsGetDest) getDest = nullptr;
    decltype(&cupsFreeDests) freeDests = nullptr;
    decltype(&cupsLastError) lastError = nullptr;
    decltype(&cupsServer) server = nullptr;
    decltype(&ippPort) port = nullptr;
    decltype(&cupsEncryption) encryption = nullptr;
    decltype(&httpConnect2) connect = nullptr;
    decltype(&httpSetTimeout) setTimeout = nullptr;
    decltype(&httpError) error = nullptr;
    decltype(&httpClose) close = nullptr;
    decltype(&httpGetFd) socket = nullptr;
    decltype(&ippNewRequest) newRequest = nullptr;
    decltype(&cupsDoRequest) doRequest = nullptr;
    decltype(&ippDelete) deleteMessage = nullptr;
    decltype(&cupsGetJobs2) getJobs = nullptr;
    decltype(&cupsFreeJobs) freeJobs = nullptr;
    decltype(&cupsUser) user = nullptr;
    decltype(&cupsSetUser) setUser = nullptr;
    decltype(&cupsSetPasswordCB2) setPasswordCallback = nullptr;
    decltype(&ippAddString) addString = nullptr;
    decltype(&ippAddStrings) addStrings = nullptr;
    decltype(&ippFindAttribute) findAttribute = nullptr;
    decltype(&ippGetCount) count = nullptr;
    decltype(&ippGetInteger) integer = nullptr;
    decltype(&ippGetBoolean) boolean = nullptr;
    decltype(&ippGetString) string = nullptr;
    decltype(&ippGetStatusCode) statusCode = nullptr;
    // The calling thread's default connection, the one Qt's printing uses. Not part of the
    // library's documented interface: where it is missing, Qt's own requests keep the
    // library's wait.
    http_t* (*defaultConnection)() = nullptr;
    // The user every thread asks as: the one the library finds for the program.
    QByteArray userName;
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
        if (!library.load() || !Resolve(library, "cupsGetDests2", found.getDests) ||
            !Resolve(library, "cupsGetDest", found.getDest) ||
            !Resolve(library, "cupsFreeDests", found.freeDests) ||
            !Resolve(library, "cupsServer", found.server) ||
            !Resolve(library, "ippPort", found.port) ||
            !Resolve(library, "cupsEncryption", found.encryption) ||
            !Resolve(library, "httpConnect2", found.connect) ||
            !Resolve(library, "httpSetTimeout", found.setTimeout) ||
            !Resolve(library, "httpError", found.error) ||
            !Resolve(library, "httpClose", found.close) ||
            !Resolve(library, "httpGetFd", found.socket) ||
            !Resolve(library, "ippNewRequest", found.newRequest) ||
            !Resolve(library, "cupsDoRequest", found.doRequest) ||
            !Resolve(library, "ippDelete", found.deleteMessage) ||
            !Resolve(library, "cupsGetJobs2", found.getJobs) ||
            !Resolve(library, "cupsFreeJobs", found.freeJobs) ||
            !Resolve(library, "cupsUser", found.user) ||
            !Resolve(library, "cupsSetUser", found.setUser) ||
            !Resolve(library, "cupsSetPasswordCB2", found.setPasswordCallback) ||
            !Resolve(library, "ippAddString", found.addString) ||
            !Resolve(library, "ippAddStrings", found.addStrings) ||
            !Resolve(library, "ippFindAttribute", found.findAttribute) ||
            !Resolve(library, "ippGetCount", found.count) ||
            !Resolve(library, "ippGetInteger", found.integer) ||
            !Resolve(library, "ippGetBoolean", found.boolean) ||
            !Resolve(library, "ippGetString", found.string) ||
            !Resolve(library, "ippGetStatusCode", found.statusCode) ||
            !Resolve(library, "cupsLastError", found.lastError))
            return CupsLibrary();
        Resolve(library, "_cupsConnect", found.defaultConnection);
        found.userName = found.user();
        return found;
    }();
    return cups.lastError ? &cups : nullptr;
}

// The library's default asks for a password on the console, which would hold a thread that
// no one watches: a server that wants a login gets none, and its refusal is the answer.
const char* RefusePassword(const char*, http_t*, const char*, const char*, void*) {
    return nullptr;
}

// The library keeps its settings per thread: each thread that asks gets the same user as the
// hand-over (a job is found and withdrawn under the name it was printed under) and never a
// password prompt.
void PrepareThread(const CupsLibrary& cups) {
    cups.setPasswordCallback(RefusePassword, nullptr);
    if (cups.userName != cups.user())
        cups.setUser(cups.userName.constData());
}

// A connection of its own to the library's default server, the one Qt prints to, for the
// requests of one call: once AnswerMilliseconds have passed since it was made, a wait for an
// answer ends within a slice, and every request after it fails at once.
class Connection {
public:
    explicit Connection(const CupsLibrary& cups)
        : cups_(cups), deadline_(Clock::now() + std::chrono::milliseconds(AnswerMilliseconds)) {
        PrepareThread(cups);
        http_ = cups.connect(cups.server(), cups.port(), nullptr, AF_UNSPEC, cups.encryption(), 1,
                             AnswerMilliseconds, nullptr);
        if (http_)
            cups.setTimeout(http_, AnswerSliceSeconds, KeepWaiting, this);
    }
    ~Connection() {
        if (http_)
            cups_.close(http_);
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    http_t* Http() const { return http_; }
    // False once a request on it went unanswered or the connection broke.
    bool Answered() const { return http_ && cups_.error(http_) == 0; }

private:
    static int KeepWaiting(http_t*, void* connection) {
        return Clock::now() < static_cast<Connection*>(connection)->deadline_ ? 1 : 0;
    }

    const CupsLibrary& cups_;
    const Clock::time_point deadline_;
    http_t* http_ = nullptr;
};

// The hand-over's limit on this thread's default connection (see HandOverSliceSeconds).
thread_local std::optional<Clock::time_point> HandOverDeadline;
thread_local bool HandOverGaveUp = false;
thread_local Clock::time_point WaitBegan;
thread_local Clock::time_point LastSlice;

int WaitInHandOverSlices(http_t*, void*) {
    const Clock::time_point now = Clock::now();
    // Slices of one wait follow each other closely; a longer gap means a new wait began.
    if (now - LastSlice > 2 * std::chrono::duration<double>(HandOverSliceSeconds))
        WaitBegan = now - std::chrono::duration_cast<Clock::duration>(
                              std::chrono::duration<double>(HandOverSliceSeconds));
    LastSlice = now;
    const bool giveUp =
        HandOverDeadline ? now >= *HandOverDeadline : now - WaitBegan >= LibraryWait;
    if (giveUp && HandOverDeadline)
        HandOverGaveUp = true;
    return giveUp ? 0 : 1;
}

// For the life of the object, Qt's requests on this thread give up once the hand-over has
// taken HandOverLimit.
class BoundedHandOver {
public:
    explicit BoundedHandOver(const CupsLibrary& cups) {
        HandOverDeadline = Clock::now() + HandOverLimit;
        HandOverGaveUp = false;
        if (cups.defaultConnection)
            if (http_t* http = cups.defaultConnection())
                cups.setTimeout(http, HandOverSliceSeconds, WaitInHandOverSlices, nullptr);
    }
    ~BoundedHandOver() { HandOverDeadline.reset(); }
    BoundedHandOver(const BoundedHandOver&) = delete;
    BoundedHandOver& operator=(const BoundedHandOver&) = delete;

    bool GaveUp() const { return HandOverGaveUp; }
};

// Qt names a queue's instance "queue/instance"; the server knows the queue alone.
QByteArray QueueName(const QString& queue) {
    return queue.left(queue.indexOf('/')).toLocal8Bit();
}

struct QueueDescription {
    enum class Found { Yes, NoSuchQueue, NoAnswer } found = Found::NoAnswer;
    QString name;           // as Qt names it
    bool accepting = false; // takes new jobs
    bool stopped = false;   // its printer prints nothing until it is started again
    QByteArray reasons;     // the printer's state reasons, each followed by a comma
};

// The default printer as Qt finds it: the user's own choice, or else the server's; an empty
// name when there is none, nothing when the server did not answer. (The library's look-up of
// one printer by its name looks again over the thread's default connection, for minutes, when
// the server stops answering midway: the server's list on our connection instead.)
std::optional<QString> DefaultQueue(const CupsLibrary& cups, const Connection& connection) {
    cups_dest_t* dests = nullptr;
    const int count = cups.getDests(connection.Http(), &dests);
    const cups_dest_t* dest = cups.getDest(nullptr, nullptr, count, dests);
    QString name;
    if (dest) {
        name = QString::fromLocal8Bit(dest->name);
        if (dest->instance)
            name += '/' + QString::fromLocal8Bit(dest->instance);
    }
    cups.freeDests(count, dests);
    if (!dest && !connection.Answered())
        return std::nullopt;
    return name;
}

// The queue of that name, or the default queue when the name is empty, as the server
// describes it.
QueueDescription DescribeQueue(const CupsLibrary& cups, const Connection& connection,
                               const QString& queue) {
    QueueDescription described;
    if (!connection.Http())
        return described;
    described.name = queue;
    if (queue.isEmpty()) {
        const std::optional<QString> found = DefaultQueue(cups, connection);
        if (!found)
            return described;
        described.name = *found;
    }
    if (described.name.isEmpty()) {
        described.found = QueueDescription::Found::NoSuchQueue;
        return described;
    }
    ipp_t* request = cups.newRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    const std::string uri = "ipp://localhost/printers/" + QueueName(described.name).toStdString();
    cups.addString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri.c_str());
    cups.addString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
                   cups.userName.constData());
    const char* const wanted[] = {"printer-is-accepting-jobs", "printer-state",
                                  "printer-state-reasons"};
    cups.addStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                    static_cast<int>(std::size(wanted)), nullptr, wanted);
    ipp_t* answer = cups.doRequest(connection.Http(), request, "/");
    if (!answer)
        return described;
    const ipp_status_t status = cups.statusCode(answer);
    if (status == IPP_STATUS_ERROR_NOT_FOUND) {
        described.found = QueueDescription::Found::NoSuchQueue;
    } else if (status <= IPP_STATUS_OK_EVENTS_COMPLETE) {
        described.found = QueueDescription::Found::Yes;
        ipp_attribute_t* accepting =
            cups.findAttribute(answer, "printer-is-accepting-jobs", IPP_TAG_BOOLEAN);
        described.accepting = !accepting || cups.boolean(accepting, 0);
        ipp_attribute_t* state = cups.findAttribute(answer, "printer-state", IPP_TAG_ENUM);
        described.stopped = state && cups.integer(state, 0) == PrinterStateStopped;
        if (ipp_attribute_t* reasons =
                cups.findAttribute(answer, "printer-state-reasons", IPP_TAG_KEYWORD))
            for (int i = 0; i < cups.count(reasons); ++i)
                described.reasons += QByteArray(cups.string(reasons, i, nullptr)) + ',';
    }
    cups.deleteMessage(answer);
    return described;
}

// This user's jobs on the queue, finished or not; nothing when the server does not answer or
// answers with an error.
template <typename Use>
bool WithJobs(const CupsLibrary& cups, const Connection& connection, const QString& queue,
              const Use& use) {
    if (!connection.Http())
        return false;
    cups_job_t* jobs = nullptr;
    const int count =
        cups.getJobs(connection.Http(), &jobs, QueueName(queue).constData(), 1, CUPS_WHICHJOBS_ALL);
    if (count < 0)
        return false;
    use(jobs, count);
    if (count > 0)
        cups.freeJobs(count, jobs);
    return true;
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
constexpr const char* PaperReasons[] = {"media-empty", "media-jam", "media-needed", "paper-jam"};
// Reasons that say the printer waits for someone: paper, a jam, an open cover, an empty
// cartridge. A reason only reported or warned of is no stall.
constexpr const char* StalledReasons[] = {
    "media-empty",         "media-jam",        "media-needed",      "paper-jam",
    "door-open",           "cover-open",       "interlock-open",    "toner-empty",
    "marker-supply-empty", "output-area-full", "input-tray-missing"};

bool ReasonIsOneOf(const std::string& reason, const auto& words) {
    if (reason.ends_with("-report") || reason.ends_with("-warning"))
        return false;
    return std::any_of(std::begin(words), std::end(words), [&reason](const char* word) {
        return reason.find(word) != std::string::npos;
    });
}

bool AnyReasonIsOneOf(const QByteArray& reasons, const auto& words) {
    const QList<QByteArray> each = reasons.split(',');
    return std::any_of(each.begin(), each.end(), [&words](const QByteArray& reason) {
        return ReasonIsOneOf(reason.trimmed().toStdString(), words);
    });
}

QByteArray JobPrinterReasons(const CupsLibrary& cups, ipp_t* job) {
    QByteArray joined;
    if (ipp_attribute_t* reasons =
            cups.findAttribute(job, "job-printer-state-reasons", IPP_TAG_KEYWORD))
        for (int i = 0; i < cups.count(reasons); ++i)
            joined += QByteArray(cups.string(reasons, i, nullptr)) + ',';
    return joined;
}

bool SaysUnreachable(const CupsLibrary& cups, ipp_t* job) {
    // "offline-report" is the printer saying it is offline: reported, and still true.
    const QByteArray reasons = JobPrinterReasons(cups, job).replace("-report", "");
    if (AnyReasonIsOneOf(reasons, UnreachableReasons))
        return true;
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

// A request about one job, by its URI and as this program's user.
ipp_t* JobRequest(const CupsLibrary& cups, ipp_op_t operation, int job) {
    ipp_t* request = cups.newRequest(operation);
    const std::string uri = "ipp://localhost/jobs/" + std::to_string(job);
    cups.addString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri.c_str());
    cups.addString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
                   cups.userName.constData());
    return request;
}

PrintJobState JobState(const CupsLibrary& cups, ipp_t* answer) {
    const ipp_status_t status = cups.statusCode(answer);
    // Only "no such job" says the job is gone; busy, not authorised or an internal error say
    // nothing of it.
    if (status == IPP_STATUS_ERROR_NOT_FOUND)
        return PrintJobState::Gone;
    ipp_attribute_t* jobState = cups.findAttribute(answer, "job-state", IPP_TAG_ENUM);
    if (status > IPP_STATUS_OK_EVENTS_COMPLETE || !jobState)
        return PrintJobState::NoAnswer;
    switch (static_cast<ipp_jstate_t>(cups.integer(jobState, 0))) {
    case IPP_JSTATE_COMPLETED:
        return PrintJobState::Completed;
    case IPP_JSTATE_CANCELED:
        return PrintJobState::Cancelled;
    case IPP_JSTATE_ABORTED:
    case IPP_JSTATE_STOPPED:
        return PrintJobState::Failed;
    case IPP_JSTATE_PENDING:
    case IPP_JSTATE_HELD:
    case IPP_JSTATE_PROCESSING:
        break;
    }
    // A device that fails stops the printer and puts the job back to wait.
    if (HasKeyword(cups, answer, "job-state-reasons", "printer-stopped"))
        return PrintJobState::Failed;
    if (SaysUnreachable(cups, answer))
        return PrintJobState::Unreachable;
    if (AnyReasonIsOneOf(JobPrinterReasons(cups, answer), StalledReasons))
        return PrintJobState::Stalled;
    return PrintJobState::Waiting;
}

class CupsPrintSystem : public PrintSystem {
public:
    bool ServerAnswers() override;
    bool QueueAcceptsJobs(const QString& queue) override;
    PageHandOverResult HandOverPage(const QString& printerName, const QString& documentName,
                                    const PagePaint& paint,
                                    std::optional<PrintJobMark>& mark) override;
    std::optional<int> FindJob(const PrintJobMark& mark, const std::set<int>& taken) override;
    PrintJobState LookAtJob(const QString& queue, int job) override;
    JobCancel CancelJob(const QString& queue, int job) override;
    PrinterCondition LookAtPrinter(const QString& queue) override;
};

bool CupsPrintSystem::ServerAnswers() {
    const CupsLibrary* cups = Cups();
    if (!cups)
        return true;
    QElapsedTimer clock;
    clock.start();
    const Connection connection(*cups);
    // A connection refused at once: no server runs, and so there is no printer to wait for.
    if (!connection.Http())
        return clock.elapsed() < RefusalMilliseconds;
    ipp_t* answer =
        cups->doRequest(connection.Http(), cups->newRequest(IPP_OP_CUPS_GET_DEFAULT), "/");
    // A refusal at the HTTP level (a login wanted, a request forbidden) is an answer too.
    if (!answer)
        return connection.Answered();
    cups->deleteMessage(answer);
    return true;
}

bool CupsPrintSystem::QueueAcceptsJobs(const QString& queue) {
    const CupsLibrary* cups = Cups();
    if (!cups)
        return true;
    const Connection connection(*cups);
    const QueueDescription described = DescribeQueue(*cups, connection, queue);
    return described.found != QueueDescription::Found::Yes ||
           (described.accepting && !described.stopped);
}

PageHandOverResult CupsPrintSystem::HandOverPage(const QString& printerName,
                                                 const QString& documentName,
                                                 const PagePaint& paint,
                                                 std::optional<PrintJobMark>& mark) {
    mark.reset();
    const CupsLibrary* cups = Cups();
    if (!cups) {
        // Without the library Qt cannot print through CUPS either: Qt finds no printer.
        const QPrinterInfo info = printerName.isEmpty() ? QPrinterInfo::defaultPrinter()
                                                        : QPrinterInfo::printerInfo(printerName);
        return {HandPageToQtPrinter(info, documentName, paint), info.printerName()};
    }
    PeerAddress server;
    {
        const Connection connection(*cups);
        // No server at all refuses the connection at once: there is no printer.
        if (!connection.Http())
            return {PageHandOver::NoPrinter, printerName};
        const QueueDescription queue = DescribeQueue(*cups, connection, printerName);
        if (queue.found == QueueDescription::Found::NoSuchQueue)
            return {PageHandOver::NoPrinter, printerName};
        if (queue.found == QueueDescription::Found::NoAnswer)
            return {PageHandOver::NoAnswer, printerName};
        int newest = 0;
        if (!WithJobs(*cups, connection, queue.name, [&newest](cups_job_t* jobs, int count) {
                for (int i = 0; i < count; ++i)
                    newest = std::max(newest, jobs[i].id);
            }))
            return {PageHandOver::NoAnswer, queue.name};
        mark = PrintJobMark{queue.name, documentName, newest, std::chrono::system_clock::now()};
        ReadPeerAddress(cups->socket(connection.Http()), server);
    }
    const BoundedHandOver bounded(*cups);
    std::optional<ConnectionCutter> cutter;
    if (server.length > 0)
        cutter.emplace(server, HandOverCutAfter);
    const PageHandOver outcome =
        HandPageToQtPrinter(QPrinterInfo::printerInfo(mark->queue), documentName, paint);
    if (bounded.GaveUp() || (cutter && cutter->CutAny()))
        return {PageHandOver::NoAnswer, mark->queue};
    // Qt's CUPS printing hands the job over on this thread and drops the answer; the library
    // keeps the last status per thread.
    if (outcome == PageHandOver::HandedOver && cups->lastError() > IPP_STATUS_OK_EVENTS_COMPLETE)
        return {PageHandOver::Refused, mark->queue};
    return {outcome, mark->queue};
}

std::optional<int> CupsPrintSystem::FindJob(const PrintJobMark& mark, const std::set<int>& taken) {
    const CupsLibrary* cups = Cups();
    if (!cups)
        return std::nullopt;
    const Connection connection(*cups);
    const QByteArray title = mark.documentName.toLocal8Bit();
    int oldest = 0;
    if (!WithJobs(*cups, connection, mark.queue, [&](cups_job_t* jobs, int count) {
            for (int i = 0; i < count; ++i) {
                const int id = jobs[i].id;
                if (id > mark.newestJobBefore && !taken.contains(id) && title == jobs[i].title &&
                    (oldest == 0 || id < oldest))
                    oldest = id;
            }
        }))
        return std::nullopt;
    return oldest;
}

PrintJobState CupsPrintSystem::LookAtJob(const QString&, int job) {
    const CupsLibrary* cups = Cups();
    if (!cups)
        return PrintJobState::NoAnswer;
    const Connection connection(*cups);
    if (!connection.Http())
        return PrintJobState::NoAnswer;
    ipp_t* request = JobRequest(*cups, IPP_OP_GET_JOB_ATTRIBUTES, job);
    const char* const wanted[] = {"job-state", "job-state-reasons", "job-printer-state-message",
                                  "job-printer-state-reasons"};
    cups->addStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                     static_cast<int>(std::size(wanted)), nullptr, wanted);
    ipp_t* answer = cups->doRequest(connection.Http(), request, "/");
    if (!answer)
        return PrintJobState::NoAnswer;
    const PrintJobState state = JobState(*cups, answer);
    cups->deleteMessage(answer);
    return state;
}

JobCancel CupsPrintSystem::CancelJob(const QString&, int job) {
    const CupsLibrary* cups = Cups();
    if (!cups)
        return JobCancel::NoAnswer;
    const Connection connection(*cups);
    if (!connection.Http())
        return JobCancel::NoAnswer;
    ipp_t* answer =
        cups->doRequest(connection.Http(), JobRequest(*cups, IPP_OP_CANCEL_JOB, job), "/");
    // A server that wants a login, or forbids the request, answers at the HTTP level: the
    // library then gives no answer and keeps the refusal as the thread's last status.
    const ipp_status_t status = answer ? cups->statusCode(answer) : cups->lastError();
    if (answer)
        cups->deleteMessage(answer);
    else if (!connection.Answered() || status < IPP_STATUS_ERROR_BAD_REQUEST ||
             status >= IPP_STATUS_ERROR_INTERNAL)
        return JobCancel::NoAnswer;
    if (status <= IPP_STATUS_OK_EVENTS_COMPLETE)
        return JobCancel::Cancelled;
    // "Not possible": the job is completed, cancelled or aborted already.
    if (status == IPP_STATUS_ERROR_NOT_FOUND || status == IPP_STATUS_ERROR_NOT_POSSIBLE)
        return JobCancel::AlreadyEnd;
    // The server's own trouble (busy, internal error) is no answer to the request.
    if (status >= IPP_STATUS_ERROR_INTERNAL)
        return JobCancel::NoAnswer;
    return JobCancel::Refused;
}

PrinterCondition CupsPrintSystem::LookAtPrinter(const QString& queue) {
    const CupsLibrary* cups = Cups();
    if (!cups)
        return PrinterCondition::NoAnswer;
    const Connection connection(*cups);
    const QueueDescription described = DescribeQueue(*cups, connection, queue);
    if (described.found != QueueDescription::Found::Yes)
        return PrinterCondition::NoAnswer;
    // A queue that refuses new jobs still prints those it holds.
    if (described.stopped)
        return PrinterCondition::Stopped;
    const QByteArray reasons = QByteArray(described.reasons).replace("-report", "");
    if (AnyReasonIsOneOf(reasons, UnreachableReasons))
        return PrinterCondition::Offline;
    if (AnyReasonIsOneOf(described.reasons, PaperReasons))
        return PrinterCondition::PaperOut;
    if (AnyReasonIsOneOf(described.reasons, StalledReasons))
        return PrinterCondition::Error;
    return PrinterCondition::Ready;
}

} // namespace

std::shared_ptr<PrintSystem> MakePlatformPrintSystem() {
    return std::make_shared<CupsPrintSystem>();
}
