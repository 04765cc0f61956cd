// The layer order of the project's folders, held against every #include of
// every source and header: a folder may use only folders of a lower layer,
// and folders of its own layer only where the layer says so (the compiler's
// form spans core/, line/, train/ and documents/; the commands never use one
// another). A new folder goes into this table, at the layer docs/developing.md's
// Layout section gives it. Below the folders, no unit may include itself back
// through others (unit_circles.h).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "tools/testing/unit_circles.h"

namespace fs = std::filesystem;

namespace {

struct Layer {
    std::vector<std::string> folders;
    bool peersShared = false;  // whether the folders of this layer may use one another
};

// Lowest first.
const Layer kLayers[] = {
    {.folders = {"platform"}},
    {.folders = {"core", "line", "train", "documents"}, .peersShared = true},
    {.folders = {"tools/common"}},
    {.folders = {"tools/codes"}},
    {.folders = {"tools/pass"}},
    {.folders = {"tools/compiled"}},
    {.folders = {"tools/running_time"}},
    {.folders = {"tools/diagnostics"}},
    {.folders = {"tools/places"}},
    {.folders = {"tools/drawing"}},
    {.folders = {"tools/compile", "tools/check", "tools/explain", "tools/dump", "tools/plot", "tools/serve",
                 "tools/write_documents", "tools/lsp", "tools/timetable"}},
    {.folders = {"tools/main"}},
    {.folders = {"tools/testing"}},
    {.folders = {"bench", "fuzz", "docs"}},
};

// Test support that every test, wherever it sits, may use besides its own folder's rooms.
const char* const kTestSupport = "tools/testing";

struct Place {
    std::string folder;
    size_t layer = 0;
};

// The folder of the table that holds a path relative to the project ("tools/check/check.h").
std::optional<Place> place_of(const std::string& path) {
    std::optional<Place> best;
    for (size_t layer = 0; layer < std::size(kLayers); ++layer) {
        for (const std::string& folder : kLayers[layer].folders) {
            const bool inside = path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
                                path[folder.size()] == '/';
            if (inside && (!best || folder.size() > best->folder.size())) best = Place{folder, layer};
        }
    }
    return best;
}

bool may_use(const Place& user, const Place& used, bool isTest) {
    if (user.folder == used.folder || used.layer < user.layer) return true;
    if (used.layer == user.layer && kLayers[user.layer].peersShared) return true;
    return isTest && used.folder == kTestSupport;
}

bool is_source(const fs::path& path) { return path.extension() == ".cpp" || path.extension() == ".h"; }

// Build folders, the repository's own files and installed packages hold no sources of the project.
bool skipped(const fs::path& folder) {
    const std::string name = folder.filename().string();
    return name.starts_with(".") || name.starts_with("build") || name == "node_modules";
}

// The quoted name of an #include line; nothing for any other line.
std::optional<std::string> included(const std::string& line) {
    size_t at = line.find_first_not_of(" \t");
    if (at == std::string::npos || line[at] != '#') return std::nullopt;
    at = line.find_first_not_of(" \t", at + 1);
    if (at == std::string::npos || line.compare(at, 7, "include") != 0) return std::nullopt;
    const size_t open = line.find('"', at + 7);
    if (open == std::string::npos) return std::nullopt;  // <system> headers
    const size_t close = line.find('"', open + 1);
    if (close == std::string::npos) return std::nullopt;
    return line.substr(open + 1, close - open - 1);
}

// Every source and header of the project, in path order.
std::vector<fs::path> project_sources(const fs::path& root) {
    std::vector<fs::path> files;
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it) {
        if (it->is_directory() && skipped(it->path())) {
            it.disable_recursion_pending();
            continue;
        }
        if (it->is_regular_file() && is_source(it->path())) files.push_back(it->path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

struct QuotedInclude {
    int line = 0;
    std::string name;  // as written: "core/format.h", or "format.h" for a file of the same folder
};

std::vector<QuotedInclude> quoted_includes(const fs::path& file) {
    std::vector<QuotedInclude> found;
    std::ifstream in(file);
    int number = 0;
    for (std::string line; std::getline(in, line) && number < 1000000;) {
        ++number;
        if (std::optional<std::string> name = included(line)) found.push_back({number, std::move(*name)});
    }
    return found;
}

// Every breach of the table in one file: "FILE:LINE: #include "X": FOLDER may not use OTHER".
std::vector<std::string> breaches(const fs::path& root, const fs::path& file) {
    const std::string path = fs::relative(file, root).generic_string();
    const std::optional<Place> user = place_of(path);
    if (!user) return {path + ": in no folder of the layering table (add the folder to it)"};
    // A test, or test support beside tests ("test_documents.cpp").
    const std::string stem = file.stem().string();
    const bool isTest = stem.ends_with("_test") || stem.starts_with("test_");
    std::vector<std::string> found;
    for (const QuotedInclude& include : quoted_includes(file)) {
        const std::string& name = include.name;
        if (name.find('/') == std::string::npos) continue;  // a file of the same folder
        const std::string where = path + ":" + std::to_string(include.line) + ": #include \"" + name + "\": ";
        const std::optional<Place> used = place_of(name);
        if (!used) found.push_back(where + "in no folder of the layering table");
        else if (!may_use(*user, *used, isTest)) found.push_back(where + user->folder + " may not use " + used->folder);
    }
    return found;
}

TEST(Layering, EveryIncludeKeepsTheLayerOrder) {
    const fs::path root = SOURCE_ROOT;
    const std::vector<fs::path> files = project_sources(root);
    std::vector<std::string> found;
    for (const fs::path& file : files) {
        for (std::string& breach : breaches(root, file)) found.push_back(std::move(breach));
    }
    EXPECT_GT(files.size(), 100u) << "the sources were not found under " << root;
    std::sort(found.begin(), found.end());
    for (const std::string& breach : found) ADD_FAILURE() << breach;
}

TEST(Layering, NoCircleOfUnits) {
    const fs::path root = SOURCE_ROOT;
    std::vector<IncludeLine> includes;
    for (const fs::path& file : project_sources(root)) {
        const std::string path = fs::relative(file, root).generic_string();
        const std::string folder = fs::path(path).parent_path().generic_string();
        for (const QuotedInclude& include : quoted_includes(file)) {
            const bool sameFolder = include.name.find('/') == std::string::npos && !folder.empty();
            includes.push_back({.file = path, .header = sameFolder ? folder + "/" + include.name : include.name});
        }
    }
    EXPECT_GT(includes.size(), 100u) << "the includes were not found under " << root;
    for (const UnitCircle& circle : find_unit_circles(includes)) {
        ADD_FAILURE() << "a circle of includes between units: " << describe_circle(circle);
    }
}

TEST(Layering, TheRuleItself) {
    struct Case {
        const char* user;
        const char* used;
        bool isTest;
        bool allowed;
    };
    const Case cases[] = {
        {.user = "core/form1.cpp", .used = "platform/platform.h", .isTest = false, .allowed = true},
        {.user = "platform/platform_posix.cpp", .used = "core/form1.h", .isTest = false, .allowed = false},
        {.user = "line/line_reader.cpp", .used = "train/train_reader.h", .isTest = false, .allowed = true},
        {.user = "tools/check/check.cpp", .used = "tools/diagnostics/checker.h", .isTest = false, .allowed = true},
        {.user = "tools/check/check.cpp", .used = "tools/compile/compile.h", .isTest = false, .allowed = false},
        {.user = "tools/codes/explanations.cpp", .used = "tools/diagnostics/checker.h", .isTest = false,
         .allowed = false},
        {.user = "tools/codes/explanations_test.cpp", .used = "tools/testing/reported_codes.h", .isTest = true,
         .allowed = true},
        {.user = "tools/codes/explanations.cpp", .used = "tools/testing/reported_codes.h", .isTest = false,
         .allowed = false},
        {.user = "core/form1_test.cpp", .used = "tools/check/check.h", .isTest = true, .allowed = false},
        {.user = "fuzz/fuzz_check.cpp", .used = "tools/diagnostics/checker.h", .isTest = false, .allowed = true},
    };
    for (const Case& c : cases) {
        const std::optional<Place> user = place_of(c.user);
        const std::optional<Place> used = place_of(c.used);
        ASSERT_TRUE(user && used) << c.user << " " << c.used;
        EXPECT_EQ(may_use(*user, *used, c.isTest), c.allowed) << c.user << " using " << c.used;
    }
}

}  // namespace
