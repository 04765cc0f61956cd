#include "core/track_grid.h"

#include <string>

#include "core/rounding.h"
#include "platform/platform.h"

namespace {
[[noreturn]] void outside(int64_t i, bool sized) {
    throw platform::RunTimeFailure("access track grid", "cell " + std::to_string(i),
                                   sized ? "index out of range" : "the track grid was never sized");
}
}  // namespace

int32_t grid_upper_bound(int32_t routeLength) {
    return static_cast<int32_t>(round_half_even((static_cast<double>(routeLength) + kRunOnMetres) / kCellMetres));
}

int64_t cell_index(double metres) { return round_half_even(metres / kCellMetres + 1.0); }
bool room_on_grid(int32_t lastCell, int32_t position, int32_t reach) {
    return !(static_cast<double>(lastCell) < (static_cast<double>(position) + reach) / kCellMetres);
}

int64_t cell_position(int64_t cell) { return (cell - 1) * kCellMetres; }
int64_t profile_cell_index(double metres) { return round_half_even(metres / kCellMetres); }
int64_t profile_cell_start(int64_t cell) { return cell * kCellMetres; }

void TrackGrid::dimension(int32_t routeLength) {
    int32_t upper = grid_upper_bound(routeLength);
    cells_.assign(upper < 0 ? 0 : static_cast<size_t>(upper) + 1, TrackCell{});
    sized_ = upper >= 0;
}

int32_t TrackGrid::upper() const {
    if (!sized_) outside(0, false);
    return static_cast<int32_t>(cells_.size()) - 1;
}

TrackCell& TrackGrid::operator[](int64_t i) {
    if (!contains(i)) outside(i, sized_);
    return cells_[static_cast<size_t>(i)];
}

const TrackCell& TrackGrid::operator[](int64_t i) const {
    if (!contains(i)) outside(i, sized_);
    return cells_[static_cast<size_t>(i)];
}

bool TrackGrid::is_free(int64_t i) const {
    uint8_t k = (*this)[i].kind;
    return k == kEmpty || k == kMontagnaMarker;
}
