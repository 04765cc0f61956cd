// scenario_tool lsp: from a didChange of the train description to the
// publishDiagnostics of both documents (the check of the pair and the marks),
// on the built-in documents and on the longest generated route with 50 errors.
#include <benchmark/benchmark.h>

#include "bench/check_documents.h"
#include "tools/lsp/dispatch.h"

namespace {

void run_change(benchmark::State& state, const RouteDocuments& docs, size_t expectedErrors) {
    LanguageServer server(false);
    const auto send = [&](const Json& message) { dispatch(server, Frame{message.dump(), ""}); };
    send({{"jsonrpc", "2.0"}, {"id", 1}, {"method", "initialize"}, {"params", Json::object()}});
    const auto open = [&](const char* uri, const std::string& text) {
        send({{"jsonrpc", "2.0"},
              {"method", "textDocument/didOpen"},
              {"params", {{"textDocument", {{"uri", uri}, {"version", 1}, {"text", cp1252_to_utf8(text)}}}}}});
    };
    open("file:///bench/Bresta_Vilcar_linea.txt", docs.line);
    open("file:///bench/Bresta_Vilcar_RX907-.txt", docs.train);
    const std::string change =
        Json{{"jsonrpc", "2.0"},
             {"method", "textDocument/didChange"},
             {"params",
              {{"textDocument", {{"uri", "file:///bench/Bresta_Vilcar_RX907-.txt"}, {"version", 2}}},
               {"contentChanges", {{{"text", cp1252_to_utf8(docs.train)}}}}}}}
            .dump();
    for (auto _ : state) {
        dispatch(server, Frame{change, ""});
        size_t errors = 0;
        for (const Json& notification : server.publish_diagnostics()) {
            for (const Json& mark : notification["params"]["diagnostics"]) errors += mark["severity"] == 1 ? 1 : 0;
        }
        if (errors != expectedErrors) {
            state.SkipWithError(("the server published " + std::to_string(errors) + " errors").c_str());
            break;
        }
    }
}

void BM_LspChangeBuiltIn(benchmark::State& state) { run_change(state, built_in_documents(), 0); }

void BM_LspChangeLongestRouteWith50Errors(benchmark::State& state) {
    run_change(state, with_fifty_errors(generate_route(kLongestGeneratedRoute)), 50);
}

}  // namespace

BENCHMARK(BM_LspChangeBuiltIn)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LspChangeLongestRouteWith50Errors)->Unit(benchmark::kMillisecond);
