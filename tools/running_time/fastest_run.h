// The fastest run of a train over a route as the compile pass decided it,
// checked against every scheduled time: braking curves worked backwards from
// every lower limit and every stop, acceleration forwards with the train's
// effort, adhesion, Davis resistance and the gradient, integrated over
// distance. One call gives what the timetable, the check's warning and the
// page need: a row per station and the run's (position, time, speed) samples.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/running_time/run_route.h"
#include "tools/running_time/train_model.h"

class Form1;

// The distance step of the integration, metres: it divides a cell, so each
// step lies in one cell; halving it moves no time of the built-in scenario
// by more than 0.04 s.
constexpr double kRunStepMetres = 25.0;

// One point of the run: the head's position (m), the time (s after midnight)
// and the speed (m/s).
struct RunSample {
    double position = 0;
    double time = 0;
    double speed = 0;
};

// A station as the run meets it. Times are seconds after midnight.
struct StationRun {
    size_t station = 0;  // index into RunRoute::stations
    // The run starts here, stops here, passes here, or never reaches it
    // (before the first stop, after the last, or in a leg it cannot run).
    enum class Role { Start, Stop, Last, Passed, Outside } role = Role::Outside;
    std::optional<int64_t> scheduled{};       // none when the station has no time (or is passed without one)
    std::optional<double> earliestArrival{};  // at a stop: the earliest arrival; passed: the passing time
    std::optional<double> earliestDeparture{};
    std::optional<double> slack{};            // scheduled - earliest (departure at a stop, arrival at the last)
    bool late = false;                      // the scheduled time cannot be kept
    // The leg that ends here (stops and the last station): its running time
    // from the previous stop's scheduled departure, and its top speed (m/s).
    std::optional<double> legRunning{};
    std::optional<double> legTopSpeed{};
    std::string problem{};  // why the leg that ends here gives no times; empty when it does
};

// The role's word in the reports: "start", "stop", "last", "passed", "outside".
const char* role_word(StationRun::Role role);

struct RunningTimes {
    std::string problem{};  // why the run gives no times at all; empty when it does
    std::vector<StationRun> stations{};  // one per station of the route, in its order
    // The run in order, a sample per integration step; a stop shows its
    // arrival, then the scheduled departure the next leg starts from.
    std::vector<RunSample> samples{};
    // Whether every scheduled time can be kept (false when there are no times).
    bool kept() const;
};

// The fastest run of the train over the route, integrated with the step.
RunningTimes fastest_run(const RunRoute& route, const TrainModel& train, double stepMetres = kRunStepMetres);

// The same on the form a compile pass left (gone through, read trace on).
RunningTimes running_times(const Form1& form, const TrainModel& train);
