#include "frame/HandlerGuard.h"

#include <QtGlobal>

namespace {

ProgramErrorHandler& CurrentErrorHandler() {
    static ProgramErrorHandler handler;
    return handler;
}

void LogError(std::exception_ptr error) noexcept {
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
    CurrentErrorHandler() = std::move(handler);
}

void HandleEscapedError(QObject* sender, std::exception_ptr error) noexcept {
    try {
        std::rethrow_exception(error);
    } catch (const EAbort&) {
        return;
    } catch (...) {
    }
    try {
        if (CurrentErrorHandler()) {
            CurrentErrorHandler()(sender, error);
            return;
        }
    } catch (...) {
        // The error handler itself failed: all that is left is the log.
        LogError(std::current_exception());
    }
    LogError(error);
}
