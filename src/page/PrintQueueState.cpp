#include "page/PrintQueueState.h"

#ifdef QUOTARIO_HAVE_CUPS
#include <cups/cups.h>

#include <QByteArray>

namespace {

constexpr int PrinterStateStopped = 5; // IPP printer-state: 3 idle, 4 processing, 5 stopped

} // namespace

bool PrintQueueAcceptsJobs(const QString& queue) {
    // Qt names a queue's instance "queue/instance"; CUPS takes the two apart.
    const qsizetype slash = queue.indexOf('/');
    const QByteArray name = queue.left(slash).toLocal8Bit();
    const QByteArray instance = slash < 0 ? QByteArray() : queue.mid(slash + 1).toLocal8Bit();
    cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.constData(),
                                         instance.isEmpty() ? nullptr : instance.constData());
    if (!dest)
        return true;
    const char* accepting =
        cupsGetOption("printer-is-accepting-jobs", dest->num_options, dest->options);
    const char* state = cupsGetOption("printer-state", dest->num_options, dest->options);
    const bool refuses = accepting && QByteArray(accepting) == "false";
    const bool stopped = state && QByteArray(state).toInt() == PrinterStateStopped;
    cupsFreeDests(1, dest);
    return !refuses && !stopped;
}

bool LastPrintJobWasAccepted() {
    // Qt's CUPS printing calls cupsPrintFile on the painting thread and drops its answer; the
    // library keeps the last status per thread.
    return cupsLastError() <= IPP_STATUS_OK_EVENTS_COMPLETE;
}

#else

bool PrintQueueAcceptsJobs(const QString&) {
    return true;
}

bool LastPrintJobWasAccepted() {
    return true;
}

#endif
