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

TEST(Utf8Of, WritesEachCodePointInTheFewestBytes) {
    struct Case {
        uint32_t codePoint;
        std::string utf8;
    } cases[] = {
        {.codePoint = 0, .utf8 = std::string(1, '\0')},
        {.codePoint = 0x7F, .utf8 = "\x7F"},                  // the last of one byte
        {.codePoint = 0x80, .utf8 = "\xC2\x80"},              // the first of two
        {.codePoint = 0xE0, .utf8 = "\xC3\xA0"},              // a grave, as the documents write it
        {.codePoint = 0x7FF, .utf8 = "\xDF\xBF"},             // the last of two
        {.codePoint = 0x800, .utf8 = "\xE0\xA0\x80"},         // the first of three
        {.codePoint = 0x20AC, .utf8 = "\xE2\x82\xAC"},        // the euro sign
        {.codePoint = 0xFFFF, .utf8 = "\xEF\xBF\xBF"},        // the last of three
        {.codePoint = 0x10000, .utf8 = "\xF0\x90\x80\x80"},   // the first of four
        {.codePoint = 0x10FFFF, .utf8 = "\xF4\x8F\xBF\xBF"},  // the last code point
    };
    for (const Case& c : cases) EXPECT_EQ(utf8_of(c.codePoint), c.utf8) << std::hex << c.codePoint;
}

// Read back by the decoder, which refuses overlong and malformed sequences,
// every code point comes out as itself.
TEST(Utf8Of, ReadsBackAsTheSameCodePoint) {
    for (uint32_t cp = 0x100; cp <= 0x10FFFF; cp += cp < 0x1000 ? 1 : 97) {
        if (cp >= 0xD800 && cp <= 0xDFFF) continue;  // surrogates are no characters
        const Cp1252Text back = utf8_to_cp1252(utf8_of(cp));
        if (back.unrepresentable.empty()) {  // one of the few the code page holds: the euro sign, S caron ...
            EXPECT_EQ(cp1252_to_utf8(back.bytes), utf8_of(cp)) << std::hex << cp;
            continue;
        }
        ASSERT_EQ(back.unrepresentable.size(), 1u) << std::hex << cp;
        EXPECT_EQ(back.unrepresentable[0].codePoint, cp) << std::hex << cp;
    }
}

TEST(DecodeUtf8, ReadsOneWellFormedSequenceAndRefusesTheRest) {
    struct Case {
        std::string text;
        size_t at;
        uint32_t codePoint;
        size_t length;  // 0: refused
    } cases[] = {
        {.text = "\x7F", .at = 0, .codePoint = 0x7F, .length = 1},
        {.text = "a\xC2\x80", .at = 1, .codePoint = 0x80, .length = 2},
        {.text = "\xE2\x82\xAC", .at = 0, .codePoint = 0x20AC, .length = 3},
        {.text = "\xEF\xBF\xBF", .at = 0, .codePoint = 0xFFFF, .length = 3},
        {.text = "\xF4\x8F\xBF\xBF", .at = 0, .codePoint = 0x10FFFF, .length = 4},
        {.text = "\xF4\x90\x80\x80", .at = 0, .codePoint = 0, .length = 0},  // beyond 0x10FFFF
        {.text = "\xC1\xBF", .at = 0, .codePoint = 0, .length = 0},          // overlong 0x7F
        {.text = "\xE0\x9F\xBF", .at = 0, .codePoint = 0, .length = 0},      // overlong 0x7FF
        {.text = "\xED\xA0\x80", .at = 0, .codePoint = 0, .length = 0},      // a surrogate
        {.text = "\xE2\x82", .at = 0, .codePoint = 0, .length = 0},          // cut short
        {.text = "\xE2\x41\xAC", .at = 0, .codePoint = 0, .length = 0},      // a letter in the middle
        {.text = "\x80", .at = 0, .codePoint = 0, .length = 0},              // a continuation byte alone
        {.text = "\xE0", .at = 0, .codePoint = 0, .length = 0},              // a Windows-1252 letter
    };
    for (const Case& c : cases) {
        const auto [codePoint, length] = decode_utf8(c.text, c.at);
        EXPECT_EQ(length, c.length) << c.text;
        EXPECT_EQ(codePoint, c.codePoint) << c.text;
    }
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
