#include "tools/compiled/route_model.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "core/rounding.h"
#include "tools/compiled/compiled_files.h"
#include "tools/compiled/compiled_names.h"
#include "tools/common/text_encoding.h"

namespace {

constexpr int kLastSharedSlot = kFirstBoardSlot;  // stations and captions share slots 1 to 80

bool is_station_slot(const ScenarioTable& table, int slot) {
    return slot >= 1 && slot <= kLastSharedSlot && slot_role(table, slot) == "station";
}

std::string caption_of(const ScenarioTable& table, int slot) {
    if (slot < 1 || slot > kLastSharedSlot) return "?";
    return cp1252_to_utf8(table[static_cast<size_t>(slot)].label);
}

CentreLine read_centre_line(const LineTable& table) {
    CentreLine line;
    const int64_t last = table.last_column();
    for (int64_t m = 0; m <= last; ++m) {
        // The table is filled from metre 0 on; the first empty entry ends the plan.
        if (table.type(m, 0) == LineTable::kEmpty || table.type(m, 1) == LineTable::kEmpty) break;
        Point p{table.value(m, 0), table.value(m, 1)};
        if (!std::isfinite(p.x) || !std::isfinite(p.y))
            throw DecodeError("metre " + std::to_string(m) + " holds a coordinate that is not a number");
        line.metres.push_back(p);
    }
    return line;
}

// Distance of p from the segment a-b.
double distance_to_segment(Point p, Point a, Point b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double length2 = dx * dx + dy * dy;
    double t = length2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / length2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

}  // namespace

std::optional<Point> CentreLine::at(double metre) const {
    if (!present() || metre > static_cast<double>(last())) return std::nullopt;
    if (metre <= 0) return metres.front();
    const auto i = static_cast<size_t>(std::floor(metre));
    if (i + 1 >= metres.size()) return metres.back();
    const double t = metre - static_cast<double>(i);
    return Point{metres[i].x + t * (metres[i + 1].x - metres[i].x), metres[i].y + t * (metres[i + 1].y - metres[i].y)};
}

Point CentreLine::heading(double metre) const {
    if (metres.size() < 2) return {0, 1};
    const auto at_index = [&](double m) {
        return metres[static_cast<size_t>(std::clamp(m, 0.0, static_cast<double>(last())))];
    };
    const Point a = at_index(std::floor(metre) - 5), b = at_index(std::floor(metre) + 5);
    const double length = std::hypot(b.x - a.x, b.y - a.y);
    if (!(length > 0)) return {0, 1};
    return {(b.x - a.x) / length, (b.y - a.y) / length};
}

RouteModel build_route_model(const std::vector<TrackCell>& grid, const ScenarioTable& table, const LineTable* line) {
    RouteModel model;
    model.route = cp1252_to_utf8(table[kSlotRoute].label);
    model.train = cp1252_to_utf8(table[kSlotTrain].label);
    model.routeLength = table[kSlotGeneral].long2;

    std::vector<int64_t> stopCell(kScenarioSlots, -1);
    for (size_t n = 0; n < grid.size(); ++n) {
        const TrackCell& c = grid[n];
        const auto cell = static_cast<int64_t>(n);
        RouteMark mark{cell, static_cast<double>(cell_position(cell)), "", c.value1};
        switch (c.kind) {
            case kSignal: model.signals.push_back(mark); break;
            case kSpeedBoard: model.speedBoards.push_back(mark); break;
            case kSign:
                mark.caption = caption_of(table, c.value1);
                model.boards.push_back(mark);
                break;
            case kStationStop:
                if (is_station_slot(table, c.value1) && stopCell[static_cast<size_t>(c.value1)] < 0)
                    stopCell[static_cast<size_t>(c.value1)] = cell;
                break;
            default: break;
        }
    }
    for (int slot = 1; slot <= kLastSharedSlot; ++slot) {
        if (!is_station_slot(table, slot)) continue;
        const ScenarioSlot& s = table[static_cast<size_t>(slot)];
        RouteStation station{slot, cp1252_to_utf8(s.label), static_cast<double>(s.long3), false, s.long4};
        if (stopCell[static_cast<size_t>(slot)] >= 0) {
            station.position = static_cast<double>(cell_position(stopCell[static_cast<size_t>(slot)]));
            station.hasStopCell = true;
        }
        model.stations.push_back(std::move(station));
    }

    size_t profileCells = grid.size();
    while (profileCells > 0) {
        const TrackCell& c = grid[profileCells - 1];
        if (c.aux1 != 0 || c.aux2 != 0 || c.aux3 != 0) break;
        --profileCells;
    }
    model.gradient.reserve(profileCells);
    model.speed.reserve(profileCells);
    model.adhesion.reserve(profileCells);
    for (size_t k = 0; k < profileCells; ++k) {
        model.gradient.push_back(gradient_of_byte(grid[k].aux2));
        model.speed.push_back(static_cast<int>(speed_of_step(grid[k].aux1)));
        model.adhesion.push_back(grid[k].aux3);
    }

    if (line != nullptr && line->exists()) model.line = read_centre_line(*line);
    return model;
}

namespace {

struct Counts {
    size_t stations = 0, signals = 0, boards = 0, speedBoards = 0;
};

std::string counts_phrase(const std::string& route, int64_t length, const std::string& train, const Counts& n) {
    auto count = [](size_t k, const char* one, const char* many) {
        return std::to_string(k) + " " + (k == 1 ? one : many);
    };
    return "route " + route + ", " + std::to_string(length) + " m; train " + train + "; " +
           count(n.stations, "station", "stations") + ", " + count(n.signals, "signal", "signals") + ", " +
           count(n.boards, "indication board", "indication boards") + ", " +
           count(n.speedBoards, "speed board", "speed boards");
}

}  // namespace

std::string scenario_counts(const RouteModel& model) {
    return counts_phrase(model.route, model.routeLength, model.train,
                         {model.stations.size(), model.signals.size(), model.boards.size(), model.speedBoards.size()});
}

std::string scenario_counts(const std::vector<TrackCell>& grid, const ScenarioTable& table) {
    // As the model counts them: every mark's cell, and each station's slot once.
    Counts n;
    for (const TrackCell& c : grid) {
        if (c.kind == kSignal) ++n.signals;
        if (c.kind == kSpeedBoard) ++n.speedBoards;
        if (c.kind == kSign) ++n.boards;
    }
    for (int slot = 1; slot <= kLastSharedSlot; ++slot) n.stations += is_station_slot(table, slot) ? 1 : 0;
    return counts_phrase(cp1252_to_utf8(table[kSlotRoute].label), table[kSlotGeneral].long2,
                         cp1252_to_utf8(table[kSlotTrain].label), n);
}

std::vector<double> height_profile(const std::vector<int>& gradient) {
    std::vector<double> heights{0.0};
    heights.reserve(gradient.size() + 1);
    for (int g : gradient) heights.push_back(heights.back() + kCellMetres * g / 1000.0);
    return heights;
}

std::vector<Point> sample_line(const CentreLine& line, int64_t from, int64_t to, int64_t step) {
    std::vector<Point> points;
    if (!line.present() || step < 1) return points;
    from = std::clamp<int64_t>(from, 0, line.last());
    to = std::clamp<int64_t>(to, 0, line.last());
    if (to < from) return points;
    for (int64_t m = from; m < to; m += step) points.push_back(line.metres[static_cast<size_t>(m)]);
    points.push_back(line.metres[static_cast<size_t>(to)]);
    return points;
}

std::vector<Point> simplify(const std::vector<Point>& points, double tolerance) {
    if (points.size() < 3) return points;
    std::vector<bool> keep(points.size(), false);
    keep.front() = keep.back() = true;
    // Ranges still to examine; each split makes them strictly shorter, so the work ends.
    // Pieces of bounded length keep the worst case (a line that winds round and
    // round) far from quadratic in the whole line; their ends stay.
    constexpr size_t kPiece = 512;
    std::vector<std::pair<size_t, size_t>> ranges;
    for (size_t first = 0; first + 1 < points.size(); first += kPiece) {
        const size_t last = std::min(first + kPiece, points.size() - 1);
        keep[last] = true;
        ranges.push_back({first, last});
    }
    while (!ranges.empty()) {
        auto [first, last] = ranges.back();
        ranges.pop_back();
        double farthest = -1;
        size_t index = first;
        for (size_t i = first + 1; i < last; ++i) {
            double d = distance_to_segment(points[i], points[first], points[last]);
            if (d > farthest) {
                farthest = d;
                index = i;
            }
        }
        if (farthest > tolerance) {
            keep[index] = true;
            ranges.push_back({first, index});
            ranges.push_back({index, last});
        }
    }
    std::vector<Point> kept;
    for (size_t i = 0; i < points.size(); ++i)
        if (keep[i]) kept.push_back(points[i]);
    return kept;
}
