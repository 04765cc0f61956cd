// scenario_tool check: every independent error of both documents in one run,
// the first one always compile's, and nothing left behind.
#include "tools/diagnostics/checker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <tuple>
#include <vector>

#include "core/form1.h"
#include "tools/testing/test_folder.h"
#include "tools/testing/tool_runner.h"

namespace {

// A 10,000 m route: grid cells 0 to 340.
const std::vector<std::string> kLineHead = {
    "[generale]",                               // 1
    "lunghezza percorso,    10000",             // 2
    "progressiva chilometrica uno, 0, 0, 0",    // 3
    "[pendenze]",                               // 4
};
const std::vector<std::string> kTrainHead = {
    "[generale]",          // 1
    "numero vetture, 8",   // 2
    "velocita, 0, 80",     // 3
    "aderenza, 0, 100",    // 4
};

std::string document(const std::vector<std::string>& head, const std::vector<std::string>& rows) {
    std::string text;
    for (const auto& l : head) text += l + "\r\n";
    for (const auto& l : rows) text += l + "\r\n";
    return text + "[fine]\r\n";
}

// (document, line, code) of one error: 'L' line description, 'T' train description.
using Found = std::tuple<char, int32_t, std::string>;

std::vector<Found> errors_of(const CheckResult& result) {
    std::vector<Found> out;
    for (const Diagnostic& d : result.diagnostics) {
        if (d.severity() != Severity::Error) continue;
        out.emplace_back(d.file == "train.txt" ? 'T' : 'L', d.line, code_name(d.code));
    }
    return out;
}

CheckResult check_texts(const std::string& line, const std::string& train, int maxErrors = 50) {
    return check_sources({"line.txt", line}, {"train.txt", train}, ScenarioNames{}, maxErrors);
}

struct BrokenCase {
    const char* name;
    std::vector<std::string> line;   // rows after kLineHead, from line 5
    std::vector<std::string> train;  // rows after kTrainHead, from line 5
    std::vector<Found> expected;
};

TEST(Check, EveryIndependentErrorOfBothDocuments) {
    const BrokenCase cases[] = {
        {.name = "placement, curve and room errors in the line, station and signal errors in the train",
         .line = {"indicatori_vmax, 2000, 80, 80, 80, 0, , , , 0",  // 5
                  "cartello_indicatore, 2000, (DOPPIO)",             // 6: the board's cell
                  "curvad, 3000, 100",                               // 7: no class digit
                  "pendenza, 20000, 5",                              // 8: no room on the grid
                  "pendenza, 4000, 5"},                              // 9
         .train = {"stazione, 1025, 4, 600, 0, 0, 0, 1,1,0, 4,1,1, 1, 9,0,0, ALFA",   // 5: not on 50 m
                   "segnale, 2000, 1, 4, 1, 0, 0, 1, 3, 1, 0, 0",                     // 6: the speed board's cell
                   "stazione, 5000, 4, 650, 0, 0, 0, 1,1,0, 4,1,1, 1, 9,5,0, BETA",   // 7: length
                   "stazione, 8000, 4, 600, 0, 0, 0, 1,1,0, 4,1,1, 1, 9,9,0, GAMMA"},
         .expected = {{'L', 6, "6"}, {'L', 7, "103"}, {'L', 8, "15"}, {'T', 5, "8"}, {'T', 6, "16"}, {'T', 7, "9"}}},
        {.name = "general-section errors, then stations too close and a read failure",
         .line = {"montagna, 1000, 2000, 1",
                  "indicatori_vmax, -50, 80, 80, 80, 0, , , , 0",  // 6: negative position
                  "montagna, 3000, 99999, 1"},                     // 7: beyond the grid
         .train = {"stazione, 1000, 4, 600, 0, 0, 0, 1,1,0, 4,1,1, 1, 9,0,0, ALFA",
                   "stazione, 1500, 4, 600, 0, 0, 0, 1,1,0, 4,1,1, 1, 9,5,0, BETA",   // 6: too close
                   "sabbia, 70000",                                                   // 7: beyond 16 bits
                   "segnale, 6000, 1, 4, 1, 0, 0, 1, 3, 1, 0, 0"},
         .expected = {{'L', 6, "201"}, {'L', 7, "202"}, {'T', 6, "22"}, {'T', 7, "25"}}},
        {.name = "a clean pair", .line = {"pendenza, 4000, 5"}, .train = {}, .expected = {}},
    };
    for (const BrokenCase& c : cases) {
        const std::string line = document(kLineHead, c.line);
        const std::string train = document(kTrainHead, c.train);
        const CheckResult result = check_texts(line, train);
        EXPECT_EQ(errors_of(result), c.expected) << c.name;
        EXPECT_EQ(result.errors, static_cast<int>(c.expected.size())) << c.name;
        EXPECT_FALSE(result.stoppedAtMaxErrors) << c.name;
    }
}

// A message that names another row carries it as data, with the path its
// document was given by, its line, the field meant and a short label; the
// message itself names the row as before.
TEST(Check, TheRowsAMessageNamesAreItsRelatedPlaces) {
    const std::string alfa = "stazione, 5900, 4, 400, 0, 0, 0, 1,1,0, 4,1,1, 1, 9,0,0, ALFA";
    struct Case {
        const char* name;
        std::vector<std::string> line{};   // rows after kLineHead, from line 5
        std::vector<std::string> train{};  // rows after kTrainHead, from line 5
        const char* code;                  // of the diagnostic looked at, the first with it
        const char* named;                 // how its message names the other row
        std::vector<RelatedPlace> related{};
    };
    const Case cases[] = {
        {.name = "a signal on a station's stop cell",
         .train = {alfa, "segnale, 6000, 1, 4, 1, 0, 0, 1, 3, 1, 0, 0"},
         .code = "16",
         .named = "the stop cell of station ALFA (line 5)",
         .related = {{.file = "train.txt", .line = 5, .label = "the stop cell of station ALFA"}}},
        {.name = "a signal on a speed board's cell of the line description",
         .line = {"indicatori_vmax, 1000, 50, 50, 50, 0, , , , 0"},
         .train = {"segnale, 1000, 1, 4, 1, 0, 0, 1, 3, 1, 0, 0"},
         .code = "16",
         .named = "the cell of the speed board at 1000 m (line 5 of the line description)",
         .related = {{.file = "line.txt", .line = 5, .field = 1, .label = "the cell of the speed board at 1000 m"}}},
        {.name = "stations out of order",
         .train = {alfa, "stazione, 2000, 4, 400, 0, 0, 0, 1,1,0, 4,1,1, 1, 9,5,0, BETA"},
         .code = "22",
         .named = "the previous station ALFA at 5900 m (line 5)",
         .related = {{.file = "train.txt", .line = 5, .field = 1, .label = "the previous station ALFA"}}},
        {.name = "the sand given twice, its first line named twice and kept once",
         .train = {"sabbia, 300", "sabbia, 200"},
         .code = "W105",
         .named = "(first at line 5); the last one read wins, so line 5 has",
         .related = {{.file = "train.txt", .line = 5, .label = "the sand given first"}}},
        {.name = "a stop cell over a speed board of the line description",
         .line = {"indicatori_vmax, 1200, 80, 80, 80, 0, , , , 0"},
         .train = {"stazione, 1000, 4, 600, 0, 0, 0, 1,1,0, 4,1,1, 1, 0,0,0, ALFA"},
         .code = "W111",
         .named = "the speed board at 1200 m (line 5 of the line description)",
         .related = {{.file = "line.txt", .line = 5, .field = 1, .label = "the speed board at 1200 m"}}},
        {.name = "a value that names no other row", .train = {"aderenza, 2000, 300"}, .code = "W103", .named = ""},
    };
    for (const Case& c : cases) {
        const CheckResult result = check_texts(document(kLineHead, c.line), document(kTrainHead, c.train));
        const auto found = std::find_if(result.diagnostics.begin(), result.diagnostics.end(),
                                        [&](const Diagnostic& d) { return code_name(d.code) == c.code; });
        ASSERT_NE(found, result.diagnostics.end()) << c.name;
        EXPECT_NE(found->message.find(c.named), std::string::npos) << c.name << ": " << found->message;
        EXPECT_EQ(found->related, c.related) << c.name;
    }
}

// Two refused rows of every record kind, in the line description's general
// section (lines 3 and 4) or record section (6 and 7), or in the train
// description (4 and 5): each is reported once, at its own line, and the
// second is not hidden behind the first.
TEST(Check, EveryRefusedRowOnceAtItsOwnLine) {
    struct Case {
        const char* kind;
        std::vector<std::string> general{"", ""};
        std::vector<std::string> records{"", ""};
        std::vector<std::string> train{"", ""};
        std::vector<Found> expected;
    };
    const std::string signal = ", 1,4,1, 0,0, 1,3,1,0, 0";
    const std::string stationTail = ", 0, 0, 0, 1,1,0, 4,1,1, 1, 9,0,0, ";
    const Case cases[] = {
        {.kind = "route length", .general = {"lunghezza percorso, 2000000", "lunghezza percorso, -5"},
         .expected = {{'L', 3, "1"}, {'L', 4, "212"}}},
        {.kind = "kilometric progressive",
         .general = {"progressiva chilometrica uno, 1010, 0, 0", "progressiva chilometrica due, 2020, 0, 0"},
         .expected = {{'L', 3, "2"}, {'L', 4, "2"}}},
        {.kind = "background", .general = {"sfondo uno, x", "sfondo due, y"},
         .expected = {{'L', 3, "25"}, {'L', 4, "25"}}},
        {.kind = "signal repetition",
         .general = {"ripetizione segnali 4 codici, 120, 0", "ripetizione segnali 4 codici, 100, 130"},
         .expected = {{'L', 3, "3"}, {'L', 4, "4"}}},
        {.kind = "gradient", .records = {"pendenza, -50, 5", "pendenza, 20000, 5"},
         .expected = {{'L', 6, "201"}, {'L', 7, "15"}}},
        {.kind = "curve", .records = {"curvad, 100, 200", "curvas, 300, 200"},
         .expected = {{'L', 6, "103"}, {'L', 7, "103"}}},
        {.kind = "montagna", .records = {"montagna, 100, 400000, 1", "montagna, -100, 200, 1"},
         .expected = {{'L', 6, "202"}, {'L', 7, "201"}}},
        {.kind = "speed board",
         .records = {"indicatori_vmax, 1000, 7000, 80, 80, 0, , , , 0", "indicatori_vmax, 2000, 80, 7000, 80, 0, , , , 0"},
         .expected = {{'L', 6, "205"}, {'L', 7, "205"}}},
        {.kind = "indication board", .records = {"cartello_indicatore, -10, A", "cartello_indicatore, 20000, B"},
         .expected = {{'L', 6, "201"}, {'L', 7, "15"}}},
        {.kind = "braked mass", .train = {"percentuale massa frenata, x", "percentuale massa frenata, y"},
         .expected = {{'T', 4, "25"}, {'T', 5, "25"}}},
        {.kind = "cars", .train = {"numero vetture, x", "numero vetture, y"},
         .expected = {{'T', 4, "25"}, {'T', 5, "25"}}},
        {.kind = "speed limit", .train = {"velocita, 1000, 2000", "velocita, 2000, 3000"},
         .expected = {{'T', 4, "25"}, {'T', 5, "25"}}},
        {.kind = "adhesion", .train = {"aderenza, -10, 90", "aderenza, 20000, 90"},
         .expected = {{'T', 4, "201"}, {'T', 5, "15"}}},
        {.kind = "clock", .train = {"orologio, 99999, 0, 0", "orologio, 0, 99999, 0"},
         .expected = {{'T', 4, "25"}, {'T', 5, "25"}}},
        {.kind = "sand", .train = {"sabbia, 99999", "sabbia, x"}, .expected = {{'T', 4, "25"}, {'T', 5, "25"}}},
        {.kind = "signal", .train = {"segnale, -50" + signal, "segnale, 20000" + signal},
         .expected = {{'T', 4, "201"}, {'T', 5, "15"}}},
        {.kind = "slow-down", .train = {"rallentamento, 2000, 60, 500000, 0, 0, 0", "rallentamento, -5, 60, 500, 0, 0, 0"},
         .expected = {{'T', 4, "211"}, {'T', 5, "201"}}},
        {.kind = "abbattimento", .train = {"abbattimento, -5, 60", "abbattimento, 20000, 60"},
         .expected = {{'T', 4, "201"}, {'T', 5, "15"}}},
        {.kind = "station",
         .train = {"stazione, 1025, 4, 600" + stationTail + "ALFA", "stazione, 5000, 4, 650" + stationTail + "BETA"},
         .expected = {{'T', 4, "8"}, {'T', 5, "9"}}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> line = {"[generale]", "lunghezza percorso, 10000"};
        line.insert(line.end(), c.general.begin(), c.general.end());
        line.push_back("[dati]");
        line.insert(line.end(), c.records.begin(), c.records.end());
        std::vector<std::string> train = {"[generale]", "velocita, 0, 80", "aderenza, 0, 100"};
        train.insert(train.end(), c.train.begin(), c.train.end());
        std::vector<Found> found = errors_of(check_texts(document(line, {}), document(train, {})));
        std::sort(found.begin(), found.end());
        EXPECT_EQ(found, c.expected) << c.kind;
    }
}

// The row that gave a speed the grid cannot hold is refused when the next row
// writes its cells: check reports that row, then the next one refused.
TEST(Check, RefusedSpeedRowsOfTheBuiltInTrainDescriptionEachOnce) {
    TestFolder dir;
    Form1 form(dir.path());
    form.routeName = "Bresta_Vilcar";
    form.trainCode = "RX907";
    form.scrivi_documenti();
    std::vector<std::string> rows;
    std::istringstream lines(dir.read(form.train_document_name()));
    for (std::string row; std::getline(lines, row);) rows.push_back(row);
    ASSERT_GT(rows.size(), 21u);
    ASSERT_EQ(rows[19].rfind("velocita,   16350,", 0), 0u);
    ASSERT_EQ(rows[20].rfind("velocita,   24400,", 0), 0u);
    rows[19] = "velocita,   16350,  2000\r";
    rows[20] = "velocita,   24400,  3000\r";
    std::string train;
    for (const std::string& row : rows) train += row + "\n";
    const CheckResult result = check_texts(dir.read(form.line_document_name()), train);
    EXPECT_EQ(errors_of(result), (std::vector<Found>{{'T', 20, "25"}, {'T', 21, "25"}}));
}

// Each reader error keeps its row as the pass that refused it read it (the
// passes after it no longer hold the row), and names the field at fault: 0
// for the row as a whole, n for its n-th value.
TEST(Check, EachErrorKeepsItsRowAsTheRefusingPassReadIt) {
    const std::string signal = ", 1,4,1, 0,0, 1,3,1,0, 0";
    const CheckResult result =
        check_texts(document(kLineHead, {"curvad, 100, 200"}),
                    document(kTrainHead, {"segnale, 1000" + signal, "segnale, 1020" + signal, "velocita, 2000, 1x0"}));
    struct Expected {
        char document;
        int32_t line;
        std::string code;
        int field;
        std::string keyword;  // of the kept record
        std::string unread{};  // the field a read failure stopped at
        int32_t freeCell = -1;
    } expected[] = {
        {.document = 'L', .line = 5, .code = "103", .field = 0, .keyword = "curvad"},
        {.document = 'T', .line = 6, .code = "16", .field = 1, .keyword = "segnale", .freeCell = 22},
        {.document = 'T', .line = 7, .code = "25", .field = 2, .keyword = "velocita", .unread = "1x0"},
    };
    std::vector<const Diagnostic*> errors;
    for (const Diagnostic& d : result.diagnostics) {
        if (d.severity() == Severity::Error) errors.push_back(&d);
    }
    ASSERT_EQ(errors.size(), std::size(expected));
    ASSERT_EQ(result.refused.size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) {
        const Expected& e = expected[i];
        const RefusedRecord& kept = result.refused[i];
        EXPECT_EQ(code_name(errors[i]->code), e.code) << i;
        EXPECT_EQ(errors[i]->field, e.field) << i;
        EXPECT_EQ(kept.row.document, e.document == 'L' ? Document::Line : Document::Train) << i;
        EXPECT_EQ(kept.row.line, e.line) << i;
        EXPECT_EQ(kept.row.freeCell, e.freeCell) << i;
        ASSERT_TRUE(kept.record.has_value()) << i;
        EXPECT_EQ(kept.record->keyword, e.keyword) << i;
        EXPECT_EQ(kept.unread ? kept.unread->text : "", e.unread) << i;
    }
}

TEST(Check, StopsAfterMaxErrors) {
    std::vector<std::string> rows;
    for (int i = 0; i < 5; ++i) rows.push_back("stazione, " + std::to_string(1025 + 1000 * i) + ", 4, 600, 0, 0, 0, 1,1,0, 4,1,1, 1, 9,0,0, X");
    const CheckResult result = check_texts(document(kLineHead, {}), document(kTrainHead, rows), 3);
    EXPECT_EQ(result.errors, 3);
    EXPECT_TRUE(result.stoppedAtMaxErrors);
    EXPECT_EQ(check_status(result, false), 1);
}

TEST(Check, AMissingDocumentIsOneErrorAndTheEnd) {
    const CheckResult noLine = check_sources({"line.txt", std::nullopt}, {"train.txt", document(kTrainHead, {})},
                                             ScenarioNames{}, 50);
    EXPECT_EQ(errors_of(noLine), (std::vector<Found>{{'L', 0, "101"}}));
    EXPECT_EQ(check_status(noLine, false), 2);

    const CheckResult noGeneral =
        check_texts("lunghezza percorso, 10000\r\n", document(kTrainHead, {"sabbia, 70000"}));
    EXPECT_EQ(errors_of(noGeneral).size(), 1u);
    EXPECT_EQ(std::get<2>(errors_of(noGeneral)[0]), "102");
    EXPECT_EQ(check_status(noGeneral, false), 2);

    const CheckResult noTrain = check_sources({"line.txt", document(kLineHead, {"montagna, 3000, 99999, 1"})},
                                              {"train.txt", std::nullopt}, ScenarioNames{}, 50);
    EXPECT_EQ(errors_of(noTrain), (std::vector<Found>{{'L', 5, "202"}, {'T', 0, "25"}}));
    EXPECT_EQ(check_status(noTrain, false), 2);
}

TEST(Check, AFeatureInCellOneIsReportedWithoutABox) {
    const CheckResult result =
        check_texts(document(kLineHead, {}), document(kTrainHead, {"segnale, 10, 1, 4, 1, 0, 0, 1, 3, 1, 0, 0"}));
    EXPECT_EQ(errors_of(result), (std::vector<Found>{{'T', 5, "1250"}}));
    ASSERT_FALSE(result.diagnostics.empty());
    const Diagnostic& error = result.diagnostics.back();  // after the warning on the same line: met after reading
    EXPECT_EQ(error.code, Code(kMarkerFieldsInUse));
    EXPECT_EQ(error.cell, 1);
    EXPECT_EQ(error.position, 10);
}

// The first error of check is the one compile reports: same code, same line.
TEST(Check, FirstErrorIsCompilesError) {
    TestFolder folder;
    const std::string line = document(kLineHead, {"pendenza, 20000, 5", "curvad, 3000, 100"});
    const std::string train = document(kTrainHead, {"stazione, 1025, 4, 600, 0, 0, 0, 1,1,0, 4,1,1, 1, 9,0,0, A"});
    folder.write("line.txt", line);
    folder.write("train.txt", train);
    const RunResult compile = run_command(
        tool_command() + " compile line.txt train.txt --out out --route Bresta_Vilcar --train-code RX907", folder.path());
    EXPECT_EQ(compile.status, 1);
    const CheckResult result = check_sources({"line.txt", line}, {"train.txt", train}, ScenarioNames{}, 50);
    ASSERT_GT(result.errors, 0);
    const Diagnostic& first = result.diagnostics[0];
    const std::string compiled = compile.err.substr(0, compile.err.find('\n'));
    EXPECT_EQ(compiled, first.file + ":" + std::to_string(first.line) + ": error " + code_name(first.code) + ": " + first.message);
}

// The documents are left as they were, modification times included, and no
// file is made anywhere: nothing appears under TMPDIR, and a TMPDIR where
// nothing can be made (a regular file) changes nothing in what check says.
TEST(Check, WritesNoFileTheAuthorCanSee) {
    TestFolder folder;
    TestFolder temporary;
    temporary.write("not-a-folder", "");
    const std::string line = document(kLineHead, {"curvad, 3000, 100"});
    const std::string train = document(kTrainHead, {"sabbia, 70000"});
    folder.write("line.txt", line);
    folder.write("train.txt", train);
    const FolderSnapshot before = folder_snapshot(folder.path());
    const RunResult r = run_command("TMPDIR='" + temporary.path() + "' " + tool_command() + " check line.txt train.txt",
                                    folder.path());
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_EQ(folder.list(), (std::vector<std::string>{"line.txt", "train.txt"}));
    EXPECT_EQ(folder.read("line.txt"), line);
    EXPECT_EQ(folder.read("train.txt"), train);
    EXPECT_EQ(temporary.list(), std::vector<std::string>{"not-a-folder"});
    EXPECT_EQ(folder_snapshot(folder.path()), before);

    for (const char* format : {"text", "json", "sarif"}) {
        const std::string check = "' check line.txt train.txt --format " + std::string(format);
        const RunResult usual = run_command("'" + binary_folder() + "/scenario_tool" + check, folder.path());
        const RunResult noTemporary = run_command(
            "TMPDIR='" + temporary.file("not-a-folder") + "' '" + binary_folder() + "/scenario_tool" + check,
            folder.path());
        EXPECT_EQ(noTemporary.status, usual.status) << format << "\n" << noTemporary.err;
        EXPECT_EQ(noTemporary.out, usual.out) << format;
        EXPECT_EQ(noTemporary.err, usual.err) << format;
    }
    EXPECT_EQ(folder_snapshot(folder.path()), before);
}

TEST(Check, ExitStatuses) {
    TestFolder folder;
    folder.write("line.txt", document(kLineHead, {}));
    folder.write("train.txt", document(kTrainHead, {}));
    folder.write("warned.txt", document(kTrainHead, {"velocita, 1000, 72"}));
    folder.write("broken.txt", document(kTrainHead, {"sabbia, 70000"}));
    const std::string tool = tool_command() + " check ";
    struct Case {
        const char* arguments;
        int status;
    };
    const Case cases[] = {
        {"line.txt train.txt", 0},
        {"line.txt warned.txt", 0},
        {"line.txt warned.txt --werror", 1},
        {"line.txt broken.txt", 1},
        {"missing.txt train.txt", 2},
        {"line.txt missing.txt", 2},
        {"line.txt train.txt --format xml", 64},
        {"line.txt train.txt --max-errors 0", 64},
        {"line.txt", 64},
    };
    for (const Case& c : cases) {
        const RunResult r = run_command(tool + c.arguments, folder.path());
        EXPECT_EQ(r.status, c.status) << c.arguments << "\n" << r.out << r.err;
    }
}


// Every finding of a check, errors and warnings, as (document, line, code).
std::vector<Found> findings_of(const CheckResult& result) {
    std::vector<Found> out;
    for (const Diagnostic& d : result.diagnostics)
        out.emplace_back(d.file == "train.txt" ? 'T' : 'L', d.line, code_name(d.code));
    return out;
}

TEST(Check, ADocumentInTheOtherPlaceIsTheOnlyFinding) {
    const std::string line = document(kLineHead, {"pendenza, 0, 5", "[curve]", "curvad1, 1000, 300"});
    const std::string train = document(kTrainHead, {"[stazioni]", "stazione, 1000, 4, 400, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, A"});
    struct Case {
        const char* name;
        std::string line;
        std::string train;
        std::vector<Found> expected;
    };
    const Case cases[] = {
        {.name = "line description as both", .line = line, .train = line, .expected = {{'T', 1, "214"}}},
        {.name = "train description as both", .line = train, .train = train, .expected = {{'L', 1, "214"}}},
        {.name = "the other way round", .line = train, .train = line, .expected = {{'L', 1, "214"}}},
        // A train description with rows of its own keeps a line description's
        // keyword as one row out of place, and one with no row of either
        // document is no line description.
        {.name = "a line keyword among train rows",
         .line = line,
         .train = document(kTrainHead, {"pendenza, 0, 5"}),
         .expected = {{'T', 5, "W127"}}},
        {.name = "no row of either document",
         .line = line,
         .train = document({"[generale]"}, {"vettura, 8"}),
         .expected = {{'T', 1, "W119"}, {'T', 1, "W119"}, {'T', 2, "W101"}}},
    };
    for (const Case& c : cases) {
        const CheckResult result = check_texts(c.line, c.train);
        EXPECT_EQ(findings_of(result), c.expected) << c.name;
    }
}

TEST(Check, ARouteLengthReadShortIsOneErrorAtItsRow) {
    struct Case {
        const char* name;
        std::string length;              // the route length row, line 2
        std::vector<std::string> line;   // rows after it, from line 3
        std::vector<Found> expected;
        std::vector<std::string> train{};  // rows after kTrainHead, from line 5
    };
    const Case cases[] = {
        {.name = "cut by a comma", .length = "lunghezza percorso, 10,000",
         .line = {"[pendenze]", "pendenza, 0, 5", "pendenza, 8000, 5", "pendenza, 9000, 5"},
         .expected = {{'L', 2, "15"}}},
        {.name = "empty", .length = "lunghezza percorso,", .line = {"[pendenze]", "pendenza, 8000, 5", "pendenza, 9000, 5"},
         .expected = {{'L', 2, "15"}}},
        // A warning before the first row left off the grid still stands.
        {.name = "cut by a blank, a lost row before the rows off the grid", .length = "lunghezza percorso, 10 000",
         .line = {"sfondo quattro, 1", "[pendenze]", "pendenza, 8000, 5"},
         .expected = {{'L', 2, "15"}, {'L', 3, "W101"}}},
        // The first row off the grid in the train description.
        {.name = "cut, a train row off the grid", .length = "lunghezza percorso, 10,000",
         .line = {"[pendenze]", "pendenza, 0, 5"}, .expected = {{'L', 2, "15"}}, .train = {"velocita, 8000, 100"}},
        // Cut short but no row beyond the grid: the length row's own warning.
        {.name = "cut, every row on the grid", .length = "lunghezza percorso, 10,000",
         .line = {"[pendenze]", "pendenza, 1000, 5"},
         .expected = {{'L', 2, "W101"}}},
        // Written whole: each row beyond the grid at its own line.
        {.name = "whole length", .length = "lunghezza percorso, 1000",
         .line = {"[pendenze]", "pendenza, 8000, 5", "pendenza, 9000, 5"},
         .expected = {{'L', 4, "15"}, {'L', 5, "15"}}},
    };
    for (const Case& c : cases) {
        const CheckResult result = check_texts(document({"[generale]", c.length}, c.line), document(kTrainHead, c.train));
        EXPECT_EQ(findings_of(result), c.expected) << c.name;
    }
}

}  // namespace
