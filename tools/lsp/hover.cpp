// Hover: on a keyword, the record kind with its fields; on a value, the field
// and what the compiler makes of it; on a marked field, the explanation of
// the diagnostic's code, as `scenario_tool explain` gives it.
#include <algorithm>

#include "core/format.h"
#include "core/record_fields.h"
#include "core/track_grid.h"
#include "tools/codes/explanations.h"
#include "tools/places/field_spans.h"
#include "tools/lsp/language_server.h"
#include "tools/common/record_names.h"

namespace {

// The kind's values with their width, unit and range, as the authors' reference gives them.
std::string field_table(RecordKind kind) {
    std::string text = "| Field | Width | Unit | Range |\n|---|---|---|---|\n";
    for (const RecordField& f : record_fields(kind).subspan(1)) {
        text += "| " + std::to_string(f.index) + " " + std::string(f.name) + " | " + std::string(width_text(f.width)) +
                " | " + std::string(unit_text(f.unit)) + " | " + field_note(f) + " |\n";
    }
    return text;
}

std::string keyword_hover(RecordKind kind) {
    const RecordField& keyword = record_keyword_field(kind);
    return "**" + std::string(keyword.name) + "** (`" + std::string(record_format(kind).written) + "`)\n\n" +
           field_note(keyword) + "\n\n" + field_table(kind);
}

bool is_profile(RecordKind kind) {
    return kind == RecordKind::Gradient || kind == RecordKind::SpeedLimit || kind == RecordKind::Adhesion;
}

// What the compiler makes of the record's first value, its position.
std::string position_becomes(const TracedRecord& r, const std::vector<int32_t>& cells) {
    const int64_t position = r.fields[0].value;
    if (!cells.empty()) {
        return "On the grid: cell " + std::to_string(cells[0]) + ", the cell of " +
               std::to_string(cell_position(cells[0])) + " m" +
               (cell_position(cells[0]) == position ? "." : " (the position is moved there).");
    }
    if (is_profile(r.kind)) {
        const int64_t cell = profile_cell_index(static_cast<double>(position));
        return "On the grid: takes effect from cell " + std::to_string(cell) + " (metres " +
               std::to_string(profile_cell_start(cell)) + " to " + std::to_string(profile_cell_start(cell) + kCellMetres) +
               ") on.";
    }
    return "";
}

std::string field_hover(const TracedRecord& r, const std::vector<int32_t>& cells, int n) {
    std::string text = "**" + field_name(r.kind, n) + "**";
    if (const RecordField* f = n >= 1 ? find_record_field(r.kind, n) : nullptr) {
        const std::string_view unit = unit_text(f->unit);
        text += "\n\n" + std::string(f->name) + ": " + std::string(width_text(f->width)) +
                (unit.empty() ? "" : ", " + std::string(unit)) + "; " + field_note(*f);
    }
    const TracedField& field = r.fields[static_cast<size_t>(n) - 1];
    if (field.number) {
        text += "\n\nRead as " + std::to_string(field.value) + (field.empty ? " (an empty field reads as 0)." : ".");
        if (n == 1 && starts_with_position(r.kind)) {
            const std::string becomes = position_becomes(r, cells);
            if (!becomes.empty()) text += " " + becomes;
        }
    } else {
        text += "\n\nRead as \"" + cp1252_to_utf8(field.text) + "\".";
    }
    return text;
}

}  // namespace

Json LanguageServer::hover(const Json& params) {
    const OpenDocument& document = open_document(params);
    const int64_t line = params.at("position").at("line").get<int64_t>();
    const int64_t character = params.at("position").at("character").get<int64_t>();
    std::vector<std::string> parts;
    std::optional<TextSpan> where;

    for (size_t i = 0; i < document.records.size(); ++i) {
        const TracedRecord& r = document.records[i];
        if (r.line - 1 > line) break;
        if (const auto k = keyword_span(r); k && span_holds(*k, line, character)) {
            parts.push_back(keyword_hover(r.kind));
            where = k;
        }
        for (int n = 1; n <= static_cast<int>(r.fields.size()); ++n) {
            if (const auto f = field_span(r, n); f && span_holds(*f, line, character)) {
                parts.push_back(field_hover(r, document.recordCells[i], n));
                where = f;
            }
        }
    }
    std::vector<Code> explained;
    for (const PublishedDiagnostic& p : document.published) {
        if (!span_holds(p.span, line, character)) continue;
        const Explanation* explanation = find_explanation(p.diagnostic.code);
        if (explanation == nullptr || std::find(explained.begin(), explained.end(), p.diagnostic.code) != explained.end())
            continue;
        explained.push_back(p.diagnostic.code);
        parts.push_back(render_explanation(*explanation, Markup::Markdown));
        if (!where) where = p.span;
    }
    if (parts.empty()) return nullptr;
    std::string text;
    for (const std::string& part : parts) text += (text.empty() ? "" : "\n\n---\n\n") + part;
    return {{"contents", {{"kind", "markdown"}, {"value", text}}}, {"range", range_json(*where)}};
}
