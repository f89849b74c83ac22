// The one handler of failures that no step handles: it shows the failure report and ends the
// process with status 1.
#pragma once

#include <new>

#include "setup/Failures.h"

[[noreturn]] void ReportUnhandledFailure(const SetupFailure& failure);

// Runs body; a failure that escapes it goes to ReportUnhandledFailure. Every window and dialog
// procedure runs its work through this, since an exception cannot unwind through the window
// system's own frames.
template <class Body>
auto GuardFailures(Body&& body) -> decltype(body()) {
    try {
        return body();
    } catch (const SetupFailure& failure) {
        ReportUnhandledFailure(failure);
    } catch (const std::bad_alloc&) {
        ReportUnhandledFailure(EOutOfMemory());
    }
}
