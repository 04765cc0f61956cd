// Reset of the scenario table, the grid completion pass (abbattimento caps
// around slow-downs) and the reserved fields with their marker values.
#include <cstdint>
#include <string>

#include "core/error_codes.h"
#include "core/form1.h"
#include "core/rounding.h"

namespace {

constexpr int16_t kCapValue = 180;
constexpr int16_t kRouteMarker = 610;
constexpr int16_t kGridMarker = 5121;

// Rule A looks this many cells back from a warning cell, never below cell 3.
constexpr int64_t kSignalSearch = 20;
constexpr int64_t kSignalSearchFloor = 3;
// Rule C places a cap every this many cells inside a slow-down slower than kCapSpeed.
constexpr int32_t kCapSpacing = 8;
constexpr int16_t kCapSpeed = 110;
// Rule D looks at the end cell and the 12 after it.
constexpr int64_t kTrailingSearch = 13;

void place_cap(TrackCell& cell) {
    cell.kind = kAbbattimento;
    cell.value1 = kCapValue;
}

void lower_cap(TrackCell& cell) { cell.value1 = low16(minimo(kCapValue, cell.value1)); }

}  // namespace

void Form1::azzera_tabella() {
    for (ScenarioSlot& slot : scenario) slot = ScenarioSlot{};
}

void Form1::completa_griglia() {
    const int64_t upper = grid.upper();
    // Cells beyond the upper bound count as taken and hold no signal.
    auto is_free = [&](int64_t c) { return c <= upper && grid.is_free(c); };
    auto kind_of = [&](int64_t c) { return c <= upper ? grid[c].kind : uint8_t{kEmpty}; };
    auto fail = [&](int32_t code, int64_t cell) {
        errorCode = code;
        errorCell = static_cast<int32_t>(cell);
    };

    for (int64_t i = 1; i <= upper - 2; ++i) {
        const uint8_t kind = grid[i].kind;

        if (kind == kSlowDownWarning) {
            // Rule A: before every signal in the 20 cells before the warning cell.
            for (int64_t d = 1; d <= kSignalSearch && i - d >= kSignalSearchFloor; ++d) {
                const int64_t m = i - d;
                if (grid[m].kind != kSignal) continue;
                const int64_t p = m - 1;
                const int64_t q = m - 2;
                if (grid.is_free(p)) place_cap(grid[p]);
                else if (grid.is_free(q)) place_cap(grid[q]);
                else if (grid[p].kind == kAbbattimento) lower_cap(grid[p]);
                else if (grid[q].kind == kAbbattimento) lower_cap(grid[q]);
                else fail(kSignalCapsTaken, m);
            }
            continue;
        }
        if (kind != kSlowDownStart) continue;

        // Rule B: one cap in each of three distance groups before the start.
        static constexpr int64_t kGroups[3][3] = {{5, 6, 7}, {11, 12, 13}, {18, 19, 20}};
        for (const auto& group : kGroups) {
            if (i <= group[2]) continue;
            bool placed = false;
            for (int64_t back : group) {
                if (grid.is_free(i - back)) {
                    place_cap(grid[i - back]);
                    placed = true;
                    break;
                }
            }
            if (!placed) fail(kStartCapsTaken, i);
        }

        // Rule C: a cap every 8 cells up to the end cell. With no speed limit
        // low enough, only the end cell is looked for.
        const bool spaced = grid[i].value1 < kCapSpeed;
        int64_t j = i;
        int32_t k = 0;
        bool ended = false;
        while (j < upper) {
            ++j;
            ++k;
            if (spaced && k == kCapSpacing) {
                if (is_free(j)) {
                    place_cap(grid[j]);
                    k = 0;
                } else if (is_free(j - 1)) {
                    place_cap(grid[j - 1]);
                    k = 1;
                } else if (is_free(j + 1)) {
                    place_cap(grid[j + 1]);
                    k = -1;
                } else {
                    fail(kInsideCapsTaken, j);
                }
            }
            if (grid[j].kind == kSlowDownEnd) {
                ended = true;
                break;
            }
        }
        if (!ended) continue;

        // Rule D: a cap before the first signal from the end cell on.
        for (int64_t m = j; m < j + kTrailingSearch; ++m) {
            if (kind_of(m) != kSignal) continue;
            if (grid.is_free(m - 1)) place_cap(grid[m - 1]);
            else if (grid.is_free(m - 2)) place_cap(grid[m - 2]);
            else fail(kInsideCapsTaken, m);
            break;
        }
    }
}

void Form1::verifica_riservati() {
    ScenarioSlot& route = scenario[kSlotRoute];
    if (route.int1 != 0 || grid[1].value1 != 0) errore(std::to_string(kMarkerFieldsInUse));
    route.int1 = kRouteMarker;
    grid[1].value1 = kGridMarker;
    if (route.long4 != 0 || grid[1].value2 != 0) errore(std::to_string(kCheckCodeFieldsInUse));
    route.long4 = codice_gara_st();
    grid[1].value2 = low16(codice_gara_og());
}
