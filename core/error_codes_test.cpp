// The code table against docs/developing.md: its error-code table lists exactly
// the project's own codes, so a new refusal cannot go undocumented; and the
// titles that state a limit state the compiler's.
#include "core/error_codes.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "core/compiler_limits.h"

namespace {

// The codes in the first column of the table under the "## Error codes" heading of docs/developing.md.
std::set<int> documented_table_codes() {
    std::ifstream in(DEVELOPING_PATH);
    EXPECT_TRUE(in) << DEVELOPING_PATH;
    std::set<int> codes;
    std::string line;
    bool inSection = false;
    const std::regex row(R"(^\|\s*(\d+)\s*\|)");
    while (std::getline(in, line)) {
        if (line.rfind("## ", 0) == 0) inSection = line == "## Error codes";
        std::smatch m;
        if (inSection && std::regex_search(line, m, row)) codes.insert(std::stoi(m[1]));
    }
    return codes;
}

}  // namespace

TEST(ErrorCodes, DevelopersTableListsExactlyTheProjectsOwnCodes) {
    std::set<int> own;
    for (ErrorCode c : kAllErrorCodes) {
        if (c >= kFirstOwnCode) own.insert(c);
    }
    EXPECT_FALSE(own.empty());
    EXPECT_EQ(documented_table_codes(), own);
}

TEST(ErrorCodes, TableIsIncreasingAndKnowsOnlyItsCodes) {
    int previous = kNoError;
    for (ErrorCode c : kAllErrorCodes) {
        EXPECT_GT(c, previous);
        previous = c;
    }
    EXPECT_TRUE(is_error_code(kNoError));
    for (int value : {-1, 14, 23, 26, 100, 104, 200, 208, 209, 215, 1250}) EXPECT_FALSE(is_error_code(value)) << value;
}

TEST(ErrorCodes, TitlesStateTheCompilersLimits) {
    struct Row {
        ErrorCode code;
        std::string_view title;
    };
    const Row rows[] = {
#define ERROR_CODE(name, number, title) {name, title},
#include "core/error_codes.def"
    };
    auto title_of = [&](ErrorCode code) {
        for (const Row& r : rows) {
            if (r.code == code) return std::string(r.title);
        }
        return std::string();
    };
    EXPECT_EQ(title_of(kRouteTooLong), "route length above " + std::to_string(kLongestRoute) + " m");
    EXPECT_EQ(title_of(kStretchListFull), "more than " + std::to_string(kMostMontagnaStretches) + " montagna stretches");
    EXPECT_EQ(title_of(kBoardListFull), "more than " + std::to_string(kMostIndicationBoards) + " indication boards");
}
