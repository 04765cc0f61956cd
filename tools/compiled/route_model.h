// What the route picture shows, taken from the three decoded compiled files:
// the centre line, the features of the grid with their names, and the
// per-cell profile of gradient, speed limit and adhesion.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/track_grid.h"
#include "core/line_table.h"
#include "core/scenario_table.h"
#include "tools/common/point.h"

struct RouteStation {
    int slot = 0;
    std::string name;       // UTF-8
    double position = 0;    // its stop cell's position, or the slot's position without one
    bool hasStopCell = false;
    int32_t scheduled = 0;  // seconds after midnight; 0 where the train has no scheduled time
};

// A named or counted grid feature: a signal, a speed board or an indication board.
struct RouteMark {
    int64_t cell = 0;
    double position = 0;
    std::string caption;  // UTF-8; indication boards only
    int16_t value1 = 0;
};

// The plan of the centre line: every metre's point, as far as the table is filled.
struct CentreLine {
    std::vector<Point> metres;  // index = metre along the line; x east, y north
    bool present() const { return !metres.empty(); }
    int64_t last() const { return static_cast<int64_t>(metres.size()) - 1; }
    // The point at a metre, or nothing beyond the filled part.
    std::optional<Point> at(double metre) const;
    // Unit direction of travel around a metre.
    Point heading(double metre) const;
};

struct RouteModel {
    std::string route;  // UTF-8
    std::string train;
    int32_t routeLength = 0;
    std::vector<RouteStation> stations;  // in slot order, which is route order
    std::vector<RouteMark> signals;
    std::vector<RouteMark> speedBoards;
    std::vector<RouteMark> boards;
    // Profile cells 0 to the last cell that holds a value: cell k covers the
    // 50 m from k x 50, as the readers fill them (a row at p starts at cell round(p / 50)).
    std::vector<int> gradient;  // per mille
    std::vector<int> speed;     // km/h
    std::vector<int> adhesion;  // percent
    CentreLine line;
};

// Throws DecodeError when the line table holds a coordinate that is not a finite number.
RouteModel build_route_model(const std::vector<TrackCell>& grid, const ScenarioTable& table,
                             const LineTable* line);

// The counts an author checks first, as one phrase: "route Bresta_Vilcar,
// 106000 m; train RX907; 24 stations, 44 signals, ...".
std::string scenario_counts(const RouteModel& model);
// The same phrase from the grid and the scenario table alone, without
// building the model (compile prints it for routes of any length).
std::string scenario_counts(const std::vector<TrackCell>& grid, const ScenarioTable& table);

// Heights at 0, 50, 100, ... m: the gradient of each cell integrated over its 50 m.
std::vector<double> height_profile(const std::vector<int>& gradient);

// The centre line from metre `from` to metre `to` (clamped to the filled part)
// every `step` metres, the point at `to` included.
std::vector<Point> sample_line(const CentreLine& line, int64_t from, int64_t to, int64_t step);

// Drops points that lie within `tolerance` of the chord between the points kept
// around them (Douglas-Peucker); the first and last points always stay.
std::vector<Point> simplify(const std::vector<Point>& points, double tolerance);
