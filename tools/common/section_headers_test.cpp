#include "tools/common/section_headers.h"

#include <gtest/gtest.h>

#include <string>

TEST(SectionHeaders, ALineLooksLikeAHeaderWithABracketFirstAndItsClosingOne) {
    struct Case {
        std::string line;
        bool header;
    } cases[] = {
        {.line = "[pendenze]", .header = true},
        {.line = " \t[fine]  ", .header = true},
        {.line = "[segnali] ; signals", .header = true},
        {.line = "[", .header = false},                   // never closed
        {.line = "]pendenze[", .header = false},
        {.line = "segnale, 1000 [x]", .header = false},   // a bracket inside a row
        {.line = "", .header = false},
        {.line = " \t ", .header = false},
        {.line = "\xA0[pendenze]", .header = false},      // a no-break space is no blank
    };
    for (const Case& c : cases) EXPECT_EQ(looks_like_section_header(c.line), c.header) << c.line;
}
