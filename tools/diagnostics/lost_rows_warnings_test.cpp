// The warnings of rows lost or read out of place, each from a fixture that
// compiles without an error but holds the mistake the warning is for.
#include "tools/diagnostics/lost_rows_warnings.h"

#include <gtest/gtest.h>

#include "tools/diagnostics/test_warning_fixtures.h"

namespace warning_fixtures {

const std::vector<Fixture> kLostRowFixtures = {
    {.name = "misspelt keyword", .train = {"velocta, 2000, 60"}, .expected = {{'T', 5, "W101"}}},
    {.name = "a value too many", .train = {"sabbia, 300, 5"}, .expected = {{'T', 5, "W101"}}},
    {.name = "sand given twice", .train = {"sabbia, 300", "sabbia, 200"}, .expected = {{'T', 6, "W105"}}},
    {.name = "a blank inside a number", .line = {"pendenza, 2000, 1 5"}, .expected = {{'L', 5, "W116"}}},
    {.name = "train description without its general section",
     .expected = {{'T', 0, "W118"}},
     .wholeTrain = "velocita, 0, 80\r\naderenza, 0, 100\r\n[fine]\r\n"},
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

}  // namespace warning_fixtures

namespace {

using namespace warning_fixtures;

TEST(LostRowWarnings, EachFixtureGivesItsWarningAndNoError) { expect_fixtures(kLostRowFixtures); }

TEST(LostRowWarnings, MessagesNameTheKeywordMeant) {
    expect_pieces({
        {"nearest keyword", {}, {"velocta, 2000, 60"}, "did you mean \"velocita\""},
    });
}

// A keyword is offered only when its kind is read where the row stands, the
// row's values would read as its record, and it is a near spelling of the field.
TEST(LostRowWarnings, KeywordsAreOfferedOnlyWhereTheRowWouldRead) {
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

}  // namespace
