// The warnings of values stored other than written, each from a fixture that
// compiles without an error but holds the mistake the warning is for.
#include "tools/diagnostics/stored_value_warnings.h"

#include <gtest/gtest.h>

#include "tools/diagnostics/test_warning_fixtures.h"

namespace warning_fixtures {

const std::vector<Fixture> kStoredValueFixtures = {
    {.name = "speed not on a 5 km/h step",
     .line = {"indicatori_vmax, 2000, 70, 70, 70, 0, , , , 0"},
     .train = {"velocita, 2000, 72"},
     .expected = {{'T', 5, "W102"}}},
    {.name = "adhesion of 300 %", .train = {"aderenza, 2000, 300"}, .expected = {{'T', 5, "W103"}}},
    {.name = "signal aspect beyond 16 bits",
     .train = {"segnale, 3000, 1, 4000, 1, 0, 0, 1, 3, 1, 0, 0"},
     .expected = {{'T', 5, "W104"}}},
    {.name = "empty speed field",
     .train = {"velocita, 3000,"},
     .expected = {{'T', 5, "W109"}, {'T', 5, "W112"}}},
    {.name = "gradient of 200 per mille", .line = {"pendenza, 2000, 200"}, .expected = {{'L', 5, "W113"}}},
    {.name = "signal off the 50 m cells",
     .train = {"segnale, 3030, 1, 4, 1, 0, 0, 1, 3, 1, 0, 0"},
     .expected = {{'T', 5, "W115"}}},
    {.name = "station name saved as UTF-8",
     .train = {station(1000, "0,0,0", "PIANCASTELL\xC3\x92")},
     .expected = {{'T', 5, "W117"}}},
    {.name = "75 minutes in a scheduled time",
     .train = {station(1000, "8,75,0", "ALFA")},
     .expected = {{'T', 5, "W120"}},
     .message = "the scheduled time 8,75,0 of \"ALFA\" has minutes outside 0 to 59; it is stored as 33300 seconds "
                "after midnight, 9:15:00; write hours, minutes and seconds, such as 9,15,0"},
    {.name = "a clock at 25 o'clock",
     .train = {"orologio, 25 0 0"},
     .expected = {{'T', 5, "W121"}},
     .message = "the clock is set to 25 h 0 min 0 s and stored so, but hours run from 0 to 23 and nothing is "
                "carried over; write the time of day the run starts, such as 9 37 0"},
    {.name = "no cars",
     .expected = {{'T', 2, "W122"}},
     .wholeTrain = "[generale]\r\nnumero vetture, 0\r\nvelocita, 0, 80\r\naderenza, 0, 100\r\n[fine]\r\n",
     .message = "the number of cars is 0 and is stored so: the train has no cars; write how many cars it has, "
                "such as 8"},
    {.name = "montagna stretch ending before its start",
     .line = {"montagna, 3000, 2000, 1"},
     .expected = {{'L', 5, "W123"}},
     .message = "the montagna stretch from 3000 m to 2000 m ends before it starts, so it covers no grid cell and "
                "nothing of it is stored; write its end after its start"},
    {.name = "montagna type 99",
     .line = {"montagna, 3000, 5000, 99"},
     .expected = {{'L', 5, "W124"}},
     .message = "montagna type 99 is outside 1 to 20 (1 to 10, or 11 to 20 with markers); type 89 is stored in "
                "its cells; write the type you mean"},
    {.name = "a station without a name",
     .train = {station(1000, "0,0,0", "")},
     .expected = {{'T', 5, "W125"}},
     .message = "the station at 1000 m has an empty name: the timetable and the simulator show no name for it; "
                "write its name after the last number"},
};

}  // namespace warning_fixtures

namespace {

using namespace warning_fixtures;

TEST(StoredValueWarnings, EachFixtureGivesItsWarningAndNoError) { expect_fixtures(kStoredValueFixtures); }

// The messages say what was written and what is stored.
TEST(StoredValueWarnings, MessagesNameTheStoredValue) {
    expect_pieces({
        {"stored speed", {"indicatori_vmax, 2000, 70, 70, 70, 0, , , , 0"}, {"velocita, 2000, 72"}, "70 km/h is stored"},
        {"stored adhesion", {}, {"aderenza, 2000, 300"}, "44 %"},
        {"wrapped gradient", {"pendenza, 2000, 200"}, {}, "-56 per mille is stored"},
        {"landing cell", {}, {"segnale, 46530, 1, 4, 1, 0, 0, 1, 3, 1, 0, 0"}, "the cell of 46550 m"},
        {"both spellings", {}, {station(1000, "0,0,0", "PIANCASTELL\xC3\x92")}, "PIANCASTELL\xC3\x83\xE2\x80\x99"},
    });
}

}  // namespace
