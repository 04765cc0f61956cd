#include "tools/lsp/dispatch.h"

namespace {

const MethodEntry* find_method(std::string_view name) {
    for (const MethodEntry& m : method_table()) {
        if (m.name == name) return &m;
    }
    return nullptr;
}

// What the stage of the server lets through, or the error a request gets.
std::optional<std::pair<RpcError, std::string>> refused(const LanguageServer& server, std::string_view method) {
    switch (server.stage()) {
        case LanguageServer::Stage::Starting:
            if (method == "initialize" || method == "exit") return std::nullopt;
            return std::pair{RpcError::ServerNotInitialized, std::string("the server is not initialized")};
        case LanguageServer::Stage::Running:
            if (method == "initialize") return std::pair{RpcError::InvalidRequest, std::string("initialized already")};
            return std::nullopt;
        case LanguageServer::Stage::ShutDown:
        case LanguageServer::Stage::Exited:
            if (method == "exit") return std::nullopt;
            return std::pair{RpcError::InvalidRequest, std::string("the server is shutting down")};
    }
    return std::nullopt;
}

}  // namespace

Json error_reply(const Json& id, RpcError code, const std::string& message) {
    return {{"jsonrpc", "2.0"}, {"id", id}, {"error", {{"code", static_cast<int>(code)}, {"message", message}}}};
}

std::optional<Json> dispatch(LanguageServer& server, const Frame& frame) {
    if (!frame.fault.empty()) return error_reply(nullptr, RpcError::ParseError, "unreadable message: " + frame.fault);
    Json message = Json::parse(frame.body, nullptr, false);
    if (message.is_discarded()) return error_reply(nullptr, RpcError::ParseError, "the message is not JSON");
    if (!message.is_object()) return error_reply(nullptr, RpcError::InvalidRequest, "the message is not an object");

    const auto idIt = message.find("id");
    const bool hasId = idIt != message.end();
    const Json id = hasId && (idIt->is_number_integer() || idIt->is_string()) ? *idIt : Json(nullptr);
    const auto methodIt = message.find("method");
    if (methodIt == message.end()) {
        // A reply to a request of ours (the server sends none), or nothing at all.
        if (hasId && (message.contains("result") || message.contains("error"))) return std::nullopt;
        return error_reply(id, RpcError::InvalidRequest, "the message has no method");
    }
    if (!methodIt->is_string() || message.value("jsonrpc", Json()) != "2.0" || (hasId && id.is_null()))
        return error_reply(id, RpcError::InvalidRequest, "not a JSON-RPC 2.0 request or notification");
    const std::string method = methodIt->get<std::string>();
    const Json params = message.value("params", Json::object());
    if (!params.is_object() && !params.is_array())
        return error_reply(id, RpcError::InvalidRequest, "params must be an object or an array");

    if (const auto refusal = refused(server, method)) {
        if (hasId) return error_reply(id, refusal->first, refusal->second);
        return std::nullopt;  // a notification out of its time is dropped
    }
    const MethodEntry* entry = find_method(method);
    if (entry == nullptr || entry->request != hasId) {
        // Unknown notifications ("$/cancelRequest" among them) need no answer.
        if (!hasId) return std::nullopt;
        return error_reply(id, RpcError::MethodNotFound, "no method " + method);
    }
    try {
        Json result = entry->handle(server, params);
        if (!hasId) return std::nullopt;
        return Json{{"jsonrpc", "2.0"}, {"id", id}, {"result", std::move(result)}};
    } catch (const InvalidParams& e) {
        if (!hasId) return std::nullopt;
        return error_reply(id, RpcError::InvalidParams, e.what());
    } catch (const Json::exception& e) {  // a parameter missing or of the wrong type
        if (!hasId) return std::nullopt;
        return error_reply(id, RpcError::InvalidParams, e.what());
    } catch (const std::exception& e) {
        if (!hasId) return std::nullopt;
        return error_reply(id, RpcError::InternalError, e.what());
    }
}

std::string framed(const Json& message) {
    // Every text the server sends is UTF-8; a stray byte would be replaced, never sent.
    return frame_message(message.dump(-1, ' ', false, Json::error_handler_t::replace));
}
