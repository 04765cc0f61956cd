// Where the fields of a traced record stand in their lines, from the bytes
// the reader recorded for each: what a mark, a hover or a quick fix points at.
#pragma once

#include <optional>

#include "core/read_trace.h"
#include "tools/places/text_span.h"

// The span of the record's keyword field, and of its n-th value (from 1).
// Nothing when the record has no such field.
std::optional<TextSpan> keyword_span(const TracedRecord& record);
std::optional<TextSpan> field_span(const TracedRecord& record, int n);

// The span of a keyword field that named no record (a misspelt keyword).
TextSpan keyword_field_span(const KeywordField& keyword);
