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

TEST(Utf8ToCp1252, KeepsOneByteForEveryUtf16CodeUnitAndNamesWhatTheCodePageCannotHold) {
    struct Case {
        std::string in, bytes;
        std::vector<Unrepresentable> refused{};
    } cases[] = {
        {.in = "BRESTA", .bytes = "BRESTA"},
        {.in = "CITT\xC3\x80 DI CASTELLO", .bytes = "CITT\xC0 DI CASTELLO"},
        {.in = "\xE2\x82\xAC \xC5\xA0", .bytes = "\x80 \x8A"},  // euro sign and S caron: the 0x80 to 0x9F row
        {.in = "a\xCE\xA9z", .bytes = "a?z", .refused = {{1, 1, 0x3A9}}},           // Greek omega
        {.in = "\xF0\x9F\x9A\x86!", .bytes = "?\?!", .refused = {{0, 2, 0x1F686}}},  // a train: two code units
        {.in = "\xC3\x80x\xE0y", .bytes = "\xC0x?y", .refused = {{2, 1, 0}}},                   // a Windows-1252 byte, not UTF-8
        {.in = "\xC0\x80", .bytes = "??", .refused = {{0, 1, 0}, {1, 1, 0}}},        // overlong NUL
        {.in = "\xED\xA0\x80", .bytes = "???", .refused = {{0, 1, 0}, {1, 1, 0}, {2, 1, 0}}},  // a lone surrogate
        {.in = std::string("a\0b", 3), .bytes = std::string("a\0b", 3)},
    };
    for (const auto& c : cases) {
        const Cp1252Text out = utf8_to_cp1252(c.in);
        EXPECT_EQ(out.bytes, c.bytes) << c.in;
        ASSERT_EQ(out.unrepresentable.size(), c.refused.size()) << c.in;
        for (size_t i = 0; i < c.refused.size(); ++i) {
            EXPECT_EQ(out.unrepresentable[i].offset, c.refused[i].offset) << c.in;
            EXPECT_EQ(out.unrepresentable[i].length, c.refused[i].length) << c.in;
            EXPECT_EQ(out.unrepresentable[i].codePoint, c.refused[i].codePoint) << c.in;
        }
    }
}

TEST(Utf8ToCp1252, ReversesCp1252ToUtf8OnEveryDefinedByte) {
    std::string all;
    for (int b = 1; b < 256; ++b) {
        if (cp1252_to_utf8(std::string(1, static_cast<char>(b))) != "\xEF\xBF\xBD") all += static_cast<char>(b);
    }
    const Cp1252Text back = utf8_to_cp1252(cp1252_to_utf8(all));
    EXPECT_EQ(back.bytes, all);
    EXPECT_TRUE(back.unrepresentable.empty());
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
        const TypedText text = typed_to_cp1252(c.typed);
        EXPECT_EQ(text.bytes, c.bytes) << c.typed;
        EXPECT_EQ(text.missing, c.missing) << c.typed;
    }
}
