#pragma once
// No exception may leave a window procedure: Windows' own frames lie between it and the message
// loop. What reaches a window procedure is reported here, and the window lives on.

#include <windows.h>

#include <new>
#include <stdexcept>

namespace quillet::win32 {

enum class Failure { OutOfMemory, Other };

// Set once by the program: how the user is told. Never reentered: a failure while one is being
// reported (a repaint under the message box) is not reported again. Without one, nothing is said.
using FailureReporter = void (*)(void* context, Failure failure);

struct FailureReporting {
    FailureReporter report = nullptr;
    void* context = nullptr;
    bool reporting = false;
};
// Header-only, so that the installer's windows share it without linking the editor.
inline FailureReporting failureReporting;

inline void SetFailureReporter(FailureReporter report, void* context) {
    failureReporting.report = report;
    failureReporting.context = context;
}

inline void ReportFailure(Failure failure) noexcept {
    FailureReporting& state = failureReporting;
    if (!state.report || state.reporting)
        return;
    state.reporting = true;
    try {
        state.report(state.context, failure);
    } catch (...) {
        // Nothing more can be said.
    }
    state.reporting = false;
}

// Runs handle(), the body of a window procedure; fallback is the answer when it throws.
template <class Handle> LRESULT CatchAll(Handle&& handle, LRESULT fallback) noexcept {
    try {
        return handle();
    } catch (const std::bad_alloc&) {
        ReportFailure(Failure::OutOfMemory);
    } catch (const std::length_error&) {
        ReportFailure(Failure::OutOfMemory);
    } catch (...) {
        ReportFailure(Failure::Other);
    }
    return fallback;
}

} // namespace quillet::win32
