#include "tools/diagnostics/error_place.h"

#include <algorithm>

#include "core/error_codes.h"
#include "core/field_stream.h"
#include "tools/common/record_names.h"
#include "tools/common/section_headers.h"
#include "tools/diagnostics/feature_cells.h"
#include "tools/diagnostics/keyword_distance.h"
#include "tools/diagnostics/short_route_length.h"

namespace {

// The route length row as the documents write it, and how many edits away a
// field may be to count as a misspelling of it.
constexpr std::string_view kRouteLengthKeyword = record_format(RecordKind::RouteLength).written;
constexpr size_t kNearKeyword = 6;

// The line a read failure points at: the refused row (the one being read,
// or the speed-limit row the grid could not hold), or the row that meant the
// route length.
int32_t read_failure_line(const Form1& form) {
    if (const TracedRecord* r = refused_record(form)) return r->line;
    if (form.trace.on && missing_route_length(form)) return route_length_row(form).line;
    return form.errorLine;
}

}  // namespace

const TracedRecord* unfinished_record(const Form1& form) {
    const TracedRecord* r = refused_record(form);
    if (r == nullptr || reported_error(form) != kReadFailure) return nullptr;
    if (static_cast<int>(r->fields.size()) >= traced_field_count(r->kind)) return nullptr;
    return r;
}

LengthRow route_length_row(const Form1& form) {
    LengthRow row;
    size_t nearest = kNearKeyword + 1;
    bool first = true;
    for (const KeywordField& k : form.trace.keywords) {
        if (k.document != Document::Line) continue;
        if (first) {
            row.line = k.line;
            row.text = k.text;
            first = false;
        }
        if (is_section_header(k.text)) break;  // the general section ends at its first header
        if (k.records > 0) continue;
        size_t d = keyword_distance(k.text, kRouteLengthKeyword);
        const auto& words = record_format(RecordKind::RouteLength).words;
        if (contiene(k.text, words[0]) || contiene(k.text, words[1])) d = std::min(d, kNearKeyword);
        if (d < nearest) {
            nearest = d;
            row = {k.line, k.text, true};
        }
    }
    return row;
}

bool missing_route_length(const Form1& form) {
    return form.errorDocument == Document::Line && !form.grid.sized() && unfinished_record(form) == nullptr &&
           form.file1.last_failure().what == FieldStream::Failure::What::None;
}

std::string line_of(const std::string& text, int32_t wanted) {
    const auto lines = document_lines(text);
    return wanted >= 1 && static_cast<size_t>(wanted) <= lines.size()
               ? std::string(lines[static_cast<size_t>(wanted) - 1])
               : std::string();
}

std::optional<ReservedFieldMessage> reserved_field_stop(const Form1& form) {
    for (ReservedFieldMessage m : kAllReservedFieldMessages) {
        if (form.erroreNumber == std::to_string(m)) return m;
    }
    return std::nullopt;
}

const TracedRecord* holder_of_cell_1(const Form1& form) {
    const FeatureCell* holder = last_holder(form.trace, 1, form.trace.cells.size());
    if (holder == nullptr || holder->record < 0) return nullptr;
    return &form.trace.records[static_cast<size_t>(holder->record)];
}

ErrorPlace error_place(const Form1& form, const SourceDocument& line, const SourceDocument& train) {
    const int32_t code = reported_error(form);
    const SourceDocument* doc = form.errorDocument == Document::Line ? &line : &train;
    int32_t at = form.errorLine;
    if (code == kReadFailure) at = doc->exists ? read_failure_line(form) : 0;
    if (code == kLineDocumentMissing || code == kNoGeneralSection) {
        // Of the whole document: the line where the reader gave up is its last.
        doc = &line;
        at = 0;
    } else if (code == kProgressiveNotOnCell) {
        doc = &line;
        const TracedRecord* r = refused_record(form);
        at = r != nullptr ? r->line : 0;
    } else if (is_completion_error(code)) {
        doc = &train;
        at = 0;
    } else if (const std::optional<ShortRouteLength> length = short_route_length(form)) {
        // Every row beyond a length row read short is refused: the length row is the one to mend.
        doc = &line;
        at = length->record->line;
    }
    return {doc, at};
}
