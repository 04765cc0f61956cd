// What the running-time model needs of a route, as the compile pass decided
// it: per cell the speed limit (the slow-downs as placed already applied),
// gradient and adhesion; the stations as placed; the train's cars and
// braked mass. Taken from the form and its read trace, never from the
// documents.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class Form1;

// Cell k of the grid governs the metres [k * 50, (k + 1) * 50), as the
// compiler fills the per-cell profiles (profile_cell_start).
struct RunCell {
    int32_t limitKmh = 0;   // the lower of the line's limit and any slow-down over the cell
    int32_t gradient = 0;   // per mille, positive rising along the route
    int32_t adhesion = 0;   // percent
};

struct RunStation {
    std::string name{};     // UTF-8
    int32_t slot = 0;       // its slot in the scenario table
    int64_t position = 0;   // as written (metres)
    bool hasStopCell = false;
    int64_t stopCell = -1;  // the cell the compiler marked as its stop, when it has one
    int64_t point = 0;      // its stop point (the first metre of the stop cell), else its position
    int64_t scheduled = 0;  // seconds after midnight; 0: none
};

struct RunRoute {
    std::vector<RunCell> cells{};
    std::vector<RunStation> stations{};  // in route order
    int64_t cars = 0;
    int64_t brakedPercent = 0;
};

// A slow-down as placed: the start and end cells its record gave (an end on
// its start's cell leaves the start alone) and the speed its start cell holds.
struct PlacedSlowDown {
    int64_t startCell = 0;
    int64_t endCell = 0;
    int32_t speedKmh = 0;
};

// The slow-downs of a pass that went through with its trace on, in record order.
std::vector<PlacedSlowDown> placed_slow_downs(const Form1& form);

// The route of a form after a pass that went through with its trace on;
// with the trace off the stations are not known and the list is empty.
RunRoute run_route_of(const Form1& form);

// The cell whose profile span holds metre x (x at or above 0).
int64_t run_cell_of(double metres);
