// The fastest run on routes made here and on the built-in scenario: its
// integration step, a leg through a cell with no speed, a train without cars
// or brakes, and legs that start from the scheduled departure.
#include "tools/running_time/fastest_run.h"

#include <gtest/gtest.h>

#include <cmath>

#include "tools/pass/compile_pass.h"
#include "tools/testing/test_folder.h"

namespace {

// A train of constant acceleration a and braking b on the level: no
// resistance, a rotating-mass factor of 1, power and adhesion never limiting.
TrainModel constant_train(double a, double b) {
    TrainModel t;
    t.carMassKg = 50000;
    t.carLengthM = 25;
    t.davisANPerCar = 0;
    t.davisBNsPerMPerCar = 0;
    t.davisCNs2PerM2 = 0;
    t.maxEffortN = 4 * 50000 * a;
    t.maxPowerW = 1e9;
    t.maxSpeedMps = 100;
    t.rotatingMassFactor = 1;
    t.adhesionCoefficient = 1;
    t.brakingMps2 = b;
    t.dwellS = 30;
    return t;
}

// A level route of `metres` with one limit, four cars and full brakes.
RunRoute level_route(int64_t metres, int32_t limitKmh) {
    RunRoute route;
    route.cells.assign(static_cast<size_t>(metres / 50 + 1), RunCell{limitKmh, 0, 100});
    route.cars = 4;
    route.brakedPercent = 100;
    return route;
}

RunStation stop(const char* name, int64_t point, int64_t scheduled) {
    return {name, 0, point, true, point / 50, point, scheduled};
}

// On the level, from standing to standing over d with limit v: whether or not v is reached.
double level_time(double d, double v, double a, double b) {
    if (d >= v * v / (2 * a) + v * v / (2 * b)) return d / v + v / (2 * a) + v / (2 * b);
    return std::sqrt(2 * d * (1 / a + 1 / b));
}

std::string built_in_document(void (Form1::*write)(), std::string (Form1::*name)() const) {
    TestFolder folder;
    Form1 form(folder.path());
    form.routeName = "Bresta_Vilcar";
    form.trainCode = "RX907";
    (form.*write)();
    return folder.read((form.*name)());
}

TEST(FastestRun, HalvingTheStepMovesNoTimeOfTheBuiltInScenarioByATenthOfASecond) {
    CompilePass pass(PassSettings{.names = ScenarioNames{}, .lineTable = false, .compiledFiles = false});
    pass.run({built_in_document(&Form1::dati_linea, &Form1::line_document_name),
              built_in_document(&Form1::dati_treno, &Form1::train_document_name)});
    ASSERT_TRUE(pass.end().went_through());
    const RunRoute route = run_route_of(pass.form());
    ASSERT_EQ(route.stations.size(), 24u);
    TrainModel oddLength;
    oddLength.carLengthM = 23.7;  // the tail leaves a restriction between two steps
    struct Case {
        const char* name;
        TrainModel train;
    };
    const Case cases[] = {{.name = "the default train", .train = TrainModel{}},
                          {.name = "cars of 23.7 m", .train = oddLength}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const RunningTimes coarse = fastest_run(route, c.train, kRunStepMetres);
        const RunningTimes fine = fastest_run(route, c.train, kRunStepMetres / 2);
        ASSERT_EQ(coarse.problem, "");
        ASSERT_EQ(coarse.stations.size(), fine.stations.size());
        int timed = 0;
        for (size_t k = 0; k < coarse.stations.size(); ++k) {
            SCOPED_TRACE(route.stations[k].name);
            ASSERT_EQ(coarse.stations[k].earliestArrival.has_value(), fine.stations[k].earliestArrival.has_value());
            if (!coarse.stations[k].earliestArrival) continue;
            EXPECT_NEAR(*coarse.stations[k].earliestArrival, *fine.stations[k].earliestArrival, 0.1);
            ++timed;
        }
        EXPECT_EQ(timed, 23);  // every station after the first is stopped at or passed
    }
}

TEST(FastestRun, ACellWithoutSpeedMakesItsLegImpossibleAndTheNextLegStillRuns) {
    RunRoute route = level_route(20000, 72);
    route.cells[100].limitKmh = 0;  // 5000 to 5050 m
    route.stations = {stop("A", 1000, 36000), stop("B", 8000, 37000), stop("C", 13000, 38000)};
    const RunningTimes run = fastest_run(route, constant_train(0.5, 0.5));
    ASSERT_EQ(run.stations.size(), 3u);
    EXPECT_NE(run.stations[1].problem.find("0 km/h from 5000 m"), std::string::npos) << run.stations[1].problem;
    EXPECT_TRUE(run.stations[1].late);
    EXPECT_FALSE(run.stations[1].earliestArrival);
    // C is reached from B's scheduled departure.
    ASSERT_TRUE(run.stations[2].earliestArrival);
    EXPECT_NEAR(*run.stations[2].earliestArrival, 37000 + level_time(5000, 20, 0.5, 0.5), 0.1);
    EXPECT_FALSE(run.kept());
}

TEST(FastestRun, ALateLegLeavesTheNextLegItsOwnSlack) {
    RunRoute route = level_route(20000, 72);
    const double leg = level_time(5000, 20, 0.8, 0.6);
    route.stations = {stop("A", 1000, 36000), stop("B", 6000, 36100), stop("C", 11000, 37000)};
    const RunningTimes run = fastest_run(route, constant_train(0.8, 0.6));
    ASSERT_TRUE(run.stations[1].slack && run.stations[2].slack);
    EXPECT_NEAR(*run.stations[1].slack, 100 - leg - 30, 0.1);
    EXPECT_TRUE(run.stations[1].late);
    EXPECT_NEAR(*run.stations[2].slack, 900 - leg, 0.1);
    EXPECT_FALSE(run.stations[2].late);
}

TEST(FastestRun, NoCarsOrNoBrakedMassGiveNoTimesAndSayWhy) {
    struct Case {
        const char* name;
        int64_t cars;
        int64_t braked;
        const char* says;
    };
    const Case cases[] = {
        {.name = "no cars", .cars = 0, .braked = 100, .says = "0 cars"},
        {.name = "negative cars", .cars = -2, .braked = 100, .says = "-2 cars"},
        {.name = "no braked mass", .cars = 4, .braked = 0, .says = "braked-mass percentage is 0"},
        {.name = "negative braked mass", .cars = 4, .braked = -5, .says = "braked-mass percentage is -5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RunRoute route = level_route(20000, 72);
        route.stations = {stop("A", 1000, 36000), stop("B", 6000, 37000)};
        route.cars = c.cars;
        route.brakedPercent = c.braked;
        const RunningTimes run = fastest_run(route, TrainModel{});
        EXPECT_NE(run.problem.find(c.says), std::string::npos) << run.problem;
        EXPECT_TRUE(run.stations.empty());
        EXPECT_TRUE(run.samples.empty());
        EXPECT_FALSE(run.kept());
    }
}

TEST(FastestRun, SamplesRiseInPositionAndTimeAndKeepUnderTheLimit) {
    RunRoute route = level_route(20000, 72);
    route.stations = {stop("A", 1000, 36000), stop("B", 6000, 37000)};
    const RunningTimes run = fastest_run(route, TrainModel{});
    ASSERT_GE(run.samples.size(), static_cast<size_t>(5000 / kRunStepMetres) + 1);  // a sample a step at least
    EXPECT_EQ(run.samples.front().position, 1000);
    EXPECT_EQ(run.samples.front().time, 36000);
    EXPECT_EQ(run.samples.back().position, 6000);
    EXPECT_EQ(run.samples.back().speed, 0);
    for (size_t k = 1; k < run.samples.size(); ++k) {
        ASSERT_GT(run.samples[k].position, run.samples[k - 1].position);
        ASSERT_GT(run.samples[k].time, run.samples[k - 1].time);
        ASSERT_LE(run.samples[k].speed, 20.0 + 1e-9);
    }
}

}  // namespace
