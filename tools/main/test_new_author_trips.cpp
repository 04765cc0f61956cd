// The rows of the new author's trips (test_new_author_trips.h).
#include "tools/main/test_new_author_trips.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "core/scenario_table.h"
#include "tools/codes/explanations.h"
#include "tools/compiled/compiled_files.h"
#include "tools/testing/tool_runner.h"

namespace fs = std::filesystem;

namespace new_author {

const Listing kNoOut = Listing(std::vector<std::string>{"(no out/ folder)"});

namespace {

Listing listing(std::vector<std::string> names) { return names; }

// The smallest sound scenario of docs/authoring.md with rows added (the line
// description's from line 3, the train description's from line 8).
std::string line_document(const std::string& rows = "") { return example_line_document(Example{.line = rows}); }
std::string train_document(const std::string& rows = "") { return example_train_document(Example{.train = rows}); }

const std::string kLine = line_document();
const std::string kTrain = train_document();

const std::string kStation100k =
    "stazione,   2000,  4,  700,  0, 0, 0,  1,1,0,  4,1,1,    1,   8,10, 0, " + std::string(100000, 'N') + "\n";

const std::string k213Line =
    "Valdoro_R101-.txt:8: error 213: the station name is 100000 characters long; a station name holds at most "
    "65535 characters (the scenario file stores its length in 16 bits): shorten it";

const std::string k1250Line =
    "Valdoro_R101-.txt:8: error 1250: the feature at 9 m lands in grid cell 1, whose first value is reserved for "
    "the compiler's marker; the compile pass stops with \" Errore n. 1250\" and writes no file; move the feature "
    "50 m or more along the line";

// Rows of both line description sections for a document given in the other's place.
const std::string kSections = "[pendenze]\npendenza,    0,    0\n[curve]\ncurvad1,    1000,    300\n";
// A line description whose route length a comma or nothing leaves far shorter than its rows.
const std::string kCutLength =
    "[generale]\nlunghezza percorso,    10,000\n[pendenze]\npendenza,    0,    0\npendenza,    8000,    5\n[fine]\n";
const std::string kEmptyLength =
    "[generale]\nlunghezza percorso,\n[pendenze]\npendenza,    0,    0\npendenza,    8000,    5\n[fine]\n";

// The documents of the route Valdoro and train R101, named by the convention.
std::vector<File> valdoro(const std::string& lineRows = "", const std::string& trainRows = "") {
    return {{"Valdoro_linea.txt", line_document(lineRows)}, {"Valdoro_R101-.txt", train_document(trainRows)}};
}

void expect_names_in_scenario(const TestFolder& dir, const std::string& sim, const std::string& route,
                              const std::string& train) {
    const ScenarioTable table = decode_scenario(dir.read("out/" + sim));
    EXPECT_EQ(table[kSlotRoute].label, route);
    EXPECT_EQ(table[kSlotTrain].label, train);
}

}  // namespace

std::vector<Trip> trips() {
    return {
        // 1: the names come from the documents' names, the options win, and
        // compile never falls back to the built-in names.
        {.name = "CompileTakesTheNamesOfTheDocuments",
         .files = valdoro(),
         .args = "compile Valdoro_linea.txt Valdoro_R101-.txt --out out",
         .status = 0,
         .line = "compiled into out: Valdoro_linea.dat, Valdoro_R101.sim and Valdoro_R101.dat (route Valdoro, "
                 "10000 m; train R101; 0 stations, 0 signals, 0 indication boards, 0 speed boards)",
         .out = listing({"Valdoro_R101.dat", "Valdoro_R101.sim", "Valdoro_linea.dat"}),
         .then = [](const TestFolder& dir) { expect_names_in_scenario(dir, "Valdoro_R101.sim", "Valdoro", "R101"); }},
        {.name = "CompileRefusesDocumentsNamedOtherwise",
         .files = {{"line.txt", kLine}, {"train.txt", kTrain}},
         .args = "compile line.txt train.txt --out out",
         .status = 64,
         .line = "scenario_tool: line.txt is not named ROUTE_linea.txt, so the document names give no route name "
                 "and train code; give --route and --train-code, or name the documents ROUTE_linea.txt and "
                 "ROUTE_TRAIN-.txt",
         .out = kNoOut},
        {.name = "CompileRefusesATrainDescriptionOfAnotherRoute",
         .files = {{"Valdoro_linea.txt", kLine}, {"Monte_R101-.txt", kTrain}},
         .args = "compile Valdoro_linea.txt Monte_R101-.txt --out out",
         .status = 64,
         .line = "scenario_tool: Monte_R101-.txt is not named Valdoro_TRAIN-.txt, so the document names give no "
                 "train code; give --train-code, or name the documents ROUTE_linea.txt and ROUTE_TRAIN-.txt",
         .out = kNoOut},
        {.name = "CompileTakesTheOptionsOverTheNames",
         .files = valdoro(),
         .args = "compile Valdoro_linea.txt Valdoro_R101-.txt --out out --route Monte",
         .status = 0,
         .line = "compiled into out: Monte_linea.dat, Monte_R101.sim and Monte_R101.dat (route Monte, 10000 m; "
                 "train R101; 0 stations, 0 signals, 0 indication boards, 0 speed boards)",
         .out = listing({"Monte_R101.dat", "Monte_R101.sim", "Monte_linea.dat"})},
        {.name = "CompileOfAnyNamesWithBothOptions",
         .files = {{"line.txt", kLine}, {"train.txt", kTrain}},
         .args = "compile line.txt train.txt --out out --route Valdoro --train-code R101",
         .status = 0,
         .line = "compiled into out: Valdoro_linea.dat, Valdoro_R101.sim and Valdoro_R101.dat (route Valdoro, "
                 "10000 m; train R101; 0 stations, 0 signals, 0 indication boards, 0 speed boards)",
         .out = listing({"Valdoro_R101.dat", "Valdoro_R101.sim", "Valdoro_linea.dat"})},
        {.name = "CheckSaysOnceWhichNamesItUses",
         .files = {{"line.txt", kLine}, {"train.txt", kTrain}},
         .args = "check line.txt train.txt",
         .status = 0,
         .line = "scenario_tool: note: line.txt is not named ROUTE_linea.txt; using route \"Bresta_Vilcar\" and "
                 "train \"RX907\" (give --route and --train-code to choose)"},
        {.name = "CheckTakesTheRouteOfTheLineDescription",
         .files = {{"Valdoro_linea.txt", kLine}, {"treno.txt", kTrain}},
         .args = "check Valdoro_linea.txt treno.txt",
         .status = 0,
         .line = "scenario_tool: note: treno.txt is not named Valdoro_TRAIN-.txt; using route \"Valdoro\" and "
                 "train \"RX907\" (give --train-code to choose)"},
        {.name = "HelpSaysWhereTheNamesComeFrom",
         .args = "help compile",
         .status = 0,
         .line = "Route and train code: --route and --train-code, else the document names: LINE_DOC named "
                 "ROUTE_linea.txt and TRAIN_DOC named ROUTE_TRAIN-.txt with the same ROUTE "
                 "(Bresta_Vilcar_linea.txt and Bresta_Vilcar_RX907-.txt give route Bresta_Vilcar, train RX907). "
                 "Documents named otherwise need both options: compile never falls back to other names."},

        // 2: names that would write outside the output folder, or that no file name can hold.
        {.name = "RouteClimbingOutOfTheFolder",
         .files = valdoro(),
         .args = "compile Valdoro_linea.txt Valdoro_R101-.txt --out out --route ../evil",
         .status = 64,
         .line = "scenario_tool: the route name \"../evil\" (--route) cannot name files: it holds \"/\", a path "
                 "separator",
         .out = kNoOut},
        {.name = "EmptyRoute",
         .files = valdoro(),
         .args = "compile Valdoro_linea.txt Valdoro_R101-.txt --out out --route ''",
         .status = 64,
         .line = "scenario_tool: the route name \"\" (--route) cannot name files: it is empty",
         .out = kNoOut},
        {.name = "RouteWithTwoDots",
         .files = valdoro(),
         .args = "compile Valdoro_linea.txt Valdoro_R101-.txt --out out --route a..b",
         .status = 64,
         .line = "scenario_tool: the route name \"a..b\" (--route) cannot name files: it holds \"..\"",
         .out = kNoOut},
        {.name = "TrainCodeWithACharacterWindowsRefuses",
         .files = valdoro(),
         .args = "compile Valdoro_linea.txt Valdoro_R101-.txt --out out --train-code 'R1?'",
         .status = 64,
         .line = "scenario_tool: the train code \"R1?\" (--train-code) cannot name files: it holds \"?\", which "
                 "Windows refuses in a file name",
         .out = kNoOut},
        {.name = "RouteFromADocumentNameWindowsRefuses",
         .files = {{"Val:doro_linea.txt", kLine}, {"Val:doro_R101-.txt", kTrain}},
         .args = "check Val:doro_linea.txt Val:doro_R101-.txt",
         .status = 64,
         .line = "scenario_tool: the route name \"Val:doro\" (from the name Val:doro_linea.txt) cannot name files: "
                 "it holds \":\", which Windows refuses in a file name"},
        {.name = "RouteOutsideWindows1252",
         .files = valdoro(),
         .args = "compile Valdoro_linea.txt Valdoro_R101-.txt --out out --route 'Val\xE2\x86\x92'",
         .status = 64,
         .line = "scenario_tool: the route name \"Val\xE2\x86\x92\" (--route) cannot name files: it holds "
                 "\"\xE2\x86\x92\", which Windows-1252 cannot hold",
         .out = kNoOut},
        {.name = "RouteTypedInUtf8IsStoredInWindows1252",
         .files = valdoro(),
         .args = "compile Valdoro_linea.txt Valdoro_R101-.txt --out out --route 'Citt\xC3\xA0'",
         .status = 0,
         .line = "compiled into out: Citt\xC3\xA0_linea.dat, Citt\xC3\xA0_R101.sim and Citt\xC3\xA0_R101.dat (route "
                 "Citt\xC3\xA0, 10000 m; train R101; 0 stations, 0 signals, 0 indication boards, 0 speed boards)",
         .out = listing({"Citt\xE0_R101.dat", "Citt\xE0_R101.sim", "Citt\xE0_linea.dat"}),
         .then = [](const TestFolder& dir) { expect_names_in_scenario(dir, "Citt\xE0_R101.sim", "Citt\xE0", "R101"); }},
        {.name = "WriteDocumentsOutsideTheFolder",
         .args = "write-documents work --route ../evil",
         .status = 64,
         .line = "scenario_tool: the route name \"../evil\" (--route) cannot name files: it holds \"/\", a path "
                 "separator"},

        // 9: a feature in the first 25 m: compile says where, as check does,
        // after the compiler's own message.
        {.name = "CompileNamesTheFeatureInTheReservedCell",
         .files = valdoro("", "segnale,       9,   1, 4, 1,  0, 0,    1,  3,1,0, 0\n"),
         .args = "compile Valdoro_linea.txt Valdoro_R101-.txt --out out",
         .status = 2,
         .line = k1250Line,
         .out = listing({})},
        {.name = "CheckNamesTheFeatureInTheReservedCell",
         .files = valdoro("", "segnale,       9,   1, 4, 1,  0, 0,    1,  3,1,0, 0\n"),
         .args = "check Valdoro_linea.txt Valdoro_R101-.txt",
         .status = 1,
         .line = k1250Line},

        // 10: a station name no 16-bit length describes.
        {.name = "CompileRefusesAStationNameTooLong",
         .files = valdoro("", kStation100k),
         .args = "compile Valdoro_linea.txt Valdoro_R101-.txt --out out",
         .status = 1,
         .line = k213Line,
         .out = listing({})},
        {.name = "CheckRefusesAStationNameTooLong",
         .files = valdoro("", kStation100k),
         .args = "check Valdoro_linea.txt Valdoro_R101-.txt",
         .status = 1,
         .line = k213Line},
        {.name = "CheckRefusesACaptionTooLong",
         .files = valdoro("[indicazioni]\ncartello_indicatore,  1100,  " + std::string(70000, 'C') + "\n"),
         .args = "check Valdoro_linea.txt Valdoro_R101-.txt",
         .status = 1,
         .line = "Valdoro_linea.txt:4: error 213: the indication board caption is 70000 characters long; a caption "
                 "holds at most 65535 characters (the scenario file stores its length in 16 bits): shorten it"},

        // 13: a folder, or a file that may not be read, is not "missing"; compile leaves nothing.
        {.name = "CheckOfAFolder",
         .files = {{"Valdoro_R101-.txt", kTrain}},
         .args = "check Valdoro_linea.txt Valdoro_R101-.txt",
         .status = 2,
         .line = "Valdoro_linea.txt: error 101: the line description document is a folder, not a file; give the "
                 "path of the document itself",
         .folder = "Valdoro_linea.txt"},
        {.name = "CompileOfAFolder",
         .files = {{"Valdoro_linea.txt", kLine}},
         .args = "compile Valdoro_linea.txt Valdoro_R101-.txt --out out",
         .status = 3,
         .line = "Valdoro_R101-.txt: error 25: the train description document is a folder, not a file; give the "
                 "path of the document itself",
         .out = kNoOut,
         .folder = "Valdoro_R101-.txt"},
        {.name = "CompileOfAnUnreadableFile",
         .files = valdoro(),
         .args = "compile Valdoro_linea.txt Valdoro_R101-.txt --out out",
         .status = 3,
         .line = "Valdoro_R101-.txt: error 25: the train description document cannot be read (Permission denied); "
                 "give a file you may read, or allow reading it",
         .out = kNoOut,
         .unreadable = "Valdoro_R101-.txt"},
        {.name = "CheckOfAnUnreadableFile",
         .files = valdoro(),
         .args = "check Valdoro_linea.txt Valdoro_R101-.txt",
         .status = 2,
         .line = "Valdoro_linea.txt: error 101: the line description document cannot be read (Permission denied); "
                 "give a file you may read, or allow reading it",
         .unreadable = "Valdoro_linea.txt"},
        {.name = "CompileOfAMissingFile",
         .files = {{"Valdoro_linea.txt", kLine}},
         .args = "compile Valdoro_linea.txt Valdoro_R101-.txt --out out",
         .status = 1,
         .line = "Valdoro_R101-.txt: error 25: the train description document does not exist; give the path of "
                 "an existing file"},

        // 14: the place of a missing "[generale]", and plurals.
        {.name = "MissingGeneralSectionIsOfTheWholeDocument",
         .files = {{"Valdoro_linea.txt", "lunghezza percorso,    10000\r\n[curve]\r\n[fine]\r\n"},
                   {"Valdoro_R101-.txt", kTrain}},
         .args = "check Valdoro_linea.txt Valdoro_R101-.txt",
         .status = 2,
         .line = "Valdoro_linea.txt: error 102: no field contains \"[generale]\"; open the general section with a "
                 "line \"[generale]\""},
        {.name = "CheckStoppedAtOneError",
         .files = valdoro("[curve]\ncurvad,  2000,  300\n", "stazione,   2025,  4,  700,  0, 0, 0,  1,1,0,  4,1,1,"
                                                           "    1,   8,10, 0, A\n"),
         .args = "check Valdoro_linea.txt Valdoro_R101-.txt --max-errors 1",
         .status = 1,
         .line = "check stopped at 1 error (--max-errors 1): any later ones are not shown"},

        // 15: error 103 says which of its two causes.
        {.name = "CurveWithoutClass",
         .files = valdoro("[curve]\ncurvad,  2000,  300\n"),
         .args = "check Valdoro_linea.txt Valdoro_R101-.txt",
         .status = 1,
         .line = "Valdoro_linea.txt:4: error 103: the curve keyword \"curvad\" has no class digit; write curvad1 to "
                 "curvad6 or curvas1 to curvas6"},
        {.name = "CurvesPastTheLastMetre",
         .files = {{"Valdoro_linea.txt", "[generale]\r\nlunghezza percorso,    1000000\r\n[curve]\r\n"
                                         "curvad1,  999000,  1001\r\n[fine]\r\n"},
                   {"Valdoro_R101-.txt", kTrain}},
         .args = "check Valdoro_linea.txt Valdoro_R101-.txt",
         .status = 1,
         .line = "Valdoro_linea.txt:4: error 103: the curve from 999000 m to 1000001 m carries the line past metre "
                 "1000000, the last the line table holds; end it by then"},

        // 16: a last row without "[fine]" or a line end is read in full;
        // error 25 is not blamed on a comma inside a name.
        {.name = "LastRowWithoutEndIsRead",
         .files = {{"Valdoro_linea.txt", kLine},
                   {"Valdoro_R101-.txt", kTrain.substr(0, kTrain.size() - 8) +
                                             "segnale,    1550,   1, 4, 1,  0, 0,    1,  3,1,0, 0"}},
         .args = "compile Valdoro_linea.txt Valdoro_R101-.txt --out out",
         .status = 0,
         .line = "compiled into out: Valdoro_linea.dat, Valdoro_R101.sim and Valdoro_R101.dat (route Valdoro, "
                 "10000 m; train R101; 0 stations, 1 signal, 0 indication boards, 0 speed boards)",
         .out = listing({"Valdoro_R101.dat", "Valdoro_R101.sim", "Valdoro_linea.dat"})},
        {.name = "Explain25NamesNoComma",
         .args = "explain 25",
         .status = 0,
         .line = "  decimal point), a number too large for its field (a station's 8-bit fields"},

        // 5: values the compiler stores other than written, or drops, each said at its row.
        {.name = "ScheduledMinutesPastTheHour",
         .files = valdoro("", "stazione,   2000,  4,  700,  0, 0, 0,  1,1,0,  4,1,1,    1,   8,75, 0, BORGO\n"),
         .args = "check Valdoro_linea.txt Valdoro_R101-.txt",
         .status = 0,
         .line = "Valdoro_R101-.txt:8: warning W120: the scheduled time 8,75,0 of \"BORGO\" has minutes outside 0 to 59; it "
                 "is stored as 33300 seconds after midnight, 9:15:00; write hours, minutes and seconds, such as 9,15,0"},
        {.name = "ClockHourOfTwentyFive",
         .files = valdoro("", "orologio,    25               0            0\n"),
         .args = "check Valdoro_linea.txt Valdoro_R101-.txt",
         .status = 0,
         .line = "Valdoro_R101-.txt:8: warning W121: the clock is set to 25 h 0 min 0 s and stored so, but hours run from 0 "
                 "to 23 and nothing is carried over; write the time of day the run starts, such as 9 37 0"},
        {.name = "NegativeNumberOfCars",
         .files = valdoro("", "numero vetture,    -3\n"),
         .args = "check Valdoro_linea.txt Valdoro_R101-.txt",
         .status = 0,
         .line = "Valdoro_R101-.txt:8: warning W122: the number of cars is -3 and is stored so: the train has no cars; write "
                 "how many cars it has, such as 8"},
        {.name = "NoCars",
         .files = valdoro("", "numero vetture,    0\n"),
         .args = "check Valdoro_linea.txt Valdoro_R101-.txt",
         .status = 0,
         .line = "Valdoro_R101-.txt:8: warning W122: the number of cars is 0 and is stored so: the train has no cars; write "
                 "how many cars it has, such as 8"},
        {.name = "MontagnaEndingBeforeItsStart",
         .files = valdoro("[curve]\n[montagne]\nmontagna,  3000,  2000,  5\n"),
         .args = "check Valdoro_linea.txt Valdoro_R101-.txt",
         .status = 0,
         .line = "Valdoro_linea.txt:5: warning W123: the montagna stretch from 3000 m to 2000 m ends before it starts, so it "
                 "covers no grid cell and nothing of it is stored; write its end after its start"},
        {.name = "MontagnaTypeOutOfRange",
         .files = valdoro("[curve]\n[montagne]\nmontagna,  2000,  3000,  99\n"),
         .args = "check Valdoro_linea.txt Valdoro_R101-.txt",
         .status = 0,
         .line = "Valdoro_linea.txt:5: warning W124: montagna type 99 is outside 1 to 20 (1 to 10, or 11 to 20 with "
                 "markers); type 89 is stored in its cells; write the type you mean"},
        {.name = "EmptyStationName",
         .files = valdoro("", "stazione,   2000,  4,  700,  0, 0, 0,  1,1,0,  4,1,1,    1,   8,10, 0,\n"),
         .args = "check Valdoro_linea.txt Valdoro_R101-.txt",
         .status = 0,
         .line = "Valdoro_R101-.txt:8: warning W125: the station at 2000 m has an empty name: the timetable and the simulator "
                 "show no name for it; write its name after the last number"},
        {.name = "CurveStartingInsideThePrevious",
         .files = valdoro("[curve]\ncurvad1,  1000,  300\ncurvad1,  1200,  300\n"),
         .args = "check Valdoro_linea.txt Valdoro_R101-.txt",
         .status = 0,
         .line = "Valdoro_linea.txt:5: warning W126: the curve from 1200 m starts before the curve before it (line 4) ends "
                 "at 1300 m; the line turns by this curve only from 1300 m to 1500 m; start it at 1300 m or later"},

        // 8: a file that is no grid file, though it is as long as the grid of a 0 m route.
        {.name = "DumpOfNoGridFile",
         .files = {{"other.dat", std::string(141 * 15, 'x')}},
         .args = "dump grid other.dat",
         .status = 2,
         .line = "scenario_tool: other.dat is not a grid file: cell 1 holds 30840 where a compiled grid holds the marker 5121"},

        // 17: SARIF names the documents relative to the folder check runs in.
        {.name = "SarifPathsRelativeToTheFolder",
         .files = valdoro("", "velocita,  0,  83\n"),
         .args = "check Valdoro_linea.txt Valdoro_R101-.txt --format sarif",
         .status = 0,
         .line = "                  \"uri\": \"Valdoro_R101-.txt\","},

        // 3: a row in a section whose reader does not read its kind says so,
        // and never offers a keyword that gives the same warning again.
        {.name = "CurveAboveItsSection",
         .files = valdoro("curvad4,  2000,  300\n[curve]\n"),
         .args = "check Valdoro_linea.txt Valdoro_R101-.txt",
         .status = 0,
         .line = "Valdoro_linea.txt:3: warning W127: \"curvad4\" starts a curve row, a record of section [curve], but "
                 "it stands in section [generale], where the reader reads only the general rows, so the row is passed "
                 "over and the whole record is lost; move the row below the \"[curve]\" header"},
        {.name = "GeneralRowBelowTheHeaders",
         .files = valdoro("[curve]\ncurvad4,  2000,  300\n[pendenze]\nsfondo uno,    4000\n"),
         .args = "check Valdoro_linea.txt Valdoro_R101-.txt",
         .status = 0,
         .line = "Valdoro_linea.txt:6: warning W127: \"sfondo uno\" starts a background row, a record of section "
                 "[generale], but it stands in section [pendenze], and general rows are read only above \"[curve]\" "
                 "(line 3), the header that ends the general section, so the row is passed over and the whole record "
                 "is lost; move the row above \"[curve]\""},
        {.name = "TrainRowInTheLineDescription",
         .files = valdoro("[segnali]\nsegnale,    1550,   1, 4, 1,  0, 0,    1,  3,1,0, 0\n"),
         .args = "check Valdoro_linea.txt Valdoro_R101-.txt",
         .status = 0,
         .line = "Valdoro_linea.txt:4: warning W127: \"segnale\" starts a signal row, a record of the train "
                 "description, but it stands in the line description, whose reader does not read it, so the row is "
                 "passed over and the whole record is lost; move the row to the train description, below the "
                 "\"[segnali]\" header"},

        // 6: a comma inside a text field that ends its row cuts the text.
        {.name = "CommaInAStationName",
         .files = valdoro("", "stazione,   2000,  4,  700,  0, 1, 0,  1,1,0,  4,1,1,    1,   8,10, 0, BORGO, SAN "
                              "MARCO\n"),
         .args = "check Valdoro_linea.txt Valdoro_R101-.txt",
         .status = 0,
         .line = "Valdoro_R101-.txt:8: warning W128: the name of this station row holds a comma, so it is stored as "
                 "\"BORGO\" and \"SAN MARCO\", after the comma, is read as a further field that the reader passes "
                 "over; write it without a comma, such as \"BORGO SAN MARCO\""},
        {.name = "CommaInACaption",
         .files = valdoro("[indicazioni]\ncartello_indicatore,  1100,  PONTE, NORD\n"),
         .args = "check Valdoro_linea.txt Valdoro_R101-.txt",
         .status = 0,
         .line = "Valdoro_linea.txt:4: warning W128: the caption of this indication board row holds a comma, so it "
                 "is stored as \"PONTE\" and \"NORD\", after the comma, is read as a further field that the reader "
                 "passes over; write it without a comma, such as \"PONTE NORD\""},

        // 12: what the keyword warning says instead of a hint that does not help.
        {.name = "HeaderWithoutItsClosingBracket",
         .files = valdoro("[curve]\ncurvad4,  2000,  300\n[pendenze\npendenza,  0,  5\n"),
         .args = "check Valdoro_linea.txt Valdoro_R101-.txt",
         .status = 0,
         .line = "Valdoro_linea.txt:5: warning W101: \"[pendenze\" lacks the closing bracket of a section header, so "
                 "it opens no section: the reader passes it over and reads the rows after it in the section before "
                 "it; write \"[pendenze]\""},
        {.name = "UnitAfterASpeed",
         .files = valdoro("", "velocita,  0,  100 km/h\n"),
         .args = "check Valdoro_linea.txt Valdoro_R101-.txt",
         .status = 0,
         .line = "Valdoro_R101-.txt:8: warning W101: \"km/h\" after the number 100 is not read with it: the number "
                 "ends at the blank, and a unit after it is read as a further field, which the reader passes over; "
                 "write the number only"},
        {.name = "UnitAfterAPosition",
         .files = valdoro("", "velocita,  2000 m,  100\n"),
         .args = "check Valdoro_linea.txt Valdoro_R101-.txt",
         .status = 1,
         .line = "Valdoro_R101-.txt:8: error 25: the second number of this speed limit row (the speed in km/h) is "
                 "\"m\", not a whole number: it follows the number 2000 after a blank, and a unit after a number is "
                 "not read; write the number only"},
        {.name = "KeywordWithADash",
         .files = valdoro("[pendenze]\npendenza-media,  2000,  5\n"),
         .args = "check Valdoro_linea.txt Valdoro_R101-.txt",
         .status = 0,
         .line = "Valdoro_linea.txt:4: warning W101: \"pendenza-media\" holds a dash, so the reader takes it for a "
                 "dash field and passes it over, and reads the values after it as further keyword fields: the whole "
                 "record is lost; write \"pendenza\", without a dash"},
        {.name = "NoHintOfAKeywordReadElsewhere",
         .files = valdoro("", "pendenz,  2000,  5\n"),
         .args = "check Valdoro_linea.txt Valdoro_R101-.txt",
         .status = 0,
         .line = "Valdoro_R101-.txt:8: warning W101: \"pendenz\" contains no record keyword, so the reader passes it "
                 "over and reads the values after it as further keyword fields: the whole record is lost; write the "
                 "record's keyword"},

        // A section header written with a record's keyword is read as that record.
        {.name = "HeaderHoldingARecordKeyword",
         .files = valdoro("", "[stazione]\n"),
         .args = "check Valdoro_linea.txt Valdoro_R101-.txt",
         .status = 1,
         .line = "Valdoro_R101-.txt:8: error 25: the section header \"[stazione]\" holds the keyword of a station row, "
                 "so the reader reads it as one, which needs 16 numbers and a name and finds 0; write the header as "
                 "the documents do, \"[stazioni]\""},

        // 4: a document given in the other document's place is said once, at
        // its line 1, with nothing read from it; compile writes no file.
        {.name = "LineDescriptionGivenAsBoth",
         .files = valdoro(kSections),
         .args = "check Valdoro_linea.txt Valdoro_linea.txt",
         .status = 1,
         .line = "Valdoro_linea.txt:1: error 214: this is a line description (its rows \"lunghezza percorso\", "
                 "\"pendenza\", \"curvad1\" and its sections [pendenze], [curve]), given in the train description's "
                 "place; give the line description first and the train description second"},
        {.name = "LineDescriptionGivenAsBothSaysNothingElse",
         .files = valdoro(kSections),
         .args = "check Valdoro_linea.txt Valdoro_linea.txt",
         .status = 1,
         .line = "1 error, 0 warnings"},
        {.name = "TrainDescriptionGivenAsBoth",
         .files = valdoro(kSections),
         .args = "check Valdoro_R101-.txt Valdoro_R101-.txt",
         .status = 1,
         .line = "Valdoro_R101-.txt:1: error 214: this is a train description (its rows \"numero vetture\", "
                 "\"percentuale massa frenata\", \"sabbia\" ...), given in the line description's place; give the "
                 "line description first and the train description second"},
        {.name = "DocumentsTheOtherWayRound",
         .files = valdoro(kSections),
         .args = "check Valdoro_R101-.txt Valdoro_linea.txt",
         .status = 1,
         .line = "Valdoro_R101-.txt:1: error 214: this is a train description (its rows \"numero vetture\", "
                 "\"percentuale massa frenata\", \"sabbia\" ...), given in the line description's place, and the "
                 "document in the train description's place is the line description: give the two documents the "
                 "other way round"},
        // The files the pass gives are written as ever; the status is the error's.
        {.name = "CompileSaysTheLineDescriptionAsBoth",
         .files = valdoro(kSections),
         .args = "compile Valdoro_linea.txt Valdoro_linea.txt --out out --route Valdoro --train-code R101",
         .status = 1,
         .line = "Valdoro_linea.txt:1: error 214: this is a line description (its rows \"lunghezza percorso\", "
                 "\"pendenza\", \"curvad1\" and its sections [pendenze], [curve]), given in the train description's "
                 "place; give the line description first and the train description second",
         .out = listing({"Valdoro_R101.dat", "Valdoro_R101.sim", "Valdoro_linea.dat"})},
        {.name = "CompileRefusesTheDocumentsTheOtherWayRound",
         .files = valdoro(kSections),
         .args = "compile Valdoro_R101-.txt Valdoro_linea.txt --out out --route Valdoro --train-code R101",
         .status = 1,
         .line = "Valdoro_R101-.txt:1: error 214: this is a train description (its rows \"numero vetture\", "
                 "\"percentuale massa frenata\", \"sabbia\" ...), given in the line description's place, and the "
                 "document in the train description's place is the line description: give the two documents the "
                 "other way round",
         .out = listing({})},

        // 7: a route length row read short is the one error, at its line,
        // saying what was read; the rows it leaves off the grid are not listed.
        {.name = "RouteLengthCutByAComma",
         .files = {{"Valdoro_linea.txt", kCutLength}, {"Valdoro_R101-.txt", kTrain}},
         .args = "check Valdoro_linea.txt Valdoro_R101-.txt",
         .status = 1,
         .line = "Valdoro_linea.txt:2: error 15: the route length is read as 10 m, as the comma ends the number and "
                 "\"000\" after it is read as a further field: with this length a row may stand at most 6900 m from "
                 "the start, so the rows beyond it cannot stand on the grid (the first at line 5, position 8000 m); "
                 "write the length as one number, 10000"},
        {.name = "RouteLengthCutByACommaIsTheOnlyFinding",
         .files = {{"Valdoro_linea.txt", kCutLength}, {"Valdoro_R101-.txt", kTrain}},
         .args = "check Valdoro_linea.txt Valdoro_R101-.txt",
         .status = 1,
         .line = "1 error, 0 warnings"},
        {.name = "RouteLengthEmpty",
         .files = {{"Valdoro_linea.txt", kEmptyLength}, {"Valdoro_R101-.txt", kTrain}},
         .args = "check Valdoro_linea.txt Valdoro_R101-.txt",
         .status = 1,
         .line = "Valdoro_linea.txt:2: error 15: the route length is read as 0 m, as its value is empty: with this "
                 "length a row may stand at most 6900 m from the start, so the rows beyond it cannot stand on the "
                 "grid (the first at line 5, position 8000 m); write the route length in metres, such as "
                 "\"lunghezza percorso, 10000\""},
        {.name = "CompileStopsAtTheRouteLengthCutByAComma",
         .files = {{"Valdoro_linea.txt", kCutLength}, {"Valdoro_R101-.txt", kTrain}},
         .args = "compile Valdoro_linea.txt Valdoro_R101-.txt --out out",
         .status = 1,
         .line = "Valdoro_linea.txt:2: error 15: the route length is read as 10 m, as the comma ends the number and "
                 "\"000\" after it is read as a further field: with this length a row may stand at most 6900 m from "
                 "the start, so the rows beyond it cannot stand on the grid (the first at line 5, position 8000 m); "
                 "write the length as one number, 10000"},
    };
}

}  // namespace new_author
