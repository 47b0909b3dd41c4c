#pragma once
// What the Windows spooler's answers mean for a print, apart from the calls that get them: a
// job's status bits and its printer's status as the state of the print, the printer's status
// and attributes as its condition, which of a queue's jobs is the print's own, and what a failed
// call's error number says: plain functions of the answers, which a test can give any.
#include "base/WindowsApi.h"
#include "page/PrintSystem.h"

#include <winspool.h>

#include <chrono>
#include <optional>
#include <set>
#include <string>
#include <vector>

// What GetPrinterW (level 2) says of a printer.
struct SpoolerPrinter {
    DWORD status = 0;     // PRINTER_STATUS_...
    DWORD attributes = 0; // PRINTER_ATTRIBUTE_...
};

PrinterCondition SpoolerPrinterCondition(const SpoolerPrinter& printer);

// False when the printer is paused or being deleted: a job handed to it would wait until
// someone resumes it. An offline printer takes jobs, which wait for it.
bool SpoolerQueueAcceptsJobs(const SpoolerPrinter& printer);

// A job's state from its own status bits (JOB_STATUS_...) and, where those say only that it
// waits or prints, from its printer's: the spooler often marks an offline or stalled printer
// and not the jobs that wait for it. `printer` is nothing when the printer was not described.
PrintJobState SpoolerJobState(DWORD jobStatus, const std::optional<SpoolerPrinter>& printer);

// One job of a queue, as EnumJobsW (level 1) lists it.
struct SpoolerJob {
    int id = 0;
    std::wstring document;
    std::chrono::system_clock::time_point submitted;
};

std::vector<SpoolerJob> SpoolerJobs(const JOB_INFO_1W* jobs, DWORD count);

// The print's own job: the oldest under the print's document name, submitted not before the
// hand-over began, that is not another print's (`taken`); 0 when there is none.
int OwnJob(const std::vector<SpoolerJob>& jobs, const std::wstring& documentName,
           std::chrono::system_clock::time_point handedOverFrom, const std::set<int>& taken);

// True when a job call failed because the spooler has no such job: ERROR_INVALID_PARAMETER, or
// a failure that gives no error number at all, which is how Wine's spooler, having handed
// every job on to CUPS at once, answers for a job it no longer holds. Any other error is no
// answer: the job may well be there.
bool SaysNoSuchJob(DWORD error);

// What a failure to open a printer before a hand-over says: no such printer, no answer from
// its server, or a refusal (not allowed to print there, ...).
PageHandOver FailedOpen(DWORD error);

// What a withdrawal that the spooler took (SetJobW with JOB_CONTROL_DELETE answered yes) came
// to, from a look at the job just after: `statusAfter` is nothing when the look found no job
// or got no answer, and the spooler's yes then stands. A job still there and not being
// deleted was not withdrawn, whatever the spooler said (Wine's says yes to a job that it goes
// on to print).
JobCancel TakenCancel(const std::optional<DWORD>& statusAfter);

// What a failed withdrawal (SetJobW with JOB_CONTROL_DELETE, or a call before it) says.
JobCancel FailedCancel(DWORD error);
