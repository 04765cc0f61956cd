// Quick fixes: for every published diagnostic at the requested range whose
// finding carries a fix, the edit that writes it into its field.
#include "tools/lsp/language_server.h"

Json LanguageServer::code_action(const Json& params) {
    const OpenDocument& document = open_document(params);
    const Json& range = params.at("range");
    const int64_t first = range.at("start").at("line").get<int64_t>();
    const int64_t last = range.at("end").at("line").get<int64_t>();
    Json actions = Json::array();
    for (const PublishedDiagnostic& p : document.published) {
        if (!p.diagnostic.fix || !p.fixSpan || p.span.line < first || p.span.line > last) continue;
        const std::string text = cp1252_to_utf8(p.diagnostic.fix->text);
        Json edit = {{"range", range_json(*p.fixSpan)}, {"newText", text}};
        actions.push_back({{"title", "Write " + text},
                           {"kind", "quickfix"},
                           {"isPreferred", true},
                           {"diagnostics", Json::array({published_diagnostic_json(p)})},
                           {"edit", {{"changes", {{document.uri, Json::array({edit})}}}}}});
    }
    return actions;
}
