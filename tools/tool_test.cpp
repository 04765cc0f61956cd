// End-to-end tests of scenario_tool, run as a separate process.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include <filesystem>
#include <string>

#include "core/test_folder.h"
#include "tools/tool_runner.h"

namespace fs = std::filesystem;

namespace {

const std::string kTool = "'" + binary_folder() + "/scenario_tool'";

RunResult tool(const std::string& args, const TestFolder& dir) { return run_command(kTool + " " + args, dir.path()); }

const char* kCompiled[] = {"Bresta_Vilcar_linea.dat", "Bresta_Vilcar_RX907.sim", "Bresta_Vilcar_RX907.dat"};

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

TEST(ToolCompile, GivesTheCompilerBytesAndLeavesTheAuthorsFilesAlone) {
    TestFolder dir;
    // The compiler, run in its own folder.
    fs::create_directory(dir.file("prog"));
    fs::copy_file(binary_folder() + "/scenario_compiler", dir.file("prog/scenario_compiler"));
    RunResult compiler = run_command("./scenario_compiler", dir.file("prog"));
    ASSERT_EQ(compiler.status, 0) << compiler.err;

    ASSERT_EQ(tool("write-documents src", dir).status, 0);
    const std::string line = dir.read("src/Bresta_Vilcar_linea.txt");
    const std::string train = dir.read("src/Bresta_Vilcar_RX907-.txt");
    RunResult r = tool("compile src/Bresta_Vilcar_linea.txt src/Bresta_Vilcar_RX907-.txt --out out", dir);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    for (const char* name : kCompiled) EXPECT_EQ(dir.read(std::string("out/") + name), dir.read(std::string("prog/") + name)) << name;
    EXPECT_EQ(dir.read("src/Bresta_Vilcar_linea.txt"), line);
    EXPECT_EQ(dir.read("src/Bresta_Vilcar_RX907-.txt"), train);
    // The copies were consumed by the compile pass.
    EXPECT_FALSE(dir.exists("out/Bresta_Vilcar_linea.txt"));
    EXPECT_FALSE(dir.exists("out/Bresta_Vilcar_RX907-.txt"));
}

TEST(ToolCompile, RefusesToConsumeTheAuthorsOwnDocument) {
    TestFolder dir;
    ASSERT_EQ(tool("write-documents src", dir).status, 0);
    const std::string line = dir.read("src/Bresta_Vilcar_linea.txt");
    RunResult r = tool("compile src/Bresta_Vilcar_linea.txt src/Bresta_Vilcar_RX907-.txt --out src", dir);
    EXPECT_EQ(r.status, 64);
    EXPECT_EQ(dir.read("src/Bresta_Vilcar_linea.txt"), line);
}

TEST(ToolCompile, NoLineTableLeavesAnOlderLineDataFile) {
    TestFolder dir;
    ASSERT_EQ(tool("write-documents src", dir).status, 0);
    fs::create_directory(dir.file("out"));
    dir.write("out/Bresta_Vilcar_linea.dat", "older");
    RunResult r = tool("compile src/Bresta_Vilcar_linea.txt src/Bresta_Vilcar_RX907-.txt --out out --no-line-table", dir);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(dir.read("out/Bresta_Vilcar_linea.dat"), "older");
    EXPECT_TRUE(dir.exists("out/Bresta_Vilcar_RX907.dat"));
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
    EXPECT_NE(grid.out.find("cell=32  position_m=1550  kind=signal  value1=43  value2=11  value3=0  value4=4"),
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
