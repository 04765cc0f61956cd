// The line table alone: made for the extended length, seeded and walked one
// metre per step to column E - 2, with 300 m of curve in every 2500 m as the
// generated routes have.
#include <benchmark/benchmark.h>

#include "line/line_table.h"

namespace {

void BM_LineTableWalk(benchmark::State& state) {
    const auto length = static_cast<int32_t>(state.range(0));
    const int32_t last = length + 7000;
    for (auto _ : state) {
        LineTable line;
        line.create(last);
        line.seed();
        for (int64_t c = 2; c <= last - 2; ++c) {
            const int64_t inPeriod = c % 2500;
            if (inPeriod > 1850 && inPeriod <= 2150) line.curve_step(c, (c / 2500) % 2 == 0 ? 0.002 : -0.002);
            else line.straight_step(c);
        }
        benchmark::DoNotOptimize(line.value(last - 2, 1));
    }
    state.SetItemsProcessed(state.iterations() * (int64_t{last} - 3));
}

}  // namespace

// The built-in route's length and the longest route's.
BENCHMARK(BM_LineTableWalk)->Arg(106000)->Arg(1000000)->Unit(benchmark::kMillisecond);
