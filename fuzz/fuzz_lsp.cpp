// Fuzz target: the language server's transport and dispatch. The input is
// the byte stream an editor would send, cut into pieces as a pipe might
// deliver it: framing, JSON and parameters all come from the fuzzer. Every
// frame gets at most one reply, every reply is a well-formed JSON-RPC
// response that frames and reads back whole, and nothing escapes as an exception.
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_harness.h"
#include "tools/lsp/dispatch.h"

namespace {

// Documents above this size are not checked: one input must stay well under the fuzzer's time limit.
constexpr size_t kMostCheckedText = 1 << 14;

void check_reply(const Json& reply, std::vector<std::string>& out) {
    if (!reply.is_object() || reply.value("jsonrpc", Json()) != "2.0") out.push_back("a reply without jsonrpc 2.0");
    if (reply.contains("result") == reply.contains("error")) out.push_back("a reply with neither or both of result and error");
    if (!reply.contains("id")) out.push_back("a reply without an id");
    const std::string bytes = framed(reply);
    FrameReader back;
    back.feed(bytes);
    Frame frame;
    if (!back.next(frame) || !frame.fault.empty() || Json::parse(frame.body, nullptr, false).is_discarded())
        out.push_back("a reply that does not read back: " + bytes.substr(0, 200));
}

}  // namespace

std::vector<std::string> fuzz_lsp(std::string_view input) {
    std::vector<std::string> out;
    LanguageServer server(false);
    FrameReader reader(1 << 16);
    // Pieces of varying length, as reads from a pipe return them.
    size_t piece = 1;
    for (size_t at = 0; at < input.size(); at += piece, piece = piece * 3 % 61 + 1) {
        reader.feed(input.substr(at, piece));
        for (Frame frame; reader.next(frame);) {
            try {
                if (const std::optional<Json> reply = dispatch(server, frame)) check_reply(*reply, out);
            } catch (const std::exception& e) {
                out.push_back(std::string("an exception escaped dispatch: ") + e.what());
            }
            if (server.stage() == LanguageServer::Stage::Exited) return out;
        }
    }
    if (!server.diagnostics_stale() || input.size() > kMostCheckedText) return out;
    try {
        for (const Json& notification : server.publish_diagnostics()) {
            if (notification.value("method", "") != "textDocument/publishDiagnostics")
                out.push_back("a notification that is not publishDiagnostics");
            (void)framed(notification);
        }
    } catch (const std::exception& e) {
        out.push_back(std::string("an exception escaped the diagnostics: ") + e.what());
    }
    return out;
}

#ifdef SCENARIO_FUZZER
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz_verdict(fuzz_lsp(std::string_view(reinterpret_cast<const char*>(data), size)));
    return 0;
}
#endif
