// The warnings of the route's layout and the timetable, each from a fixture
// that compiles without an error but holds the mistake the warning is for.
#include "tools/diagnostics/route_and_timetable_warnings.h"

#include <gtest/gtest.h>

#include "tools/diagnostics/test_warning_fixtures.h"

namespace warning_fixtures {

const std::vector<Fixture> kRouteAndTimetableFixtures = {
    {.name = "scheduled times going backwards",
     .train = {station(1000, "10,0,0", "ALFA"), station(5000, "9,0,0", "BETA")},
     .expected = {{'T', 6, "W106"}}},
    {.name = "a time no train can keep",
     .train = {station(1000, "10,0,0", "ALFA"), station(9000, "10,1,0", "BETA")},
     .expected = {{'T', 6, "W107"}}},
    {.name = "clock after the first departure",
     .train = {"orologio, 11 0 0", station(1000, "10,0,0", "ALFA")},
     .expected = {{'T', 5, "W108"}}},
    {.name = "speed change without a board", .train = {"velocita, 3000, 60"}, .expected = {{'T', 5, "W109"}}},
    {.name = "two stations with one name",
     .train = {station(1000, "0,0,0", "ALFA"), station(5000, "0,0,0", "ALFA")},
     .expected = {{'T', 6, "W110"}}},
    {.name = "stop cell over a speed board",
     .line = {"indicatori_vmax, 1200, 80, 80, 80, 0, , , , 0"},  // cell 25, the stop cell of the station
     .train = {station(1000, "0,0,0", "ALFA")},
     .expected = {{'T', 5, "W111"}}},
    {.name = "speed rows out of order",
     .train = {"velocita, 3000, 80", "velocita, 2000, 80"},
     .expected = {{'T', 6, "W114"}}},
    {.name = "speed profile starting late",
     .expected = {{'T', 2, "W119"}},
     .wholeTrain = "[generale]\r\nvelocita, 500, 80\r\naderenza, 0, 100\r\n[fine]\r\n"},
    {.name = "curve starting inside the one before",
     .line = {"curvad1, 1000, 500", "curvad1, 1200, 500"},
     .expected = {{'L', 6, "W126"}},
     .message = "the curve from 1200 m starts before the curve before it (line 5) ends at 1500 m; the line turns by "
                "this curve only from 1500 m to 1700 m; start it at 1500 m or later"},
    {.name = "curves that touch", .line = {"curvad1, 1000, 500", "curvas2, 1500, 500"}},
};

}  // namespace warning_fixtures

namespace {

using namespace warning_fixtures;

TEST(RouteAndTimetableWarnings, EachFixtureGivesItsWarningAndNoError) {
    expect_fixtures(kRouteAndTimetableFixtures);
}

// The time the train needs at the speed limit, against the time it is given.
TEST(RouteAndTimetableWarnings, MessagesNameTheTimeNeeded) {
    expect_pieces({
        {"time at the limit", {}, {station(1000, "10,0,0", "ALFA"), station(9000, "10,1,0", "BETA")},
         "scheduled 1 min 0 s after \"ALFA\" (line 5), but even at the speed limit all the way the train needs 6 min 0 s"},
    });
}

}  // namespace
