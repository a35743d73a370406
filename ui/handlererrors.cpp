#include "ui/handlererrors.h"

#include <stdexcept>

#include "widgets/changeerror.h"

namespace {

HandlerErrorReporter &reporterSlot()
{
    static HandlerErrorReporter reporter;
    return reporter;
}

// The handlers running one inside another.
int g_handlerDepth = 0;

void reportHandlerError(const std::exception &error)
{
    // A copy: the reporter shows a box, during which anything may happen.
    const HandlerErrorReporter reporter = reporterSlot();
    if (reporter)
        reporter(error);
}

} // namespace

HandlerErrorReporter setHandlerErrorReporter(HandlerErrorReporter reporter)
{
    HandlerErrorReporter previous = std::move(reporterSlot());
    reporterSlot() = std::move(reporter);
    return previous;
}

void runHandler(const std::function<void()> &body)
{
    const bool outermost = g_handlerDepth++ == 0;
    std::exception_ptr error;
    try {
        body();
    } catch (...) {
        error = std::current_exception();
    }
    --g_handlerDepth;
    // A nested handler keeps its error for the set that started it.
    if (!outermost) {
        if (error)
            holdChangeError(std::move(error));
        return;
    }
    // A nested handler's error that no set raised (a handler run by a focus
    // change, say) is reported once the outer handler has ended; when the
    // outer one failed itself, its own error is the one shown.
    const std::exception_ptr kept = takeChangeError();
    if (!error)
        error = kept;
    if (!error)
        return;
    if (!reporterSlot())
        std::rethrow_exception(error);
    try {
        std::rethrow_exception(error);
    } catch (const std::exception &escaped) {
        reportHandlerError(escaped);
    } catch (...) {
        reportHandlerError(std::runtime_error("Unknown error"));
    }
}
