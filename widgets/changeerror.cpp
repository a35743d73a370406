#include "widgets/changeerror.h"

#include <utility>

namespace {

std::exception_ptr g_heldError;

} // namespace

void holdChangeError(std::exception_ptr error)
{
    if (!g_heldError)
        g_heldError = std::move(error);
}

std::exception_ptr takeChangeError() { return std::exchange(g_heldError, nullptr); }

void raiseChangeError()
{
    if (std::exception_ptr error = takeChangeError())
        std::rethrow_exception(error);
}
