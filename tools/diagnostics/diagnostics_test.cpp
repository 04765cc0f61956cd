// Every error code through `scenario_tool compile`, from small broken documents.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include <string>
#include <vector>

#include "core/error_codes.h"
#include "tools/testing/test_folder.h"
#include "tools/diagnostics/diagnostics.h"
#include "tools/testing/tool_runner.h"

namespace {

struct BrokenCase {
    int code;
    int status;
    char file;  // 'L' line description, 'T' train description
    int line;   // 0: no line in the diagnostic
    std::vector<std::string> general;  // rows of the line description's general section
    std::vector<std::string> records;  // rows of its record section
    std::vector<std::string> train;    // rows of the train description
};

std::string join(const std::vector<std::string>& head, const std::vector<std::string>& rows,
                 const std::vector<std::string>& tail) {
    std::string text;
    for (const auto* part : {&head, &rows, &tail})
        for (const auto& row : *part) text += row + "\r\n";
    return text;
}

std::vector<std::string> repeat(int count, const std::function<std::string(int)>& row) {
    std::vector<std::string> rows;
    for (int i = 0; i < count; ++i) rows.push_back(row(i));
    return rows;
}

const std::string kSignal = ", 1,4,1,0,0,1,3,1,0,0";
std::string signal_at(int metres) { return "segnale, " + std::to_string(metres) + kSignal; }
std::string station_at(int metres, int type, int length) {
    return "stazione, " + std::to_string(metres) + ", " + std::to_string(type) + ", " + std::to_string(length) +
           ", 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, S" + std::to_string(metres);
}
const std::string kBoard = "indicatori_vmax, 1000, 50, 50, 50, 0, , , , 0";
const std::string kSignRow = "cartello_indicatore, 1000, (X)";

// The route is 10000 m long: the grid's last cell is 340, the line's last metre 17000.
const std::vector<BrokenCase> kCases = {
    {1, 1, 'L', 3, {"lunghezza percorso, 1000001"}, {}, {}},
    {212, 1, 'L', 3, {"lunghezza percorso, -8000"}, {}, {}},
    {3, 1, 'L', 3, {"ripetizione segnali 4 codici, 1010, 2000"}, {}, {}},
    {4, 1, 'L', 3, {"ripetizione segnali 4 codici, 1000, 2010"}, {}, {}},
    {5, 1, 'L', 3, {"ripetizione segnali codici, 1000, 2000"}, {}, {}},
    {2, 1, 'L', 3, {"progressiva chilometrica uno, 1010, 0, 0"}, {}, {}},
    {103, 1, 'L', 4, {}, {"curvad, 100, 50"}, {}},
    {15, 1, 'L', 4, {}, {"pendenza, 16901, 5"}, {}},
    // A route length cut short by a comma leaves the row at 8000 m off the grid: said at the length row.
    {15, 1, 'L', 3, {"lunghezza percorso, 10,000"}, {"pendenza, 8000, 5"}, {}},
    {6, 1, 'L', 5, {}, {kBoard, kSignRow}, {}},
    {213, 1, 'T', 3, {}, {}, {"stazione, 2000, 4, 700, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, " + std::string(65536, 'S')}},
    {21, 1, 'L', 5, {}, {kSignRow, kBoard}, {}},
    {201, 1, 'L', 4, {}, {"pendenza, -100, 5"}, {}},
    {202, 1, 'L', 4, {}, {"montagna, 1000, 17100, 11"}, {}},
    {203, 1, 'L', 84, {}, repeat(81, [](int i) { return "montagna, " + std::to_string(100 * i) + ", " + std::to_string(100 * i + 50) + ", 1"; }), {}},
    {204, 1, 'L', 84, {}, repeat(81, [](int i) { return "cartello_indicatore, " + std::to_string(200 + 100 * i) + ", (B)"; }), {}},
    {205, 1, 'L', 4, {}, {"indicatori_vmax, 1000, 2000, 50, 50, 0, , , , 0"}, {}},
    {206, 1, 'L', 4, {}, {"curvad1, 16000, 2000"}, {}},
    {207, 1, 'L', 9, {}, repeat(6, [](int) { return std::string("pendenza, 16850, 5"); }), {}},
    {25, 1, 'T', 3, {}, {}, {"numero vetture, abc"}},
    {201, 1, 'T', 3, {}, {}, {signal_at(-500)}},
    {16, 1, 'T', 4, {}, {}, {signal_at(1000), signal_at(1000)}},
    {17, 1, 'T', 4, {}, {}, {signal_at(3800), "rallentamento, 5000, 60, 500, 0, 0, 0"}},
    {18, 1, 'T', 4, {}, {}, {signal_at(5000), "rallentamento, 5000, 60, 500, 0, 0, 0"}},
    {19, 1, 'T', 4, {}, {}, {signal_at(5500), "rallentamento, 5000, 60, 500, 0, 0, 0"}},
    {20, 1, 'T', 4, {}, {}, {signal_at(3700), "rallentamento, 5000, 60, 500, 0, 1, 0"}},
    {211, 1, 'T', 3, {}, {}, {"rallentamento, 5000, 60, 20000, 0, 0, 0"}},
    {7, 1, 'T', 4, {}, {}, {station_at(1000, 4, 400), "abbattimento, 1150, 100"}},
    {8, 1, 'T', 3, {}, {}, {station_at(1010, 4, 400)}},
    {9, 1, 'T', 3, {}, {}, {station_at(1000, 4, 450)}},
    {24, 1, 'T', 3, {}, {}, {station_at(0, 4, 100)}},
    {22, 1, 'T', 4, {}, {}, {station_at(1000, 4, 400), station_at(1500, 4, 400)}},
    {210, 1, 'T', 3, {}, {}, {station_at(16000, 7, 20000)}},
    {10, 1, 'T', 81, {"lunghezza percorso, 100000"}, {}, repeat(79, [](int i) { return station_at(1000 * (i + 1), 4, 400); })},
    {11, 1, 'T', 0, {}, {}, {signal_at(3450), signal_at(3500), signal_at(3550), "rallentamento, 5000, 120, 500, 0, 0, 0"}},
    {12, 1, 'T', 0, {}, {}, {signal_at(4650), signal_at(4700), signal_at(4750), "rallentamento, 5000, 120, 500, 0, 0, 0"}},
    {13, 1, 'T', 0, {}, {}, {"rallentamento, 5000, 100, 1000, 0, 0, 0", signal_at(5350), signal_at(5400), signal_at(5450)}},
};

RunResult compile(const TestFolder& dir, const std::string& lineText, const std::string& trainText) {
    dir.write("route.txt", lineText);
    dir.write("train.txt", trainText);
    return run_command(tool_command() + " compile route.txt train.txt --out out --route Bresta_Vilcar --train-code RX907",
                       dir.path());
}

}  // namespace

TEST(ToolDiagnostics, EveryErrorCodeNamesItsFileLineAndCode) {
    for (const BrokenCase& c : kCases) {
        TestFolder dir;
        std::string line = join({"[generale]", "lunghezza percorso, 10000"}, c.general, {}) +
                           join({"[curve]"}, c.records, {"[fine]"});
        std::string train = join({"[generale]", "velocita, 0, 100"}, c.train, {"[fine]"});
        RunResult r = compile(dir, line, train);
        std::string file = c.file == 'L' ? "route.txt" : "train.txt";
        std::string where = file + (c.line ? ":" + std::to_string(c.line) : "");
        std::string expected = where + ": error " + std::to_string(c.code) + ": ";
        EXPECT_EQ(r.status, c.status) << "code " << c.code << "\n" << r.err;
        EXPECT_EQ(r.err.rfind(expected, 0), 0u) << "code " << c.code << ": " << r.err;
        EXPECT_EQ(r.err.find("unknown error"), std::string::npos) << r.err;
        // The diagnostic, then the line that names its explanation.
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 2) << r.err;
        const std::string hint = "run: scenario_tool explain " + std::to_string(c.code) + "\n";
        EXPECT_EQ(r.err.substr(r.err.size() - std::min(hint.size(), r.err.size())), hint) << r.err;
        // The author's documents are never consumed.
        EXPECT_EQ(dir.read("route.txt"), line);
        EXPECT_EQ(dir.read("train.txt"), train);
    }
}

// The limits the messages state are the compiler's: how many stations,
// stretches and boards fit, the fastest speed a board holds.
TEST(ToolDiagnostics, MessagesStateTheCompilersLimits) {
    const struct {
        int code;
        const char* piece;
    } limits[] = {
        {10, "(with S indication boards at most 78 - S stations)"},
        {203, "more than 80 montagna stretches; join some of them"},
        {204, "more than 80 indication boards; remove some"},
        {205, "keep vas, vbs and vcs at or below 1638 km/h"},
    };
    for (const auto& limit : limits) {
        const auto c = std::find_if(kCases.begin(), kCases.end(), [&](const BrokenCase& b) { return b.code == limit.code; });
        ASSERT_NE(c, kCases.end()) << limit.code;
        TestFolder dir;
        const RunResult r = compile(dir, join({"[generale]", "lunghezza percorso, 10000"}, c->general, {}) +
                                             join({"[curve]"}, c->records, {"[fine]"}),
                                    join({"[generale]", "velocita, 0, 100"}, c->train, {"[fine]"}));
        EXPECT_NE(r.err.find(limit.piece), std::string::npos) << limit.code << ": " << r.err;
    }
}

namespace {

// The first line of what compile says, for documents of a 10000 m route.
struct Said {
    int status;
    std::string first;  // the diagnostic line
};

Said compiled(const std::vector<std::string>& lineRows, const std::vector<std::string>& trainRows) {
    TestFolder dir;
    std::vector<std::string> line = {"[generale]", "lunghezza percorso, 10000", "[cartelli]"};
    line.insert(line.end(), lineRows.begin(), lineRows.end());
    line.push_back("[fine]");
    RunResult r = compile(dir, join(line, {}, {}), join({"[generale]"}, trainRows, {"[fine]"}));
    return {r.status, r.err.substr(0, r.err.find('\n'))};
}

}  // namespace

TEST(ToolDiagnostics, ATakenCellIsNamedWithTheFeatureAndLineThatHoldIt) {
    const std::string piancastello = "stazione, 5900, 4, 400, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, PIANCASTELLO";
    struct Case {
        std::vector<std::string> line, train;
        std::string expected;
    } cases[] = {
        {{}, {"velocita, 0, 100", piancastello, signal_at(6000)},
         "train.txt:4: error 16: signal at 6000 m falls on grid cell 121, the stop cell of station PIANCASTELLO "
         "(line 3); move the signal to a free cell, such as 5950 m or 6050 m"},
        {{kBoard, kSignRow}, {},
         "route.txt:5: error 6: indication board at 1000 m falls on grid cell 21, the cell of the speed board at "
         "1000 m (line 4); move the board to a free cell, such as 950 m or 1050 m"},
        {{kBoard}, {signal_at(1000)},
         "train.txt:2: error 16: signal at 1000 m falls on grid cell 21, the cell of the speed board at 1000 m "
         "(line 4 of the line description); move the signal to a free cell, such as 950 m or 1050 m"},
        {{}, {signal_at(3800), "rallentamento, 5000, 60, 500, 0, 0, 0"},
         "train.txt:3: error 17: the warning cell 77 of the slow-down at 5000 m, 1200 m before its start, is the cell "
         "of the signal at 3800 m (line 2); move the slow-down"},
        {{}, {"rallentamento, 5000, 60, 500, 0, 0, 0", signal_at(5500)},
         "train.txt:3: error 16: signal at 5500 m falls on grid cell 111, the end cell of the slow-down at 5000 m "
         "(line 2); move the signal to a free cell, such as 5450 m or 5550 m"},
    };
    for (const Case& c : cases) {
        const Said said = compiled(c.line, c.train);
        EXPECT_EQ(said.status, 1);
        EXPECT_EQ(said.first, c.expected);
    }
}

TEST(ToolDiagnostics, AReadFailureNamesItsRowsOwnLineAndWhatIsWrong) {
    struct Case {
        std::vector<std::string> train;
        std::string expected;
    } cases[] = {
        // The short row runs on into the next row, or into the end of the document.
        {{"segnale, 6000, 1, 4, 1", signal_at(7000)}, "train.txt:2: error 25: a signal row needs 11 numbers, this one has 4"},
        {{"velocita, 0, 100", "segnale, 6000, 1, 4, 1"}, "train.txt:3: error 25: a signal row needs 11 numbers, this one has 4"},
        {{"stazione, 1000, 4, 400, 0,0,0, 0,0,0", "segnale, 6000, 1,4,1,0,0,1,3,1,0,0"},
         "train.txt:2: error 25: a station row needs 16 numbers and a name, this one has 9"},
        {{"stazione, 1000, 4, 7OO, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, S"},
         "train.txt:2: error 25: the third number of this station row (the station length) is \"7OO\", not a whole number"},
        {{"velocita, 2000 m, 100"},
         "train.txt:2: error 25: the second number of this speed limit row (the speed in km/h) is \"m\", not a whole "
         "number: it follows the number 2000 after a blank, and a unit after a number is not read; write the number "
         "only"},
        {{"stazione, 1000, 300, 400, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, S"},
         "train.txt:2: error 25: the second number of this station row (the type code) is 300; it must lie between 0 "
         "and 255"},
        {{"sabbia, 40000"},
         "train.txt:2: error 25: the first number of this sand row (the sand supply) is 40000; it must lie between "
         "-32768 and 32767"},
        // A speed the grid cannot hold is refused when the next row writes its cells.
        {{"velocita, 0, 100", "velocita, 2000, 1300", "velocita, 3000, 100"},
         "train.txt:3: error 25: the second number of this speed limit row (the speed in km/h) is 1300; it must lie "
         "between 0 and 1277 km/h"},
    };
    for (const Case& c : cases) {
        const Said said = compiled({}, c.train);
        EXPECT_EQ(said.status, 1) << c.expected;
        EXPECT_EQ(said.first, c.expected);
    }
}

TEST(ToolDiagnostics, StationsOutOfOrderAreSaidToBe) {
    const Said backwards = compiled({}, {station_at(8000, 4, 400), station_at(5000, 4, 400)});
    EXPECT_EQ(backwards.first,
              "train.txt:3: error 22: the station S5000 at 5000 m does not come after the previous station S8000 at "
              "8000 m (line 2): the stations are out of order; list them in route order");
    const Said close = compiled({}, {station_at(1000, 4, 400), station_at(1500, 4, 400)});
    EXPECT_EQ(close.first,
              "train.txt:3: error 22: the station S1500 begins at 1300 m, only 100 m after the previous station S1000 "
              "(line 2) ends at 1200 m; stations must be at least 350 m apart: move one of them");
}

TEST(ToolDiagnostics, AMissingRouteLengthIsOneErrorAtTheRowThatMeantIt) {
    const std::string train = crlf({"[generale]", "velocita, 0, 100", "[fine]"});
    struct Case {
        std::string line;
        std::string expected;
    } cases[] = {
        {crlf({"[generale]", "sfondo uno, 4", "lunghezza percoso, 10000", "[curve]", "pendenza, 100, 5", "[fine]"}),
         "route.txt:3: error 25: no route length was read: \"lunghezza percoso\" is not spelt \"lunghezza percorso\", "
         "so this row was passed over and nothing could be placed; correct its keyword"},
        {crlf({"[generale]", "sfondo uno, 4", "[curve]", "pendenza, 100, 5", "[fine]"}),
         "route.txt:2: error 25: the line description has no route length row, so nothing could be placed; write one "
         "such as \"lunghezza percorso, 10000\" in the general section, before this line"},
    };
    for (const Case& c : cases) {
        TestFolder dir;
        RunResult r = compile(dir, c.line, train);
        EXPECT_EQ(r.status, 3);  // the run still ends as a run-time failure
        EXPECT_EQ(r.err, c.expected + "\nfor more on error 25, run: scenario_tool explain 25\n");
    }
}

TEST(ToolDiagnostics, ErrorsThatLeaveNoGridEndWithStatusThreeAndTheirDiagnosticAlone) {
    // The grid that was never sized is the consequence of the error: the
    // author reads the error and its hint, no internal failure line.
    struct Case {
        std::string line;
        int code;
    } cases[] = {
        {"nothing to read here\r\n", 102},
        {crlf({"[generale]", "lunghezza percorso, 1000001", "[fine]"}), 1},
    };
    for (const auto& c : cases) {
        TestFolder dir;
        RunResult r = compile(dir, c.line, crlf({"[generale]", "[fine]"}));
        EXPECT_EQ(r.status, 3) << r.err;
        EXPECT_EQ(r.err.rfind("route.txt", 0), 0u) << r.err;
        EXPECT_NE(r.err.find("error " + std::to_string(c.code) + ": "), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find("never sized"), std::string::npos) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 2) << r.err;
    }
    TestFolder dir;
    const std::string names = " --route Bresta_Vilcar --train-code RX907";
    RunResult missing = run_command(tool_command() + " compile none.txt none2.txt --out out" + names, dir.path());
    EXPECT_EQ(missing.status, 3);
    EXPECT_EQ(missing.err, "none.txt: error 101: the line description document does not exist; give the path of an "
                           "existing file\nfor more on error 101, run: scenario_tool explain 101\n");

    // A missing train description is a read failure of a document that is not there.
    dir.write("route.txt", crlf({"[generale]", "lunghezza percorso, 10000", "[fine]"}));
    RunResult noTrain = run_command(tool_command() + " compile route.txt none2.txt --out out" + names, dir.path());
    EXPECT_EQ(noTrain.status, 1);
    EXPECT_EQ(noTrain.err.rfind("none2.txt: error 25: the train description document does not exist", 0), 0u)
        << noTrain.err;
}

TEST(ToolDiagnostics, ReservedFieldInUseExitsWithTwo) {
    TestFolder dir;
    RunResult r = compile(dir, crlf({"[generale]", "lunghezza percorso, 10000", "[fine]"}),
                          crlf({"[generale]", signal_at(0), "[fine]"}));
    EXPECT_EQ(r.status, 2);
    // The compiler's own message, then where the feature stands, as check says it.
    EXPECT_EQ(r.err, " Errore n. 1250\ntrain.txt:2: error 1250: the feature at 0 m lands in grid cell 1, whose first "
                     "value is reserved for the compiler's marker; the compile pass stops with \" Errore n. 1250\" "
                     "and writes no file; move the feature 50 m or more along the line\nfor more on error 1250, run: "
                     "scenario_tool explain 1250\n");
    EXPECT_FALSE(dir.exists("out/Bresta_Vilcar_RX907.dat"));
}

TEST(ToolDiagnostics, EveryCodeOfTheTableHasABrokenCaseAndOthersNoMessage) {
    for (ErrorCode code : kAllErrorCodes) {
        const bool covered = std::any_of(kCases.begin(), kCases.end(), [&](const BrokenCase& c) { return c.code == code; });
        // The line description document missing is checked on its own, above; a
        // document in the other's place by the new author's table (these cases
        // always give each document its own rows).
        EXPECT_TRUE(covered || code == kLineDocumentMissing || code == kNoGeneralSection ||
                    code == kDocumentMisplaced)
            << "code " << code;
    }
    Form1 form{"."};
    for (int value : {14, 23, 26, 104, 208, 1250}) EXPECT_EQ(error_message(form, value), "unknown error") << value;
}
