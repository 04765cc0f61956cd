// The outline of a document: its sections, and in them the stations,
// signals, boards and slow-downs with their positions in km, so that an
// editor's outline and breadcrumbs show the route.
#include <cstdio>

#include "core/record_fields.h"
#include "tools/common/section_headers.h"
#include "tools/lsp/language_server.h"

namespace {

// The protocol's SymbolKind numbers of the kinds the outline uses.
enum SymbolKind : int { kNamespace = 3, kConstant = 14, kObject = 19, kEvent = 24, kOperator = 25 };

std::string km(int64_t metres) {
    char text[32];
    const int64_t whole = metres < 0 ? -metres : metres;
    std::snprintf(text, sizeof text, "km %s%lld.%03lld", metres < 0 ? "-" : "", static_cast<long long>(whole / 1000),
                  static_cast<long long>(whole % 1000));
    return text;
}

int symbol_kind(RecordKind kind) {
    switch (kind) {
        case RecordKind::Station: return kObject;
        case RecordKind::Signal: return kEvent;
        case RecordKind::SlowDown: return kOperator;
        default: return kConstant;
    }
}

bool in_outline(RecordKind kind) {
    return kind == RecordKind::Station || kind == RecordKind::Signal || kind == RecordKind::SpeedBoard ||
           kind == RecordKind::IndicationBoard || kind == RecordKind::SlowDown;
}

std::string symbol_name(const TracedRecord& r) {
    const std::string where = km(r.fields[0].value);
    if (r.kind == RecordKind::Station && r.fields.size() > kStationNameField)
        return cp1252_to_utf8(r.fields[kStationNameField].text) + " " + where;
    if (r.kind == RecordKind::IndicationBoard && r.fields.size() >= 2)
        return cp1252_to_utf8(r.fields[1].text) + " " + where;
    std::string title(record_keyword_field(r.kind).name);
    return title + " " + where;
}

Json symbol(std::string name, std::string detail, int kind, const TextSpan& range, const TextSpan& selection) {
    Json out = {{"name", std::move(name)}, {"kind", kind}, {"range", range_json(range)},
                {"selectionRange", range_json(selection)}, {"children", Json::array()}};
    if (!detail.empty()) out["detail"] = std::move(detail);
    return out;
}

}  // namespace

Json LanguageServer::document_symbol(const Json& params) {
    const OpenDocument& document = open_document(params);
    const TextLines lines(document.text);
    Json top = Json::array();
    std::vector<size_t> headers;
    for (size_t n = 0; n < lines.count(); ++n) {
        if (looks_like_section_header(lines.line(n))) headers.push_back(n);
    }
    // Each section runs from its header to the line before the next one.
    std::vector<Json> sections;
    for (size_t i = 0; i < headers.size(); ++i) {
        const size_t last = i + 1 < headers.size() ? headers[i + 1] - 1 : lines.count() - 1;
        const TextSpan head = lines.trimmed_line(headers[i]);
        Json range = range_json(head);
        range["start"]["character"] = 0;
        range["end"] = {{"line", last}, {"character", lines.line(last).size()}};
        Json s = symbol(std::string(lines.line(headers[i]).substr(head.begin, head.end - head.begin)), "", kNamespace,
                        head, head);
        s["range"] = range;
        sections.push_back(std::move(s));
    }
    for (const TracedRecord& r : document.records) {
        if (!in_outline(r.kind) || r.fields.empty() || !r.fields[0].number) continue;
        const TextSpan row = lines.trimmed_line(static_cast<size_t>(r.line) - 1);
        Json s = symbol(symbol_name(r), std::string(record_keyword_field(r.kind).name), symbol_kind(r.kind), row, row);
        size_t section = headers.size();
        for (size_t i = 0; i < headers.size(); ++i) {
            if (headers[i] < static_cast<size_t>(r.line) - 1) section = i;
        }
        if (section < headers.size()) sections[section]["children"].push_back(std::move(s));
        else top.push_back(std::move(s));
    }
    for (Json& s : sections) top.push_back(std::move(s));
    return top;
}
