// scenario_tool serve: what one save costs the server before the page hears
// of it (the check, the compile pass from memory, the route decoded from the
// compiled bytes, and the scenario JSON the page fetches), on the built-in
// documents and on the longest generated route. The centre line is carried
// from one rebuild to the next, as the server carries it while the line
// description's plan stays the same.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/check_documents.h"
#include "bench/route_generator.h"
#include "tools/serve/preview_build.h"
#include "tools/serve/scenario_json.h"
#include "tools/testing/test_folder.h"

namespace {

void rebuild(benchmark::State& state, const RouteDocuments& docs) {
    TestFolder folder;
    folder.write("Bresta_Vilcar_linea.txt", docs.line);
    folder.write("Bresta_Vilcar_RX907-.txt", docs.train);
    const PreviewSources sources{folder.file("Bresta_Vilcar_linea.txt"), folder.file("Bresta_Vilcar_RX907-.txt"),
                                 ScenarioNames{}};
    CentreLineCache cache;
    uint64_t version = 0;
    for (auto _ : state) {
        const PreviewBuild built = build_preview(sources, cache);
        if (built.has_errors() || !built.model) {
            state.SkipWithError("the preview found an error");
            break;
        }
        benchmark::DoNotOptimize(scenario_json(built, &built, ++version));
    }
}

void BM_ServeRebuildBuiltIn(benchmark::State& state) { rebuild(state, built_in_documents()); }

void BM_ServeRebuildLongestRoute(benchmark::State& state) { rebuild(state, generate_route(kLongestGeneratedRoute)); }

}  // namespace

BENCHMARK(BM_ServeRebuildBuiltIn)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ServeRebuildLongestRoute)->Unit(benchmark::kMillisecond);
