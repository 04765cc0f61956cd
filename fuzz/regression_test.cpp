// Replays every input the fuzzers keep (the corpus and the reproducers of
// past faults) through the same entries, with the same invariants.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz/fuzz_harness.h"

namespace fs = std::filesystem;

namespace {

struct Target {
    const char* name;
    std::vector<std::string> (*entry)(std::string_view);
    const char* alsoCorpus;  // another target's inputs of the same form, replayed too
};

const Target kTargets[] = {
    {"field_stream", fuzz_field_stream, nullptr},
    {"line_reader", fuzz_line_reader, nullptr},
    {"train_reader", fuzz_train_reader, nullptr},
    {"compile", fuzz_compile, nullptr},
    // check against compile on every pair of documents the compile target kept as well
    {"check", fuzz_check, "compile"},
    {"lsp", fuzz_lsp, nullptr},
};

void PrintTo(const Target& target, std::ostream* os) { *os << target.name; }

std::string slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Replays the files of one folder; returns how many there were.
size_t replay(const Target& target, const fs::path& folder) {
    if (!fs::is_directory(folder)) return 0;
    size_t count = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (!entry.is_regular_file()) continue;
        ++count;
        for (const std::string& violation : target.entry(slurp(entry.path())))
            ADD_FAILURE() << entry.path().string() << ": " << violation;
    }
    return count;
}

class FuzzReplay : public ::testing::TestWithParam<Target> {};

TEST_P(FuzzReplay, EveryKeptInputKeepsTheInvariants) {
    const fs::path data = FUZZ_DATA_DIR;
    const size_t corpus = replay(GetParam(), data / "corpus" / GetParam().name);
    replay(GetParam(), data / "regressions" / GetParam().name);
    if (GetParam().alsoCorpus != nullptr) replay(GetParam(), data / "corpus" / GetParam().alsoCorpus);
    EXPECT_GT(corpus, 0u) << "no seed corpus for " << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzReplay, ::testing::ValuesIn(kTargets),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
