// The documents the warning tests check: a small sound pair, and a fixture
// per warning that adds to it the mistake the warning is for. Each family of
// rules keeps its fixtures in its own test file; the test that every code has
// one reads the three tables.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "tools/codes/code.h"
#include "tools/diagnostics/checker.h"

namespace warning_fixtures {

// A 10,000 m route (grid cells 0 to 340) and a train with its profiles from 0 m.
inline const std::vector<std::string> kLineHead = {
    "[generale]",                             // 1
    "lunghezza percorso,    10000",           // 2
    "progressiva chilometrica uno, 0, 0, 0",  // 3
    "[cartelli]",                             // 4
};
inline const std::vector<std::string> kTrainHead = {
    "[generale]",         // 1
    "numero vetture, 8",  // 2
    "velocita, 0, 80",    // 3
    "aderenza, 0, 100",   // 4
};

inline std::string document(const std::vector<std::string>& head, const std::vector<std::string>& rows) {
    std::string text;
    for (const auto& l : head) text += l + "\r\n";
    for (const auto& l : rows) text += l + "\r\n";
    return text + "[fine]\r\n";
}

// A station row at `position` (type 4, 600 m) with a scheduled time and a name.
inline std::string station(int position, const std::string& time, const std::string& name) {
    return "stazione, " + std::to_string(position) + ", 4, 600, 0, 0, 0, 1,1,0, 4,1,1, 1, " + time + ", " + name;
}

using Found = std::tuple<char, int32_t, std::string>;  // document ('L' or 'T'), line, code

struct Fixture {
    const char* name;
    std::vector<std::string> line{};   // rows after kLineHead, from line 5
    std::vector<std::string> train{};  // rows after kTrainHead, from line 5
    std::vector<Found> expected{};     // every diagnostic of the check: no error, these warnings
    const char* wholeTrain = nullptr;  // the whole train description instead of head and rows
    const char* message = nullptr;     // the exact message of the first diagnostic, where given
};

// The fixtures of each family, in its test file.
extern const std::vector<Fixture> kLostRowFixtures;
extern const std::vector<Fixture> kStoredValueFixtures;
extern const std::vector<Fixture> kRouteAndTimetableFixtures;

inline std::vector<Found> found_in(const CheckResult& result) {
    std::vector<Found> out;
    for (const Diagnostic& d : result.diagnostics)
        out.emplace_back(d.file == "train.txt" ? 'T' : 'L', d.line, code_name(d.code));
    return out;
}

inline CheckResult check_fixture(const Fixture& f) {
    const std::string train = f.wholeTrain != nullptr ? f.wholeTrain : document(kTrainHead, f.train);
    return check_sources({"line.txt", document(kLineHead, f.line)}, {"train.txt", train}, ScenarioNames{}, 50);
}

// Each fixture gives exactly its warnings, no error, and its message where it names one.
inline void expect_fixtures(const std::vector<Fixture>& fixtures) {
    for (const Fixture& f : fixtures) {
        const CheckResult result = check_fixture(f);
        EXPECT_EQ(found_in(result), f.expected) << f.name;
        EXPECT_EQ(result.errors, 0) << f.name;
        for (const Diagnostic& d : result.diagnostics) EXPECT_FALSE(d.message.empty()) << f.name;
        if (f.message != nullptr && !result.diagnostics.empty()) {
            EXPECT_EQ(result.diagnostics.front().message, f.message) << f.name;
        }
    }
}

// A message that says what was found and what the compiler makes of it: it holds `piece`.
struct MessagePiece {
    const char* name;
    std::vector<std::string> line;
    std::vector<std::string> train;
    const char* piece;
};

// Checked on a 100,000 m route, so that positions far along it stand on the grid.
inline void expect_pieces(const std::vector<MessagePiece>& cases) {
    for (const MessagePiece& c : cases) {
        const std::vector<std::string> longLine = {"[generale]", "lunghezza percorso,    100000",
                                                   "progressiva chilometrica uno, 0, 0, 0", "[cartelli]"};
        const CheckResult result = check_sources({"line.txt", document(longLine, c.line)},
                                                 {"train.txt", document(kTrainHead, c.train)}, ScenarioNames{}, 50);
        std::string all;
        for (const Diagnostic& d : result.diagnostics) all += d.message + "\n";
        EXPECT_NE(all.find(c.piece), std::string::npos) << c.name << ":\n" << all;
    }
}

}  // namespace warning_fixtures
