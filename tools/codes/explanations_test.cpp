#include "tools/codes/explanations.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <set>

#include "tools/codes/explanation_files.h"
#include "tools/testing/reported_codes.h"

TEST(Explanations, EveryCodeHasAllFourPartsAndNoOtherCodeHasOne) {
    for (const CodeEntry& entry : kCodes) {
        const Explanation* e = find_explanation(entry.code);
        ASSERT_NE(e, nullptr) << "no explanation for " << code_name(entry.code);
        EXPECT_EQ(e->title, entry.title) << code_name(entry.code);
        EXPECT_FALSE(e->title.empty()) << code_name(entry.code);
        EXPECT_EQ(e->title.find('\n'), std::string::npos) << code_name(entry.code);
        EXPECT_FALSE(e->meaning.empty()) << code_name(entry.code);
        EXPECT_FALSE(e->fix.empty()) << code_name(entry.code);
        const Example& x = e->example;
        const bool shown = !x.line.empty() || !x.train.empty() || x.linePlacement == Placement::Missing ||
                           x.trainPlacement == Placement::Missing;
        EXPECT_TRUE(shown) << "the example of " << code_name(entry.code) << " has no rows";
    }
    // A file named after no code of the tables is never shown.
    for (const ExplanationFile& file : explanation_files()) {
        const std::optional<Code> code = parse_code(file.code);
        EXPECT_TRUE(code && code_name(*code) == file.code) << file.code << ".md names no code";
    }
    EXPECT_EQ(explanations().size(), std::size(kCodes));
}

TEST(Explanations, TheCompilersNumbersAreWrittenIn) {
    // A name in braces the texts give for one of the compiler's numbers ({most_stations}) is one format_text knows.
    const std::regex name(R"(\{[a-z_]+\})");
    for (const Explanation& e : explanations()) {
        EXPECT_FALSE(std::regex_search(e.meaning, name)) << code_name(e.code) << ": " << e.meaning;
        EXPECT_FALSE(std::regex_search(e.fix, name)) << code_name(e.code) << ": " << e.fix;
    }
    const Explanation* slots = find_explanation(Code{kStationSlotsUsedUp});
    ASSERT_NE(slots, nullptr);
    EXPECT_NE(slots->meaning.find("at most 78 - S"), std::string::npos) << slots->meaning;
}

TEST(Explanations, EveryExampleYieldsExactlyItsCode) {
    for (const Explanation& e : explanations()) {
        std::vector<Code> expected = e.example.alsoReported;
        expected.push_back(e.code);
        std::vector<Code> reported = reported_codes(e.example);
        std::sort(expected.begin(), expected.end());
        std::sort(reported.begin(), reported.end());
        EXPECT_EQ(reported, expected) << "example of " << code_name(e.code);
    }
}

TEST(Explanations, TheSmallestScenarioIsSound) { EXPECT_EQ(reported_codes(Example{}), std::vector<Code>{}); }

TEST(Explanations, LongExamplesAreShownShortened) {
    const std::string text = render_explanation(*find_explanation(kBoardListFull));
    EXPECT_NE(text.find("(B1)"), std::string::npos);
    EXPECT_NE(text.find("... (76 more rows like these)"), std::string::npos) << text;
    EXPECT_NE(text.find("(B81)"), std::string::npos);
    EXPECT_EQ(text.find("(B40)"), std::string::npos);
}

TEST(Explanations, LongRowsAreShownByTheirStart) {
    const std::string text = render_explanation(*find_explanation(kLabelTooLong));
    EXPECT_NE(text.find(", 0, AAAAAAAAA... (65527 more characters)\n"), std::string::npos) << text;
    EXPECT_EQ(text.find(std::string(100, 'A')), std::string::npos);
}

TEST(ExplainHint, NamesEachPrintedCodeOnce) {
    const Code e6 = kIndicationBoardCellTaken, e15 = kNoRoomOnGrid, w101 = Warning::MisspeltKeyword,
               w104 = Warning::ValueNarrowed;
    struct Case {
        std::vector<Code> printed;
        std::string line;
    };
    const Case cases[] = {
        {.printed = {}, .line = ""},
        {.printed = {e6}, .line = "for more on error 6, run: scenario_tool explain 6"},
        {.printed = {e6, e6}, .line = "for more on error 6, run: scenario_tool explain 6"},
        {.printed = {w101, e15, e6, w104, e15},
         .line = "for more on errors 15, 6 and warnings W101, W104, run: scenario_tool explain 15 6 W101 W104"},
        {.printed = {w101}, .line = "for more on warning W101, run: scenario_tool explain W101"},
    };
    for (const Case& c : cases) EXPECT_EQ(explain_hint(c.printed), c.line);
}
