// One fixture per warning of the check: a small pair of documents that
// compiles without an error but holds the mistake the warning is for.
#include "tools/diagnostics/warnings.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>
#include <vector>

#include "tools/diagnostics/checker.h"
#include "tools/codes/code.h"

namespace {

// A 10,000 m route (grid cells 0 to 340) and a train with its profiles from 0 m.
const std::vector<std::string> kLineHead = {
    "[generale]",                             // 1
    "lunghezza percorso,    10000",           // 2
    "progressiva chilometrica uno, 0, 0, 0",  // 3
    "[cartelli]",                             // 4
};
const std::vector<std::string> kTrainHead = {
    "[generale]",         // 1
    "numero vetture, 8",  // 2
    "velocita, 0, 80",    // 3
    "aderenza, 0, 100",   // 4
};

std::string document(const std::vector<std::string>& head, const std::vector<std::string>& rows) {
    std::string text;
    for (const auto& l : head) text += l + "\r\n";
    for (const auto& l : rows) text += l + "\r\n";
    return text + "[fine]\r\n";
}

// A station row at `position` (type 4, 600 m) with a scheduled time and a name.
std::string station(int position, const std::string& time, const std::string& name) {
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

const Fixture kFixtures[] = {
    {.name = "misspelt keyword", .train = {"velocta, 2000, 60"}, .expected = {{'T', 5, "W101"}}},
    {.name = "a value too many", .train = {"sabbia, 300, 5"}, .expected = {{'T', 5, "W101"}}},
    {.name = "speed not on a 5 km/h step",
     .line = {"indicatori_vmax, 2000, 70, 70, 70, 0, , , , 0"},
     .train = {"velocita, 2000, 72"},
     .expected = {{'T', 5, "W102"}}},
    {.name = "adhesion of 300 %", .train = {"aderenza, 2000, 300"}, .expected = {{'T', 5, "W103"}}},
    {.name = "signal aspect beyond 16 bits",
     .train = {"segnale, 3000, 1, 4000, 1, 0, 0, 1, 3, 1, 0, 0"},
     .expected = {{'T', 5, "W104"}}},
    {.name = "sand given twice", .train = {"sabbia, 300", "sabbia, 200"}, .expected = {{'T', 6, "W105"}}},
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
    {.name = "empty speed field",
     .train = {"velocita, 3000,"},
     .expected = {{'T', 5, "W109"}, {'T', 5, "W112"}}},
    {.name = "gradient of 200 per mille", .line = {"pendenza, 2000, 200"}, .expected = {{'L', 5, "W113"}}},
    {.name = "speed rows out of order",
     .train = {"velocita, 3000, 80", "velocita, 2000, 80"},
     .expected = {{'T', 6, "W114"}}},
    {.name = "signal off the 50 m cells",
     .train = {"segnale, 3030, 1, 4, 1, 0, 0, 1, 3, 1, 0, 0"},
     .expected = {{'T', 5, "W115"}}},
    {.name = "a blank inside a number", .line = {"pendenza, 2000, 1 5"}, .expected = {{'L', 5, "W116"}}},
    {.name = "station name saved as UTF-8",
     .train = {station(1000, "0,0,0", "PIANCASTELL\xC3\x92")},
     .expected = {{'T', 5, "W117"}}},
    {.name = "train description without its general section",
     .expected = {{'T', 0, "W118"}},
     .wholeTrain = "velocita, 0, 80\r\naderenza, 0, 100\r\n[fine]\r\n"},
    {.name = "speed profile starting late",
     .expected = {{'T', 2, "W119"}},
     .wholeTrain = "[generale]\r\nvelocita, 500, 80\r\naderenza, 0, 100\r\n[fine]\r\n"},
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
    {.name = "curve starting inside the one before",
     .line = {"curvad1, 1000, 500", "curvad1, 1200, 500"},
     .expected = {{'L', 6, "W126"}},
     .message = "the curve from 1200 m starts before the curve before it (line 5) ends at 1500 m; the line turns by "
                "this curve only from 1500 m to 1700 m; start it at 1500 m or later"},
    {.name = "curves that touch", .line = {"curvad1, 1000, 500", "curvas2, 1500, 500"}},
    {.name = "a general row below the headers",
     .line = {"sfondo uno, 4000"},
     .expected = {{'L', 5, "W127"}},
     .message = "\"sfondo uno\" starts a background row, a record of section [generale], but it stands in section "
                "[cartelli], and general rows are read only above \"[cartelli]\" (line 4), the header that ends the "
                "general section, so the row is passed over and the whole record is lost; move the row above "
                "\"[cartelli]\""},
    {.name = "a train row in the line description",
     .line = {"velocita, 2000, 60"},
     .expected = {{'L', 5, "W127"}},
     .message = "\"velocita\" starts a speed limit row, a record of the train description, but it stands in the line "
                "description, whose reader does not read it, so the row is passed over and the whole record is lost; "
                "move the row to the train description, below the \"[vel_limite]\" header"},
    {.name = "a line row in the train description",
     .train = {"pendenza, 2000, 5"},
     .expected = {{'T', 5, "W127"}},
     .message = "\"pendenza\" starts a gradient row, a record of the line description, but it stands in the train "
                "description, whose reader does not read it, so the row is passed over and the whole record is lost; "
                "move the row to the line description, below the \"[pendenze]\" header"},
    {.name = "a comma in a station name",
     .train = {station(1000, "0,0,0", "BORGO, SAN MARCO")},
     .expected = {{'T', 5, "W128"}},
     .message = "the name of this station row holds a comma, so it is stored as \"BORGO\" and \"SAN MARCO\", after "
                "the comma, is read as a further field that the reader passes over; write it without a comma, such "
                "as \"BORGO SAN MARCO\""},
    // Headers after the general section only guide the reader's eye: any row of the part is read under any.
    {.name = "a gradient row among the curves", .line = {"[curve]", "pendenza, 2000, 5"}},
    {.name = "a signal row among the stations",
     .train = {"[stazioni]", "segnale, 3000, 1, 4, 1, 0, 0, 1, 3, 1, 0, 0"}},
    {.name = "a comma after a station name", .train = {station(1000, "0,0,0", "ALFA,")}},
    {.name = "two commas in a caption",
     .line = {"cartello_indicatore, 1100, PONTE, NORD, 2"},
     .expected = {{'L', 5, "W128"}},
     .message = "the caption of this indication board row holds a comma, so it is stored as \"PONTE\" and \"NORD, "
                "2\", after the comma, is read as further fields that the reader passes over; write it without a "
                "comma, such as \"PONTE NORD 2\""},
    {.name = "a section header without its closing bracket",
     .line = {"[pendenze", "pendenza, 2000, 5"},
     .expected = {{'L', 5, "W101"}},
     .message = "\"[pendenze\" lacks the closing bracket of a section header, so it opens no section: the reader "
                "passes it over and reads the rows after it in the section before it; write \"[pendenze]\""},
    {.name = "a unit after a number",
     .train = {"sabbia, 300 kg"},
     .expected = {{'T', 5, "W101"}},
     .message = "\"kg\" after the number 300 is not read with it: the number ends at the blank, and a unit after it "
                "is read as a further field, which the reader passes over; write the number only"},
    {.name = "a keyword with a dash",
     .line = {"pendenza-media, 2000, 5"},
     .expected = {{'L', 5, "W101"}},
     .message = "\"pendenza-media\" holds a dash, so the reader takes it for a dash field and passes it over, and "
                "reads the values after it as further keyword fields: the whole record is lost; write \"pendenza\", "
                "without a dash"},
};

std::vector<Found> found_in(const CheckResult& result) {
    std::vector<Found> out;
    for (const Diagnostic& d : result.diagnostics)
        out.emplace_back(d.file == "train.txt" ? 'T' : 'L', d.line, code_name(d.code));
    return out;
}

CheckResult check_fixture(const Fixture& f) {
    const std::string train = f.wholeTrain != nullptr ? f.wholeTrain : document(kTrainHead, f.train);
    return check_sources({"line.txt", document(kLineHead, f.line)}, {"train.txt", train}, ScenarioNames{}, 50);
}

TEST(CheckWarnings, EachFixtureGivesItsWarningAndNoError) {
    for (const Fixture& f : kFixtures) {
        const CheckResult result = check_fixture(f);
        EXPECT_EQ(found_in(result), f.expected) << f.name;
        EXPECT_EQ(result.errors, 0) << f.name;
        for (const Diagnostic& d : result.diagnostics) EXPECT_FALSE(d.message.empty()) << f.name;
        if (f.message != nullptr && !result.diagnostics.empty()) {
            EXPECT_EQ(result.diagnostics.front().message, f.message) << f.name;
        }
    }
}

TEST(CheckWarnings, TheSoundBaseGivesNone) {
    const Fixture base{.name = "base"};
    EXPECT_TRUE(check_fixture(base).diagnostics.empty());
}

TEST(CheckWarnings, EveryWarningCodeHasAFixture) {
    std::set<std::string> covered;
    for (const Fixture& f : kFixtures) {
        for (const Found& found : f.expected) covered.insert(std::get<2>(found));
    }
    size_t warnings = 0;
    for (const CodeEntry& entry : kCodes) {
        if (entry.code.severity() != Severity::Warning) continue;
        ++warnings;
        EXPECT_TRUE(covered.count(code_name(entry.code))) << code_name(entry.code) << " has no fixture";
    }
    EXPECT_GT(warnings, 0u);
}

// A keyword is offered only when its kind is read where the row stands, the
// row's values would read as its record, and it is a near spelling of the field.
TEST(CheckWarnings, KeywordsAreOfferedOnlyWhereTheRowWouldRead) {
    struct Case {
        const char* name;
        std::vector<std::string> line{};   // after the line head's "[cartelli]"
        std::vector<std::string> train{};
        std::string ending;  // how the W101 message ends
    };
    const std::string none = "write the record's keyword";
    const Case cases[] = {
        {.name = "a train keyword", .train = {"velocta, 2000, 60"}, .ending = "did you mean \"velocita\"?"},
        {.name = "a one-value row", .train = {"sabia, 300"}, .ending = "did you mean \"sabbia\"?"},
        {.name = "a row ending in its name",
         .train = {"stazone, 1000, 4, 600, 0, 0, 0, 1,1,0, 4,1,1, 1, 0,0,0, ALFA"},
         .ending = "did you mean \"stazione\"?"},
        {.name = "a line keyword in the train description", .train = {"pendenz, 2000, 5"}, .ending = none},
        {.name = "a value missing", .train = {"velocta, 2000"}, .ending = none},
        {.name = "a value too many", .train = {"velocta, 2000, 60, 5"}, .ending = none},
        {.name = "text where a number belongs", .train = {"velocta, 2000, sessanta"}, .ending = none},
        {.name = "a name far from every keyword", .train = {"SAN MARCO, 5"}, .ending = none},
        {.name = "a line keyword", .line = {"pendenz, 2000, 5"}, .ending = "did you mean \"pendenza\"?"},
        {.name = "a curve in either form", .line = {"curvs4, 2000, 300"}, .ending = "did you mean \"curvas1\"?"},
        {.name = "a general keyword below the headers", .line = {"lunghezza percors, 10000"}, .ending = none},
        {.name = "three letters amiss", .line = {"curdenza, 2000, 5"}, .ending = "did you mean \"pendenza\"?"},
        {.name = "a bracket inside a keyword", .line = {"pendenz[a, 2000, 5"}, .ending = "did you mean \"pendenza\"?"},
        {.name = "a negative value", .line = {"pendenz, 2000, -5"}, .ending = "did you mean \"pendenza\"?"},
    };
    for (const Case& c : cases) {
        const CheckResult result =
            check_sources({"line.txt", document(kLineHead, c.line)}, {"train.txt", document(kTrainHead, c.train)},
                          ScenarioNames{}, 50);
        ASSERT_EQ(result.diagnostics.size(), 1u) << c.name;
        const Diagnostic& d = result.diagnostics.front();
        EXPECT_EQ(code_name(d.code), "W101") << c.name;
        EXPECT_TRUE(d.message.ends_with("the whole record is lost; " + c.ending)) << c.name << ": " << d.message;
    }
}

// The messages say what was found and what the compiler makes of it.
TEST(CheckWarnings, MessagesNameTheStoredValue) {
    struct Case {
        const char* name;
        std::vector<std::string> line;
        std::vector<std::string> train;
        const char* piece;
    };
    const Case cases[] = {
        {"stored speed", {"indicatori_vmax, 2000, 70, 70, 70, 0, , , , 0"}, {"velocita, 2000, 72"}, "70 km/h is stored"},
        {"stored adhesion", {}, {"aderenza, 2000, 300"}, "44 %"},
        {"wrapped gradient", {"pendenza, 2000, 200"}, {}, "-56 per mille is stored"},
        {"nearest keyword", {}, {"velocta, 2000, 60"}, "did you mean \"velocita\""},
        {"landing cell", {}, {"segnale, 46530, 1, 4, 1, 0, 0, 1, 3, 1, 0, 0"}, "the cell of 46550 m"},
        {"both spellings", {}, {station(1000, "0,0,0", "PIANCASTELL\xC3\x92")}, "PIANCASTELL\xC3\x83\xE2\x80\x99"},
        {"time at the limit", {}, {station(1000, "10,0,0", "ALFA"), station(9000, "10,1,0", "BETA")},
         "scheduled 1 min 0 s after \"ALFA\" (line 5), but even at the speed limit all the way the train needs 6 min 0 s"},
    };
    for (const Case& c : cases) {
        const std::vector<std::string> line = c.line;
        std::vector<std::string> longLine = {"[generale]", "lunghezza percorso,    100000",
                                             "progressiva chilometrica uno, 0, 0, 0", "[cartelli]"};
        const CheckResult result = check_sources({"line.txt", document(longLine, line)},
                                                 {"train.txt", document(kTrainHead, c.train)}, ScenarioNames{}, 50);
        std::string all;
        for (const Diagnostic& d : result.diagnostics) all += d.message + "\n";
        EXPECT_NE(all.find(c.piece), std::string::npos) << c.name << ":\n" << all;
    }
}

}  // namespace
