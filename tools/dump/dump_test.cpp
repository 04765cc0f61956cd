// scenario_tool dump: the same columns in every format, the values of a
// feature by what they mean, spans that say which metres a cell covers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "tools/testing/test_folder.h"
#include "tools/testing/tool_runner.h"

namespace {

using Json = nlohmann::ordered_json;

const std::string kTool = tool_command();

RunResult tool(const std::string& args, const TestFolder& dir) { return run_command(kTool + " " + args, dir.path()); }

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
}

std::vector<std::string> split(const std::string& line, char at) {
    std::vector<std::string> out;
    std::string field;
    std::istringstream in(line);
    while (std::getline(in, field, at)) out.push_back(field);
    if (!line.empty() && line.back() == at) out.push_back("");
    return out;
}

// The keys of all rows, each once, in the order they first appear.
std::vector<std::string> json_columns(const Json& rows) {
    std::vector<std::string> names;
    for (const Json& row : rows) {
        for (const auto& item : row.items()) {
            if (std::find(names.begin(), names.end(), item.key()) == names.end()) names.push_back(item.key());
        }
    }
    return names;
}

// A compiled built-in scenario in out/, with a slow-down and an abbattimento
// mark added so that every kind of cell is there.
void compile_every_kind(const TestFolder& dir) {
    ASSERT_EQ(tool("write-documents src", dir).status, 0);
    std::string train = dir.read("src/Bresta_Vilcar_RX907-.txt");
    const std::string section = "[rallentamenti]\r\n";
    train.insert(train.find(section) + section.size(),
                 "rallentamento, 40000, 60, 500, 1, 1, 2\r\nabbattimento, 41500, 90\r\n");
    dir.write("train.txt", train);
    RunResult r = tool("compile src/Bresta_Vilcar_linea.txt train.txt --out out --train-code RX907", dir);
    ASSERT_EQ(r.status, 0) << r.err;
}

}  // namespace

TEST(ToolDump, CsvAndJsonHaveTheSameColumnsAndValues) {
    TestFolder dir;
    compile_every_kind(dir);
    const char* dumps[] = {"grid out/Bresta_Vilcar_RX907.dat",        "grid out/Bresta_Vilcar_RX907.dat --raw",
                           "scenario out/Bresta_Vilcar_RX907.sim --all", "scenario out/Bresta_Vilcar_RX907.sim --raw",
                           "line out/Bresta_Vilcar_linea.dat"};
    for (const char* args : dumps) {
        RunResult json = tool(std::string("dump ") + args + " --format json", dir);
        RunResult csv = tool(std::string("dump ") + args + " --format csv", dir);
        RunResult text = tool(std::string("dump ") + args, dir);
        ASSERT_EQ(json.status, 0) << args << json.err;
        ASSERT_EQ(csv.status, 0) << args << csv.err;
        const Json rows = Json::parse(json.out);
        const std::vector<std::string> csvLines = lines(csv.out);
        const std::vector<std::string> textLines = lines(text.out);
        const std::vector<std::string> header = split(csvLines.at(0), ',');
        // The same names; each row's keys in the order of the columns.
        std::vector<std::string> sortedHeader = header, sortedKeys = json_columns(rows);
        std::sort(sortedHeader.begin(), sortedHeader.end());
        std::sort(sortedKeys.begin(), sortedKeys.end());
        EXPECT_EQ(sortedHeader, sortedKeys) << args;
        ASSERT_EQ(csvLines.size(), rows.size() + 1) << args;
        ASSERT_EQ(textLines.size(), rows.size()) << args;
        for (size_t r = 0; r < rows.size(); r += 7) {
            // Names and values without commas in them: a plain split serves.
            if (csvLines[r + 1].find('"') != std::string::npos) continue;
            const std::vector<std::string> cells = split(csvLines[r + 1], ',');
            ASSERT_EQ(cells.size(), header.size()) << args << " row " << r;
            std::string expectedText;
            std::vector<std::string> keys, presentColumns;
            for (const auto& item : rows[r].items()) keys.push_back(item.key());
            for (const std::string& name : header) {
                if (rows[r].contains(name)) presentColumns.push_back(name);
            }
            EXPECT_EQ(keys, presentColumns) << args << " row " << r;
            for (size_t c = 0; c < header.size(); ++c) {
                const Json* value = rows[r].contains(header[c]) ? &rows[r][header[c]] : nullptr;
                const std::string plain = !value ? "" : value->is_string() ? value->get<std::string>() : value->dump();
                if (value && value->is_number_float()) continue;  // decimal digits differ by format
                EXPECT_EQ(cells[c], plain) << args << " row " << r << " column " << header[c];
                if (value) expectedText += (expectedText.empty() ? "" : "  ") + header[c] + "=" + plain;
            }
            if (std::string(args).rfind("line", 0) != 0) {
                EXPECT_EQ(textLines[r], expectedText) << args;
            }
        }
    }
}

TEST(ToolDump, EveryKindShowsItsValuesByWhatTheyMean) {
    TestFolder dir;
    compile_every_kind(dir);
    const std::string grid = tool("dump grid out/Bresta_Vilcar_RX907.dat", dir).out;
    for (const char* expected : {
             // the row "segnale, 2700, 2, 4, 1, 0, 0, 2, 2,1,0, 0"
             "cell=55  at_m=2700  kind=signal  sx=2  s1=4  s2=1  s3=0  rapp=0  dx=2  d1=2  d2=1  d3=0  tempo=0  ",
             // the rallentamento row: start, end, warning 1200 m before, approach cells before that
             "cell=801  at_m=40000  kind=slow-down start  slowdown_kmh=60  d_v=2  f_tt=1  ",
             "cell=811  at_m=40500  kind=slow-down end  slowdown_kmh=60  d_v=2  f_tt=1  ",
             "cell=777  at_m=38800  kind=slow-down warning  slowdown_kmh=60  d_v=2  ",
             "cell=776  at_m=38750  kind=warning approach  warning_step=1  d_v_step=1  ",
             // an abbattimento mark takes cell round(x / 50): its metre is the span's start
             "cell=830  at_m=41450  kind=abbattimento  abbattimento_value=90  approach_code=0  span_from_m=41500  ",
             "kind=station stop  station_slot=4  ",
             "kind=indication board  caption_slot=80  ",
         })
        EXPECT_NE(grid.find(expected), std::string::npos) << expected;

    // Every speed board of the document, read back from its cell.
    const Json boards = Json::parse(tool("dump grid out/Bresta_Vilcar_RX907.dat --format json", dir).out);
    std::vector<std::vector<int>> fromCells;
    for (const Json& cell : boards) {
        if (cell["kind"] != "speed board") continue;
        fromCells.push_back({cell["at_m"], cell["vas"], cell["vbs"], cell["vcs"], cell["strisces"], cell["vad"],
                             cell["vbd"], cell["vcd"], cell["strisced"]});
    }
    std::vector<std::vector<int>> fromRows;
    for (const std::string& row : lines(dir.read("src/Bresta_Vilcar_linea.txt"))) {
        if (row.rfind("indicatori_v", 0) != 0) continue;
        std::vector<int> values;
        const std::vector<std::string> fields = split(row, ',');
        for (size_t i = 1; i < fields.size(); ++i) values.push_back(std::atoi(fields[i].c_str()));
        fromRows.push_back(values);
    }
    EXPECT_EQ(fromCells, fromRows);

    const std::string scenario = tool("dump scenario out/Bresta_Vilcar_RX907.sim", dir).out;
    EXPECT_NE(scenario.find("slot=4  role=station  name=PIANCASTELLO  position_m=18550  type=4  extent_from_m=18200  "
                            "extent_to_m=18900  scheduled=9:57:00  number_4=0  number_5=1  number_6=0  number_7=1  "
                            "number_8=1  number_9=0  number_10=4  number_11=1  number_12=1  number_13=30\n"),
              std::string::npos)
        << scenario;
    const std::string raw = tool("dump scenario out/Bresta_Vilcar_RX907.sim --raw", dir).out;
    EXPECT_NE(raw.find("slot=4  role=station  label=PIANCASTELLO  tag=4  long1=18200  long2=18900  long3=18550"),
              std::string::npos)
        << raw;
}

TEST(ToolDump, ProfileValuesAreLabelledWithTheSpanTheyCover) {
    TestFolder dir;
    compile_every_kind(dir);
    // "pendenza, 2750, 28": the gradient holds from 2750 m. Its first cell is 55,
    // whose features stand at 2700 m but whose profile span starts at 2750 m.
    const Json cells = Json::parse(tool("dump grid out/Bresta_Vilcar_RX907.dat --all --format json", dir).out);
    const Json* first = nullptr;
    for (const Json& cell : cells) {
        if (cell["gradient_permille"] != 28) continue;
        first = &cell;
        break;
    }
    ASSERT_NE(first, nullptr);
    EXPECT_EQ((*first)["span_from_m"], 2750);
    EXPECT_EQ((*first)["span_to_m"], 2800);
    EXPECT_EQ((*first)["at_m"], 2700);
    EXPECT_EQ(cells[54]["gradient_permille"], 0);
    EXPECT_EQ(cells[54]["span_to_m"], 2750);
}

TEST(ToolDump, TheLineDumpNeverPrintsNull) {
    TestFolder dir;
    compile_every_kind(dir);
    for (const char* format : {"text", "json", "csv"}) {
        for (const char* all : {"", " --all"}) {
            RunResult r = tool(std::string("dump line out/Bresta_Vilcar_linea.dat --format ") + format + all, dir);
            ASSERT_EQ(r.status, 0) << r.err;
            EXPECT_EQ(r.out.find("null"), std::string::npos) << format << all;
            // The last two metres of the line (0 to 113000 m) are never computed: left out.
            const size_t rows = *all ? 112999 : 1130;
            const std::vector<std::string> text = lines(r.out);
            if (std::string(format) == "json") {
                EXPECT_EQ(Json::parse(r.out).size(), rows);
                EXPECT_EQ(Json::parse(r.out).back()["metre"], *all ? 112998 : 112900);
            } else {
                EXPECT_EQ(text.size(), rows + (std::string(format) == "csv" ? 1 : 0)) << format << all;
            }
        }
    }
    const std::vector<std::string> every = lines(tool("dump line out/Bresta_Vilcar_linea.dat --all", dir).out);
    EXPECT_EQ(every.back().rfind("metre=112998  x=", 0), 0u) << every.back();
}

TEST(ToolDump, RefusesFilesThatAreNotOfTheKindAskedFor) {
    TestFolder dir;
    ASSERT_EQ(tool("write-documents src", dir).status, 0);
    ASSERT_EQ(tool("compile src/Bresta_Vilcar_linea.txt src/Bresta_Vilcar_RX907-.txt --out out", dir).status, 0);
    const std::string grid = dir.read("out/Bresta_Vilcar_RX907.dat");
    const std::string scenario = dir.read("out/Bresta_Vilcar_RX907.sim");
    std::string badKind = grid;
    badKind[57 * 15] = 91;  // the kind of cell 57
    std::string otherTrain = scenario;
    otherTrain[otherTrain.size() - 19] = '8';  // RX907 -> RX908, the last byte of the last slot's label
    struct Case {
        std::string file;
        std::string bytes;
        std::string args;
        std::string message;
    } cases[] = {
        // whole cells of text: what used to be dumped as cells of unknown kinds
        {.file = "notes.dat",
         .bytes = std::string(141 * 15, 'x'),
         .args = "dump grid notes.dat",
         .message = "scenario_tool: notes.dat is not a grid file: cell 1 holds 30840 where a compiled grid holds the "
                    "marker 5121"},
        {.file = "short.dat",
         .bytes = std::string(45, '\x07'),
         .args = "dump grid short.dat",
         .message = "scenario_tool: short.dat is not a grid file: 3 cells, where a compiled grid has 141 to 20141 (a "
                    "route of 0 to 1000000 m)"},
        {.file = "kind.dat",
         .bytes = badKind,
         .args = "dump grid kind.dat --all",
         .message = "scenario_tool: kind.dat is not a grid file: cell 57 has kind 91, which the compiler never writes"},
        {.file = "renamed.dat",
         .bytes = dir.read("out/Bresta_Vilcar_linea.dat"),
         .args = "dump grid renamed.dat",
         .message = "scenario_tool: renamed.dat is not a grid file: 2259964 bytes is not a whole, non-zero number of "
                    "15-byte cells; it is a line data file, run: scenario_tool dump line renamed.dat"},
        {.file = "grid.bin",
         .bytes = grid,
         .args = "dump scenario grid.bin",
         .message = "scenario_tool: grid.bin is not a scenario file: the file ends inside a record at byte 32864; it "
                    "is a grid file, run: scenario_tool dump grid grid.bin"},
        {.file = "other.sim",
         .bytes = otherTrain,
         .args = "dump scenario other.sim --format json",
         .message = "scenario_tool: other.sim is not a scenario file: the route header's check code is 32647, but the "
                    "names it carries, route \"Bresta_Vilcar\", train \"RX908\", give 32652"},
        // the two seeded metres alone
        {.file = "start_linea.dat",
         .bytes = std::string("\x02\x00\x00\x00\x02\x00\x00\x00\x02\x00\x00\x00\x02\x00\x01\x00", 16),
         .args = "dump line start_linea.dat",
         .message = "scenario_tool: start_linea.dat is not a line data file: the line ends at metre 1, where a "
                    "compiled line ends 7000 m after a route of 0 to 1000000 m"},
    };
    for (const Case& c : cases) {
        dir.write(c.file, c.bytes);
        RunResult r = tool(c.args, dir);
        EXPECT_EQ(r.status, 2) << c.args;
        EXPECT_EQ(r.err, c.message + "\n") << c.args;
        EXPECT_EQ(r.out, "") << c.args;
    }
}
