// The compile pass (memorizza_percorso): both readers, placement, completion,
// check codes and the three compiled files, on the built-in scenario and on
// generated routes of growing length. The documents are laid untimed.
#include <benchmark/benchmark.h>

#include <optional>

#include "bench/bench_support.h"
#include "bench/route_generator.h"
#include "core/form1.h"
#include "tools/testing/test_folder.h"

namespace {

void compile_pass(benchmark::State& state, const RouteDocuments* generated) {
    TestFolder folder;
    for (auto _ : state) {
        state.PauseTiming();
        std::optional<Form1> form;
        form.emplace(folder.path());
        name_scenario(*form);
        lay_documents(*form, generated);
        state.ResumeTiming();
        form->memorizza_percorso(1);
        state.PauseTiming();
        const bool clean = compiled_cleanly(state, *form);
        form.reset();  // the form's tables are freed untimed, as the process end frees them
        state.ResumeTiming();
        if (!clean) break;
    }
}

void BM_CompileBuiltIn(benchmark::State& state) { compile_pass(state, nullptr); }

// Argument: the route length in metres. Items are metres of route, so the
// items per second stay level when the cost grows linearly with the length.
void BM_CompileGeneratedRoute(benchmark::State& state) {
    const auto length = static_cast<int32_t>(state.range(0));
    const RouteDocuments docs = generate_route(length);
    compile_pass(state, &docs);
    state.SetItemsProcessed(state.iterations() * length);
}

}  // namespace

BENCHMARK(BM_CompileBuiltIn)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CompileGeneratedRoute)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
