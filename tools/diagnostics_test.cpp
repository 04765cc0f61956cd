// Every error code through `scenario_tool compile`, from small broken documents.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include <string>
#include <vector>

#include "core/error_codes.h"
#include "core/test_folder.h"
#include "tools/diagnostics.h"
#include "tools/tool_runner.h"

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
    {6, 1, 'L', 5, {}, {kBoard, kSignRow}, {}},
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
    return run_command("'" + binary_folder() + "/scenario_tool' compile route.txt train.txt --out out", dir.path());
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

TEST(ToolDiagnostics, MessagesNameWhatHoldsTheCell) {
    TestFolder dir;
    RunResult r = compile(dir, crlf({"[generale]", "lunghezza percorso, 10000", "[cartelli]", kBoard, kSignRow, "[fine]"}),
                          crlf({"[generale]", "[fine]"}));
    EXPECT_EQ(r.err,
              "route.txt:5: error 6: indication board at 1000 m falls on grid cell 21, which already holds a speed "
              "board; move the board to a free cell\n"
              "for more on error 6, run: scenario_tool explain 6\n");
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
    RunResult missing = run_command("'" + binary_folder() + "/scenario_tool' compile none.txt none2.txt --out out", dir.path());
    EXPECT_EQ(missing.status, 3);
    EXPECT_EQ(missing.err, "none.txt: error 101: the line description document does not exist; give the path of an "
                           "existing file\nfor more on error 101, run: scenario_tool explain 101\n");

    // A missing train description is a read failure of a document that is not there.
    dir.write("route.txt", crlf({"[generale]", "lunghezza percorso, 10000", "[fine]"}));
    RunResult noTrain = run_command("'" + binary_folder() + "/scenario_tool' compile route.txt none2.txt --out out", dir.path());
    EXPECT_EQ(noTrain.status, 1);
    EXPECT_EQ(noTrain.err.rfind("none2.txt: error 25: the train description document does not exist", 0), 0u)
        << noTrain.err;
}

TEST(ToolDiagnostics, ReservedFieldInUseExitsWithTwo) {
    TestFolder dir;
    RunResult r = compile(dir, crlf({"[generale]", "lunghezza percorso, 10000", "[fine]"}),
                          crlf({"[generale]", signal_at(0), "[fine]"}));
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, " Errore n. 1250\nfor more on error 1250, run: scenario_tool explain 1250\n");
    EXPECT_FALSE(dir.exists("out/Bresta_Vilcar_RX907.dat"));
}

TEST(ToolDiagnostics, EveryCodeOfTheTableHasABrokenCaseAndOthersNoMessage) {
    for (ErrorCode code : kAllErrorCodes) {
        const bool covered = std::any_of(kCases.begin(), kCases.end(), [&](const BrokenCase& c) { return c.code == code; });
        // The line description document missing is checked on its own, above.
        EXPECT_TRUE(covered || code == kLineDocumentMissing || code == kNoGeneralSection) << "code " << code;
    }
    Form1 form{"."};
    for (int value : {14, 23, 26, 104, 208, 1250}) EXPECT_EQ(error_message(form, value, ""), "unknown error") << value;
}
