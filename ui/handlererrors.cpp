#include "ui/handlererrors.h"

namespace {

HandlerErrorReporter &reporterSlot()
{
    static HandlerErrorReporter reporter;
    return reporter;
}

} // namespace

HandlerErrorReporter SetHandlerErrorReporter(HandlerErrorReporter reporter)
{
    HandlerErrorReporter previous = std::move(reporterSlot());
    reporterSlot() = std::move(reporter);
    return previous;
}

bool HasHandlerErrorReporter()
{
    return bool(reporterSlot());
}

void ReportHandlerError(const std::exception &error)
{
    // A copy: the reporter shows a box, during which anything may happen.
    const HandlerErrorReporter reporter = reporterSlot();
    if (reporter)
        reporter(error);
}
