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

using HandlerErrorReporter = std::function<void(const std::exception &)>;

// Installs the reporter; returns the previous one. Without a reporter an
// error that leaves the outermost handler is passed on to its caller.
HandlerErrorReporter setHandlerErrorReporter(HandlerErrorReporter reporter);

// Runs `body` as a handler.
void runHandler(const std::function<void()> &body);
