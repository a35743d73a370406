#pragma once
// Error reporting of the main window's handlers.
//
// The toolkit's own code is not built to let errors pass through it (its
// cleanups would be skipped), so no handler lets an error escape into it: a
// handler runs its body through RunHandler, which hands an escaping error to
// the reporter that the application frame installs (its error display). The
// handler stops there; the program goes on.
#include <exception>
#include <functional>
#include <stdexcept>

using HandlerErrorReporter = std::function<void(const std::exception &)>;

// Installs the reporter; returns the previous one. Without a reporter an
// escaping error is passed on to the caller.
HandlerErrorReporter SetHandlerErrorReporter(HandlerErrorReporter reporter);
bool HasHandlerErrorReporter();
void ReportHandlerError(const std::exception &error);

// Runs `body`; an error escaping it goes to the reporter.
template <class Body>
void RunHandler(Body &&body)
{
    try {
        body();
    } catch (const std::exception &error) {
        if (!HasHandlerErrorReporter())
            throw;
        ReportHandlerError(error);
    } catch (...) {
        if (!HasHandlerErrorReporter())
            throw;
        ReportHandlerError(std::runtime_error("Unknown error"));
    }
}
