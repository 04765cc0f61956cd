// The methods of the protocol the server answers, each with its feature.
#include "tools/lsp/dispatch.h"

namespace {

template <void (LanguageServer::*Feature)(const Json&)>
Json notification(LanguageServer& server, const Json& params) {
    (server.*Feature)(params);
    return nullptr;
}

template <Json (LanguageServer::*Feature)(const Json&)>
Json request(LanguageServer& server, const Json& params) {
    return (server.*Feature)(params);
}

constexpr MethodEntry kMethods[] = {
    {"initialize", true, request<&LanguageServer::initialize>},
    {"initialized", false, notification<&LanguageServer::initialized>},
    {"shutdown", true, request<&LanguageServer::shutdown>},
    {"exit", false, notification<&LanguageServer::exit>},
    {"textDocument/didOpen", false, notification<&LanguageServer::did_open>},
    {"textDocument/didChange", false, notification<&LanguageServer::did_change>},
    {"textDocument/didSave", false, notification<&LanguageServer::did_save>},
    {"textDocument/didClose", false, notification<&LanguageServer::did_close>},
    {"textDocument/hover", true, request<&LanguageServer::hover>},
    {"textDocument/completion", true, request<&LanguageServer::completion>},
    {"textDocument/documentSymbol", true, request<&LanguageServer::document_symbol>},
    {"textDocument/codeAction", true, request<&LanguageServer::code_action>},
};

}  // namespace

std::span<const MethodEntry> method_table() { return kMethods; }
