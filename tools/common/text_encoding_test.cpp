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

TEST(TypedToCp1252, StoresWhatTheCodePageHoldsAndNamesWhatItLacks) {
    struct Case {
        std::string typed, bytes, missing;
    } cases[] = {
        {"Valdoro", "Valdoro", ""},
        {"Citt\xC3\xA0", "Citt\xE0", ""},                  // UTF-8
        {"\xE2\x82\xAC 5", "\x80 5", ""},                   // the euro sign, from the 0x80 row
        {"Citt\xE0", "Citt\xE0", ""},                       // not UTF-8: Windows-1252 already
        {"a\xE2\x86\x92" "b", "ab", "\xE2\x86\x92"},        // an arrow: no such character
        {"\xC2\x81", "", "\xC2\x81"},                       // U+0081, a control the code page lacks
        {"x\x81y", "x\x81y", "\x81"},                       // a byte the code page leaves undefined
        {"\xF0\x9F\x9A\x86", "", "\xF0\x9F\x9A\x86"},       // a four-byte character
        {"\xC0\xAF", "\xC0\xAF", ""},                       // overlong: not UTF-8, so two 1252 bytes
    };
    for (const auto& c : cases) {
        const Cp1252Text text = typed_to_cp1252(c.typed);
        EXPECT_EQ(text.bytes, c.bytes) << c.typed;
        EXPECT_EQ(text.missing, c.missing) << c.typed;
    }
}
