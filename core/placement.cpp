// Placement of montagna stretches, speed boards, signals and slow-downs on the grid.
// Every operation tests its cells before it writes anything it may have to take
// back, so a refused feature leaves the grid as it was (kApproachCellTaken excepted).
// Each records in the read trace what it refused, moved, narrowed and holds.
#include <cstdint>

#include "core/compiler_limits.h"
#include "core/error_codes.h"
#include "core/form1.h"
#include "core/rounding.h"

namespace {

// round(v / 5 + s * kBoardSpeedFactor) for a speed board value; false when it does not fit 16 bits.
bool board_value(int32_t v, int32_t s, int16_t& out) {
    int64_t r = round_half_even(static_cast<double>(v) / 5.0 + static_cast<double>(int64_t{s} * kBoardSpeedFactor));
    if (r < INT16_MIN || r > INT16_MAX) return false;
    out = static_cast<int16_t>(r);
    return true;
}

// A refusal of the placement in hand, for the read trace.
RefusedRow refused(int32_t code, Document document, int32_t record, int32_t field, int64_t cell = -1) {
    return {code, document, 0, record, field, static_cast<int32_t>(cell)};
}

}  // namespace

void Form1::memo_montagna(int32_t inizio, int32_t fine, int32_t& tipo) {
    const int64_t first = profile_cell_index(static_cast<double>(inizio));
    const int64_t last = round_half_even(static_cast<double>(fine) / kCellMetres - 1.0);
    if (first <= last) {
        if (first < 0) {
            trace.refuse(refused(kNegativePosition, Document::Line, trace.current(), 0, first));
            errorCode = kNegativePosition;
            return;
        }
        if (last > grid.upper()) {
            trace.refuse(refused(kStretchBeyondGrid, Document::Line, trace.current(), 1, last));
            errorCode = kStretchBeyondGrid;
            return;
        }
    }
    if (montagnaCount < 0 || montagnaCount >= kMontagnaEntries - 1) {
        trace.refuse(refused(kStretchListFull, Document::Line, trace.current(), -1));
        errorCode = kStretchListFull;
        return;
    }

    bool markers = false;
    if (tipo > kMontagnaMarkerTypes) {
        markers = true;
        tipo -= kMontagnaMarkerTypes;
    }
    const int32_t n = ++montagnaCount;
    montagnaStarts[n] = inizio;
    montagnaEnds[n] = fine;
    if (n > 1 && int64_t{montagnaStarts[n]} - montagnaEnds[n - 1] <= kMontagnaJoinMetres) tipo = 3;
    if (first <= last) trace.narrow(StoredValue::MontagnaType, tipo, low8(tipo));
    trace.stretch(first, last, low8(tipo));

    int64_t k = 0;
    for (int64_t c = first; c <= last; ++c) {
        ++k;
        TrackCell& cell = grid[c];
        cell.scenery = low8(tipo);
        if (markers && k % 4 == 0 && cell.kind == kEmpty) {
            trace.hold(c, CellRole::MontagnaMarker);
            cell.kind = kMontagnaMarker;
        }
    }
}

void Form1::memo_indicatori_v_max(int32_t posizione, int32_t vas, int32_t vbs, int32_t vcs, int32_t strisces,
                                  int32_t vad, int32_t vbd, int32_t vcd, int32_t strisced) {
    const int64_t c = cell_index(posizione);
    trace.move(posizione, c, cell_position(c));
    if (!grid.contains(c)) {
        trace.refuse(refused(kNegativePosition, Document::Line, trace.current(), 0, c));
        errorCode = kNegativePosition;
        return;
    }
    if (!grid.is_free(c)) {
        trace.refuse(refused(kSpeedBoardCellTaken, Document::Line, trace.current(), 0, c));
        errorCode = kSpeedBoardCellTaken;
        return;
    }
    int16_t a = 0, b = 0, d = 0;
    // The field that decides: the first of vas, vbs, vcs whose value does not fit.
    const int32_t tooLarge = !board_value(vad, vas, a) ? 1 : !board_value(vbd, vbs, b) ? 2
                             : !board_value(vcd, vcs, d)                            ? 3
                                                                                    : 0;
    if (tooLarge != 0) {
        trace.refuse(refused(kBoardValueTooLarge, Document::Line, trace.current(), tooLarge));
        errorCode = kBoardValueTooLarge;
        return;
    }
    trace.hold(c, CellRole::SpeedBoard);
    trace.narrow(StoredValue::BoardStripes, int64_t{strisces} * 10 + strisced, low16(int64_t{strisces} * 10 + strisced));
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
    trace.move(posizione, c, cell_position(c));
    if (!grid.contains(c)) {
        trace.refuse(refused(kNegativePosition, Document::Train, trace.current(), 0, c));
        errorCode = kNegativePosition;
        return;
    }
    if (!grid.is_free(c)) {
        trace.refuse(refused(kSignalCellTaken, Document::Train, trace.current(), 0, c));
        errorCode = kSignalCellTaken;
        return;
    }
    const int64_t aspect1 = int64_t{s1} * 10 + d1;
    const int64_t aspect2 = int64_t{s2} * 10 + d2;
    const int64_t aspect3 = int64_t{s3} * 10 + d3;
    const int64_t repetition = int64_t{rapp} * 10 + int64_t{sx} * 3 + dx;
    const int64_t approach = (int64_t{sx} * 3 + dx) * 10;
    trace.hold(c, CellRole::Signal);
    trace.narrow(StoredValue::SignalAspect1, aspect1, low16(aspect1));
    trace.narrow(StoredValue::SignalAspect2, aspect2, low16(aspect2));
    trace.narrow(StoredValue::SignalAspect3, aspect3, low16(aspect3));
    trace.narrow(StoredValue::SignalRepetition, repetition, low16(repetition));
    trace.narrow(StoredValue::SignalApproachCode, approach + kSignalApproachCells,
                 low8(approach + kSignalApproachCells));
    TrackCell& cell = grid[c];
    cell.kind = kSignal;
    cell.value4 = low16(repetition);
    cell.value1 = low16(aspect1);
    cell.value2 = low16(aspect2);
    cell.value3 = low16(aspect3);
    if (tempo >= 1 && tempo < kShortestTimeCode) tempo = kShortestTimeCode;
    if (sx == 2) trace.narrow(StoredValue::SignalTimeCode, tempo, low8(tempo));
    cell.timeCode = sx == 2 ? low8(tempo) : 0;
    // Approach codes 2, 4, 6 and 8 cells before the signal; none before cell 0.
    for (int64_t k = 1; k <= kSignalApproachCells; ++k) {
        const int64_t a = c - kSignalApproachSpacing * k;
        if (a < 0) break;
        trace.hold(a, CellRole::SignalApproach);
        grid[a].approachCode = low8(approach + k);
    }
}

void Form1::memo_rallentamento(int32_t x, int32_t v, int32_t l, int32_t f_tt, int32_t f_ta, int32_t d_v) {
    const int64_t w = cell_index(static_cast<double>(x) - kWarningDistance);
    const int64_t s = cell_index(x);
    const int64_t e = cell_index(static_cast<double>(x) + static_cast<double>(l));
    const int64_t h = profile_cell_index(static_cast<double>(x) - kWarningDistance);
    const bool warned = x > kWarningFrom;
    if (!warned) f_ta = 0;

    trace.move(x, s, cell_position(s));
    const int32_t record = trace.current();
    if (!grid.contains(s)) {
        trace.refuse(refused(kNegativePosition, Document::Train, record, 0, s));
        errorCode = kNegativePosition;
        return;
    }
    const int64_t lastApproach = h - (kWarningApproachCells - 1);
    if (!grid.contains(e) || (warned && !grid.contains(w)) ||
        (f_ta != 0 && !(grid.contains(h) && grid.contains(lastApproach)))) {
        // The first cell outside, with the field that put it there.
        const int64_t outside = !grid.contains(e) ? e : (warned && !grid.contains(w)) ? w
                                : !grid.contains(h)                                 ? h
                                                                                    : lastApproach;
        trace.refuse(refused(kSlowDownOutside, Document::Train, record, outside == e ? 2 : 0, outside));
        errorCode = kSlowDownOutside;
        return;
    }

    if (warned && !grid.is_free(w)) {
        trace.refuse(refused(kWarningCellTaken, Document::Train, record, 0, w));
        errorCode = kWarningCellTaken;
        return;
    }
    if (!grid.is_free(s)) {
        trace.refuse(refused(kStartCellTaken, Document::Train, record, 0, s));
        errorCode = kStartCellTaken;
        return;
    }
    if (!grid.is_free(e)) {
        trace.refuse(refused(kEndCellTaken, Document::Train, record, 2, e));
        errorCode = kEndCellTaken;
        return;
    }
    trace.hold(s, CellRole::SlowDownStart);
    trace.hold(e, CellRole::SlowDownEnd);
    if (warned) trace.hold(w, CellRole::SlowDownWarning);
    trace.narrow(StoredValue::SlowDownSpeed, v, low16(v));
    trace.narrow(StoredValue::SlowDownTime, f_tt, low16(f_tt));
    if (d_v != 0) trace.narrow(StoredValue::SlowDownValue, d_v, low16(d_v));
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
    for (int64_t i = 0; i < kWarningApproachCells; ++i) {
        if (!grid.is_free(h - i)) {
            trace.refuse(refused(kApproachCellTaken, Document::Train, record, 4, h - i));
            errorCode = kApproachCellTaken;
            return;
        }
    }
    for (int64_t i = 0; i < kWarningApproachCells; ++i) {
        trace.hold(h - i, CellRole::WarningApproach);
        TrackCell& cell = grid[h - i];
        cell.kind = kWarningApproach;
        cell.value1 = static_cast<int16_t>(i + 1);
        if (d_v != 0) cell.value2 = static_cast<int16_t>(i + 1);
    }
}
