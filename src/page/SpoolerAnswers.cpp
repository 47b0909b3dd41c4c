#include "page/SpoolerAnswers.h"

#include <algorithm>

namespace {

using namespace std::chrono_literals;

// The spooler of a print server stamps a job with that server's clock, which may be behind
// ours: Windows domains allow five minutes. The document name, unique to the print, is what
// tells the job; the time only keeps out an older job of the same name.
constexpr auto ServerClockBehind = 5min;

constexpr DWORD OfflineStatus =
    PRINTER_STATUS_OFFLINE | PRINTER_STATUS_NOT_AVAILABLE | PRINTER_STATUS_SERVER_UNKNOWN;
constexpr DWORD PaperStatus =
    PRINTER_STATUS_PAPER_OUT | PRINTER_STATUS_PAPER_JAM | PRINTER_STATUS_PAPER_PROBLEM;
constexpr DWORD ErrorStatus = PRINTER_STATUS_ERROR | PRINTER_STATUS_USER_INTERVENTION |
                              PRINTER_STATUS_DOOR_OPEN | PRINTER_STATUS_NO_TONER |
                              PRINTER_STATUS_OUTPUT_BIN_FULL | PRINTER_STATUS_OUT_OF_MEMORY;
constexpr DWORD StoppedStatus = PRINTER_STATUS_PAUSED | PRINTER_STATUS_PENDING_DELETION;

constexpr DWORD EndedJob = JOB_STATUS_PRINTED | JOB_STATUS_COMPLETE;
constexpr DWORD DeletedJob = JOB_STATUS_DELETING | JOB_STATUS_DELETED;
constexpr DWORD StalledJob =
    JOB_STATUS_ERROR | JOB_STATUS_PAPEROUT | JOB_STATUS_BLOCKED_DEVQ | JOB_STATUS_USER_INTERVENTION;

// The errors of a spooler on another machine that cannot be reached or does not answer.
constexpr DWORD SilentServerErrors[] = {
    RPC_S_SERVER_UNAVAILABLE, RPC_S_SERVER_TOO_BUSY, RPC_S_CALL_FAILED,   RPC_S_CALL_FAILED_DNE,
    RPC_S_CALL_CANCELLED,     ERROR_BAD_NETPATH,     ERROR_UNEXP_NET_ERR, ERROR_NETNAME_DELETED,
    ERROR_SEM_TIMEOUT,        WAIT_TIMEOUT,          ERROR_TIMEOUT};

bool ServerIsSilent(DWORD error) {
    return std::find(std::begin(SilentServerErrors), std::end(SilentServerErrors), error) !=
           std::end(SilentServerErrors);
}

std::chrono::system_clock::time_point UtcTime(const SYSTEMTIME& time) {
    using namespace std::chrono;
    const sys_days day = year(time.wYear) / month(time.wMonth) / std::chrono::day(time.wDay);
    return time_point_cast<system_clock::duration>(day + hours(time.wHour) + minutes(time.wMinute) +
                                                   seconds(time.wSecond) +
                                                   milliseconds(time.wMilliseconds));
}

} // namespace

PrinterCondition SpoolerPrinterCondition(const SpoolerPrinter& printer) {
    // Offline first: a printer that cannot be reached says nothing true of its paper.
    if ((printer.status & OfflineStatus) != 0 ||
        (printer.attributes & PRINTER_ATTRIBUTE_WORK_OFFLINE) != 0)
        return PrinterCondition::Offline;
    if ((printer.status & PaperStatus) != 0)
        return PrinterCondition::PaperOut;
    if ((printer.status & ErrorStatus) != 0)
        return PrinterCondition::Error;
    if ((printer.status & StoppedStatus) != 0)
        return PrinterCondition::Stopped;
    return PrinterCondition::Ready;
}

bool SpoolerQueueAcceptsJobs(const SpoolerPrinter& printer) {
    return (printer.status & StoppedStatus) == 0;
}

PrintJobState SpoolerJobState(DWORD jobStatus, const std::optional<SpoolerPrinter>& printer) {
    // A printed job is marked deleting while the spooler removes it: printed comes first.
    if ((jobStatus & EndedJob) != 0)
        return PrintJobState::Completed;
    if ((jobStatus & DeletedJob) != 0)
        return PrintJobState::Cancelled;
    if ((jobStatus & JOB_STATUS_OFFLINE) != 0)
        return PrintJobState::Unreachable;
    if ((jobStatus & StalledJob) != 0)
        return PrintJobState::Stalled;
    if (!printer)
        return PrintJobState::Waiting;
    switch (SpoolerPrinterCondition(*printer)) {
    case PrinterCondition::Offline:
        return PrintJobState::Unreachable;
    // A paused printer holds the job until someone resumes it, as a printer out of paper does;
    // it is not withdrawn.
    case PrinterCondition::PaperOut:
    case PrinterCondition::Error:
    case PrinterCondition::Stopped:
        return PrintJobState::Stalled;
    case PrinterCondition::Ready:
    case PrinterCondition::NoAnswer:
        break;
    }
    return PrintJobState::Waiting;
}

std::vector<SpoolerJob> SpoolerJobs(const JOB_INFO_1W* jobs, DWORD count) {
    std::vector<SpoolerJob> listed;
    listed.reserve(count);
    for (DWORD i = 0; i < count; ++i)
        listed.push_back({static_cast<int>(jobs[i].JobId),
                          jobs[i].pDocument ? std::wstring(jobs[i].pDocument) : std::wstring(),
                          UtcTime(jobs[i].Submitted)});
    return listed;
}

int OwnJob(const std::vector<SpoolerJob>& jobs, const std::wstring& documentName,
           std::chrono::system_clock::time_point handedOverFrom, const std::set<int>& taken) {
    const SpoolerJob* oldest = nullptr;
    for (const SpoolerJob& job : jobs) {
        if (job.document != documentName || job.submitted < handedOverFrom - ServerClockBehind ||
            taken.contains(job.id))
            continue;
        if (!oldest || job.submitted < oldest->submitted ||
            (job.submitted == oldest->submitted && job.id < oldest->id))
            oldest = &job;
    }
    return oldest ? oldest->id : 0;
}

bool SaysNoSuchJob(DWORD error) {
    return error == ERROR_INVALID_PARAMETER || error == ERROR_SUCCESS;
}

PageHandOver FailedOpen(DWORD error) {
    if (error == ERROR_INVALID_PRINTER_NAME || error == ERROR_PRINTER_DELETED)
        return PageHandOver::NoPrinter;
    return ServerIsSilent(error) ? PageHandOver::NoAnswer : PageHandOver::Refused;
}

JobCancel TakenCancel(const std::optional<DWORD>& statusAfter) {
    if (!statusAfter)
        return JobCancel::Cancelled;
    switch (SpoolerJobState(*statusAfter, std::nullopt)) {
    case PrintJobState::Completed:
        return JobCancel::AlreadyEnd;
    case PrintJobState::Cancelled:
        return JobCancel::Cancelled;
    case PrintJobState::Waiting:
    case PrintJobState::Unreachable:
    case PrintJobState::Stalled:
    case PrintJobState::Failed:
    case PrintJobState::Gone:
    case PrintJobState::NoAnswer:
        break;
    }
    return JobCancel::Refused;
}

JobCancel FailedCancel(DWORD error) {
    if (SaysNoSuchJob(error))
        return JobCancel::AlreadyEnd;
    return ServerIsSilent(error) ? JobCancel::NoAnswer : JobCancel::Refused;
}
