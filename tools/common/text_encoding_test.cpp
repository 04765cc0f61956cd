#include "tools/common/text_encoding.h"

#include <gtest/gtest.h>

TEST(Cp1252ToUtf8, ConvertsTheCharactersOfTheDocuments) {
    struct Case {
        std::string in, out;
    } cases[] = {
        {"BRESTA", "BRESTA"},
        {"velocit\xE0", "velocit\xC3\xA0"},
        {"\xE8", "\xC3\xA8"},
        {"90\xB0", "90\xC2\xB0"},
        {"\x80", "\xE2\x82\xAC"},  // euro sign
        {"\x81", "\xEF\xBF\xBD"},  // undefined byte: replacement character
        {std::string("a\0b", 3), std::string("a\0b", 3)},
    };
    for (const auto& c : cases) EXPECT_EQ(cp1252_to_utf8(c.in), c.out) << c.in;
}
