// File-system faults while the compiler writes: a read-only program folder,
// a compiled file name taken by a directory and a full disk. Each ends the
// run with status 3 and one line naming the file, and leaves the files
// written before the fault as they were.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tools/testing/test_folder.h"
#include "tools/testing/tool_runner.h"

namespace fs = std::filesystem;

namespace {

const char* kOutputs[] = {"Bresta_Vilcar_RX907_note.txt", "Bresta_Vilcar_RX907_rallentamenti.txt",
                          "Bresta_Vilcar_RX907_scheda_treno.txt", "Bresta_Vilcar_linea.dat",
                          "Bresta_Vilcar_RX907.sim", "Bresta_Vilcar_RX907.dat"};

// A mount made for one test, undone when the test ends however it ends.
class Mount {
public:
    Mount(const std::string& command, const std::string& target) : target_(target) {
        mounted_ = run_command(command, "/").status == 0;
    }
    ~Mount() {
        if (mounted_) run_command("umount '" + target_ + "'", "/");
    }
    Mount(const Mount&) = delete;
    Mount& operator=(const Mount&) = delete;
    bool mounted() const { return mounted_; }

private:
    std::string target_;
    bool mounted_ = false;
};

std::string slurp(const TestFolder& dir, const std::string& name) { return dir.read(name); }

// The report is one line on standard error and names the file.
void expect_one_line_naming(const RunResult& r, const std::string& name) {
    EXPECT_EQ(r.status, 3) << r.err;
    ASSERT_FALSE(r.err.empty());
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
    EXPECT_NE(r.err.find(name), std::string::npos) << r.err;
}

// The compiler in its own folder of `dir`, run once cleanly.
void install_and_run(const TestFolder& dir) {
    fs::create_directory(dir.file("prog"));
    fs::copy_file(binary_folder() + "/scenario_compiler", dir.file("prog/scenario_compiler"));
    ASSERT_EQ(run_command("./scenario_compiler", dir.file("prog")).status, 0);
}

TEST(FileSystemFault, ReadOnlyProgramFolderKeepsTheEarlierRunsFiles) {
    TestFolder dir;
    install_and_run(dir);
    std::vector<std::string> before;
    for (const char* name : kOutputs) before.push_back(slurp(dir, std::string("prog/") + name));

    // Permission bits do not stop root: a read-only bind mount does.
    const std::string prog = dir.file("prog");
    Mount bind("mount --bind '" + prog + "' '" + prog + "' 2>/dev/null", prog);
    if (!bind.mounted()) GTEST_SKIP() << "cannot bind-mount here (needs root with CAP_SYS_ADMIN)";
    if (run_command("mount -o remount,bind,ro '" + prog + "' 2>/dev/null", "/").status != 0)
        GTEST_SKIP() << "cannot remount read-only here";

    RunResult r = run_command("./scenario_compiler", prog);
    expect_one_line_naming(r, "Bresta_Vilcar_linea.txt");
    for (size_t i = 0; i < std::size(kOutputs); ++i)
        EXPECT_EQ(slurp(dir, std::string("prog/") + kOutputs[i]), before[i]) << kOutputs[i];
}

TEST(FileSystemFault, CompiledFileNameTakenByADirectory) {
    TestFolder clean;
    install_and_run(clean);

    TestFolder dir;
    fs::create_directory(dir.file("prog"));
    fs::copy_file(binary_folder() + "/scenario_compiler", dir.file("prog/scenario_compiler"));
    fs::create_directory(dir.file("prog/Bresta_Vilcar_RX907.sim"));
    dir.write("prog/Bresta_Vilcar_RX907.dat", "older grid");

    RunResult r = run_command("./scenario_compiler", dir.file("prog"));
    expect_one_line_naming(r, "Bresta_Vilcar_RX907.sim");
    // Written before the fault: the documents and the line data file, whole.
    for (const char* name : {"Bresta_Vilcar_RX907_note.txt", "Bresta_Vilcar_RX907_rallentamenti.txt",
                             "Bresta_Vilcar_RX907_scheda_treno.txt", "Bresta_Vilcar_linea.dat"})
        EXPECT_EQ(slurp(dir, std::string("prog/") + name), slurp(clean, std::string("prog/") + name)) << name;
    // After it: the grid file keeps what was there.
    EXPECT_EQ(slurp(dir, "prog/Bresta_Vilcar_RX907.dat"), "older grid");
    EXPECT_TRUE(fs::is_directory(dir.file("prog/Bresta_Vilcar_RX907.sim")));
}

TEST(FileSystemFault, FullDiskWhileWritingTheGridFile) {
    const std::string tool = tool_command();
    TestFolder clean;
    ASSERT_EQ(run_command(tool + " write-documents src", clean.path()).status, 0);
    const std::string compile = tool + " compile '" + clean.file("src/Bresta_Vilcar_linea.txt") + "' '" +
                                clean.file("src/Bresta_Vilcar_RX907-.txt") + "' --out out";
    ASSERT_EQ(run_command(compile, clean.path()).status, 0);

    TestFolder dir;
    const std::string out = dir.file("out");
    fs::create_directory(out);
    Mount disk("mount -t tmpfs -o size=8m tmpfs '" + out + "' 2>/dev/null", out);
    if (!disk.mounted()) GTEST_SKIP() << "cannot mount a small tmpfs here (needs root with CAP_SYS_ADMIN)";

    // Leave room for the line data file and the scenario file, not the grid file.
    auto pages = [](uintmax_t bytes) { return (bytes + 4095) / 4096 * 4096; };
    const uintmax_t room = pages(fs::file_size(clean.file("out/Bresta_Vilcar_linea.dat"))) +
                           pages(fs::file_size(clean.file("out/Bresta_Vilcar_RX907.sim"))) + 8192;
    ASSERT_GT(fs::file_size(clean.file("out/Bresta_Vilcar_RX907.dat")), 8192u + 4096u);
    const uintmax_t available = fs::space(out).available;
    ASSERT_GT(available, room);
    dir.write("out/filler", std::string(available - room, '\0'));

    RunResult r = run_command(compile, dir.path());
    expect_one_line_naming(r, "Bresta_Vilcar_RX907.dat");
    for (const char* name : {"Bresta_Vilcar_linea.dat", "Bresta_Vilcar_RX907.sim"})
        EXPECT_EQ(slurp(dir, std::string("out/") + name), slurp(clean, std::string("out/") + name)) << name;
}

}  // namespace
