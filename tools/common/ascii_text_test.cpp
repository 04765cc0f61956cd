#include "tools/common/ascii_text.h"

#include <gtest/gtest.h>

TEST(AsciiText, LowersOnlyTheAsciiCapitals) {
    struct Case {
        std::string in, lowered;
    } cases[] = {
        {.in = "", .lowered = ""},
        {.in = "Content-Length", .lowered = "content-length"},
        {.in = "@AZ[`az{", .lowered = "@az[`az{"},         // the neighbours of the letters stay
        {.in = "CITT\xC0", .lowered = "citt\xC0"},         // a Windows-1252 capital stays
        {.in = "\xC3\x80\xC3\x89", .lowered = "\xC3\x80\xC3\x89"},  // so do UTF-8 capitals, byte for byte
        {.in = std::string("A\0B", 3), .lowered = std::string("a\0b", 3)},
    };
    for (const Case& c : cases) EXPECT_EQ(ascii_lowered(c.in), c.lowered) << c.in;
}

TEST(AsciiText, ComparesIgnoringOnlyTheAsciiCase) {
    struct Case {
        std::string a, b;
        bool equal;
    } cases[] = {
        {.a = "", .b = "", .equal = true},
        {.a = "LocalHost", .b = "localhost", .equal = true},
        {.a = "localhos", .b = "localhost", .equal = false},  // a prefix is not the same text
        {.a = "localhost", .b = "localhos", .equal = false},
        {.a = "[", .b = "{", .equal = false},          // 0x5B and 0x7B differ by the case bit, but are no letters
        {.a = "\xC0", .b = "\xE0", .equal = false},    // Windows-1252 capital and small A grave
        {.a = "x\xC3\x80", .b = "X\xC3\x80", .equal = true},
    };
    for (const Case& c : cases) EXPECT_EQ(equal_ignoring_ascii_case(c.a, c.b), c.equal) << c.a << " / " << c.b;
}

TEST(AsciiText, CutsBlanksAtTheEnds) {
    struct Case {
        std::string in;
        std::string leading, both, spaces;  // without_leading_blanks, blanks_trimmed, spaces_trimmed
    } cases[] = {
        {.in = "", .leading = "", .both = "", .spaces = ""},
        {.in = " \t \t", .leading = "", .both = "", .spaces = "\t \t"},
        {.in = "   ", .leading = "", .both = "", .spaces = ""},
        {.in = " \ta b\t ", .leading = "a b\t ", .both = "a b", .spaces = "\ta b\t"},
        {.in = "x", .leading = "x", .both = "x", .spaces = "x"},
        {.in = "\xA0x\xA0", .leading = "\xA0x\xA0", .both = "\xA0x\xA0", .spaces = "\xA0x\xA0"},  // no-break space stays
        {.in = "\r\nx \n", .leading = "\r\nx \n", .both = "\r\nx \n", .spaces = "\r\nx \n"},  // line ends are no blanks
    };
    for (const Case& c : cases) {
        EXPECT_EQ(without_leading_blanks(c.in), c.leading) << c.in;
        EXPECT_EQ(blanks_trimmed(c.in), c.both) << c.in;
        EXPECT_EQ(trimmed(c.in), c.both) << c.in;
        EXPECT_EQ(spaces_trimmed(c.in), c.spaces) << c.in;
    }
}

// Callers count columns from the views: they stand where the kept text stands.
TEST(AsciiText, TrimmedViewsPointIntoTheText) {
    const std::string text = "  ab\t";
    EXPECT_EQ(blanks_trimmed(text).data(), text.data() + 2);
    EXPECT_EQ(without_leading_blanks(text).data(), text.data() + 2);
    EXPECT_EQ(blanks_trimmed("   ").size(), 0u);
    const std::string blanks = " \t ";
    EXPECT_EQ(blanks_trimmed(blanks).data(), blanks.data() + blanks.size());
}
