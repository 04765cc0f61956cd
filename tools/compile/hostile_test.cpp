// Hostile documents through scenario_tool compile: whatever an author writes,
// the compiler ends with a defined exit status and error code, and never
// crashes, hangs or writes outside its tables.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <regex>
#include <string>
#include <vector>

#include "core/error_codes.h"
#include "core/rounding.h"
#include "tools/testing/test_folder.h"
#include "core/track_grid.h"
#include "tools/compiled/compiled_files.h"
#include "tools/testing/tool_runner.h"

namespace {

const std::string kTool = tool_command();

// A line description with the given route length field and record rows.
std::string line_doc(const std::string& length, const std::vector<std::string>& rows) {
    std::string text = crlf({"[generale]", "lunghezza percorso,    " + length,
                             "progressiva chilometrica uno,    1000,    0,    0", "[indicazioni]"});
    for (const std::string& row : rows) text += row + "\r\n";
    return text + "[fine]\r\n";
}

std::string line_doc(int32_t length, const std::vector<std::string>& rows) {
    return line_doc(std::to_string(length), rows);
}

// A train description with the given rows after its general section.
std::string train_doc(const std::vector<std::string>& rows) {
    std::string text = crlf({"[generale]", "numero vetture,    8", "velocita,       0,    75", "aderenza,   0,    100"});
    for (const std::string& row : rows) text += row + "\r\n";
    return text + "[fine]\r\n";
}

std::vector<std::string> repeated(int count, const std::function<std::string(int)>& row) {
    std::vector<std::string> rows;
    for (int i = 0; i < count; ++i) rows.push_back(row(i));
    return rows;
}

std::string station(int32_t position, int type, int length, const std::string& name) {
    return "stazione, " + std::to_string(position) + ", " + std::to_string(type) + ", " + std::to_string(length) +
           ", 0, 1, 0, 1,1,0, 4,1,1, 1, 9,38, 0, " + name;
}

std::string signal(int32_t position) { return "segnale, " + std::to_string(position) + ", 1, 4, 1, 0, 0, 1, 3,1,0, 0"; }

// Bytes of every value but letters, so no keyword can hide in them.
std::string garbage(size_t size) {
    std::string bytes;
    uint32_t state = 12345;
    while (bytes.size() < size) {
        state = state * 1103515245u + 12345u;
        char c = static_cast<char>((state >> 16) & 0xFF);
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) continue;
        bytes += c;
    }
    return bytes;
}

const std::string kThirtyDigits = "123456789012345678901234567890";
const int32_t kLongest = 1000000;
// The last position that leaves room on the grid of the longest route.
const int32_t kLastRoom = grid_upper_bound(kLongest) * 50 - 100;
const std::string kSmallLine = line_doc(20000, {});
const std::string kSmallTrain = train_doc({});

using GridCheck = std::function<void(const std::vector<TrackCell>&)>;

struct Hostile {
    std::string name;
    std::string line;
    std::string train;
    int status;       // exit status of scenario_tool compile
    int code;         // error code on the diagnostic line, 0 for none
    GridCheck check;  // on the compiled grid, when the files are written
};

std::vector<Hostile> hostile_cases() {
    std::vector<Hostile> cases = {
        {"EmptyLineDescription", "", kSmallTrain, 3, 102, nullptr},
        {"EmptyTrainDescription", kSmallLine, "", 0, 0, nullptr},
        {"LineOfOnlyCommas", std::string(5000, ','), kSmallTrain, 3, 102, nullptr},
        {"TrainOfOnlyCommas", kSmallLine, "[generale]\r\n" + std::string(5000, ','), 0, 0, nullptr},
        {"LineOfOnlyLineEnds", std::string(3000, '\n') + std::string(3000, '\r'), kSmallTrain, 3, 102, nullptr},
        {"TrainOfOnlyLineEnds", kSmallLine, std::string(2000, '\r') + std::string(2000, '\n'), 0, 0, nullptr},
        {"BinaryLine", garbage(65536), kSmallTrain, 3, 102, nullptr},
        {"BinaryTrainBody", kSmallLine, "[generale]\r\n" + garbage(65536), 0, 0, nullptr},
        {"MegabyteCommentLine", std::string(1 << 20, 'x') + "\r\n" + kSmallLine, kSmallTrain, 0, 0, nullptr},
        // A caption that no 16-bit count can describe: no compiled file can hold it.
        {"MegabyteCaption", line_doc(20000, {"cartello_indicatore, 1000, " + std::string(1 << 20, 'C')}), kSmallTrain, 1,
         kLabelTooLong, nullptr},
        {"ThirtyDigitRouteLength", line_doc(kThirtyDigits, {}), kSmallTrain, 3, 25, nullptr},
        {"ThirtyDigitCars", kSmallLine, train_doc({"numero vetture, " + kThirtyDigits}), 1, 25, nullptr},
        {"ThirtyDigitSignal", kSmallLine, train_doc({"segnale, -" + kThirtyDigits + ", 1,4,1,0,0,1,3,1,0,0"}), 1, 25,
         nullptr},
        {"LongestRouteFeaturesAtTheEnd",
         line_doc(kLongest,
                  {"pendenza, " + std::to_string(kLastRoom) + ", 3", "curvad6, 999000, 999",
                   "montagna, " + std::to_string(kLastRoom) + ", 1007000, 11",
                   "indicatori_vmax, " + std::to_string(kLastRoom) + ", 75, 85, 85, 2, , , , 0",
                   "cartello_indicatore, " + std::to_string(kLastRoom - 50) + ", (FINE)"}),
         train_doc({"velocita, " + std::to_string(kLastRoom) + ", 30", "aderenza, " + std::to_string(kLastRoom) + ", 90",
                    station(kLastRoom - 700, 4, 700, "ULTIMA"), "rallentamento, 1004000, 120, 1000, 1, 1, 0",
                    signal(kLastRoom - 1000), "abbattimento, " + std::to_string(kLastRoom - 1100) + ", 120"}),
         0, 0,
         [](const std::vector<TrackCell>& g) {
             ASSERT_EQ(g.size(), 20141u);
             EXPECT_EQ(g[20138].kind, kSign);
             EXPECT_EQ(g[20139].kind, kSpeedBoard);
             EXPECT_EQ(g[20139].scenery, 1);
             EXPECT_EQ(g[20130].kind, kStationStop);
             EXPECT_EQ(g[20119].kind, kSignal);
             EXPECT_EQ(g[20116].kind, kAbbattimento);
             EXPECT_EQ(g[20137].aux2, 100);
             EXPECT_EQ(g[20138].aux2, 103);
             EXPECT_EQ(g[20137].aux1, 15);
             EXPECT_EQ(g[20138].aux1, 6);
         }},
        {"CurvePassingTheLastComputedColumn", line_doc(kLongest, {"curvad1, 999000, 1001"}), kSmallTrain, 1, 103, nullptr},
        {"RouteLongerThanTheLongest", line_doc(kLongest + 1, {}), kSmallTrain, 3, 1, nullptr},
        {"NegativeRouteLength", line_doc(-50, {}), kSmallTrain, 3, 212, nullptr},
        {"EightyMontagnaStretches",
         line_doc(20000, repeated(80, [](int i) {
                      return "montagna, " + std::to_string(1000 + 300 * i) + ", " + std::to_string(1100 + 300 * i) + ", 1";
                  })),
         kSmallTrain, 0, 0, nullptr},
        {"EightyOneMontagnaStretches",
         line_doc(30000, repeated(81, [](int i) {
                      return "montagna, " + std::to_string(1000 + 300 * i) + ", " + std::to_string(1100 + 300 * i) + ", 1";
                  })),
         kSmallTrain, 1, 203, nullptr},
        {"MontagnaEndingBeyondTheGrid", line_doc(20000, {"montagna, 1000, 30000, 1"}), kSmallTrain, 1, 202, nullptr},
        {"EightyIndicationBoardsAndAStation",
         line_doc(20000, repeated(80, [](int i) { return "cartello_indicatore, " + std::to_string(1000 + 100 * i) + ", B"; })),
         train_doc({station(500, 4, 100, "S")}), 1, 10, nullptr},
        {"EightyOneIndicationBoards",
         line_doc(20000, repeated(81, [](int i) { return "cartello_indicatore, " + std::to_string(1000 + 100 * i) + ", B"; })),
         kSmallTrain, 1, 204, nullptr},
        {"SeventyEightStationsWithoutBoards", line_doc(50000, {}),
         train_doc(repeated(78, [](int i) { return station(500 * (i + 1), 4, 100, "S" + std::to_string(i)); })), 0, 0,
         nullptr},
        {"SeventyNineStationsWithoutBoards", line_doc(50000, {}),
         train_doc(repeated(79, [](int i) { return station(500 * (i + 1), 4, 100, "S" + std::to_string(i)); })), 1, 10,
         nullptr},
        {"SpeedBoardTooLargeForSixteenBits", line_doc(20000, {"indicatori_vmax, 5000, 1639, 1, 1, 0, , , , 0"}),
         kSmallTrain, 1, 205, nullptr},
        {"CurveEndingAtTheLastColumn", line_doc(20000, {"curvas2, 26000, 1000"}), kSmallTrain, 0, 0, nullptr},
        {"CurvePastTheLastColumn", line_doc(20000, {"curvas2, 26000, 1001"}), kSmallTrain, 1, 206, nullptr},
        // Room check passes for 26900 on a 20000 m route (N = 540); each row
        // writes at least one cell, so the fifth would land beyond cell 540.
        {"FourGradientRowsInTheLastCells", line_doc(20000, repeated(4, [](int) { return "pendenza, 26900, 7"; })),
         kSmallTrain, 0, 0,
         [](const std::vector<TrackCell>& g) {
             ASSERT_EQ(g.size(), 541u);
             EXPECT_EQ(g[540].aux2, 107);
         }},
        {"FiveGradientRowsInTheLastCells", line_doc(20000, repeated(5, [](int) { return "pendenza, 26900, 7"; })),
         kSmallTrain, 1, 207, nullptr},
        // Cell 1 is reserved for the marker value: a signal there ends the run.
        {"SignalAtZeroMetres", kSmallLine, train_doc({signal(0)}), 2, 0, nullptr},
        {"SignalAtOneHundredMetres", kSmallLine, train_doc({signal(100)}), 0, 0,
         [](const std::vector<TrackCell>& g) {
             EXPECT_EQ(g[3].kind, kSignal);
             EXPECT_EQ(g[1].approachCode, 41);
         }},
        {"SlowDownAt1500WithApproach", kSmallLine, train_doc({"rallentamento, 1500, 60, 300, 0, 1, 2"}), 0, 0,
         [](const std::vector<TrackCell>& g) {
             EXPECT_EQ(g[31].kind, kSlowDownStart);
             EXPECT_EQ(g[37].kind, kSlowDownEnd);
             for (int c = 0; c < 31; ++c) {
                 EXPECT_NE(g[c].kind, kSlowDownWarning) << c;
                 EXPECT_NE(g[c].kind, kWarningApproach) << c;
             }
         }},
        {"SlowDownAt1501WithApproach", kSmallLine, train_doc({"rallentamento, 1501, 60, 300, 0, 1, 2"}), 0, 0,
         [](const std::vector<TrackCell>& g) {
             EXPECT_EQ(g[7].kind, kSlowDownWarning);
             for (int i = 0; i < 4; ++i) {
                 EXPECT_EQ(g[6 - i].kind, kWarningApproach);
                 EXPECT_EQ(g[6 - i].value1, i + 1);
             }
         }},
        {"SlowDownEndingBeyondTheGrid", kSmallLine, train_doc({"rallentamento, 26900, 60, 500, 0, 0, 0"}), 1, 211, nullptr},
        {"StationOfType7PastTheLastCell", kSmallLine, train_doc({station(26200, 7, 2000, "LUNGA")}), 1, 210, nullptr},
        {"StationOfType8PastTheLastCell", kSmallLine, train_doc({station(26200, 8, 2000, "LUNGA")}), 1, 210, nullptr},
        {"StationOfType7EndingInside", kSmallLine, train_doc({station(26200, 7, 600, "CORTA")}), 0, 0, nullptr},
    };
    const std::pair<const char*, std::string> lineRows[] = {
        {"Gradient", "pendenza, -50, 3"},          {"Curve", "curvad3, -1, 300"},
        {"MontagnaStart", "montagna, -100, 500, 1"}, {"MontagnaEnd", "montagna, 100, -500, 1"},
        {"SpeedBoard", "indicatori_vmax, -5000, 75, 85, 85, 2, , , , 0"}, {"IndicationBoard", "cartello_indicatore, -1, X"},
    };
    for (const auto& [kind, row] : lineRows)
        cases.push_back({std::string("NegativeLinePosition") + kind, line_doc(20000, {row}), kSmallTrain, 1, 201, nullptr});
    const std::pair<const char*, std::string> trainRows[] = {
        {"SpeedLimit", "velocita, -25, 90"},          {"Adhesion", "aderenza, -50, 90"},
        {"Signal", "segnale, -1550, 1,4,1,0,0,1,3,1,0,0"}, {"SlowDown", "rallentamento, -3000, 30, 800, 1, 1, 2"},
        {"Abbattimento", "abbattimento, -2000, 120"}, {"Station", station(-500, 4, 700, "X")},
    };
    for (const auto& [kind, row] : trainRows)
        cases.push_back({std::string("NegativeTrainPosition") + kind, kSmallLine, train_doc({row}), 1, 201, nullptr});
    return cases;
}

void PrintTo(const Hostile& h, std::ostream* os) { *os << h.name; }

class HostileDocument : public ::testing::TestWithParam<Hostile> {};

TEST_P(HostileDocument, EndsWithItsStatusAndCode) {
    const Hostile& h = GetParam();
    TestFolder dir;
    dir.write("line.txt", h.line);
    dir.write("train.txt", h.train);
    RunResult r = run_command(kTool + " compile line.txt train.txt --out out --route Bresta_Vilcar --train-code RX907", dir.path());
    ASSERT_EQ(r.status, h.status) << r.err;

    std::smatch m;
    const bool diagnosed = std::regex_search(r.err, m, std::regex(R"(^(line|train)\.txt(:[0-9]+)?: error ([0-9]+): )"));
    if (h.code == 0) {
        EXPECT_FALSE(diagnosed) << r.err;
    } else {
        ASSERT_TRUE(diagnosed) << r.err;
        EXPECT_EQ(std::stoi(m[3]), h.code) << r.err;
    }
    // Every failure says so in one line; a clean run says nothing.
    if (h.status == 0) {
        EXPECT_EQ(r.err, "");
    } else if (h.status == 2) {
        EXPECT_NE(r.err.find(" Errore n. 125"), std::string::npos) << r.err;
    } else if (h.status == 3 && !diagnosed) {
        EXPECT_NE(r.err.find("run-time failure: "), std::string::npos) << r.err;
    }
    // The author's documents are never consumed.
    EXPECT_EQ(dir.read("line.txt"), h.line);
    EXPECT_EQ(dir.read("train.txt"), h.train);

    // A label too long for the scenario file leaves nothing to write.
    const bool written = h.status == 0 || (h.status == 1 && h.code != kLabelTooLong);
    EXPECT_EQ(dir.exists("out/Bresta_Vilcar_RX907.dat"), written);
    EXPECT_EQ(dir.exists("out/Bresta_Vilcar_RX907.sim"), written);
    if (written && h.check) h.check(decode_grid(dir.read("out/Bresta_Vilcar_RX907.dat")));
}

INSTANTIATE_TEST_SUITE_P(Cases, HostileDocument, ::testing::ValuesIn(hostile_cases()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
