// The track grid: one record per 50 m of line, cells 0 to round((L + 7000) / 50).
#pragma once

#include <cstdint>
#include <vector>

#include "core/format.h"

struct TrackCell {
    uint8_t kind = 0;
    int16_t value1 = 0;
    int16_t value2 = 0;
    int16_t value3 = 0;
    int16_t value4 = 0;
    uint8_t timeCode = 0;
    uint8_t approachCode = 0;
    uint8_t scenery = 0;
    uint8_t aux1 = 0;  // speed limit / kSpeedStepKmh (speed_step_of)
    uint8_t aux2 = 0;  // gradient + kGradientOffset (gradient_byte)
    uint8_t aux3 = 0;  // adhesion
};

// Cell kinds.
enum CellKind : uint8_t {
    kEmpty = 0,
    kSignal = 1,
    // A slow-down's cells: its end, its start, the warning before it and the warning's approach cells.
    kSlowDownEnd = 2, kSlowDownStart = 3, kSlowDownWarning = 4, kWarningApproach = 5,
    kSpeedBoard = 6,
    kStationStop = 10,
    kMontagnaMarker = 11,
    // An abbattimento mark with its value, and one with none (a value of 0 or below).
    kAbbattimento = 12, kOpenAbbattimento = 13,
    kSign = 14,
};

class TrackGrid {
public:
    // Makes the grid anew for route length L: cells 0 to round((L + 7000) / 50), all zero.
    void dimension(int32_t routeLength);
    bool sized() const { return sized_; }
    // The upper bound; a run-time failure when the grid was never sized.
    int32_t upper() const;
    // Cell i; a run-time failure when unsized or i is outside 0 to upper().
    TrackCell& operator[](int64_t i);
    const TrackCell& operator[](int64_t i) const;
    bool contains(int64_t i) const { return sized_ && i >= 0 && i < static_cast<int64_t>(cells_.size()); }
    // Free: kind 0 or a montagna marker.
    bool is_free(int64_t i) const;
    const std::vector<TrackCell>& cells() const { return cells_; }

private:
    std::vector<TrackCell> cells_;
    bool sized_ = false;
};

// Cell 1 is reserved for the marker value (value1) and the plain check code
// (value2) that every compiled grid carries.
constexpr int64_t kMarkerCell = 1;
constexpr int16_t kGridMarker = 5121;

// Upper bound of the grid for route length L.
int32_t grid_upper_bound(int32_t routeLength);

// The cell of a position in metres: round(x / 50 + 1).
int64_t cell_index(double metres);
// The position of a cell, the inverse of cell_index: (cell - 1) * 50.
int64_t cell_position(int64_t cell);

// Whether a row at `position` leaves room on a grid whose last cell is
// lastCell: (position + reach) / 50, in floating point, at most lastCell.
bool room_on_grid(int32_t lastCell, int32_t position, int32_t reach);

// Carries a profile value (gradient, speed limit, adhesion) into `field` of
// the cells from `fill` on until `fill` reaches `upTo`: at least one cell, and
// none at or beyond `end`. `value()` gives the byte and is asked once per cell
// written, so a value that cannot be stored fails only where a cell takes it.
// Returns the fill index after the last cell written.
template <typename ValueOf>
int64_t carry_profile(TrackGrid& grid, int64_t fill, int64_t upTo, int64_t end, uint8_t TrackCell::*field,
                      ValueOf value) {
    do {
        if (fill >= end) break;
        grid[fill].*field = value();
        ++fill;
    } while (fill < upTo);
    return fill;
}

// The cell from which a profile row at x (gradient, speed limit, adhesion)
// takes effect, and the cell of an abbattimento mark: round(x / 50).
int64_t profile_cell_index(double metres);
// Where a cell's profile span begins, the inverse of profile_cell_index: cell * 50.
int64_t profile_cell_start(int64_t cell);
