// Placement of montagna stretches, speed boards, signals and slow-downs on the grid.
// Every operation tests its cells before it writes anything it may have to take
// back, so a refused feature leaves the grid as it was (kApproachCellTaken excepted).
#include <cstdint>

#include "core/error_codes.h"
#include "core/form1.h"
#include "core/rounding.h"

namespace {

// Slow-downs starting at or before this position have no warning cell.
constexpr int32_t kWarningFrom = 1500;
constexpr int32_t kWarningDistance = 1200;

// round(v / 5 + s * 20) for a speed board value; false when it does not fit 16 bits.
bool board_value(int32_t v, int32_t s, int16_t& out) {
    int64_t r = round_half_even(static_cast<double>(v) / 5.0 + static_cast<double>(int64_t{s} * 20));
    if (r < INT16_MIN || r > INT16_MAX) return false;
    out = static_cast<int16_t>(r);
    return true;
}

}  // namespace

void Form1::memo_montagna(int32_t inizio, int32_t fine, int32_t& tipo) {
    const int64_t first = profile_cell_index(static_cast<double>(inizio));
    const int64_t last = round_half_even(static_cast<double>(fine) / 50.0 - 1.0);
    if (first <= last) {
        if (first < 0) {
            errorCode = kNegativePosition;
            return;
        }
        if (last > grid.upper()) {
            errorCode = kStretchBeyondGrid;
            return;
        }
    }
    if (montagnaCount < 0 || montagnaCount >= kMontagnaEntries - 1) {
        errorCode = kStretchListFull;
        return;
    }

    bool markers = false;
    if (tipo > 10) {
        markers = true;
        tipo -= 10;
    }
    const int32_t n = ++montagnaCount;
    montagnaStarts[n] = inizio;
    montagnaEnds[n] = fine;
    if (n > 1 && int64_t{montagnaStarts[n]} - montagnaEnds[n - 1] <= 150) tipo = 3;

    int64_t k = 0;
    for (int64_t c = first; c <= last; ++c) {
        ++k;
        TrackCell& cell = grid[c];
        cell.scenery = low8(tipo);
        if (markers && k % 4 == 0 && cell.kind == kEmpty) cell.kind = kMontagnaMarker;
    }
}

void Form1::memo_indicatori_v_max(int32_t posizione, int32_t vas, int32_t vbs, int32_t vcs, int32_t strisces,
                                  int32_t vad, int32_t vbd, int32_t vcd, int32_t strisced) {
    const int64_t c = cell_index(posizione);
    if (!grid.contains(c)) {
        errorCode = kNegativePosition;
        return;
    }
    if (!grid.is_free(c)) {
        errorCode = kSpeedBoardCellTaken;
        return;
    }
    int16_t a = 0, b = 0, d = 0;
    if (!board_value(vad, vas, a) || !board_value(vbd, vbs, b) || !board_value(vcd, vcs, d)) {
        errorCode = kBoardValueTooLarge;
        return;
    }
    TrackCell& cell = grid[c];
    cell.kind = kSpeedBoard;
    cell.value1 = a;
    cell.value2 = b;
    cell.value3 = d;
    cell.value4 = low16(int64_t{strisces} * 10 + strisced);
}

void Form1::memo_segnale(int32_t posizione, int32_t sx, int32_t s1, int32_t s2, int32_t s3, int32_t rapp,
                         int32_t dx, int32_t d1, int32_t d2, int32_t d3, int32_t& tempo) {
    const int64_t c = cell_index(posizione);
    if (!grid.contains(c)) {
        errorCode = kNegativePosition;
        return;
    }
    if (!grid.is_free(c)) {
        errorCode = kSignalCellTaken;
        return;
    }
    TrackCell& cell = grid[c];
    cell.kind = kSignal;
    cell.value4 = low16(int64_t{rapp} * 10 + int64_t{sx} * 3 + dx);
    cell.value1 = low16(int64_t{s1} * 10 + d1);
    cell.value2 = low16(int64_t{s2} * 10 + d2);
    cell.value3 = low16(int64_t{s3} * 10 + d3);
    if (tempo >= 1 && tempo <= 100) tempo = 101;
    cell.timeCode = sx == 2 ? low8(tempo) : 0;
    // Approach codes 2, 4, 6 and 8 cells before the signal; none before cell 0.
    for (int64_t k = 1; k <= 4; ++k) {
        const int64_t a = c - 2 * k;
        if (a < 0) break;
        grid[a].approachCode = low8((int64_t{sx} * 3 + dx) * 10 + k);
    }
}

void Form1::memo_rallentamento(int32_t x, int32_t v, int32_t l, int32_t f_tt, int32_t f_ta, int32_t d_v) {
    const int64_t w = cell_index(static_cast<double>(x) - kWarningDistance);
    const int64_t s = cell_index(x);
    const int64_t e = cell_index(static_cast<double>(x) + static_cast<double>(l));
    const int64_t h = profile_cell_index(static_cast<double>(x) - kWarningDistance);
    const bool warned = x > kWarningFrom;
    if (!warned) f_ta = 0;

    if (!grid.contains(s)) {
        errorCode = kNegativePosition;
        return;
    }
    if (!grid.contains(e) || (warned && !grid.contains(w)) ||
        (f_ta != 0 && !(grid.contains(h) && grid.contains(h - 3)))) {
        errorCode = kSlowDownOutside;
        return;
    }

    if (warned && !grid.is_free(w)) {
        errorCode = kWarningCellTaken;
        return;
    }
    if (!grid.is_free(s)) {
        errorCode = kStartCellTaken;
        return;
    }
    if (!grid.is_free(e)) {
        errorCode = kEndCellTaken;
        return;
    }
    grid[e].kind = kSlowDownEnd;
    if (d_v != 0) grid[e].value2 = low16(d_v);
    grid[s].kind = kSlowDownStart;
    if (d_v != 0) grid[s].value2 = low16(d_v);
    if (warned) {
        grid[w].kind = kSlowDownWarning;
        if (d_v != 0) grid[w].value2 = low16(d_v);
        grid[w].value1 = low16(v);
    }
    grid[s].value1 = low16(v);
    grid[e].value1 = low16(v);
    grid[s].value3 = low16(f_tt);
    grid[e].value3 = low16(f_tt);

    if (f_ta == 0) return;
    for (int64_t i = 0; i < 4; ++i) {
        if (!grid.is_free(h - i)) {
            errorCode = kApproachCellTaken;
            return;
        }
    }
    for (int64_t i = 0; i < 4; ++i) {
        TrackCell& cell = grid[h - i];
        cell.kind = kWarningApproach;
        cell.value1 = static_cast<int16_t>(i + 1);
        if (d_v != 0) cell.value2 = static_cast<int16_t>(i + 1);
    }
}
