#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/rounding.h"
#include "documents/test_documents.h"

namespace {

const std::vector<std::string>& lines() { return built_in_documents().treno.lines; }

const TrainDescription& parsed() {
    static const TrainDescription t = parse_train_description(lines());
    return t;
}

constexpr int64_t kLastCell = 2260;  // grid of the built-in route length

TEST(TrainDocument, ProseThenEightSectionsAtTheirLines) {
    ASSERT_EQ(lines().size(), 107u);
    const std::map<int, std::string> headers = {{7, "[generale]"},       {12, "[aderenze]"}, {17, "[vel_limite]"},
                                                {35, "[stazioni]"},      {60, "[rallentamenti]"},
                                                {61, "[segnali]"},       {106, "[codici]"},  {107, "[fine]"}};
    for (int n = 7; n <= 107; ++n) {
        const std::string& text = line_at(lines(), n);
        auto header = headers.find(n);
        if (header != headers.end()) {
            EXPECT_EQ(text, header->second) << "line " << n;
        } else {
            EXPECT_EQ(text.find_first_of("[]"), std::string::npos) << "line " << n;
        }
        EXPECT_FALSE(text.empty()) << "line " << n;
        EXPECT_EQ(text.find('\t'), std::string::npos) << "line " << n;
    }
}

TEST(TrainDocument, ProseLinesHaveTheirLengthsAndNoFieldBreakers) {
    const size_t lengths[] = {103, 46, 72, 103, 96, 59};
    for (int n = 1; n <= 6; ++n) {
        const std::string& text = line_at(lines(), n);
        EXPECT_EQ(text.size(), lengths[n - 1]) << "line " << n;
        EXPECT_EQ(text.find_first_of(",\"[]"), std::string::npos) << "line " << n;
        EXPECT_NE(text.front(), ' ') << "line " << n;
        // Only the third line ends in a blank, and in exactly one.
        size_t trailing = text.size() - 1 - text.find_last_not_of(' ');
        EXPECT_EQ(trailing, n == 3 ? 1u : 0u) << "line " << n;
    }
}

TEST(TrainDocument, GeneralAndAdhesionRowsAreExact) {
    struct Quoted { int line; const char* text; };
    const Quoted quoted[] = {
        {8, "numero vetture,    8"},
        {9, "percentuale massa frenata,    135"},
        {10, "sabbia,    300"},
        {11, "orologio,    9               37            0 "},
        {13, "aderenza,   0,    100"},
        {14, "aderenza,    6200,    90"},
        {15, "aderenza,    9000,    94"},
        {16, "aderenza,   49500,   100"},
    };
    for (const Quoted& q : quoted) {
        EXPECT_EQ(line_at(lines(), q.line), q.text) << "line " << q.line;
    }
    EXPECT_EQ(line_at(lines(), 11).size(), 45u);
}

TEST(TrainDocument, QuotedRowsStandInPlace) {
    struct Quoted { int line; const char* text; };
    const Quoted atLine[] = {
        // The first two speed rows as the reader's worked example reads them.
        {18, "velocita,       0,    75"},
        {19, "velocita,    6350,   110"},
        // The speed of the last speed board, 106050 m, before the closing row.
        {33, "velocita,  106050,    30"},
        {34, "velocita,  107000,    30"},
        {36, "stazione,       0,  4,  700,  0, 1, 0,  1,1,0,  4,1,1,    1,   9,38, 0, BRESTA"},
        {39, "stazione,   18550,  4,  700,  0, 1, 0,  1,1,0,  4,1,1,   30,   9,57, 0, PIANCASTELLO"},
        {59, "stazione,  108000,  6,  800,  0, 1, 0,  1,1,0,  2,1,1,    0,  11, 0, 0, VILCAR P.NUOVA"},
        {62, "segnale,    1550,   1, 4, 1,  0, 0,    1,  3,1,0, 0"},
        {105, "segnale,  106600,   2, 2, 3,  0, 0,    2,  2,1,0, 0"},
    };
    for (const Quoted& q : atLine) {
        EXPECT_EQ(line_at(lines(), q.line), q.text) << "line " << q.line;
    }

    struct InSection { int first, last; const char* text; };
    const InSection inSection[] = {
        {18, 34, "velocita,   59950,   150"},
        {18, 34, "velocita,  103500,    90"},
        {36, 59, "stazione,   11700, 22,  600,  0, 0, 0,  0,0,0,  4,1,1,    0,   0, 0, 0, P.C. CAVRIA"},
        {36, 59, "stazione,   61000,  4,  700,  0, 1, 0,  1,1,0,  4,1,1,  120,   0, 0, 0, ROCCAVERA"},
        {62, 105, "segnale,    2700,   2, 4, 1,  0, 0,    2,  2,1,0, 0"},
        {62, 105, "segnale,   27600,   1, 4, 1,  0, 0,    1,  3,1,0, 0"},
        {62, 105, "segnale,   28800,   2, 3, 1,  0, 0,    2,  2,1,0, 0"},
        {62, 105, "segnale,   84100,   1, 4, 0,  0, 0,    1,  3,0,0, 0"},
        {62, 105, "segnale,  101100,   2, 4, 1,  1, 0,    2,  2,1,0, 0"},
    };
    for (const InSection& q : inSection) {
        int found = 0;
        for (int n = q.first; n <= q.last; ++n) found += line_at(lines(), n) == q.text;
        EXPECT_EQ(found, 1) << q.text;
    }
}

TEST(TrainDocument, SpeedLimitsRiseInPositionFromZeroAndFitTheirSteps) {
    const std::vector<SpeedRow>& speeds = parsed().speeds;
    ASSERT_EQ(speeds.size(), 17u);
    EXPECT_EQ(speeds.front().position, 0);
    EXPECT_EQ(speeds.back().position, 107000);
    for (size_t i = 0; i < speeds.size(); ++i) {
        const SpeedRow& s = speeds[i];
        EXPECT_GT(s.speed, 0) << "line " << s.line;
        EXPECT_LE(s.speed, 160) << "line " << s.line << ": above the train's top speed";
        EXPECT_LE((s.position + 100) / 50.0, kLastCell) << "line " << s.line;
        if (i > 0) {
            EXPECT_GT(s.position, speeds[i - 1].position) << "line " << s.line;
        }
    }
}

// The values each station field takes over all rows.
TEST(TrainDocument, StationFieldsTakeExactlyTheirValueSets) {
    const std::vector<StationRow>& stations = parsed().stations;
    ASSERT_EQ(stations.size(), 24u);
    const std::map<int, std::set<int64_t>> expected = {
        {2, {4, 6, 12, 22, 24, 25, 28}}, {3, {400, 500, 600, 700, 800}}, {4, {0}},     {5, {0, 1}},
        {6, {0}},                        {7, {0, 1}},                    {8, {0, 1}},  {9, {0}},
        {10, {0, 2, 4}},                 {11, {0, 1, 2}},                {12, {0, 1, 2}},
        {13, {0, 1, 30, 60, 120, 230}},  {14, {0, 9, 10, 11}},           {15, {0, 7, 38, 57}},
        {16, {0}},
    };
    for (const auto& [field, values] : expected) {
        std::set<int64_t> seen;
        for (const StationRow& s : stations) seen.insert(s.number[field - 1]);
        EXPECT_EQ(seen, values) << "field " << field;
    }
}

// Extent of a station as the train description reader computes it.
std::pair<int64_t, int64_t> extent(const StationRow& s) {
    int64_t p = s.position(), len = s.length(), t = s.type();
    if (t == 5 || t == 6) return {p - len, p + 150};
    if (t == 7 || t == 8) return {p - len, p + len};
    int64_t end = s.number[5] != 0 ? round_half_even(p + len / 2.0 + 50) : round_half_even(p + len / 2.0);
    return {round_half_even(p - len / 2.0), end};
}

TEST(TrainDocument, StationsStandInRouteOrderWithRoomAndSpacing) {
    const std::vector<StationRow>& stations = parsed().stations;
    ASSERT_EQ(stations.size(), 24u);
    EXPECT_EQ(stations.front().position(), 0);
    EXPECT_EQ(stations.back().position(), 108000);
    EXPECT_EQ(stations[3].name, "PIANCASTELLO");
    for (size_t i = 0; i < stations.size(); ++i) {
        const StationRow& s = stations[i];
        EXPECT_EQ(s.position() % 50, 0) << "line " << s.line;
        EXPECT_EQ(s.length() % 100, 0) << "line " << s.line;
        EXPECT_LE((s.position() + 800) / 50.0, kLastCell) << "line " << s.line;
        auto [start, end] = extent(s);
        if (s.type() < 25) {
            EXPECT_GT(end, 100) << "line " << s.line;
            EXPECT_LE(round_half_even(end / 50.0 - 1), kLastCell) << "line " << s.line;
        }
        if (i > 0) {
            EXPECT_GT(s.position(), stations[i - 1].position()) << "line " << s.line;
            EXPECT_GE(start - 350, extent(stations[i - 1]).second) << "line " << s.line;
        }
        int64_t seconds = (s.number[13] * 60 + s.number[14]) * 60 + s.number[15];
        EXPECT_TRUE(seconds == 0 || (seconds >= 9 * 3600 && seconds <= 11 * 3600)) << "line " << s.line;
    }
}

TEST(TrainDocument, SignalsTakeTheirValueSetsInRouteOrder) {
    const std::vector<SignalRow>& signals = parsed().signals;
    ASSERT_EQ(signals.size(), 44u);
    EXPECT_EQ(signals.front().number[0], 1550);
    EXPECT_EQ(signals.back().number[0], 106600);
    std::map<int64_t, int> kinds;
    for (const SignalRow& s : signals) ++kinds[s.number[1]];
    EXPECT_EQ(kinds, (std::map<int64_t, int>{{1, 21}, {2, 23}}));
    const std::map<int, std::set<int64_t>> expected = {
        {3, {2, 3, 4}}, {4, {0, 1, 3, 4}}, {5, {0, 1}}, {6, {0}}, {7, {1, 2}},
        {8, {2, 3}},    {9, {0, 1}},       {10, {0}},   {11, {0}},
    };
    for (const auto& [field, values] : expected) {
        std::set<int64_t> seen;
        for (const SignalRow& s : signals) seen.insert(s.number[field - 1]);
        EXPECT_EQ(seen, values) << "field " << field;
    }
    for (size_t i = 0; i < signals.size(); ++i) {
        const SignalRow& s = signals[i];
        EXPECT_LE((s.number[0] + 100) / 50.0, kLastCell) << "line " << s.line;
        if (i > 0) {
            EXPECT_GT(s.number[0], signals[i - 1].number[0]) << "line " << s.line;
        }
    }
}

}  // namespace
