// JSON-RPC dispatch: checks each message's envelope, finds its method in the
// table and calls the server's feature with the parameters, and turns every
// failure into the protocol's error reply. Requests before `initialize` and
// after `shutdown` get the errors the protocol prescribes.
#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "tools/lsp/language_server.h"
#include "tools/lsp/message_framing.h"

// Error codes of JSON-RPC and the language server protocol.
enum class RpcError : int {
    ParseError = -32700,
    InvalidRequest = -32600,
    MethodNotFound = -32601,
    InvalidParams = -32602,
    InternalError = -32603,
    ServerNotInitialized = -32002,
};

// One method of the protocol: a request answers with a result, a
// notification answers nothing.
struct MethodEntry {
    std::string_view name;
    bool request;
    Json (*handle)(LanguageServer& server, const Json& params);
};

// Every method the server knows.
std::span<const MethodEntry> method_table();

Json error_reply(const Json& id, RpcError code, const std::string& message);

// The reply to one framed message, if it asks for one; a frame that held no
// message gets the parse error reply.
std::optional<Json> dispatch(LanguageServer& server, const Frame& frame);

// A reply or notification as the bytes of one framed message.
std::string framed(const Json& message);
