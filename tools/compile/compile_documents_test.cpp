// The compile command's work on the files, through scenario_tool run as a
// separate process: what it writes, clears and leaves alone.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tools/testing/test_folder.h"
#include "tools/testing/tool_runner.h"

namespace fs = std::filesystem;

namespace {

const std::string kTool = tool_command();

RunResult tool(const std::string& args, const TestFolder& dir) { return run_command(kTool + " " + args, dir.path()); }

const char* kCompiled[] = {"Bresta_Vilcar_linea.dat", "Bresta_Vilcar_RX907.sim", "Bresta_Vilcar_RX907.dat"};

}  // namespace

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
    // The pass ran from memory: the out folder holds the compiled files and nothing else.
    std::vector<std::string> out;
    for (const auto& [name, file] : folder_snapshot(dir.file("out"))) out.push_back(name);
    EXPECT_EQ(out, (std::vector<std::string>{"Bresta_Vilcar_RX907.dat", "Bresta_Vilcar_RX907.sim",
                                             "Bresta_Vilcar_linea.dat"}));
}

// Documents in the out folder under the very names the compiler gives its
// own (which its pass would consume) stay as they were, however the compile
// ends; beside them only the compiled files of a compile that wrote any.
TEST(ToolCompile, LeavesTheAuthorsDocumentsInTheOutFolderAlone) {
    const std::string lineHead = "[generale]\r\nlunghezza percorso, 10000\r\n[pendenze]\r\n";
    const std::string trainHead = "[generale]\r\nvelocita, 0, 80\r\n";
    struct Case {
        const char* name;
        std::string line;
        std::string train;
        int status;
    };
    const Case cases[] = {
        {.name = "clean", .line = lineHead + "[fine]\r\n", .train = trainHead + "[fine]\r\n", .status = 0},
        {.name = "a reader error", .line = lineHead + "[fine]\r\n", .train = trainHead + "sabbia, 70000\r\n[fine]\r\n",
         .status = 1},
        {.name = "a signal in cell 1", .line = lineHead + "[fine]\r\n",
         .train = trainHead + "segnale, 10, 1, 4, 1, 0, 0, 1, 3, 1, 0, 0\r\n[fine]\r\n", .status = 2},
        {.name = "no route length", .line = "[generale]\r\n[fine]\r\n", .train = trainHead + "[fine]\r\n", .status = 3},
    };
    for (const Case& c : cases) {
        TestFolder dir;
        fs::create_directory(dir.file("src"));
        dir.write("src/Bresta_Vilcar_linea.txt", c.line);
        dir.write("src/Bresta_Vilcar_RX907-.txt", c.train);
        dir.write("src/notes.txt", "the author's own file");
        const FolderSnapshot before = folder_snapshot(dir.file("src"));
        RunResult r = tool("compile src/Bresta_Vilcar_linea.txt src/Bresta_Vilcar_RX907-.txt --out src", dir);
        EXPECT_EQ(r.status, c.status) << c.name << "\n" << r.err;
        FolderSnapshot after = folder_snapshot(dir.file("src"));
        size_t compiled = 0;
        for (const char* name : kCompiled) compiled += after.erase(name);
        EXPECT_EQ(after, before) << c.name;
        EXPECT_EQ(compiled, c.status <= 1 ? 3u : 0u) << c.name;
    }
}

TEST(ToolCompile, LeavesExactlyWhatThisCompileProduced) {
    TestFolder dir;
    ASSERT_EQ(tool("write-documents src", dir).status, 0);
    const std::string compile = "compile src/Bresta_Vilcar_linea.txt src/Bresta_Vilcar_RX907-.txt --out out";
    ASSERT_EQ(tool(compile, dir).status, 0);
    dir.write("out/Other_T1.sim", "another route's file");
    dir.write("out/notes.txt", "the author's own file");

    // Without a line table the older line data file must not pass for this compile's.
    RunResult noLine = tool(compile + " --no-line-table", dir);
    ASSERT_EQ(noLine.status, 0) << noLine.err;
    EXPECT_FALSE(dir.exists("out/Bresta_Vilcar_linea.dat"));
    EXPECT_TRUE(dir.exists("out/Bresta_Vilcar_RX907.sim"));
    EXPECT_TRUE(dir.exists("out/Bresta_Vilcar_RX907.dat"));

    // A compile that ends in a run-time failure writes nothing, and leaves nothing older.
    ASSERT_EQ(tool(compile, dir).status, 0);
    dir.write("broken.txt", crlf({"[generale]", "lunghezza percoso, 10000", "[fine]"}));
    RunResult failed = tool("compile broken.txt src/Bresta_Vilcar_RX907-.txt --out out --route Bresta_Vilcar", dir);
    EXPECT_EQ(failed.status, 3) << failed.err;
    for (const char* name : kCompiled) EXPECT_FALSE(dir.exists(std::string("out/") + name)) << name;
    EXPECT_EQ(dir.read("out/Other_T1.sim"), "another route's file");
    EXPECT_EQ(dir.read("out/notes.txt"), "the author's own file");
}

TEST(ToolCompile, RefusesToReplaceADocumentNamedAsACompiledFile) {
    TestFolder dir;
    ASSERT_EQ(tool("write-documents src", dir).status, 0);
    fs::create_directory(dir.file("out"));
    dir.write("out/Bresta_Vilcar_RX907.dat", dir.read("src/Bresta_Vilcar_RX907-.txt"));
    RunResult r = tool("compile src/Bresta_Vilcar_linea.txt out/Bresta_Vilcar_RX907.dat --out out --train-code RX907", dir);
    EXPECT_EQ(r.status, 64);
    EXPECT_EQ(dir.read("out/Bresta_Vilcar_RX907.dat"), dir.read("src/Bresta_Vilcar_RX907-.txt"));
}
