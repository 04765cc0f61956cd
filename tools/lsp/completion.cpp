// Completion at the start of a row: the section headers of the document and
// the record keywords of the section the cursor stands in, each with a snippet
// of its fields; a curve comes in every hand and class.
#include "tools/common/ascii_text.h"
#include "tools/common/section_headers.h"
#include "tools/lsp/language_server.h"
#include "tools/lsp/record_reference.h"

namespace {

// CompletionItemKind and InsertTextFormat of the protocol.
constexpr int kKeywordItem = 14;
constexpr int kModuleItem = 9;
constexpr int kSnippet = 2;

std::string snippet(std::string_view keyword, const RecordReference& r) {
    std::string text(keyword);
    int n = 0;
    for (const FieldReference& f : r.fields) {
        std::string name(f.name);
        for (char& c : name) {
            if (c == '}' || c == '$' || c == '\\') c = ' ';
        }
        text += ",  ${" + std::to_string(++n) + ":" + name + "}";
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
    for (const RecordReference& r : record_references()) {
        if (part_of(r.kind) != part) continue;
        const bool first = std::find(preferred.begin(), preferred.end(), r.kind) != preferred.end();
        if (r.kind != RecordKind::Curve) {
            items.push_back(item(std::string(r.keyword), kKeywordItem, std::string(r.title), reference_text(r.summary),
                                 snippet(r.keyword, r), true, first, replaced));
            continue;
        }
        for (const char* hand : {"curvad", "curvas"}) {
            for (const CurveClass& c : curve_classes()) {
                const std::string keyword = hand + std::to_string(c.number);
                const std::string detail = std::string(hand[5] == 'd' ? "right-hand" : "left-hand") + " curve, class " +
                                           std::to_string(c.number) + ": " + std::string(c.turnRate) +
                                           " rad/m, radius about " + std::string(c.radius);
                items.push_back(item(keyword, kKeywordItem, detail, reference_text(r.summary), snippet(keyword, r), true,
                                     first, replaced));
            }
        }
    }
    return {{"isIncomplete", false}, {"items", items}};
}
