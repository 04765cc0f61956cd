// Where the fields of a traced record stand in their lines: what a mark, a
// hover or a quick fix points at.
#pragma once

#include <optional>

#include "core/read_trace.h"
#include "tools/lsp/text_positions.h"

// The span of the record's keyword field, and of its n-th value (from 1).
// Nothing when the record has no such field.
std::optional<TextSpan> keyword_span(const TracedRecord& record, const TextLines& lines);
std::optional<TextSpan> field_span(const TracedRecord& record, int n, const TextLines& lines);

// The keyword field at the start of a line whose record was lost (a misspelt keyword).
TextSpan lost_keyword_span(int32_t line, const TextLines& lines);
