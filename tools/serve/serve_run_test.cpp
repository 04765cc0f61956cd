// The fastest run as serve brings it: the timetable command's times, a
// saved slow-down and a tightened time in the next update, and the train of
// a train-model file.
#include <gtest/gtest.h>

#include "tools/serve/test_serve_client.h"

using namespace serve_test;

namespace {

// The station row of a run by name.
const json& run_station(const json& run, const std::string& name) {
    for (const json& s : run["stations"])
        if (s["name"] == name) return s;
    ADD_FAILURE() << "no station " << name;
    static const json none;
    return none;
}

// The fastest run comes with the drawing, and its every time is the
// timetable command's for the same documents: one model, read once.
TEST(Serve, CarriesTheFastestRunAsTheTimetableGivesIt) {
    Server server;
    ASSERT_GT(server.port(), 0);
    const json j = server.scenario();
    const json& run = j["run"];
    ASSERT_TRUE(run.is_object()) << j["run_problem"];
    EXPECT_EQ(j["run_problem"], nullptr);
    EXPECT_EQ(run["trainModel"], "default");
    const RunResult timetable =
        run_command(tool_command() + " timetable '" + server.line() + "' '" + server.train() + "' --format json", "/");
    const json expected = json::parse(timetable.out);
    ASSERT_EQ(run["stations"].size(), expected["stations"].size());
    ASSERT_EQ(run["stations"].size(), 24u);
    for (size_t i = 0; i < expected["stations"].size(); ++i) {
        const json& got = run["stations"][i];
        const json& want = expected["stations"][i];
        EXPECT_EQ(got["name"], want["name"]);
        EXPECT_EQ(got["position_m"], want["position_m"]);
        EXPECT_EQ(got["scheduled_s"], want["scheduled_s"]);
        for (const char* time : {"earliest_arrival_s", "earliest_departure_s", "slack_s"}) {
            if (want[time].is_null()) EXPECT_TRUE(got[time].is_null()) << i << time;
            else EXPECT_NEAR(got[time].get<double>(), want[time].get<double>(), 0.05) << i << time;
        }
    }
    EXPECT_EQ(run_station(run, "BRESTA")["role"], "start");
    EXPECT_EQ(run_station(run, "SORBA")["role"], "passed");  // no stop cell
    // The run's points, thinned, in order along the route from the first
    // departure (09:38:00) to the last arrival; time goes back only at a
    // stop reached after its scheduled departure, which the next leg starts from.
    const json& samples = run["samples"];
    EXPECT_GT(samples.size(), 500u);
    EXPECT_LE(samples.size(), 3000u);
    EXPECT_EQ(samples.front(), json({run_station(run, "BRESTA")["position_m"], 9 * 3600 + 38 * 60, 0}));
    const json& last = run["stations"].back();
    EXPECT_NEAR(samples.back()[1].get<double>(), last["earliest_arrival_s"].get<double>(), 0.05);
    for (size_t i = 1; i < samples.size(); ++i) {
        ASSERT_GE(samples[i][0], samples[i - 1][0]) << i;
        if (samples[i][1] < samples[i - 1][1]) {
            ASSERT_EQ(samples[i][0], samples[i - 1][0]) << i;
            ASSERT_EQ(samples[i][2], 0) << i;
            ASSERT_EQ(samples[i - 1][2], 0) << i;
        }
    }
    // The montagna stretches as the line document gives them; the service
    // meets no slow-down.
    const std::string lineText = run_command("cat '" + server.line() + "'", "/").out;
    size_t rows = 0;
    for (size_t at = lineText.find("\nmontagna,"); at != std::string::npos; at = lineText.find("\nmontagna,", at + 1))
        ++rows;
    EXPECT_EQ(j["montagna"].size(), rows);
    EXPECT_EQ(j["montagna"][0], json({{"start_m", 3000}, {"end_m", 17600}}));
    EXPECT_EQ(j["slow_downs"], json::array());
}

// A saved slow-down and a tightened time come with the next update: the
// slow-down as placed, the run slowed by it, the station late.
TEST(Serve, ASavedSlowDownAndATightenedTimeComeWithTheNextUpdate) {
    Server server;
    ASSERT_GT(server.port(), 0);
    const json before = server.scenario();
    const double earliest = run_station(before["run"], "PIANCASTELLO")["earliest_departure_s"].get<double>();

    const std::string original = run_command("cat '" + server.train() + "'", "/").out;
    std::string slowed = original;
    slowed.insert(slowed.find("stazione,   11700,"), "rallentamento, 5000, 30, 2000, 0, 0, 0\r\n");
    save_whole(server.train(), slowed);
    const json withSlowDown = server.scenario_after(before["version"]);
    ASSERT_EQ(withSlowDown["slow_downs"].size(), 1u) << withSlowDown["diagnostics"];
    const json& s = withSlowDown["slow_downs"][0];
    EXPECT_EQ(s["speed_kmh"], 30);
    EXPECT_NEAR(s["start_m"].get<double>(), 5000, 100);
    EXPECT_NEAR(s["end_m"].get<double>() - s["start_m"].get<double>(), 2000, 100);
    // 2 km at 30 km/h rather than at line speed: well over a minute more.
    const json& slowedStation = run_station(withSlowDown["run"], "PIANCASTELLO");
    EXPECT_GT(slowedStation["earliest_departure_s"].get<double>(), earliest + 60);
    for (const json& sample : withSlowDown["run"]["samples"]) {
        if (sample[0] > s["start_m"].get<double>() && sample[0] < s["end_m"].get<double>()) {
            ASSERT_LE(sample[2].get<double>(), 30.05) << sample;
        }
    }

    // The last station's arrival a minute before the earliest (11:00:00 stands in the row).
    const json& end = run_station(before["run"], "VILCAR P.NUOVA");
    EXPECT_FALSE(end["late"].get<bool>());
    const double arrival = end["earliest_arrival_s"].get<double>();
    const int tight = static_cast<int>(std::ceil(arrival)) - 60;
    char clock[40];
    std::snprintf(clock, sizeof clock, "%2d,%2d,%2d, VILCAR P.NUOVA", tight / 3600, tight / 60 % 60, tight % 60);
    const std::string row = " 11, 0, 0, VILCAR P.NUOVA";
    std::string tightened = original;
    tightened.replace(tightened.find(row), row.size(), clock);
    save_whole(server.train(), tightened);
    const json late = server.scenario_after(withSlowDown["version"]);
    const json& station = run_station(late["run"], "VILCAR P.NUOVA");
    EXPECT_EQ(station["scheduled_s"], tight);
    EXPECT_TRUE(station["late"].get<bool>());
    EXPECT_NEAR(station["slack_s"].get<double>(), tight - arrival, 0.05);
    EXPECT_EQ(late["slow_downs"], json::array());
}

// --train-model: the run of the file's train, named by the file; a faulty
// file is said before anything is served, as the timetable says it.
TEST(Serve, RunsTheTrainOfATrainModelFile) {
    Server standard;
    ASSERT_GT(standard.port(), 0);
    TestFolder models;
    models.write("slow.json", "{\"max_speed_mps\": 15}");
    Server slow(false, nullptr, {"--train-model", models.file("slow.json")});
    ASSERT_GT(slow.port(), 0) << slow.first_line();
    const json run = slow.scenario()["run"];
    ASSERT_TRUE(run.is_object());
    EXPECT_EQ(run["trainModel"], models.file("slow.json"));
    const double standardEnd = standard.scenario()["run"]["stations"].back()["earliest_arrival_s"].get<double>();
    EXPECT_GT(run["stations"].back()["earliest_arrival_s"].get<double>(), standardEnd + 60);
    for (const json& sample : run["samples"]) {
        ASSERT_LE(sample[2].get<double>(), 15 * 3.6 + 0.05) << sample;
    }

    models.write("bad.json", "{\"braking_mps2\": -1}");
    const RunResult faulty = run_command("timeout 10 " + tool_command() + " serve '" + slow.line() + "' '" +
                                             slow.train() + "' --port 0 --train-model bad.json",
                                         models.path());
    EXPECT_EQ(faulty.status, 64);
    EXPECT_EQ(faulty.out, "");
    EXPECT_NE(faulty.err.find("train-model file bad.json: key \"braking_mps2\": negative"), std::string::npos)
        << faulty.err;
}

}  // namespace
