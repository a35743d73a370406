#pragma once
// Error reporting of the main window's handlers.
//
// The toolkit's own code is not built to let errors pass through it (its
// cleanups would be skipped), so no handler lets an error escape into it: a
// handler runs its body through runHandler, which hands an escaping error to
// the reporter that the application frame installs (its error display). The
// handler stops there; the program goes on.
#include <exception>
#include <functional>
#include <stdexcept>

using HandlerErrorReporter = std::function<void(const std::exception &)>;

// Installs the reporter; returns the previous one. Without a reporter an
// escaping error is passed on to the caller.
HandlerErrorReporter setHandlerErrorReporter(HandlerErrorReporter reporter);
bool hasHandlerErrorReporter();
void reportHandlerError(const std::exception &error);

// Runs `body`; an error escaping it goes to the reporter.
template <class Body>
void runHandler(Body &&body)
{
    try {
        body();
    } catch (const std::exception &error) {
        if (!hasHandlerErrorReporter())
            throw;
        reportHandlerError(error);
    } catch (...) {
        if (!hasHandlerErrorReporter())
            throw;
        reportHandlerError(std::runtime_error("Unknown error"));
    }
}
