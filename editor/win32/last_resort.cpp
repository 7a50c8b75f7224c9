#include "editor/win32/last_resort.h"

namespace quillet::win32 {

namespace {

FailureReporter reporter = nullptr;
void* reporterContext = nullptr;
bool reporting = false;

} // namespace

void SetFailureReporter(FailureReporter report, void* context) {
    reporter = report;
    reporterContext = context;
}

void ReportFailure(Failure failure) noexcept {
    if (!reporter || reporting)
        return;
    reporting = true;
    try {
        reporter(reporterContext, failure);
    } catch (...) {
        // Nothing more can be said.
    }
    reporting = false;
}

} // namespace quillet::win32
