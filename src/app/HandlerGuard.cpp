#include "HandlerGuard.h"

#include <QAbstractButton>
#include <QtGlobal>

namespace {

int runningHandlers = 0;

// The error of the handler that ClickFromHandler's click runs, kept for the caller.
struct ClickedHandlerError {
    int depth; // the guarded run of the clicked button's handler
    std::exception_ptr error;
};
ClickedHandlerError* clickInProgress = nullptr;

ProgramErrorHandler& programErrorHandler() {
    static ProgramErrorHandler handler;
    return handler;
}

void logError(std::exception_ptr error) noexcept {
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        qCritical("Unhandled error: %s", e.what());
    } catch (...) {
        qCritical("Unhandled error of unknown kind");
    }
}

} // namespace

void SetProgramErrorHandler(ProgramErrorHandler handler) {
    programErrorHandler() = std::move(handler);
}

GuardedRun::GuardedRun() noexcept {
    ++runningHandlers;
}

GuardedRun::~GuardedRun() {
    --runningHandlers;
}

void ClickFromHandler(QAbstractButton* button) {
    ClickedHandlerError clicked{runningHandlers + 1, nullptr};
    ClickedHandlerError* const outer = std::exchange(clickInProgress, &clicked);
    struct Restore {
        ClickedHandlerError* outer;
        ~Restore() { clickInProgress = outer; }
    } restore{outer};
    button->click();
    if (clicked.error)
        std::rethrow_exception(clicked.error);
}

void HandleEscapedError(QObject* sender, std::exception_ptr error) noexcept {
    if (clickInProgress && clickInProgress->depth == runningHandlers && !clickInProgress->error) {
        clickInProgress->error = error;
        return;
    }
    try {
        std::rethrow_exception(error);
    } catch (const EAbort&) {
        return;
    } catch (...) {
    }
    try {
        if (programErrorHandler()) {
            programErrorHandler()(sender, error);
            return;
        }
    } catch (...) {
        // The error handler itself failed: all that is left is the log.
        logError(std::current_exception());
    }
    logError(error);
}
