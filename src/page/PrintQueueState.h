#pragma once
// What the print system says about its server and a queue before a page is handed to it, and
// what became of the job afterwards. Qt hands a job over and forgets the answer: a queue that
// rejects jobs (cupsreject), a stopped printer (cupsdisable) or a device that cannot be opened
// would print nothing while the print looks done, and a server that does not answer would
// hold the program for a minute or two. Every question here has a time limit of a few
// seconds. Built without CUPS (Windows, macOS) the server always answers, every queue counts
// as accepting and every job as printed.
#include <QString>

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

// This user's newest job on the queue, finished or not; 0 when there is none. Taken before a
// print, it tells the print's own job from the older ones.
int NewestPrintJob(const QString& queue);

// Follows this user's job on the queue that is newer than `newestBefore`, until it completes
// and at most a few seconds. False when the print system stops or aborts it, or stops the
// printer while it waits: that job is then cancelled, so that it cannot come out later on
// whatever paper is in the printer by then. A job still waiting or printing at the end, or one
// the server no longer lists, counts as printed.
bool PrintJobComesThrough(const QString& queue, int newestBefore);
