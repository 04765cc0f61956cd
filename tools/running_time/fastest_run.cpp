#include "tools/running_time/fastest_run.h"

#include <algorithm>

#include "tools/running_time/leg_run.h"

bool RunningTimes::kept() const {
    if (!problem.empty()) return false;
    for (const StationRun& s : stations) {
        if (s.late) return false;
    }
    return true;
}

namespace {

// The roles of the stations: the run starts at the first station with a stop
// cell and ends at the last one; between them it stops where a time is
// scheduled and passes everywhere else. Returns the index of the start, or
// the number of stations when fewer than two have a stop cell.
size_t assign_roles(const RunRoute& route, std::vector<StationRun>& rows) {
    const size_t none = route.stations.size();
    size_t first = none, last = none;
    for (size_t k = 0; k < route.stations.size(); ++k) {
        rows.push_back({.station = k});
        if (!route.stations[k].hasStopCell) continue;
        if (first == none) first = k;
        last = k;
    }
    if (first == none || first == last) return none;
    for (size_t k = first; k <= last; ++k) {
        const RunStation& s = route.stations[k];
        StationRun& row = rows[k];
        if (k == first) row.role = StationRun::Role::Start;
        else if (k == last) row.role = StationRun::Role::Last;
        else if (s.hasStopCell && s.scheduled != 0) row.role = StationRun::Role::Stop;
        else row.role = StationRun::Role::Passed;
        if (row.role != StationRun::Role::Passed && s.scheduled != 0) row.scheduled = s.scheduled;
    }
    return first;
}

}  // namespace

RunningTimes fastest_run(const RunRoute& route, const TrainModel& train, double stepMetres) {
    RunningTimes run;
    if (route.cars <= 0) {
        run.problem = "the train has " + std::to_string(route.cars) + " cars, so it has no mass and no length";
        return run;
    }
    if (route.brakedPercent <= 0) {
        run.problem = "the braked-mass percentage is " + std::to_string(route.brakedPercent) + ", so the train cannot brake";
        return run;
    }
    const size_t first = assign_roles(route, run.stations);
    if (first == route.stations.size()) {
        run.problem = "fewer than two stations have a stop cell, so there is no leg to run";
        return run;
    }
    const TrainForce force = train_force(train, route);

    StationRun& start = run.stations[first];
    double departure = static_cast<double>(route.stations[first].scheduled);
    start.earliestDeparture = departure;
    size_t from = first;  // the stop the leg in hand starts from
    // A sample a step, and a few more where the tail leaves a restriction.
    const double span = static_cast<double>(route.stations.back().point - route.stations[first].point);
    run.samples.reserve(static_cast<size_t>(std::max(0.0, span) / stepMetres) + 2 * route.stations.size() + 64);
    for (size_t k = first + 1; k < run.stations.size(); ++k) {
        StationRun& row = run.stations[k];
        if (row.role == StationRun::Role::Passed || row.role == StationRun::Role::Outside) continue;
        const LegRun leg = run_leg(route, force, static_cast<double>(route.stations[from].point),
                                   static_cast<double>(route.stations[k].point), stepMetres);
        if (!leg.problem.empty()) {
            row.problem = leg.problem;
            row.late = true;
        } else {
            for (size_t p = from + 1; p < k; ++p) {
                const double at = leg.time_at(static_cast<double>(route.stations[p].point));
                run.stations[p].earliestArrival = departure + at;
                run.stations[p].earliestDeparture = departure + at;
            }
            for (size_t n = 0; n < leg.position.size(); ++n)
                run.samples.push_back({leg.position[n], departure + leg.time[n], leg.speed[n]});
            const double arrival = departure + leg.running();
            row.legRunning = leg.running();
            row.legTopSpeed = leg.top_speed();
            row.earliestArrival = arrival;
            const bool last = row.role == StationRun::Role::Last;
            const double earliest = last ? arrival : arrival + train.dwellS;
            if (!last) row.earliestDeparture = earliest;
            if (row.scheduled) {
                row.slack = static_cast<double>(*row.scheduled) - earliest;
                row.late = earliest > static_cast<double>(*row.scheduled);
            }
        }
        // The next leg starts from this stop's scheduled departure, so one
        // late leg does not make every later one late.
        if (row.scheduled) departure = static_cast<double>(*row.scheduled);
        else if (row.earliestDeparture) departure = *row.earliestDeparture;
        from = k;
    }
    return run;
}

RunningTimes running_times(const Form1& form, const TrainModel& train) {
    return fastest_run(run_route_of(form), train);
}

const char* role_word(StationRun::Role role) {
    switch (role) {
        case StationRun::Role::Start: return "start";
        case StationRun::Role::Stop: return "stop";
        case StationRun::Role::Last: return "last";
        case StationRun::Role::Passed: return "passed";
        case StationRun::Role::Outside: break;
    }
    return "outside";
}
