// The built-in documents together: the timetable sheet agrees with the train
// description, the speeds agree with the speed boards, no two features share
// a cell, and the scenario compiles without an error code.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "core/form1.h"
#include "core/rounding.h"
#include "tools/testing/test_folder.h"
#include "documents/test_documents.h"

namespace {

const LineDescription& line_description() {
    static const LineDescription d = parse_line_description(built_in_documents().linea.lines);
    return d;
}

const TrainDescription& train_description() {
    static const TrainDescription t = parse_train_description(built_in_documents().treno.lines);
    return t;
}

const std::vector<SheetRow>& sheet() {
    static const std::vector<SheetRow> rows = parse_sheet_body(built_in_documents().scheda.lines);
    return rows;
}

std::string without_blanks(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c != ' ') out += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    }
    return out;
}

// The sheet writes a place as the station description names it, in any
// letter case and spacing, or shortened after a full stop ("VILCAR P.N.").
bool same_place(const std::string& sheetName, const std::string& stationName) {
    std::string s = without_blanks(sheetName), t = without_blanks(stationName);
    if (s == t) return true;
    return s.size() > 1 && s.back() == '.' && t.compare(0, s.size() - 1, s, 0, s.size() - 1) == 0;
}

int64_t station_end(const StationRow& s) {
    if (s.type() == 5 || s.type() == 6) return s.position() + 150;
    if (s.type() == 7 || s.type() == 8) return s.position() + s.length();
    return round_half_even(s.position() + s.length() / 2.0 + (s.number[5] != 0 ? 50 : 0));
}

TEST(BuiltInScenario, SheetPlacesAreTheStationsWithTheirTimes) {
    const std::vector<StationRow>& stations = train_description().stations;
    std::vector<SheetRow> places;
    for (const SheetRow& r : sheet()) {
        if (r.kind == SheetKind::Place) places.push_back(r);
    }
    ASSERT_EQ(places.size(), stations.size());
    for (size_t i = 0; i < places.size(); ++i) {
        const SheetRow& p = places[i];
        const StationRow& s = stations[i];
        EXPECT_TRUE(same_place(p.name, s.name)) << "line " << p.line << " against " << s.name;
        EXPECT_LE(std::abs(p.progressive - s.position()), 600) << "line " << p.line;
        int64_t scheduled = s.number[13] * 60 + s.number[14];  // whole minutes
        EXPECT_EQ(s.number[15], 0) << s.name;
        if (scheduled == 0) {
            EXPECT_EQ(p.time, TimeKind::Passing) << "line " << p.line;
            continue;
        }
        if (i + 1 == places.size()) {
            EXPECT_EQ(p.time, TimeKind::Arrival) << "line " << p.line;
            EXPECT_EQ(sheet_minutes(p.first), scheduled) << "line " << p.line;
        } else {
            EXPECT_TRUE(p.time == (i == 0 ? TimeKind::Departure : TimeKind::Stop)) << "line " << p.line;
            EXPECT_EQ(sheet_minutes(i == 0 ? p.first : p.second), scheduled) << "line " << p.line;
        }
    }
}

// A speed board group is a board alone or a countdown of three; the train
// keeps the second speed of the boards.
struct BoardGroup { int64_t last; int64_t speed; };

std::vector<BoardGroup> board_groups() {
    std::vector<BoardGroup> groups;
    for (const BoardRow& b : line_description().boards) {
        if (b.count == 0) groups.push_back({b.position, b.b});
    }
    return groups;
}

// The speed in force at a point as the boards show it: the second speed of the
// last board at or before it, or the first speed-limit row before any board.
int64_t board_speed_at(int64_t position) {
    int64_t speed = train_description().speeds.front().speed;
    for (const BoardRow& b : line_description().boards) {
        if (b.position <= position) speed = b.b;
    }
    return speed;
}

TEST(BuiltInScenario, SpeedLimitsFollowTheBoardGroups) {
    const std::vector<SpeedRow>& speeds = train_description().speeds;
    // The groups that change the speed in force, from the first row's speed on.
    std::vector<BoardGroup> changes;
    int64_t inForce = speeds.front().speed;
    for (const BoardGroup& g : board_groups()) {
        if (g.speed != inForce) changes.push_back(g);
        inForce = g.speed;
    }
    // Between the first row and the closing row, one row per change, taking
    // effect at its group's last board or up to 1000 m after it.
    ASSERT_EQ(changes.size() + 2, speeds.size());
    for (size_t k = 0; k < changes.size(); ++k) {
        const SpeedRow& s = speeds[k + 1];
        EXPECT_EQ(s.speed, changes[k].speed) << "line " << s.line;
        EXPECT_GE(s.position, changes[k].last) << "line " << s.line;
        EXPECT_LE(s.position, changes[k].last + 1000) << "line " << s.line;
    }
    // The closing row keeps the last boards' speed to the end of the line.
    EXPECT_EQ(speeds.back().speed, inForce);
    EXPECT_GT(speeds.back().position, changes.back().last);
}

TEST(BuiltInScenario, SheetSpeedsFitTheBoards) {
    int placesWithSpeeds = 0;
    for (const SheetRow& r : sheet()) {
        if (!r.lim) continue;
        ASSERT_TRUE(r.marc) << "line " << r.line;
        EXPECT_LE(*r.marc, *r.lim) << "line " << r.line;
        EXPECT_EQ(*r.lim, board_speed_at(r.progressive)) << "line " << r.line;
        if (r.kind == SheetKind::Board) {
            bool standsThere = false;
            for (const BoardRow& b : line_description().boards) standsThere = standsThere || b.position == r.progressive;
            EXPECT_TRUE(standsThere) << "line " << r.line;
        }
        placesWithSpeeds += r.kind == SheetKind::Place;
    }
    EXPECT_EQ(placesWithSpeeds, 1);
}

// Every feature that claims a cell, in the order the readers place them.
TEST(BuiltInScenario, NoTwoFeaturesShareACell) {
    const int64_t last = round_half_even((line_description().routeLength + 7000) / 50.0);
    std::map<int64_t, std::string> taken;
    auto claim = [&](int64_t cell, const std::string& what) {
        EXPECT_GT(cell, 1) << what;  // cell 1 carries reserved fields
        EXPECT_LE(cell, last) << what;
        auto [it, fresh] = taken.emplace(cell, what);
        EXPECT_TRUE(fresh) << what << " lands on " << it->second << " in cell " << cell;
    };
    for (const BoardRow& b : line_description().boards) {
        claim(round_half_even(b.position / 50.0 + 1), "board at line " + std::to_string(b.line) + " of the line");
    }
    for (const IndicationRow& r : line_description().indications) {
        claim(round_half_even(r.position / 50.0 + 1), "sign at line " + std::to_string(r.line) + " of the line");
    }
    for (const StationRow& s : train_description().stations) {
        if (s.type() < 25) claim(round_half_even(station_end(s) / 50.0 - 1), "station " + s.name);
    }
    for (const SignalRow& s : train_description().signals) {
        int64_t cell = round_half_even(s.number[0] / 50.0 + 1);
        claim(cell, "signal at line " + std::to_string(s.line) + " of the train");
        EXPECT_GE(cell - 8, 0) << "approach cells of line " << s.line;
    }
}

TEST(BuiltInScenario, CompilesWithoutAnErrorCode) {
    TestFolder folder;
    Form1 form(folder.path());
    form.routeName = "Bresta_Vilcar";
    form.trainCode = "RX907";
    form.dati_linea();
    form.dati_treno();
    form.memorizza_percorso(1);
    EXPECT_EQ(form.errorCode, 0) << "line " << form.errorLine << " of document " << static_cast<int>(form.errorDocument);
    EXPECT_FALSE(folder.exists(form.line_document_name()));
    EXPECT_FALSE(folder.exists(form.train_document_name()));
    ASSERT_EQ(form.grid.upper(), 2260);

    // The worked examples that rest on the built-in rows.
    struct Cell { int64_t index; int kind, value1, value2, value4; };
    const Cell cells[] = {
        {32, 1, 43, 11, 4},    {553, 1, 43, 11, 4},   {577, 1, 32, 11, 8},   {308, 6, 1500, 1700, 20},
        {6, 10, 1, 0, 0},      {377, 10, 4, 0, 0},    {2162, 10, 24, 0, 0},  {57, 14, 80, 0, 0},
        {78, 14, 79, 0, 0},    {221, 14, 78, 0, 0},   {223, 14, 77, 0, 0},
    };
    for (const Cell& c : cells) {
        const TrackCell& t = form.grid[c.index];
        EXPECT_EQ(t.kind, c.kind) << "cell " << c.index;
        EXPECT_EQ(t.value1, c.value1) << "cell " << c.index;
        EXPECT_EQ(t.value2, c.value2) << "cell " << c.index;
        EXPECT_EQ(t.value4, c.value4) << "cell " << c.index;
    }
    struct Approach { int64_t index; int code; };
    const Approach approaches[] = {
        {30, 41}, {24, 44}, {551, 41}, {545, 44}, {575, 81}, {569, 84}, {5, 81}, {2, 84}, {376, 81}, {373, 84},
    };
    for (const Approach& a : approaches) EXPECT_EQ(form.grid[a.index].approachCode, a.code) << "cell " << a.index;
    EXPECT_EQ(form.grid[1].value1, 5121);
    for (int64_t i = 0; i <= 126; ++i) {
        EXPECT_EQ(form.grid[i].aux1, 15) << "cell " << i;
    }
    EXPECT_EQ(form.grid[127].aux1, 22);
    // 90 km/h from 103500 m up to the last speed board, 106050 m; 30 km/h from there on.
    for (int64_t i = 2070; i <= 2120; ++i) {
        EXPECT_EQ(form.grid[i].aux1, 18) << "cell " << i;
    }
    for (int64_t i = 2121; i <= 2257; ++i) {
        EXPECT_EQ(form.grid[i].aux1, 6) << "cell " << i;
    }
    for (int64_t i = 0; i <= 123; ++i) {
        EXPECT_EQ(form.grid[i].aux3, 100) << "cell " << i;
    }
    for (int64_t i = 60; i <= 351; ++i) {
        EXPECT_EQ(form.grid[i].scenery, 1) << "cell " << i;
    }

    const ScenarioTable& s = form.scenario;
    EXPECT_EQ(s[1].label, "BRESTA");
    EXPECT_EQ(s[1].long1, -350);
    EXPECT_EQ(s[1].long2, 350);
    EXPECT_EQ(s[1].long4, 34680);
    EXPECT_EQ(s[4].label, "PIANCASTELLO");
    EXPECT_EQ(s[4].long4, 35820);
    EXPECT_EQ(s[24].label, "VILCAR P.NUOVA");
    EXPECT_EQ(s[24].long1, 107200);
    EXPECT_EQ(s[24].long2, 108150);
    EXPECT_EQ(s[24].long4, 39600);
    EXPECT_TRUE(s[25].label.empty());
    EXPECT_EQ(s[77].label, "(P.C.CAVRIA)");
    EXPECT_EQ(s[80].label, line_description().indications.front().caption);
    EXPECT_EQ(s[84].long1, 135);
    EXPECT_EQ(s[84].long2, 106000);
    EXPECT_EQ(s[84].long3, 8);
    EXPECT_EQ(s[86].int1, 300);
    EXPECT_EQ(s[86].int3, 9);
    EXPECT_EQ(s[86].int4, 37);
    EXPECT_EQ(s[86].long2, 107500);
    EXPECT_EQ(s[86].long3, 4);
    EXPECT_EQ(s[81].long1, 1000);
}

}  // namespace
