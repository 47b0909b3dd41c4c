#include "page/PrintQueueState.h"

#ifdef QUOTARIO_HAVE_CUPS
#include <cups/cups.h>

#include <QByteArray>
#include <QLibrary>

namespace {

constexpr int PrinterStateStopped = 5; // IPP printer-state: 3 idle, 4 processing, 5 stopped

// The CUPS library is looked up at the first print, not linked: linked, it and the libraries
// it needs would be loaded at every start of the program. Only the declarations of
// <cups/cups.h> are used here, for the functions' types.
struct CupsLibrary {
    decltype(&cupsGetNamedDest) getNamedDest = nullptr;
    decltype(&cupsGetOption) getOption = nullptr;
    decltype(&cupsFreeDests) freeDests = nullptr;
    decltype(&cupsLastError) lastError = nullptr;
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
            !Resolve(library, "cupsLastError", found.lastError))
            return CupsLibrary();
        return found;
    }();
    return cups.lastError ? &cups : nullptr;
}

} // namespace

bool PrintQueueAcceptsJobs(const QString& queue) {
    const CupsLibrary* cups = Cups();
    if (!cups)
        return true;
    // Qt names a queue's instance "queue/instance"; CUPS takes the two apart.
    const qsizetype slash = queue.indexOf('/');
    const QByteArray name = queue.left(slash).toLocal8Bit();
    const QByteArray instance = slash < 0 ? QByteArray() : queue.mid(slash + 1).toLocal8Bit();
    // No connection of its own: the library's default server, the one Qt prints to.
    cups_dest_t* dest = cups->getNamedDest(nullptr, name.constData(),
                                           instance.isEmpty() ? nullptr : instance.constData());
    if (!dest)
        return true;
    const char* accepting =
        cups->getOption("printer-is-accepting-jobs", dest->num_options, dest->options);
    const char* state = cups->getOption("printer-state", dest->num_options, dest->options);
    const bool refuses = accepting && QByteArray(accepting) == "false";
    const bool stopped = state && QByteArray(state).toInt() == PrinterStateStopped;
    cups->freeDests(1, dest);
    return !refuses && !stopped;
}

bool LastPrintJobWasAccepted() {
    // Qt's CUPS printing calls cupsPrintFile on the painting thread and drops its answer; the
    // library keeps the last status per thread.
    const CupsLibrary* cups = Cups();
    return !cups || cups->lastError() <= IPP_STATUS_OK_EVENTS_COMPLETE;
}

#else

bool PrintQueueAcceptsJobs(const QString&) {
    return true;
}

bool LastPrintJobWasAccepted() {
    return true;
}

#endif
