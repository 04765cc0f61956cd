// Where a check's findings, and the other rows they name, stand in their
// documents: the field or keyword each is about, at the bytes the reader
// recorded for it in the read trace. The language server marks these spans;
// SARIF and JSON give them as columns.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/read_trace.h"
#include "tools/diagnostics/checker.h"
#include "tools/places/text_span.h"

// A finding's mark: what it names, or its record's keyword when it is about the record as a whole.
struct FindingMark {
    TextSpan span;
    bool named = true;  // the field or keyword the finding names (false: the record's keyword instead)
};

class FindingPlaces {
public:
    // The two documents by the paths the diagnostics give them, the check's
    // last pass's trace (which must outlive this) and the rows it refused.
    FindingPlaces(std::string linePath, std::string trainPath, const ReadTrace& trace,
                  const std::vector<RefusedRecord>& refused);

    // The row a pass refused for an error, as that pass traced it; nullptr for none.
    const RefusedRecord* refusal(const Diagnostic& d) const;
    // Where a finding stands: the field a read failure stopped at, else the
    // field the finding names (its keyword for field 0, a keyword that named
    // no record included), else its record's keyword. Nothing when it belongs
    // to no line or names no record: the line as a whole.
    std::optional<FindingMark> mark(const Diagnostic& d) const;
    // The span of the field a related place names; nothing when the field is
    // not known or the row was not traced: the line as a whole.
    std::optional<TextSpan> related(const RelatedPlace& place) const;
    // That span for each of a finding's related places, in order.
    std::vector<std::optional<TextSpan>> related_spans(const Diagnostic& d) const;

private:
    Document document_of(const std::string& path) const;
    // The record the last pass traced last at the line; nullptr for none.
    const TracedRecord* traced_at(Document document, int32_t line) const;
    // That record, else one an earlier pass refused there; nullptr for none.
    const TracedRecord* record_at(Document document, int32_t line) const;

    std::string linePath_, trainPath_;
    const ReadTrace& trace_;
    const std::vector<RefusedRecord>& refused_;
    std::vector<std::pair<std::pair<Document, int32_t>, size_t>> byLine_;  // (document, line) → record, sorted
};

// A span as columns of a row's line from 1, end exclusive ({first, past});
// nothing without a span or when the span stands on another line (a field of
// a row written over several lines).
std::optional<std::pair<int32_t, int32_t>> columns_on(const std::optional<TextSpan>& span, int32_t line);
