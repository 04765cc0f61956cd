// The running-time model on a compile pass's form: the fastest run of the
// default train over the built-in route and over the longest generated
// route, to set beside one compile pass of the same route
// (BM_CompileGeneratedRoute/1000000). The pass itself is run untimed.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/check_documents.h"
#include "bench/route_generator.h"
#include "tools/pass/compile_pass.h"
#include "tools/running_time/fastest_run.h"

namespace {

void fastest_run_of(benchmark::State& state, const RouteDocuments& docs) {
    CompilePass pass(PassSettings{.names = ScenarioNames{}, .lineTable = false, .compiledFiles = false});
    pass.run({docs.line, docs.train});
    if (!pass.end().went_through() || pass.form().errorCode != 0) {
        state.SkipWithError("the compile pass did not go through");
        return;
    }
    size_t stations = 0;
    for (auto _ : state) {
        const RunningTimes times = running_times(pass.form(), TrainModel{});
        if (!times.problem.empty()) {
            state.SkipWithError(times.problem.c_str());
            break;
        }
        stations = times.stations.size();
        benchmark::DoNotOptimize(times.samples.data());
    }
    state.counters["stations"] = static_cast<double>(stations);
}

void BM_RunningTimesBuiltIn(benchmark::State& state) { fastest_run_of(state, built_in_documents()); }

// Argument: the route length in metres.
void BM_RunningTimesGeneratedRoute(benchmark::State& state) {
    fastest_run_of(state, generate_route(static_cast<int32_t>(state.range(0))));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

}  // namespace

BENCHMARK(BM_RunningTimesBuiltIn)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RunningTimesGeneratedRoute)->Arg(1000000)->Unit(benchmark::kMillisecond);
