#pragma once
// The one way into an event handler: an error that escapes it is reported to the user and the
// program goes on, since ending it would throw away the user's pictures.

#include "RuntimeError.h"
#include "Shell.h"

#include <exception>
#include <new>

template <typename Handler> void handleEvent(Shell& shell, Handler&& handler) noexcept {
    try {
        handler();
    } catch (const RuntimeError& error) {
        shell.reportError(error);
    } catch (const std::bad_alloc&) {
        shell.reportError(RuntimeError(Failure{Reason::OutOfMemory}));
    } catch (const std::exception& error) {
        shell.reportError(RuntimeError(
            Failure{.reason = Reason::InternalError, .detail = QString::fromLocal8Bit(error.what())}));
    }
}

// Skip-and-continue: a failing step is skipped silently and the handler goes on with the next.
template <typename Step> void skipOnError(Step&& step) noexcept {
    try {
        step();
    } catch (const std::exception&) {
    }
}
