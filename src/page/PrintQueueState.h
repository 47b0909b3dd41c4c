#pragma once
// What the print system says about a queue before a page is handed to it, and whether it took
// the page afterwards. Qt hands a job over and forgets the answer: a queue that rejects jobs
// (cupsreject) or a stopped printer (cupsdisable) would print nothing while the print looks
// done. Built without CUPS (Windows, macOS) every queue counts as accepting.
#include <QString>

// False when the queue is known to refuse new jobs or its printer is stopped. A queue the print
// system cannot describe counts as accepting: the print itself then says what happens.
bool PrintQueueAcceptsJobs(const QString& queue);

// After a job went through Qt's CUPS printing on this thread: false when the print system
// refused the job at hand-over.
bool LastPrintJobWasAccepted();
