// Completion at the start of a row: the section headers of the document and
// the record keywords of the section the cursor stands in, each with a snippet
// of its fields; a curve comes in every hand and class.
#include "core/record_fields.h"
#include "tools/common/ascii_text.h"
#include "tools/common/section_headers.h"
#include "tools/lsp/language_server.h"

namespace {

// CompletionItemKind and InsertTextFormat of the protocol.
constexpr int kKeywordItem = 14;
constexpr int kModuleItem = 9;
constexpr int kSnippet = 2;

// The keyword and a placeholder for each value, named as the reference names it.
std::string snippet(std::string_view keyword, RecordKind kind) {
    std::string text(keyword);
    for (const RecordField& f : record_fields(kind).subspan(1)) {
        std::string name(f.name);
        for (char& c : name) {
            if (c == '}' || c == '$' || c == '\\') c = ' ';
        }
        text += ",  ${" + std::to_string(f.index) + ":" + name + "}";
    }
    return text;
}

Json item(std::string label, int kind, std::string detail, std::string documentation, std::string text,
          bool isSnippet, bool preferred, const TextSpan& replaced) {
    Json out = {{"label", std::move(label)},
                {"kind", kind},
                {"detail", std::move(detail)},
                {"sortText", (preferred ? "0 " : "1 ") + text},
                {"textEdit", {{"range", range_json(replaced)}, {"newText", text}}}};
    if (!documentation.empty()) out["documentation"] = {{"kind", "markdown"}, {"value", std::move(documentation)}};
    if (isSnippet) out["insertTextFormat"] = kSnippet;
    return out;
}

}  // namespace

Json LanguageServer::completion(const Json& params) {
    const OpenDocument& document = open_document(params);
    const int64_t line = params.at("position").at("line").get<int64_t>();
    const int64_t character = params.at("position").at("character").get<int64_t>();
    const TextLines lines(document.text);
    const Json none = {{"isIncomplete", false}, {"items", Json::array()}};
    if (line < 0 || static_cast<size_t>(line) >= std::max<size_t>(lines.count(), 1)) return none;
    const std::string_view text = lines.line(static_cast<size_t>(line));
    const size_t cursor = std::min<size_t>(static_cast<size_t>(std::max<int64_t>(character, 0)), text.size());
    const std::string_view before = text.substr(0, cursor);
    if (before.find(',') != std::string_view::npos) return none;  // among the values: nothing to offer
    const size_t start = before.size() - without_leading_blanks(before).size();
    const TextSpan replaced{static_cast<int32_t>(line), static_cast<int32_t>(start), static_cast<int32_t>(cursor)};

    const Document role = document_name(document.path).document;
    if (role == Document::None) return none;
    std::string header;
    for (size_t n = static_cast<size_t>(line); n-- > 0;) {
        if (looks_like_section_header(lines.line(n))) {
            header = trimmed(lines.line(n));
            break;
        }
    }
    std::span<const RecordKind> preferred;
    Json items = Json::array();
    for (const SectionHeader& h : section_headers()) {
        if (h.document != role) continue;
        if (h.text == header) preferred = h.kinds;
        items.push_back(item(std::string(h.text), kModuleItem, "section header", "", std::string(h.text), false,
                             false, replaced));
    }
    const bool general = role == Document::Line && (header.empty() || header == "[generale]");
    const DocumentPart part = role == Document::Train ? DocumentPart::Train
                              : general                 ? DocumentPart::LineGeneral
                                                        : DocumentPart::LineRecords;
    for (const RecordFormat& format : kRecordFormats) {
        const RecordKind kind = format.kind;
        if (part_of(kind) != part) continue;
        const bool first = std::find(preferred.begin(), preferred.end(), kind) != preferred.end();
        const RecordField& keyword = record_keyword_field(kind);
        if (kind != RecordKind::Curve) {
            items.push_back(item(std::string(format.written), kKeywordItem, std::string(keyword.name),
                                 field_note(keyword), snippet(format.written, kind), true, first, replaced));
            continue;
        }
        for (const std::string_view hand : kCurveForms) {
            for (int c = 1; c <= kCurveClassCount; ++c) {
                const std::string written = std::string(hand) + std::to_string(c);
                const bool left = hand.find(kLeftCurveLetter) != std::string_view::npos;
                const std::string detail = std::string(left ? "left-hand" : "right-hand") + " curve, class " +
                                           std::to_string(c) + ": " + turn_rate_text(c) + " rad/m, radius about " +
                                           std::to_string(curve_radius(c)) + " m";
                items.push_back(item(written, kKeywordItem, detail, field_note(keyword), snippet(written, kind), true,
                                     first, replaced));
            }
        }
    }
    return {{"isIncomplete", false}, {"items", items}};
}
