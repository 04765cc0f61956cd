// scenario_tool check: on the built-in documents (no error: one pass of the
// compile pass and the warnings), and on the longest generated route with 50
// independent errors (one pass per error, then the warnings).
#include <benchmark/benchmark.h>

#include <string>

#include "bench/bench_support.h"
#include "bench/check_documents.h"
#include "bench/route_generator.h"
#include "tools/diagnostics/checker.h"

namespace {

void run_check(benchmark::State& state, const RouteDocuments& docs, int expectedErrors) {
    for (auto _ : state) {
        const CheckResult result =
            check_sources({"line.txt", docs.line}, {"train.txt", docs.train}, ScenarioNames{}, 50);
        if (result.errors != expectedErrors) {
            state.SkipWithError(("the check found " + std::to_string(result.errors) + " errors").c_str());
            break;
        }
    }
}

void BM_CheckBuiltIn(benchmark::State& state) { run_check(state, built_in_documents(), 0); }

void BM_CheckLongestRouteWith50Errors(benchmark::State& state) {
    run_check(state, with_fifty_errors(generate_route(kLongestGeneratedRoute)), 50);
}

}  // namespace

BENCHMARK(BM_CheckBuiltIn)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CheckLongestRouteWith50Errors)->Unit(benchmark::kMillisecond);
