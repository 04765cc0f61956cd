#include <gtest/gtest.h>

#include <string>

#include "core/form1.h"

namespace {

struct Codes {
    int32_t st;
    int32_t og;
};

Codes codes_for(const std::string& train, const std::string& route) {
    Form1 form("/prog");
    form.scenario[kSlotTrain].label = train;
    form.scenario[kSlotRoute].label = route;
    return {form.codice_gara_st(), form.codice_gara_og()};
}

}  // namespace

TEST(CheckCodes, KnownNames) {
    struct Case {
        std::string train;
        std::string route;
        int32_t st;
        int32_t og;
    };
    const Case cases[] = {
        {"RX907", "Bresta_Vilcar", 32647, 2459},
        {"", "", 34355, 2583},
        {"abc", "", 33756, 2546},
        // 25 letters 'a' (97): the weights 1 to 25 add up to 325.
        {"aaaaaaaaaaaaa", "AAAAAAAAAAAA", 97 * 325, 97 * 25},
        // 25 bytes 0xE0 given as their upper case 0xC0.
        {std::string(25, '\xC0'), "", 0xE0 * 325, 0xE0 * 25},
    };
    for (const Case& c : cases) {
        Codes got = codes_for(c.train, c.route);
        EXPECT_EQ(got.st, c.st) << c.train << "+" << c.route;
        EXPECT_EQ(got.og, c.og) << c.train << "+" << c.route;
    }
}

TEST(CheckCodes, SameCodesForTheSameTextInAnyCase) {
    struct Case {
        std::string a_train, a_route, b_train, b_route;
    };
    const Case cases[] = {
        {"RX907", "Bresta_Vilcar", "rx907", "BRESTA_VILCAR"},
        // Windows-1252 letters outside ASCII: upper and lower forms.
        {"\xC0\xC9\xDE", "\x8A\x8C\x8E\x9F", "\xE0\xE9\xFE", "\x9A\x9C\x9E\xFF"},
        // Only the first 25 characters count.
        {"ABCDEFGHIJKLMNOPQRSTUVWXY", "whatever", "abcdefghijklmnopqrstuvwxy", ""},
        {"ABCDEFGHIJ", "KLMNOPQRSTUVWXYZZZZ", "abcdefghij", "klmnopqrstuvwxyAAAA"},
    };
    for (const Case& c : cases) {
        Codes a = codes_for(c.a_train, c.a_route);
        Codes b = codes_for(c.b_train, c.b_route);
        EXPECT_EQ(a.st, b.st) << c.a_train << "+" << c.a_route;
        EXPECT_EQ(a.og, b.og) << c.a_train << "+" << c.a_route;
    }
}

TEST(CheckCodes, EachByteCountsWithItsLowerCaseCode) {
    // A one-byte train code: only the first byte of the check text differs
    // from that of a NUL byte, with weight 1 in both codes.
    struct Case {
        unsigned char byte;
        int32_t code;
    };
    const Case cases[] = {
        {'A', 'a'},   {'Z', 'z'},   {'a', 'a'},   {'@', '@'},   {'[', '['},   {'1', '1'},
        {'_', '_'},   {0xC0, 0xE0}, {0xD6, 0xF6}, {0xD7, 0xD7}, {0xD8, 0xF8}, {0xDE, 0xFE},
        {0xDF, 0xDF}, {0xE0, 0xE0}, {0x8A, 0x9A}, {0x8C, 0x9C}, {0x8E, 0x9E}, {0x9F, 0xFF},
        {0x8B, 0x8B}, {0xBF, 0xBF}, {0xFF, 0xFF},
    };
    const Codes base = codes_for(std::string(1, '\0'), "");
    for (const Case& c : cases) {
        Codes got = codes_for(std::string(1, static_cast<char>(c.byte)), "");
        EXPECT_EQ(got.og - base.og, c.code) << int{c.byte};
        EXPECT_EQ(got.st - base.st, c.code) << int{c.byte};
    }
}

TEST(CheckCodes, TrainCodeComesFirst) {
    Codes normal = codes_for("RX907", "Bresta_Vilcar");
    Codes swapped = codes_for("Bresta_Vilcar", "RX907");
    EXPECT_NE(normal.st, swapped.st);
    EXPECT_EQ(normal.og, swapped.og);  // 18 characters: the same bytes are summed
    // With more than 25 characters together, swapping changes which bytes count.
    Codes longNormal = codes_for("AAAAAAAAAAAAAAAAAAAA", "ZZZZZZZZZZ");
    Codes longSwapped = codes_for("ZZZZZZZZZZ", "AAAAAAAAAAAAAAAAAAAA");
    EXPECT_EQ(longNormal.og, 20 * 'a' + 5 * 'z');
    EXPECT_EQ(longSwapped.og, 10 * 'z' + 15 * 'a');
}
