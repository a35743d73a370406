#pragma once
// Error reporting of the main window's handlers.
//
// The toolkit's own code is not built to let errors pass through it (its
// cleanups would be skipped), so no handler lets an error escape into it: a
// handler runs its body through runHandler. Only the outermost handler, the
// one an event started, reports: it hands an escaping error to the reporter
// that the application frame installs (its error display), the handler
// stops there and the program goes on. A handler run inside another one
// (a field set by the outer handler raises the field's change handler)
// passes its error out through that set instead (widgets/changeerror.h):
// the outer handler stops at the set, and one box shows the error.
#include <exception>
#include <functional>
#include <stdexcept>

using HandlerErrorReporter = std::function<void(const std::exception &)>;

// Installs the reporter; returns the previous one. Without a reporter an
// error that leaves the outermost handler is passed on to its caller.
HandlerErrorReporter setHandlerErrorReporter(HandlerErrorReporter reporter);
bool hasHandlerErrorReporter();
void reportHandlerError(const std::exception &error);

// Counts the handlers running one inside another for as long as it lives.
class HandlerNesting
{
public:
    HandlerNesting();
    ~HandlerNesting();
    HandlerNesting(const HandlerNesting &) = delete;
    HandlerNesting &operator=(const HandlerNesting &) = delete;

    // No other handler was running when this one started.
    bool outermost() const { return m_outermost; }

private:
    bool m_outermost;
};

// The end of a handler whose body let `error` escape (or none): a nested
// handler keeps it for the set that started it; the outermost one reports
// it, or an error that a nested handler kept and no set raised.
void finishHandler(bool outermost, std::exception_ptr error);

// Runs `body` as a handler.
template <class Body>
void runHandler(Body &&body)
{
    std::exception_ptr error;
    bool outermost = false;
    {
        const HandlerNesting nesting;
        outermost = nesting.outermost();
        try {
            body();
        } catch (...) {
            error = std::current_exception();
        }
    }
    finishHandler(outermost, std::move(error));
}
