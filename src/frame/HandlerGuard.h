#pragma once
// Every event handler of every window is entered through Guarded: an error that escapes the
// handler ends it there and goes to the program's error handler (the main window's
// AppException); the silent abort is dropped. No exception ever reaches Qt's own frames.
#include "base/Errors.h"

#include <QObject>

#include <exception>
#include <functional>
#include <utility>

using ProgramErrorHandler = std::function<void(QObject* sender, std::exception_ptr error)>;

// The handler every escaped error goes to; an empty one leaves only a line on the log.
void SetProgramErrorHandler(ProgramErrorHandler handler);

// Hands an escaped error to the program's error handler; never throws.
void HandleEscapedError(QObject* sender, std::exception_ptr error) noexcept;

template <class Handler> void Guarded(QObject* sender, Handler&& handler) noexcept {
    try {
        std::invoke(std::forward<Handler>(handler));
    } catch (...) {
        // The silent abort cancels the operation without a message (HandleEscapedError).
        HandleEscapedError(sender, std::current_exception());
    }
}

// Connects a signal to a window's handler, entered through the guard. The handler takes no
// arguments: the signal's own arguments are not needed by any handler.
template <class Sender, class Signal, class Receiver, class Handler>
QMetaObject::Connection ConnectGuarded(Sender* sender, Signal signal, Receiver* receiver,
                                       Handler handler) {
    return QObject::connect(
        sender, signal, receiver,
        [sender, receiver, handler] {
            Guarded(
                sender, [&] { std::invoke(handler, receiver); });
        });
}
