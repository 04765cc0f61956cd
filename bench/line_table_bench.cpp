// The line table alone: made for the extended length, seeded and walked to
// column E - 2 as the line description reader walks it, with 300 m of curve in
// every 2500 m as the generated routes have.
#include <benchmark/benchmark.h>

#include "core/line_table.h"

namespace {

void BM_LineTableWalk(benchmark::State& state) {
    const auto length = static_cast<int32_t>(state.range(0));
    const int32_t last = length + 7000;
    for (auto _ : state) {
        LineTable line;
        line.create(last);
        line.seed();
        int64_t column = 2;
        for (int64_t start = 1850; start + 300 <= last - 2; start += 2500) {
            line.straight_steps(column, start);
            line.curve_steps(start + 1, start + 300, (start / 2500) % 2 == 0 ? 0.002 : -0.002);
            column = start + 301;
        }
        line.straight_steps(column, last - 2);
        benchmark::DoNotOptimize(line.value(last - 2, 1));
    }
    state.SetItemsProcessed(state.iterations() * (int64_t{last} - 3));
}

}  // namespace

// The built-in route's length and the longest route's.
BENCHMARK(BM_LineTableWalk)->Arg(106000)->Arg(1000000)->Unit(benchmark::kMillisecond);
