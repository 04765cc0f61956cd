// Hand-built grids for tests: a grid with some cells set, and a whole-grid
// comparison that names every cell that differs.
#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "core/track_grid.h"

// Cell `cell` holds `value` (every field).
struct Put {
    int64_t cell;
    TrackCell value;
};

inline auto cell_fields(const TrackCell& c) {
    return std::tuple(int{c.kind}, int{c.value1}, int{c.value2}, int{c.value3}, int{c.value4}, int{c.timeCode},
                      int{c.approachCode}, int{c.scenery}, int{c.aux1}, int{c.aux2}, int{c.aux3});
}

inline std::string describe(const TrackCell& c) {
    std::ostringstream out;
    out << "kind " << int{c.kind} << " v " << c.value1 << "," << c.value2 << "," << c.value3 << ","
        << c.value4 << " time " << int{c.timeCode} << " approach " << int{c.approachCode} << " scenery "
        << int{c.scenery} << " aux " << int{c.aux1} << "," << int{c.aux2} << "," << int{c.aux3};
    return out.str();
}

// A grid for route length `length` with the given cells set.
inline TrackGrid grid_with(int32_t length, const std::vector<Put>& puts) {
    TrackGrid grid;
    grid.dimension(length);
    for (const Put& p : puts) grid[p.cell] = p.value;
    return grid;
}

// The cells of `before` with the given cells replaced.
inline std::vector<TrackCell> cells_with(const TrackGrid& before, const std::vector<Put>& puts) {
    std::vector<TrackCell> cells = before.cells();
    for (const Put& p : puts) cells.at(static_cast<size_t>(p.cell)) = p.value;
    return cells;
}

// Every cell of `grid` equals `expected`.
inline void expect_cells(const TrackGrid& grid, const std::vector<TrackCell>& expected, const std::string& what) {
    ASSERT_EQ(grid.cells().size(), expected.size()) << what;
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(cell_fields(grid.cells()[i]), cell_fields(expected[i]))
            << what << ": cell " << i << " is " << describe(grid.cells()[i]) << ", expected "
            << describe(expected[i]);
    }
}
