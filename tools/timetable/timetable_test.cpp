// scenario_tool timetable, the real program on documents written here: the
// closed-form running times of a train of constant acceleration and braking,
// the train-model file's faults, and documents that do not compile.
#include <gtest/gtest.h>

#include <cmath>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "tools/testing/test_folder.h"
#include "tools/testing/tool_runner.h"

namespace {

const std::string kTool = tool_command();

constexpr double kG = 9.80665;  // standard gravity, m/s2
constexpr double kA = 0.8;      // the train's acceleration on the level, m/s2
constexpr double kB = 0.6;      // its braking at a braked mass of 100 %, m/s2
constexpr double kV = 25.0;     // the limit, 90 km/h
constexpr double kDwell = 30;

// Four cars of 50,000 kg with an effort of 200,000 kg x kA, no resistance,
// power and adhesion never limiting.
std::string train_model(double carLength) {
    return R"({"car_mass_kg": 50000, "car_length_m": )" + std::to_string(carLength) + R"(, "davis_a_N": 0,
  "davis_b_N_per_mps": 0, "davis_c_N_per_mps2": 0, "max_effort_N": 160000, "max_power_W": 1e9,
  "max_speed_mps": 100, "rotating_mass_factor": 1, "adhesion_coefficient": 1, "braking_mps2": 0.6, "dwell_s": 30})";
}

// From standing to standing over d with limit v, acceleration a, braking b.
double run_time(double d, double v, double a, double b) {
    if (d >= v * v / (2 * a) + v * v / (2 * b)) return d / v + v / (2 * a) + v / (2 * b);
    return std::sqrt(2 * d * (1 / a + 1 / b));
}

// Through a lower limit w from x1 to x2 on a leg of d from standing to
// standing, with a train of the given length: up to v, down to w before x1,
// w until the tail has left x2, up to v again, cruise, and down to the stop.
double run_time_through(double d, double v, double w, double x1, double x2, double a, double b, double length) {
    const double ramps = v * v / (2 * a) + (v * v - w * w) / (2 * b) + (v * v - w * w) / (2 * a) + v * v / (2 * b);
    const double slow = x2 + length - x1;
    return v / a + (v - w) / b + slow / w + (v - w) / a + v / b + (d - ramps - slow) / v;
}

// Two-digit station times from seconds after midnight: "h, m, s".
std::string clock_fields(int seconds) {
    return std::to_string(seconds / 3600) + ", " + std::to_string(seconds / 60 % 60) + ", " +
           std::to_string(seconds % 60);
}

// A station of type 4 and 100 m at `position`: its extent ends at position +
// 50, so its stop cell is the one whose first metre is the position itself.
std::string station(int position, int time, const std::string& name) {
    return "stazione, " + std::to_string(position) + ", 4, 100, 0, 1, 0, 1,1,0, 4,1,1, 1, " + clock_fields(time) +
           ", " + name;
}

std::string line_document(const std::vector<std::string>& rows) {
    std::string text = crlf({"[generale]", "lunghezza percorso,    20000",
                             "progressiva chilometrica uno,    1000,    0,    0", "[pendenze]"});
    for (const std::string& row : rows) text += row + "\r\n";
    return text + "[fine]\r\n";
}

std::string train_document(const std::vector<std::string>& rows) {
    std::string text = crlf({"[generale]", "numero vetture,    4", "percentuale massa frenata,    100",
                             "orologio, 9 0 0", "aderenza, 0, 100"});
    for (const std::string& row : rows) text += row + "\r\n";
    return text + "[fine]\r\n";
}

RunResult run_timetable(const TestFolder& folder, const std::string& options) {
    return run_command(kTool + " timetable Test_linea.txt Test_T1-.txt " + options, folder.path());
}

struct Expected {
    const char* station;
    const char* key;
    double value;
};

TEST(Timetable, ClosedFormRunningTimesThroughTheProgramsJson) {
    const int t0 = 10 * 3600;
    const double uphill = 10, downhill = -10;  // per mille
    const double level5k = run_time(5000, kV, kA, kB);
    struct Case {
        const char* name;
        std::vector<std::string> line;
        std::vector<std::string> train;
        std::vector<Expected> expected;  // seconds after midnight
        int status;
        double carLength = 25;
    };
    const Case cases[] = {
        {.name = "level, the limit reached",
         .line = {"pendenza, 0, 0"},
         .train = {"velocita, 0, 90", station(1000, t0, "A"), station(6000, t0 + 3600, "B")},
         .expected = {{"B", "earliest_arrival_s", t0 + level5k}, {"B", "slack_s", 3600 - level5k}},
         .status = 0},
        {.name = "level, too short to reach the limit",
         .line = {"pendenza, 0, 0"},
         .train = {"velocita, 0, 90", station(1000, t0, "A"), station(1500, t0 + 3600, "B")},
         .expected = {{"B", "earliest_arrival_s", t0 + std::sqrt(2 * 500 * (1 / kA + 1 / kB))}},
         .status = 0},
        {.name = "uphill",
         .line = {"pendenza, 0, 10"},
         .train = {"velocita, 0, 90", station(1000, t0, "A"), station(6000, t0 + 3600, "B")},
         .expected = {{"B", "earliest_arrival_s",
                       t0 + run_time(5000, kV, kA - kG * uphill / 1000, kB + kG * uphill / 1000)}},
         .status = 0},
        {.name = "downhill",
         .line = {"pendenza, 0, -10"},
         .train = {"velocita, 0, 90", station(1000, t0, "A"), station(6000, t0 + 3600, "B")},
         .expected = {{"B", "earliest_arrival_s",
                       t0 + run_time(5000, kV, kA - kG * downhill / 1000, kB + kG * downhill / 1000)}},
         .status = 0},
        {.name = "a lower limit in the middle, left once the tail is out",
         .line = {"pendenza, 0, 0"},
         .train = {"velocita, 0, 90", "velocita, 3000, 45", "velocita, 3500, 90", station(1000, t0, "A"),
                   station(6000, t0 + 3600, "B")},
         .expected = {{"B", "earliest_arrival_s", t0 + run_time_through(5000, kV, 12.5, 3000, 3500, kA, kB, 100)}},
         .status = 0},
        {.name = "a lower limit left by a train whose length is no multiple of the step",
         .line = {"pendenza, 0, 0"},
         .train = {"velocita, 0, 90", "velocita, 3000, 45", "velocita, 3500, 90", station(1000, t0, "A"),
                   station(6000, t0 + 3600, "B")},
         .expected = {{"B", "earliest_arrival_s", t0 + run_time_through(5000, kV, 12.5, 3000, 3500, kA, kB, 4 * 23.7)}},
         .status = 0,
         .carLength = 23.7},
        {.name = "a stop with dwell, the next leg from its scheduled departure",
         .line = {"pendenza, 0, 0"},
         .train = {"velocita, 0, 90", station(1000, t0, "A"), station(6000, t0 + 600, "B"),
                   station(11000, t0 + 1200, "C")},
         .expected = {{"B", "earliest_arrival_s", t0 + level5k},
                      {"B", "earliest_departure_s", t0 + level5k + kDwell},
                      {"B", "slack_s", 600 - level5k - kDwell},
                      {"C", "earliest_arrival_s", t0 + 600 + level5k}},
         .status = 0},
        {.name = "a passed station, at the moment the head reaches its stop point",
         .line = {"pendenza, 0, 0"},
         .train = {"velocita, 0, 90", station(1000, t0, "A"), station(3000, 0, "P"), station(6000, t0 + 3600, "B")},
         .expected = {{"P", "earliest_arrival_s", t0 + kV / (2 * kA) + 2000 / kV},
                      {"B", "earliest_arrival_s", t0 + level5k}},
         .status = 0},
        {.name = "a time that cannot be kept",
         .line = {"pendenza, 0, 0"},
         .train = {"velocita, 0, 90", station(1000, t0, "A"), station(6000, t0 + 200, "B")},
         .expected = {{"B", "slack_s", 200 - level5k}},
         .status = 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestFolder folder;
        folder.write("Test_linea.txt", line_document(c.line));
        folder.write("Test_T1-.txt", train_document(c.train));
        folder.write("model.json", train_model(c.carLength));
        const RunResult run = run_timetable(folder, "--train-model model.json --format json");
        ASSERT_EQ(run.status, c.status) << run.out << run.err;
        const nlohmann::json json = nlohmann::json::parse(run.out);
        EXPECT_EQ(json["train_model"], "model.json");
        for (const Expected& e : c.expected) {
            SCOPED_TRACE(std::string(e.station) + " " + e.key);
            const auto row = std::find_if(json["stations"].begin(), json["stations"].end(),
                                          [&](const nlohmann::json& s) { return s["name"] == e.station; });
            ASSERT_NE(row, json["stations"].end());
            ASSERT_TRUE((*row)[e.key].is_number()) << run.out;
            EXPECT_NEAR((*row)[e.key].get<double>(), e.value, 0.1);
        }
    }
}

TEST(Timetable, AFaultyTrainModelFileIsNamedWithItsKeyAndStatus64) {
    TestFolder folder;
    folder.write("Test_linea.txt", line_document({"pendenza, 0, 0"}));
    folder.write("Test_T1-.txt", train_document({"velocita, 0, 90", station(1000, 36000, "A"), station(6000, 37000, "B")}));
    folder.write("model.json", "{\"braking_mps2\": -0.5}");
    const RunResult faulty = run_timetable(folder, "--train-model model.json");
    EXPECT_EQ(faulty.status, 64);
    EXPECT_NE(faulty.err.find("model.json: key \"braking_mps2\": negative"), std::string::npos) << faulty.err;
    EXPECT_EQ(faulty.out, "");
    const RunResult missing = run_timetable(folder, "--train-model absent.json");
    EXPECT_EQ(missing.status, 64);
    EXPECT_NE(missing.err.find("absent.json"), std::string::npos) << missing.err;
}

TEST(Timetable, DocumentErrorsAreSaidAsCheckSaysThemAndNoTimeIsPrinted) {
    TestFolder folder;
    folder.write("Test_linea.txt", line_document({"pendenza, 0, 0"}));
    // A station position that is not a multiple of 50.
    folder.write("Test_T1-.txt", train_document({"velocita, 0, 90", station(1000, 36000, "A"), station(6010, 37000, "B")}));
    const RunResult timetable = run_timetable(folder, "");
    const RunResult check = run_command(kTool + " check Test_linea.txt Test_T1-.txt", folder.path());
    EXPECT_EQ(timetable.status, 1);
    EXPECT_EQ(check.status, 1);
    // The findings, each line as check writes it, before the counts.
    const std::string findings = check.out.substr(0, check.out.find("\n1 error") + 1);
    EXPECT_NE(findings.find(": error 8: "), std::string::npos) << check.out;
    EXPECT_EQ(timetable.out.rfind(findings, 0), 0u) << timetable.out;
    EXPECT_EQ(timetable.out.find("arrival"), std::string::npos) << timetable.out;
}

TEST(Timetable, PrintsTheDefaultTrainAsAFileItReadsBack) {
    TestFolder folder;
    const RunResult printed = run_command(kTool + " timetable --print-train-model", folder.path());
    ASSERT_EQ(printed.status, 0) << printed.err;
    EXPECT_EQ(nlohmann::json::parse(printed.out).size(), 12u);
    folder.write("defaults.json", printed.out);
    folder.write("Test_linea.txt", line_document({"pendenza, 0, 0"}));
    folder.write("Test_T1-.txt", train_document({"velocita, 0, 90", station(1000, 36000, "A"), station(6000, 37000, "B")}));
    const RunResult withFile = run_timetable(folder, "--train-model defaults.json --format json");
    const RunResult withDefault = run_timetable(folder, "--format json");
    ASSERT_EQ(withFile.status, 0) << withFile.out << withFile.err;
    EXPECT_EQ(nlohmann::json::parse(withFile.out)["stations"], nlohmann::json::parse(withDefault.out)["stations"]);
}

}  // namespace
