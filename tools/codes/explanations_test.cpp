#include "tools/codes/explanations.h"

#include <gtest/gtest.h>

#include <set>

#include "core/error_codes.h"
#include "tools/codes/warning_codes.h"
#include "tools/testing/reported_codes.h"

namespace {

// Every code an author can be shown: the error code table, the two
// reserved-field messages and the warnings.
std::vector<CodeRef> every_code() {
    std::vector<CodeRef> codes;
    for (ErrorCode c : kAllErrorCodes) codes.push_back({CodeRef::Error, c});
    codes.push_back({CodeRef::Error, kMarkerFieldsInUse});
    codes.push_back({CodeRef::Error, kCheckCodeFieldsInUse});
    for (const WarningCode& w : kWarningCodes) codes.push_back(*parse_code(w.code));
    return codes;
}

}  // namespace

TEST(Explanations, EveryCodeHasAllFourPartsAndNoOtherCodeHasOne) {
    const auto codes = every_code();
    for (CodeRef code : codes) {
        const Explanation* e = find_explanation(code);
        ASSERT_NE(e, nullptr) << "no explanation for " << code_name(code);
        EXPECT_FALSE(e->title.empty()) << code_name(code);
        EXPECT_EQ(e->title.find('\n'), std::string::npos) << code_name(code);
        EXPECT_FALSE(e->meaning.empty()) << code_name(code);
        EXPECT_FALSE(e->fix.empty()) << code_name(code);
        const Example& x = e->example;
        const bool shown = !x.line.empty() || !x.train.empty() || x.linePlacement == Placement::Missing ||
                           x.trainPlacement == Placement::Missing;
        EXPECT_TRUE(shown) << "the example of " << code_name(code) << " has no rows";
    }
    for (const Explanation& e : explanations())
        EXPECT_NE(std::find(codes.begin(), codes.end(), e.code), codes.end()) << code_name(e.code) << " is no code";
}

TEST(Explanations, EveryExampleYieldsExactlyItsCode) {
    for (const Explanation& e : explanations()) {
        std::vector<CodeRef> expected = e.example.alsoReported;
        expected.push_back(e.code);
        std::vector<CodeRef> reported = reported_codes(e.example);
        auto order = [](CodeRef a, CodeRef b) { return std::pair(a.kind, a.number) < std::pair(b.kind, b.number); };
        std::sort(expected.begin(), expected.end(), order);
        std::sort(reported.begin(), reported.end(), order);
        EXPECT_EQ(reported, expected) << "example of " << code_name(e.code);
    }
}

TEST(Explanations, TheSmallestScenarioIsSound) { EXPECT_EQ(reported_codes(Example{}), std::vector<CodeRef>{}); }

TEST(Explanations, CodesAreReadAsAuthorsWriteThem) {
    struct Case {
        const char* text;
        std::optional<CodeRef> code;
    };
    const Case cases[] = {
        {.text = "6", .code = CodeRef{CodeRef::Error, 6}},
        {.text = "1250", .code = CodeRef{CodeRef::Error, 1250}},
        {.text = "W101", .code = CodeRef{CodeRef::Warning, 101}},
        {.text = "w101", .code = CodeRef{CodeRef::Warning, 101}},
        {.text = "", .code = std::nullopt},
        {.text = "W", .code = std::nullopt},
        {.text = "6a", .code = std::nullopt},
        {.text = "-6", .code = std::nullopt},
        {.text = "99999999999", .code = std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(parse_code(c.text), c.code) << c.text;
        if (c.code) {
            EXPECT_EQ(parse_code(code_name(*c.code)), c.code) << c.text;
        }
    }
}

TEST(Explanations, LongExamplesAreShownShortened) {
    const std::string text = render_explanation(*find_explanation({CodeRef::Error, kBoardListFull}));
    EXPECT_NE(text.find("(B1)"), std::string::npos);
    EXPECT_NE(text.find("... (76 more rows like these)"), std::string::npos) << text;
    EXPECT_NE(text.find("(B81)"), std::string::npos);
    EXPECT_EQ(text.find("(B40)"), std::string::npos);
}

TEST(ExplainHint, NamesEachPrintedCodeOnce) {
    const CodeRef e6{CodeRef::Error, 6}, e15{CodeRef::Error, 15}, w101{CodeRef::Warning, 101},
        w104{CodeRef::Warning, 104};
    struct Case {
        std::vector<CodeRef> printed;
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
