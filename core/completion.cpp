// Reset of the scenario table, the grid completion pass (abbattimento caps
// around slow-downs) and the reserved fields with their marker values.
#include <cstdint>
#include <string>

#include "core/error_codes.h"
#include "core/form1.h"
#include "core/rounding.h"

namespace {

constexpr int16_t kCapValue = 180;

// Caps before signals: the search looks this many cells back from a warning cell, never below cell 3.
constexpr int64_t kSignalSearch = 20;
constexpr int64_t kSignalSearchFloor = 3;
// Caps inside a slow-down slower than kCapSpeed: one every this many cells.
constexpr int32_t kCapSpacing = 8;
constexpr int16_t kCapSpeed = 110;
// The cap before the trailing signal: the search looks at the end cell and the 12 after it.
constexpr int64_t kTrailingSearch = 13;

void place_cap(TrackCell& cell) {
    cell.kind = kAbbattimento;
    cell.value1 = kCapValue;
}

// minimo(x, y): y when x > y, else x.
template <typename X, typename Y>
auto minimo(X x, Y y) -> decltype(x + y) {
    return x > y ? y : x;
}

// An existing cap keeps a value below the cap value and is lowered to it otherwise.
void lower_cap(TrackCell& cell) { cell.value1 = low16(minimo(kCapValue, cell.value1)); }

// The grid as the completion pass sees it, with the cell of a failure.
struct Completion {
    TrackGrid& grid;
    int64_t upper;
    Form1& form;  // its errorCode, the first failure's place and the read trace

    // Cells beyond the upper bound count as taken and hold no signal.
    bool is_free(int64_t c) const { return c <= upper && grid.is_free(c); }
    uint8_t kind_of(int64_t c) const { return c <= upper ? grid[c].kind : uint8_t{kEmpty}; }
    void fail(ErrorCode code, int64_t cell) {
        form.errorCode = code;
        form.locate_error(code, Document::None, 0, static_cast<int32_t>(cell));
        form.trace.completion(code, cell);
    }
    // A cap in cell `at` for the slow-down whose warning or start cell is `from`.
    void place(int64_t at, int64_t from) {
        form.trace.cap(at, from, false);
        place_cap(grid[at]);
    }
    void lower(int64_t at, int64_t from) {
        form.trace.cap(at, from, true);
        lower_cap(grid[at]);
    }
};

// Caps before signals: before every signal in the 20 cells before the warning
// cell w, a cap in one of the two cells before it, or a lower existing cap.
void caps_before_signals(Completion& c, int64_t w) {
    TrackGrid& grid = c.grid;
    for (int64_t d = 1; d <= kSignalSearch && w - d >= kSignalSearchFloor; ++d) {
        const int64_t m = w - d;
        if (grid[m].kind != kSignal) continue;
        const int64_t p = m - 1;
        const int64_t q = m - 2;
        if (grid.is_free(p)) c.place(p, w);
        else if (grid.is_free(q)) c.place(q, w);
        else if (grid[p].kind == kAbbattimento) c.lower(p, w);
        else if (grid[q].kind == kAbbattimento) c.lower(q, w);
        else c.fail(kSignalCapsTaken, m);
    }
}

// Caps before the start cell s: one in each of three distance groups.
void caps_before_start(Completion& c, int64_t s) {
    static constexpr int64_t kGroups[3][3] = {{5, 6, 7}, {11, 12, 13}, {18, 19, 20}};
    for (const auto& group : kGroups) {
        if (s <= group[2]) continue;
        bool placed = false;
        for (int64_t back : group) {
            if (c.grid.is_free(s - back)) {
                c.place(s - back, s);
                placed = true;
                break;
            }
        }
        if (!placed) c.fail(kStartCapsTaken, s);
    }
}

// Caps inside the slow-down that starts at s: one every 8 cells up to the end
// cell. With no speed limit low enough, only the end cell is looked for.
// Returns the end cell, or -1 when the grid ends first.
int64_t caps_inside(Completion& c, int64_t s) {
    TrackGrid& grid = c.grid;
    const bool spaced = grid[s].value1 < kCapSpeed;
    int64_t j = s;
    int32_t k = 0;
    while (j < c.upper) {
        ++j;
        ++k;
        if (spaced && k == kCapSpacing) {
            if (c.is_free(j)) {
                c.place(j, s);
                k = 0;
            } else if (c.is_free(j - 1)) {
                c.place(j - 1, s);
                k = 1;
            } else if (c.is_free(j + 1)) {
                c.place(j + 1, s);
                k = -1;
            } else {
                c.fail(kInsideCapsTaken, j);
            }
        }
        if (grid[j].kind == kSlowDownEnd) return j;
    }
    return -1;
}

// The cap before the trailing signal: before the first signal from the end cell
// e on, for the slow-down that starts at s.
void cap_before_trailing_signal(Completion& c, int64_t s, int64_t e) {
    for (int64_t m = e; m < e + kTrailingSearch; ++m) {
        if (c.kind_of(m) != kSignal) continue;
        if (c.grid.is_free(m - 1)) c.place(m - 1, s);
        else if (c.grid.is_free(m - 2)) c.place(m - 2, s);
        else c.fail(kInsideCapsTaken, m);
        break;
    }
}

}  // namespace

void Form1::azzera_tabella() {
    for (ScenarioSlot& slot : scenario) slot = ScenarioSlot{};
}

void Form1::completa_griglia() {
    Completion c{grid, grid.upper(), *this};
    for (int64_t i = 1; i <= c.upper - 2; ++i) {
        const uint8_t kind = grid[i].kind;
        if (kind == kSlowDownWarning) {
            caps_before_signals(c, i);
        } else if (kind == kSlowDownStart) {
            caps_before_start(c, i);
            const int64_t end = caps_inside(c, i);
            if (end >= 0) cap_before_trailing_signal(c, i, end);
        }
    }
}

void Form1::verifica_riservati() {
    ScenarioSlot& route = scenario[kSlotRoute];
    if (route.int1 != 0 || grid[kMarkerCell].value1 != 0) errore(std::to_string(kMarkerFieldsInUse));
    route.int1 = kRouteMarker;
    grid[kMarkerCell].value1 = kGridMarker;
    if (route.long4 != 0 || grid[kMarkerCell].value2 != 0) errore(std::to_string(kCheckCodeFieldsInUse));
    route.long4 = codice_gara_st();
    grid[kMarkerCell].value2 = low16(codice_gara_og());
}
