// End-to-end tests of scenario_tool, run as a separate process.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include <string>
#include <vector>

#include "tools/testing/test_folder.h"
#include "tools/testing/tool_runner.h"

namespace {

const std::string kTool = tool_command();

RunResult tool(const std::string& args, const TestFolder& dir) { return run_command(kTool + " " + args, dir.path()); }

}  // namespace

TEST(ToolWriteDocuments, WritesTheFiveDocumentsAsTheCompilerDoes) {
    TestFolder dir;
    RunResult r = tool("write-documents docs", dir);
    ASSERT_EQ(r.status, 0) << r.err;
    for (const char* name : {"Bresta_Vilcar_linea.txt", "Bresta_Vilcar_RX907-.txt", "Bresta_Vilcar_RX907_note.txt",
                             "Bresta_Vilcar_RX907_rallentamenti.txt", "Bresta_Vilcar_RX907_scheda_treno.txt"})
        EXPECT_TRUE(dir.exists(std::string("docs/") + name)) << name;
    EXPECT_EQ(dir.read("docs/Bresta_Vilcar_RX907_note.txt").size(), 92u);

    RunResult named = tool("write-documents other --route Linea --train-code T1", dir);
    ASSERT_EQ(named.status, 0) << named.err;
    EXPECT_EQ(dir.read("other/Linea_linea.txt"), dir.read("docs/Bresta_Vilcar_linea.txt"));
    EXPECT_EQ(dir.read("other/Linea_T1-.txt"), dir.read("docs/Bresta_Vilcar_RX907-.txt"));
}

TEST(ToolWriteDocuments, RefusesToOverwriteTheAuthorsDocumentsUnlessForced) {
    TestFolder dir;
    ASSERT_EQ(tool("write-documents docs", dir).status, 0);
    const std::string original = dir.read("docs/Bresta_Vilcar_linea.txt");
    dir.write("docs/Bresta_Vilcar_linea.txt", "my edited route");

    RunResult refused = tool("write-documents docs", dir);
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.out, "");
    EXPECT_NE(refused.err.find("Bresta_Vilcar_linea.txt"), std::string::npos) << refused.err;
    EXPECT_NE(refused.err.find("--force"), std::string::npos) << refused.err;
    EXPECT_EQ(dir.read("docs/Bresta_Vilcar_linea.txt"), "my edited route");

    // Any one of the five is enough to refuse, and nothing else is written then.
    TestFolder one;
    one.write("Bresta_Vilcar_RX907_scheda_treno.txt", "my sheet");
    RunResult alsoRefused = tool("write-documents .", one);
    EXPECT_EQ(alsoRefused.status, 1);
    EXPECT_EQ(one.list(), std::vector<std::string>{"Bresta_Vilcar_RX907_scheda_treno.txt"});

    RunResult forced = tool("write-documents docs --force", dir);
    EXPECT_EQ(forced.status, 0) << forced.err;
    EXPECT_EQ(dir.read("docs/Bresta_Vilcar_linea.txt"), original);
}

TEST(ToolSummary, EachCommandSaysInOneLineWhatItDid) {
    TestFolder dir;
    RunResult write = tool("write-documents src", dir);
    ASSERT_EQ(write.status, 0);
    EXPECT_EQ(write.out,
              "wrote 5 documents into src: Bresta_Vilcar_linea.txt (line description) and Bresta_Vilcar_RX907-.txt "
              "(train description) to edit and compile; Bresta_Vilcar_RX907_note.txt, "
              "Bresta_Vilcar_RX907_rallentamenti.txt and Bresta_Vilcar_RX907_scheda_treno.txt for the simulator's "
              "user (route Bresta_Vilcar, 106000 m; train RX907; 24 stations, 44 signals, 4 indication boards, 32 "
              "speed boards)\n");
    const std::string counts =
        "(route Bresta_Vilcar, 106000 m; train RX907; 24 stations, 44 signals, 4 indication boards, 32 speed boards)\n";
    RunResult compile = tool("compile src/Bresta_Vilcar_linea.txt src/Bresta_Vilcar_RX907-.txt --out out", dir);
    ASSERT_EQ(compile.status, 0);
    EXPECT_EQ(compile.out,
              "compiled into out: Bresta_Vilcar_linea.dat, Bresta_Vilcar_RX907.sim and Bresta_Vilcar_RX907.dat " + counts);
    RunResult plot = tool("plot out --out route.svg", dir);
    ASSERT_EQ(plot.status, 0);
    EXPECT_EQ(plot.out, "drew route.svg " + counts);

    // A compile that recorded an error still says what it wrote, and that it stopped early.
    dir.write("train.txt", crlf({"[generale]", "segnale, 1000, 1,4,1,0,0,1,3,1,0,0", "segnale, 1000, 1,4,1,0,0,1,3,1,0,0",
                                 "[fine]"}));
    RunResult partial = tool("compile src/Bresta_Vilcar_linea.txt train.txt --out out --no-line-table --train-code RX907", dir);
    EXPECT_EQ(partial.status, 1);
    EXPECT_EQ(partial.out.rfind("compiled what was read before error 16 into out: Bresta_Vilcar_RX907.sim and "
                                "Bresta_Vilcar_RX907.dat (route Bresta_Vilcar, 106000 m; train RX907; 0 stations, "
                                "1 signal, ",
                                0),
              0u)
        << partial.out;
}

TEST(ToolCommandLine, HelpAndUnknownCommandsListTheCommands) {
    TestFolder dir;
    struct Case {
        std::string args;
        int status;
        bool onOut;  // the list on standard output, else on standard error
    } cases[] = {{"help", 0, true}, {"", 64, false}, {"frobnicate", 64, false}, {"help frobnicate", 64, false}};
    for (const auto& c : cases) {
        RunResult r = tool(c.args, dir);
        EXPECT_EQ(r.status, c.status) << c.args;
        const std::string& text = c.onOut ? r.out : r.err;
        for (const char* command : {"write-documents", "compile", "dump", "plot", "help"})
            EXPECT_NE(text.find("\n  " + std::string(command) + " "), std::string::npos) << c.args << ": " << text;
    }
    EXPECT_NE(tool("frobnicate", dir).err.find("unknown command 'frobnicate'"), std::string::npos);
    RunResult one = tool("help compile", dir);
    EXPECT_EQ(one.status, 0);
    EXPECT_NE(one.out.find("--no-line-table"), std::string::npos) << one.out;
}

TEST(ToolNames, PlotAndDumpNameTheCompiledFilesThatAreThere) {
    TestFolder dir;
    ASSERT_EQ(tool("write-documents src", dir).status, 0);
    ASSERT_EQ(tool("compile src/Bresta_Vilcar_linea.txt src/Bresta_Vilcar_RX907-.txt --out out", dir).status, 0);

    RunResult plot = tool("plot out --route Salita --out s.svg", dir);
    EXPECT_EQ(plot.status, 2);
    EXPECT_NE(plot.err.find(tool_join("out", "Salita_RX907.sim")), std::string::npos) << plot.err;
    EXPECT_NE(plot.err.find("route Bresta_Vilcar, train RX907"), std::string::npos) << plot.err;
    EXPECT_NE(plot.err.find("give --route Bresta_Vilcar --train-code RX907"), std::string::npos) << plot.err;
    EXPECT_FALSE(dir.exists("s.svg"));

    RunResult dump = tool("dump grid out/Salita_RX907.dat", dir);
    EXPECT_EQ(dump.status, 2);
    EXPECT_NE(dump.err.find("out/Salita_RX907.dat does not exist; the grid files there: " +
                            tool_join("out", "Bresta_Vilcar_RX907.dat")),
              std::string::npos)
        << dump.err;

    RunResult wrongKind = tool("dump grid out/Bresta_Vilcar_linea.dat", dir);
    EXPECT_EQ(wrongKind.status, 64);
    EXPECT_NE(wrongKind.err.find("run: scenario_tool dump line out/Bresta_Vilcar_linea.dat"), std::string::npos)
        << wrongKind.err;

    TestFolder empty;
    RunResult nothing = tool("plot . --out s.svg", empty);
    EXPECT_EQ(nothing.status, 2);
    EXPECT_NE(nothing.err.find("compile the scenario first"), std::string::npos) << nothing.err;
}

TEST(ToolCommandLine, BadCommandLinesExitWith64AndHelpWith0) {
    TestFolder dir;
    struct Case {
        std::string args;
        int status;
    } cases[] = {
        {"", 64},
        {"frobnicate", 64},
        {"compile onlyone", 64},
        {"compile a b", 64},  // --out missing
        {"dump tree x", 64},
        {"dump grid x --format xml", 64},
        {"--help", 0},
        {"compile --help", 0},
        {"dump --help", 0},
        {"--version", 0},
    };
    for (const auto& c : cases) {
        RunResult r = tool(c.args, dir);
        EXPECT_EQ(r.status, c.status) << c.args << "\n" << r.err;
        if (c.status == 64) {
            EXPECT_NE(r.err.find("scenario_tool:"), std::string::npos) << c.args;
        }
    }
}

TEST(ToolDump, ShowsTheBuiltInFiles) {
    TestFolder dir;
    ASSERT_EQ(tool("write-documents src", dir).status, 0);
    ASSERT_EQ(tool("compile src/Bresta_Vilcar_linea.txt src/Bresta_Vilcar_RX907-.txt --out out", dir).status, 0);

    RunResult grid = tool("dump grid out/Bresta_Vilcar_RX907.dat", dir);
    ASSERT_EQ(grid.status, 0) << grid.err;
    EXPECT_NE(grid.out.find("cell=32  at_m=1550  kind=signal  sx=1  s1=4  s2=1  s3=0  rapp=0  dx=1  d1=3  d2=1  d3=0  "
                            "tempo=0  approach_code=0  span_from_m=1600  span_to_m=1650  speed_kmh=75"),
              std::string::npos);
    RunResult raw = tool("dump grid out/Bresta_Vilcar_RX907.dat --raw", dir);
    EXPECT_NE(raw.out.find("cell=32  at_m=1550  kind=signal  value1=43  value2=11  value3=0  value4=4  timeCode=0"),
              std::string::npos);
    EXPECT_EQ(grid.out.find("kind=empty"), std::string::npos);
    RunResult all = tool("dump grid out/Bresta_Vilcar_RX907.dat --all --format csv", dir);
    ASSERT_EQ(all.status, 0);
    EXPECT_EQ(std::count(all.out.begin(), all.out.end(), '\n'), 2261 + 1);

    RunResult scenario = tool("dump scenario out/Bresta_Vilcar_RX907.sim", dir);
    ASSERT_EQ(scenario.status, 0) << scenario.err;
    for (const char* text : {"role=general header  braked_mass_percent=135  route_length_m=106000  cars=8",
                             "role=route header  route=Bresta_Vilcar", "marker=610", "check_code=32647",
                             "role=train header  train=RX907  repetition_start_m=1000  repetition_end_m=107500",
                             "slot=1  role=station  name=BRESTA", "slot=80  role=board caption"})
        EXPECT_NE(scenario.out.find(text), std::string::npos) << text;

    RunResult json = tool("dump scenario out/Bresta_Vilcar_RX907.sim --format json", dir);
    ASSERT_EQ(json.status, 0);
    EXPECT_NE(json.out.find("\"name\": \"PIANCASTELLO\""), std::string::npos);

    RunResult line = tool("dump line out/Bresta_Vilcar_linea.dat", dir);
    ASSERT_EQ(line.status, 0) << line.err;
    EXPECT_NE(line.out.find("metre=100  x=0  y=100\n"), std::string::npos);
}

TEST(ToolDump, RefusesTruncatedGarbageAndMissingFiles) {
    TestFolder dir;
    dir.write("seven", "1234567");
    dir.write("garbage.dat", std::string(45, '\x07'));
    struct Case {
        std::string args;
    } cases[] = {{"dump grid seven"},       {"dump scenario seven"}, {"dump line seven"},
                 {"dump line garbage.dat"}, {"dump scenario garbage.dat"}, {"dump grid missing"}};
    for (const auto& c : cases) {
        RunResult r = tool(c.args, dir);
        EXPECT_EQ(r.status, 2) << c.args;
        EXPECT_NE(r.err.find("scenario_tool: "), std::string::npos) << c.args;
    }
}
