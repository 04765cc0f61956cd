#include "tools/running_time/leg_run.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <utility>

#include "core/format.h"

TrainForce train_force(const TrainModel& model, const RunRoute& route) {
    const auto cars = static_cast<double>(route.cars);
    return {model.carMassKg * cars,
            model.carLengthM * cars,
            model.davisANPerCar * cars,
            model.davisBNsPerMPerCar * cars,
            model.davisCNs2PerM2,
            model.maxEffortN,
            model.maxPowerW,
            model.maxSpeedMps,
            model.rotatingMassFactor,
            model.adhesionCoefficient,
            model.brakingMps2 * static_cast<double>(route.brakedPercent) / 100.0};
}

double LegRun::top_speed() const { return speed.empty() ? 0 : *std::max_element(speed.begin(), speed.end()); }

double LegRun::time_at(double x) const {
    const auto after = std::lower_bound(position.begin(), position.end(), x);
    if (after == position.end()) return running();
    const auto k = static_cast<size_t>(after - position.begin());
    if (k == 0 || position[k] == x) return time[k];
    // Constant acceleration between the nodes: v2 is linear in distance.
    const double d = x - position[k - 1];
    const double v0 = speed[k - 1];
    const double span = position[k] - position[k - 1];
    const double vx = std::sqrt(std::max(0.0, v0 * v0 + (speed[k] * speed[k] - v0 * v0) * d / span));
    return v0 + vx > 0 ? time[k - 1] + 2 * d / (v0 + vx) : time[k - 1];
}

namespace {

// The shortest integration step: a leg across the longest route then has
// at most about ten million steps.
constexpr double kShortestStep = 0.1;

std::string metres_text(double m) { return std::to_string(static_cast<long long>(std::llround(m))) + " m"; }

const RunCell& cell_at(const RunRoute& route, int64_t c) {
    return route.cells[static_cast<size_t>(std::clamp<int64_t>(c, 0, static_cast<int64_t>(route.cells.size()) - 1))];
}

// The acceleration the train can reach at speed v on a cell.
double acceleration(const TrainForce& t, const RunCell& cell, double v) {
    const double effort = v > 0 ? std::min(t.effort, t.power / v) : t.effort;
    const double grip = t.adhesion * cell.adhesion / 100.0 * t.mass * kGravity;
    const double resistance = t.davisA + t.davisB * v + t.davisC * v * v;
    return (std::min(effort, grip) - resistance) / (t.rotating * t.mass) - kGravity * cell.gradient / 1000.0;
}

// The highest speed allowed through each step: the lowest cell limit under
// the train from its tail at the step's start to its head at the step's end
// (a window that only moves forwards, kept as a queue of rising minima), and
// never above the train's top speed. Fails on a cell limit of 0.
bool step_caps(const RunRoute& route, const TrainForce& train, const std::vector<double>& x,
               std::vector<double>& caps, std::string& problem) {
    const auto last = static_cast<int64_t>(route.cells.size()) - 1;
    std::deque<int64_t> minima;
    int64_t next = 0;  // the next cell to enter the window
    for (size_t i = 0; i + 1 < x.size(); ++i) {
        const int64_t first = std::clamp<int64_t>(run_cell_of(x[i] - train.length), 0, last);
        const int64_t end = std::clamp<int64_t>(static_cast<int64_t>(std::ceil(x[i + 1] / kCellMetres)) - 1, 0, last);
        next = std::max(next, first);
        for (; next <= end; ++next) {
            while (!minima.empty() && cell_at(route, minima.back()).limitKmh >= cell_at(route, next).limitKmh)
                minima.pop_back();
            minima.push_back(next);
        }
        while (minima.size() > 1 && minima.front() < first) minima.pop_front();
        const RunCell& lowest = cell_at(route, minima.front());
        if (lowest.limitKmh <= 0) {
            problem = "the speed limit is 0 km/h from " + metres_text(static_cast<double>(minima.front()) * kCellMetres) +
                      " (grid cell " + std::to_string(minima.front()) + ")";
            return false;
        }
        caps[i] = std::min(train.topSpeed, lowest.limitKmh / 3.6);
    }
    return true;
}

// The nodes of a leg: every `step` from `from`, the end, and each point
// where the tail leaves a cell whose limit is not the next one's, so that
// the limit under the train is the same all through each step.
std::vector<double> leg_nodes(const RunRoute& route, const TrainForce& train, double from, double to, double step) {
    std::vector<double> tail;
    const int64_t last = static_cast<int64_t>(route.cells.size()) - 1;
    const int64_t firstBoundary = std::max<int64_t>(1, run_cell_of(from - train.length) + 1);
    const int64_t lastBoundary = std::min<int64_t>(last, run_cell_of(to - train.length));
    for (int64_t k = firstBoundary; k <= lastBoundary; ++k) {
        const double point = static_cast<double>(k) * kCellMetres + train.length;
        if (route.cells[static_cast<size_t>(k - 1)].limitKmh != route.cells[static_cast<size_t>(k)].limitKmh &&
            point > from && point < to)
            tail.push_back(point);
    }
    const auto regular = static_cast<size_t>(std::ceil((to - from) / step));
    std::vector<double> x;
    x.reserve(regular + tail.size() + 1);
    size_t t = 0;
    for (size_t i = 0; i < regular; ++i) {
        const double at = from + static_cast<double>(i) * step;
        for (; t < tail.size() && tail[t] <= at; ++t) {
            if (tail[t] > x.back()) x.push_back(tail[t]);
        }
        if (x.empty() || at > x.back()) x.push_back(at);
    }
    for (; t < tail.size(); ++t) {
        if (tail[t] > x.back()) x.push_back(tail[t]);
    }
    x.push_back(to);
    return x;
}

}  // namespace

LegRun run_leg(const RunRoute& route, const TrainForce& train, double from, double to, double step) {
    LegRun leg;
    if (!(to > from) || route.cells.empty()) {
        leg.problem = "the stop point at " + metres_text(to) + " does not lie beyond the one at " + metres_text(from);
        return leg;
    }
    if (!(step >= kShortestStep)) {
        leg.problem = "the integration step is shorter than 0.1 m";
        return leg;
    }
    std::vector<double> x = leg_nodes(route, train, from, to, step);
    const size_t steps = x.size() - 1;

    std::vector<double> caps(steps);
    if (!step_caps(route, train, x, caps, leg.problem)) return leg;

    // Backwards: the highest speed at each node from which the train can
    // still brake to every lower speed ahead and stand at the end.
    std::vector<double> v(steps + 1);
    v[steps] = 0;
    for (size_t i = steps; i-- > 0;) {
        const RunCell& cell = cell_at(route, run_cell_of(x[i]));
        const double braking = train.braking + kGravity * cell.gradient / 1000.0;
        if (!(braking > 0)) {
            leg.problem = "the brakes cannot hold the train on the gradient of " + std::to_string(cell.gradient) +
                          " per mille at " + metres_text(x[i]);
            return leg;
        }
        const double node = i == 0 ? 0.0 : std::min(caps[i - 1], caps[i]);
        v[i] = std::min(node, std::sqrt(v[i + 1] * v[i + 1] + 2 * braking * (x[i + 1] - x[i])));
    }

    // Forwards: accelerate as hard as the train can, never above the
    // backward curve; each step's acceleration taken at its middle speed.
    leg.time.assign(steps + 1, 0.0);
    leg.speed.assign(steps + 1, 0.0);
    for (size_t i = 0; i < steps; ++i) {
        const RunCell& cell = cell_at(route, run_cell_of(x[i]));
        const double h = x[i + 1] - x[i];
        const double v0 = leg.speed[i];
        const double guess = std::sqrt(std::max(0.0, v0 * v0 + 2 * acceleration(train, cell, v0) * h));
        const double reach = v0 * v0 + 2 * acceleration(train, cell, (v0 + guess) / 2) * h;
        const double v1 = std::min(reach > 0 ? std::sqrt(reach) : 0.0, v[i + 1]);
        if (!(v0 + v1 > 0) || (reach <= 0 && i + 1 < steps)) {
            leg.problem = "the train cannot " + std::string(v0 > 0 ? "climb" : "start") + " at " + metres_text(x[i]) +
                          ": its effort does not overcome the resistance and the gradient of " +
                          std::to_string(cell.gradient) + " per mille";
            leg.time.clear();
            leg.speed.clear();
            return leg;
        }
        leg.speed[i + 1] = v1;
        leg.time[i + 1] = leg.time[i] + 2 * h / (v0 + v1);
    }
    leg.position = std::move(x);
    return leg;
}
