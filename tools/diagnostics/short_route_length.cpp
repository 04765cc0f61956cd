#include "tools/diagnostics/short_route_length.h"

#include "core/error_codes.h"
#include "tools/common/ascii_text.h"
#include "tools/diagnostics/reported_error.h"

namespace {

// The route length row that sized the grid: the last one the line reader read.
const TracedRecord* length_row(const ReadTrace& trace) {
    const TracedRecord* found = nullptr;
    for (const TracedRecord& r : trace.records) {
        if (r.document == Document::Line && r.kind == RecordKind::RouteLength) found = &r;
    }
    return found;
}

bool starts_with_digit(const std::string& text) {
    const std::string_view kept = without_leading_blanks(text);
    return !kept.empty() && kept.front() >= '0' && kept.front() <= '9';
}

}  // namespace

std::optional<ShortRouteLength> short_route_length(const Form1& form) {
    if (reported_error(form) != kNoRoomOnGrid || !form.grid.sized()) return std::nullopt;
    const TracedRecord* row = length_row(form.trace);
    if (row == nullptr || row->fields.empty()) return std::nullopt;
    const TracedField& value = row->fields[0];
    if (value.empty) return ShortRouteLength{row, value.value, true, false, ""};
    // The keyword field after the number on its line, passed over as naming no record.
    for (const KeywordField& k : form.trace.keywords) {
        if (k.document != Document::Line || k.line != value.line || k.column < value.endColumn) continue;
        if (k.records != 0 || !starts_with_digit(k.text)) break;
        return ShortRouteLength{row, value.value, false, value.runsOn, k.text};
    }
    return std::nullopt;
}

std::string meant_length(const ShortRouteLength& length) {
    std::string digits = std::to_string(length.length);
    for (char c : length.rest) {
        if (c >= '0' && c <= '9') digits += c;
    }
    return digits;
}
