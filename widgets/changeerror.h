#pragma once
// An error of a change handler on its way out through the set that raised
// the change.
//
// A field's change notification reaches its handlers through the toolkit's
// signal code, which no error may unwind (its cleanups would be skipped).
// A handler that runs inside another one and fails leaves its error here
// instead; the field's setter raises it as soon as its notification has
// returned, so that the error leaves through the set into the code that set
// the field.
#include <exception>

// Keeps `error` until a setter raises it; the first error kept stays.
void holdChangeError(std::exception_ptr error);
// Hands over the error kept, or none.
std::exception_ptr takeChangeError();
// Raises the error kept, if there is one.
void raiseChangeError();
