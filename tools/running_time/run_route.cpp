#include "tools/running_time/run_route.h"

#include <algorithm>
#include <cmath>

#include "core/form1.h"
#include "core/rounding.h"
#include "tools/common/text_encoding.h"

int64_t run_cell_of(double metres) { return static_cast<int64_t>(std::floor(metres / kCellMetres)); }

std::vector<PlacedSlowDown> placed_slow_downs(const Form1& form) {
    std::vector<PlacedSlowDown> placed;
    const std::vector<FeatureCell>& held = form.trace.cells;
    for (size_t i = 0; i < held.size(); ++i) {
        if (held[i].role != CellRole::SlowDownStart) continue;
        const int64_t start = held[i].cell;
        int64_t end = start;
        for (const FeatureCell& other : held) {
            if (other.record == held[i].record && other.role == CellRole::SlowDownEnd) end = other.cell;
        }
        if (!form.grid.contains(start)) continue;
        placed.push_back({start, end, form.grid[start].value1});
    }
    return placed;
}

namespace {

void apply_slow_downs(const Form1& form, std::vector<RunCell>& cells) {
    for (const PlacedSlowDown& s : placed_slow_downs(form)) {
        const int64_t last = std::min<int64_t>(s.endCell, static_cast<int64_t>(cells.size()) - 1);
        for (int64_t c = std::max<int64_t>(s.startCell, 0); c <= last; ++c) {
            RunCell& cell = cells[static_cast<size_t>(c)];
            cell.limitKmh = std::min(cell.limitKmh, s.speedKmh);
        }
    }
}

}  // namespace

RunRoute run_route_of(const Form1& form) {
    RunRoute route;
    const ScenarioTable& table = form.scenario;
    route.cars = table[kSlotGeneral].long3;
    route.brakedPercent = table[kSlotGeneral].long1;
    if (!form.grid.sized()) return route;

    const std::vector<TrackCell>& grid = form.grid.cells();
    route.cells.reserve(grid.size());
    std::vector<int64_t> stopCell(kScenarioSlots, -1);
    for (size_t k = 0; k < grid.size(); ++k) {
        const TrackCell& c = grid[k];
        route.cells.push_back({static_cast<int32_t>(speed_of_step(c.aux1)), gradient_of_byte(c.aux2), c.aux3});
        if (c.kind == kStationStop && c.value1 >= 1 && c.value1 < kScenarioSlots &&
            stopCell[static_cast<size_t>(c.value1)] < 0)
            stopCell[static_cast<size_t>(c.value1)] = static_cast<int64_t>(k);
    }
    apply_slow_downs(form, route.cells);

    // The stations fill the slots from 1 in the order of their records.
    int32_t slot = 0;
    for (const TracedRecord& r : form.trace.records) {
        if (r.kind != RecordKind::Station) continue;
        if (++slot >= form.boardSlot) break;
        const ScenarioSlot& s = table[static_cast<size_t>(slot)];
        RunStation station{cp1252_to_utf8(s.label), slot, s.long3, false, -1, s.long3, s.long4};
        if (stopCell[static_cast<size_t>(slot)] >= 0) {
            station.hasStopCell = true;
            station.stopCell = stopCell[static_cast<size_t>(slot)];
            station.point = profile_cell_start(station.stopCell);
        }
        route.stations.push_back(std::move(station));
    }
    return route;
}
