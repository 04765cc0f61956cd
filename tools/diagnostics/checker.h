// The whole check of a pair of documents: every independent error in one
// run, each as compile reports it, and warnings for documents that compile
// but almost certainly do not say what their author meant. The check command
// and the live preview both run it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/read_trace.h"
#include "tools/common/scenario_names.h"
#include "tools/diagnostics/author_document.h"
#include "tools/diagnostics/diagnostic.h"

// A row a pass refused, as that pass traced it: the check leaves the row out
// of the passes after it, so the last pass's trace no longer holds it.
struct RefusedRecord {
    RefusedRow row;                      // its `record` indexes no trace: the record is here
    std::optional<TracedRecord> record;  // the refused record, when the row had one
    std::optional<TracedField> unread;   // the field a read failure stopped at
};

struct CheckResult {
    std::vector<Diagnostic> diagnostics;  // line description, train description, then the checks after reading
    std::vector<RefusedRecord> refused;   // each reader error's row, in the order the passes met them
    int errors = 0;
    int warnings = 0;
    bool stoppedAtMaxErrors = false;
    bool unreadable = false;  // a document could not be read at all: the check ended there
};

// The whole check of two documents. The compile pass runs from memory on
// copies of their texts; no file is opened, written or deleted.
// With `trace`, what the last pass read is kept there.
CheckResult check_sources(const AuthorDocument& line, const AuthorDocument& train, const ScenarioNames& names,
                          int maxErrors, ReadTrace* trace = nullptr);

// 0 without errors, 1 with an error (or a warning under --werror), 2 when a document could not be read.
int check_status(const CheckResult& result, bool werror);
