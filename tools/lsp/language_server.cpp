// The lifecycle of the server and the documents the editor keeps in sync.
#include "tools/lsp/language_server.h"


Json LanguageServer::initialize(const Json&) {
    stage_ = Stage::Running;
    return {
        {"capabilities",
         {
             {"positionEncoding", "utf-16"},
             {"textDocumentSync", {{"openClose", true}, {"change", 1}, {"save", {{"includeText", false}}}}},
             {"hoverProvider", true},
             {"completionProvider", {{"triggerCharacters", {"["}}}},
             {"documentSymbolProvider", true},
             {"codeActionProvider", {{"codeActionKinds", {"quickfix"}}}},
         }},
        {"serverInfo", {{"name", "scenario_tool"}}},
    };
}

Json LanguageServer::shutdown(const Json&) {
    stage_ = Stage::ShutDown;
    shutdownAsked_ = true;
    return nullptr;
}

void LanguageServer::exit(const Json&) { stage_ = Stage::Exited; }

const OpenDocument* LanguageServer::document(const std::string& uri) const {
    const auto it = documents_.find(uri);
    return it == documents_.end() ? nullptr : &it->second;
}

OpenDocument& LanguageServer::open_document(const Json& params) {
    const std::string uri = params.at("textDocument").at("uri").get<std::string>();
    const auto it = documents_.find(uri);
    if (it == documents_.end()) throw InvalidParams("the document " + uri + " is not open");
    return it->second;
}

void LanguageServer::set_text(OpenDocument& document, const std::string& utf8) {
    Cp1252Text held = utf8_to_cp1252(utf8);
    document.text = std::move(held.bytes);
    document.unrepresentable = std::move(held.unrepresentable);
    stale_ = true;
    ++changes_;
}

void LanguageServer::did_open(const Json& params) {
    const Json& item = params.at("textDocument");
    const std::string uri = item.at("uri").get<std::string>();
    const std::optional<std::string> path = uri_to_path(uri);
    if (!path) throw InvalidParams("the server reads files only: " + uri);
    OpenDocument document;
    document.uri = uri;
    document.path = *path;
    document.version = item.value("version", int64_t{0});
    set_text(document, item.at("text").get<std::string>());
    documents_[uri] = std::move(document);
    std::erase(closed_, uri);
}

void LanguageServer::did_change(const Json& params) {
    OpenDocument& document = open_document(params);
    const Json& changes = params.at("contentChanges");
    if (!changes.is_array() || changes.empty()) throw InvalidParams("contentChanges holds no change");
    // Full-text sync: the last change is the whole new text.
    const Json& last = changes.back();
    if (last.contains("range")) throw InvalidParams("the server takes whole texts only (textDocumentSync 1)");
    document.version = params.at("textDocument").value("version", document.version);
    set_text(document, last.at("text").get<std::string>());
}

void LanguageServer::did_save(const Json& params) {
    open_document(params);
    stale_ = true;  // a partner read from disk may have changed with it
    ++changes_;
}

void LanguageServer::did_close(const Json& params) {
    const std::string uri = open_document(params).uri;
    documents_.erase(uri);
    closed_.push_back(uri);
    stale_ = true;  // its partners read it from disk from now on
    ++changes_;
}
