// Each of the three compiled file writers on its own, from a form compiled
// once: the built-in scenario (argument 0) and the longest generated route
// (argument 1000000). Bytes per second are the file's bytes.
#include <benchmark/benchmark.h>

#include <memory>

#include "bench/bench_support.h"
#include "bench/route_generator.h"
#include "core/form1.h"
#include "core/output_files.h"
#include "tools/testing/test_folder.h"
#include "platform/platform.h"

namespace {

struct Compiled {
    TestFolder folder;
    Form1 form{folder.path()};
};

// Compiles the scenario of the argument: 0 for the built-in one, else a route length.
std::unique_ptr<Compiled> compile(benchmark::State& state) {
    auto compiled = std::make_unique<Compiled>();
    name_scenario(compiled->form);
    if (state.range(0) == 0) {
        lay_documents(compiled->form, nullptr);
    } else {
        const RouteDocuments docs = generate_route(static_cast<int32_t>(state.range(0)));
        lay_documents(compiled->form, &docs);
    }
    compiled->form.memorizza_percorso(1);
    if (!compiled_cleanly(state, compiled->form)) return nullptr;
    return compiled;
}

template <void (*Write)(const Form1&)>
void writer(benchmark::State& state, std::string (Form1::*name)() const) {
    const auto compiled = compile(state);
    if (!compiled) return;
    const Form1& form = compiled->form;
    for (auto _ : state) Write(form);
    const std::string bytes = platform::read_file(form.file_path((form.*name)()));
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
}

void BM_WriteLineData(benchmark::State& state) { writer<write_line_data_file>(state, &Form1::line_data_name); }
void BM_WriteScenario(benchmark::State& state) { writer<write_scenario_file>(state, &Form1::scenario_file_name); }
void BM_WriteGrid(benchmark::State& state) { writer<write_grid_file>(state, &Form1::grid_file_name); }

}  // namespace

BENCHMARK(BM_WriteLineData)->Arg(0)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteScenario)->Arg(0)->Arg(1000000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WriteGrid)->Arg(0)->Arg(1000000)->Unit(benchmark::kMicrosecond);
