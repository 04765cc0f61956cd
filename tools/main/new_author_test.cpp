// What a new author trips over, run through scenario_tool as a separate
// process: the names of the compiled files, names that would write outside
// the output folder, a feature in the reserved first cell, a name too long for
// the scenario file, documents that cannot be read, documents given in each
// other's place, a route length read short, rows the reader passes over (out
// of place, cut at a comma, misspelt), and the wording of the messages about
// them. Each row is one mistake and the exact line it gives.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <algorithm>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "core/scenario_table.h"
#include "tools/codes/explanations.h"
#include "tools/compiled/compiled_files.h"
#include "tools/testing/test_folder.h"
#include "tools/testing/tool_runner.h"


#include "tools/main/test_new_author_trips.h"

namespace fs = std::filesystem;

namespace new_author {

// A row is named by its name in a failure.
void PrintTo(const Trip& t, std::ostream* os) { *os << t.name; }

}  // namespace new_author

namespace {

using namespace new_author;

const std::string kTool = "'" + binary_folder() + "/scenario_tool'";

bool has_line(const std::string& text, const std::string& wanted) {
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (line == wanted) return true;
    }
    return false;
}

class NewAuthor : public ::testing::TestWithParam<Trip> {};

TEST_P(NewAuthor, GetsItsLine) {
    const Trip& t = GetParam();
    TestFolder dir;
    for (const File& f : t.files) dir.write(f.name, f.bytes);
    if (!t.folder.empty()) fs::create_directory(dir.file(t.folder));
    std::string runner;
    if (!t.unreadable.empty()) {
        fs::permissions(dir.file(t.unreadable), fs::perms::none);
        // Permission bits do not stop root: the tool then runs as nobody.
        if (::geteuid() == 0) {
            if (run_command("setpriv --help >/dev/null 2>&1", "/").status != 0) GTEST_SKIP() << "no setpriv";
            fs::permissions(dir.path(), fs::perms::all);
            runner = "setpriv --reuid=65534 --regid=65534 --clear-groups ";
        }
    }
    const RunResult r = run_command(runner + kTool + " " + t.args, dir.path());
    EXPECT_EQ(r.status, t.status) << r.out << r.err;
    EXPECT_TRUE(has_line(r.err, t.line) || has_line(r.out, t.line)) << "wanted:\n" << t.line << "\ngot:\n"
                                                                  << r.out << r.err;
    if (t.out == kNoOut) {
        EXPECT_FALSE(dir.exists("out")) << "out/ was made";
    } else if (t.out) {
        std::vector<std::string> there;
        if (dir.exists("out")) {
            for (const auto& entry : fs::directory_iterator(dir.file("out")))
                there.push_back(entry.path().filename().string());
        }
        std::sort(there.begin(), there.end());
        EXPECT_EQ(there, *t.out);
    }
    if (t.then) t.then(dir);
}

INSTANTIATE_TEST_SUITE_P(Trips, NewAuthor, ::testing::ValuesIn(trips()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
