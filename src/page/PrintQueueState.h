#pragma once
// What the print system says about its server and a queue before a page is handed to it, and
// what became of the job afterwards. Qt hands a job over and forgets the answer: a queue that
// rejects jobs (cupsreject), a stopped printer (cupsdisable), a device that cannot be opened or
// reached would print nothing while the print looks done, and a server that does not answer
// would hold the program for a minute or two. Every question here has a time limit of a few
// seconds. Built without CUPS (Windows, macOS) the server always answers, every queue counts
// as accepting and no job can be followed.
#include <QString>

#include <optional>

// False when the print server takes no connection or answers no short request within a few
// seconds. Where no server runs at all the connection is refused at once: that counts as
// answering, and the print then finds no printer.
bool PrintServerAnswers();

// False when the queue is known to refuse new jobs or its printer is stopped. A queue the print
// system cannot describe counts as accepting: the print itself then says what happens.
bool PrintQueueAcceptsJobs(const QString& queue);

// After a job went through Qt's CUPS printing on this thread: false when the print system
// refused the job at hand-over.
bool LastPrintJobWasAccepted();

// This user's newest job on the queue, finished or not; 0 when there is none, -1 when the
// print system cannot be asked (then no job can be followed). Taken before a print, it tells
// the print's own job from the older ones.
int NewestPrintJob(const QString& queue);

// This user's oldest job on the queue newer than `newestBefore`, finished or not: the print's
// own job. 0 when there is none, nothing when the server does not answer.
std::optional<int> OldestPrintJobAfter(const QString& queue, int newestBefore);

enum class PrintJobState {
    Waiting,     // waiting or printing
    Unreachable, // waiting or printing, while the print system cannot reach the printer
    Completed,
    Cancelled, // by the user, or withdrawn
    Failed,    // stopped or aborted by the print system, or its printer stopped meanwhile
    Gone,      // the server no longer knows the job
    NoAnswer,  // the server did not answer
};

// What the print system says of the job now.
PrintJobState LookAtPrintJob(int job);

// Withdraws the job, so that it cannot come out later on whatever paper is in the printer by
// then; a job already done stays as it was.
void CancelPrintJob(const QString& queue, int job);
