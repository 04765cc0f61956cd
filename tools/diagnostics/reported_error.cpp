#include "tools/diagnostics/reported_error.h"

ErrorCode reported_error(const Form1& form) {
    return static_cast<ErrorCode>(form.errorReported != kNoError ? form.errorReported : form.errorCode);
}

const RefusedRow* reported_refusal(const Form1& form) {
    const auto& refusals = form.trace.refusals;
    if (refusals.empty() || refusals.front().code != reported_error(form)) return nullptr;
    return &refusals.front();
}

const TracedRecord* refused_record(const Form1& form) {
    const RefusedRow* refused = reported_refusal(form);
    if (refused == nullptr || refused->record < 0) return nullptr;
    return &form.trace.records[static_cast<size_t>(refused->record)];
}
