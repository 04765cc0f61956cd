#include "tools/drawing/svg_writer.h"

#include <gtest/gtest.h>

#include <limits>

TEST(XmlEscape, KeepsTextAndMakesMarkupAndForbiddenCharactersSafe) {
    struct Case {
        std::string in, out;
    } cases[] = {
        {"BRESTA", "BRESTA"},
        {"A & B <C> \"D\" 'E'", "A &amp; B &lt;C&gt; &quot;D&quot; &apos;E&apos;"},
        {"CITT\xC3\x80 90\xC2\xB0 \xE2\x82\xAC", "CITT\xC3\x80 90\xC2\xB0 \xE2\x82\xAC"},  // UTF-8 passes
        {std::string("a\0b\x01\x1F", 5), "a\xEF\xBF\xBD" "b\xEF\xBF\xBD\xEF\xBF\xBD"},     // controls XML forbids
        {"tab\there\nnew", "tab\there\nnew"},                                                // allowed controls
        {"\xC0\xAF", "\xEF\xBF\xBD\xEF\xBF\xBD"},                                          // overlong form
        {"\xE2\x82", "\xEF\xBF\xBD\xEF\xBF\xBD"},                                          // cut sequence
        {"\xEF\xBF\xBE", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},                          // U+FFFE
    };
    for (const auto& c : cases) EXPECT_EQ(xml_escape(c.in), c.out) << c.in;
}

TEST(SvgNumber, PrintsFewDecimalsWithoutTrailingZeros) {
    struct Case {
        double v;
        int decimals;
        const char* out;
    } cases[] = {{12.5, 1, "12.5"}, {3.0, 1, "3"}, {-0.04, 1, "0"}, {1234.5678, 2, "1234.57"},
                 {-7.25, 3, "-7.25"}, {0.1, 0, "0"}, {std::numeric_limits<double>::infinity(), 1, "0"}};
    for (const auto& c : cases) EXPECT_EQ(svg_number(c.v, c.decimals), c.out) << c.v;
}

TEST(SvgWriter, ClosesOpenGroupsAndEscapesTextAndAttributes) {
    SvgWriter svg(100);
    svg.open_group(SvgWriter::attr("id", "a\"b"));
    svg.text({1, 2}, "x<y", "");
    const std::string out = svg.finish(50);
    EXPECT_NE(out.find("id=\"a&quot;b\""), std::string::npos);
    EXPECT_NE(out.find(">x&lt;y</text>"), std::string::npos);
    EXPECT_EQ(out.find("<g"), out.rfind("<g"));
    EXPECT_NE(out.find("</g>\n</svg>"), std::string::npos);
    EXPECT_NE(out.find("viewBox=\"0 0 100 50\""), std::string::npos);
}
