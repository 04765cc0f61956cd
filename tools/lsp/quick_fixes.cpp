// Quick fixes: for every published diagnostic at the requested range whose
// finding carries a fix, the edit that writes it into its field; for a
// feature on a taken cell, the edit that moves it to the nearest free cell
// the refusing pass recorded.
#include "tools/lsp/language_server.h"

namespace {

Json quick_fix(const std::string& uri, const PublishedDiagnostic& p, const TextSpan& span, const std::string& text,
               const std::string& title) {
    Json edit = {{"range", range_json(span)}, {"newText", text}};
    return {{"title", title},
            {"kind", "quickfix"},
            {"isPreferred", true},
            {"diagnostics", Json::array({published_diagnostic_json(p)})},
            {"edit", {{"changes", {{uri, Json::array({edit})}}}}}};
}

}  // namespace

Json LanguageServer::code_action(const Json& params) {
    const OpenDocument& document = open_document(params);
    const Json& range = params.at("range");
    const int64_t first = range.at("start").at("line").get<int64_t>();
    const int64_t last = range.at("end").at("line").get<int64_t>();
    Json actions = Json::array();
    for (const PublishedDiagnostic& p : document.published) {
        if (p.span.line < first || p.span.line > last) continue;
        if (p.diagnostic.fix && p.fixSpan) {
            const std::string text = cp1252_to_utf8(p.diagnostic.fix->text);
            actions.push_back(quick_fix(document.uri, p, *p.fixSpan, text, "Write " + text));
        }
        if (p.move) actions.push_back(quick_fix(document.uri, p, p.move->span, p.move->text, p.move->title));
    }
    return actions;
}
