// One leg of the fastest run: from standing at one stop point to standing at
// the next, the most restrictive speed allowed at each step (cell limits
// under the whole train, the train's top speed), the braking curve worked
// backwards from the end and from every lower limit, then the acceleration
// forwards, each step as constant acceleration over its distance.
#pragma once

#include <string>
#include <vector>

#include "tools/running_time/run_route.h"
#include "tools/running_time/train_model.h"

// Standard gravity, m/s2.
constexpr double kGravity = 9.80665;

// The train as the leg drives it: the model scaled by the route's cars and
// braked mass.
struct TrainForce {
    double mass = 0;           // kg
    double length = 0;         // m
    double davisA = 0;         // N
    double davisB = 0;         // N s/m
    double davisC = 0;         // N s2/m2
    double effort = 0;         // N
    double power = 0;          // W
    double topSpeed = 0;       // m/s
    double rotating = 1;       // rotating-mass factor
    double adhesion = 0;       // coefficient at 100 %
    double braking = 0;        // m/s2 at the route's braked mass
};
TrainForce train_force(const TrainModel& model, const RunRoute& route);

// The leg's nodes from `from` to `to` metres: positions, times from 0 and speeds (m/s).
struct LegRun {
    std::vector<double> position;
    std::vector<double> time;
    std::vector<double> speed;
    std::string problem;  // why the leg cannot be run; the nodes are then empty
    double running() const { return time.empty() ? 0 : time.back(); }
    double top_speed() const;
    // The time the head reaches x (from <= x <= to), between the nodes around it.
    double time_at(double x) const;
};

LegRun run_leg(const RunRoute& route, const TrainForce& train, double from, double to, double step);
