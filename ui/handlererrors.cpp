#include "ui/handlererrors.h"

namespace {

HandlerErrorReporter &reporterSlot()
{
    static HandlerErrorReporter reporter;
    return reporter;
}

} // namespace

HandlerErrorReporter setHandlerErrorReporter(HandlerErrorReporter reporter)
{
    HandlerErrorReporter previous = std::move(reporterSlot());
    reporterSlot() = std::move(reporter);
    return previous;
}

bool hasHandlerErrorReporter() { return bool(reporterSlot()); }

void reportHandlerError(const std::exception &error)
{
    // A copy: the reporter shows a box, during which anything may happen.
    const HandlerErrorReporter reporter = reporterSlot();
    if (reporter)
        reporter(error);
}
