// The error the diagnostics report and the row the pass refused for it, as
// its read trace recorded them: what every diagnostic of an error starts from.
#pragma once

#include "core/error_codes.h"
#include "core/form1.h"

// The code the diagnostics report: the first error the pass met.
ErrorCode reported_error(const Form1& form);

// The row the pass reports, as its read trace recorded it: the first one
// refused (the readers stop at it, and the pass keeps its first error), when
// it is the reported error's; nullptr when none is (a completion error).
const RefusedRow* reported_refusal(const Form1& form);
// That row's traced record; nullptr when it has none (a missing document).
const TracedRecord* refused_record(const Form1& form);
