#include "tools/codes/code.h"

#include <gtest/gtest.h>

#include <algorithm>

TEST(CodeTables, AreInIncreasingOrderErrorsFirstAndNameEachCodeOnce) {
    for (size_t i = 1; i < std::size(kCodes); ++i)
        EXPECT_LT(kCodes[i - 1].code, kCodes[i].code) << code_name(kCodes[i].code);
    EXPECT_EQ(kCodes[0].code, Code(kRouteTooLong));
    const auto errors = std::count_if(std::begin(kCodes), std::end(kCodes),
                                      [](const CodeEntry& e) { return e.code.severity() == Severity::Error; });
    EXPECT_EQ(static_cast<size_t>(errors), std::size(kAllErrorCodes) + std::size(kAllReservedFieldMessages));
    EXPECT_EQ(find_code(kNoError), nullptr);  // "error 0" is no code of the tables
}

TEST(CodeTables, CodesAreReadAsAuthorsWriteThem) {
    struct Case {
        const char* text;
        std::optional<Code> code;
    };
    const Case cases[] = {
        {.text = "6", .code = kIndicationBoardCellTaken},
        {.text = "06", .code = kIndicationBoardCellTaken},
        {.text = "1250", .code = kMarkerFieldsInUse},
        {.text = "W101", .code = Warning::MisspeltKeyword},
        {.text = "w101", .code = Warning::MisspeltKeyword},
        {.text = "W119", .code = Warning::ProfileStartsLate},
        {.text = "", .code = std::nullopt},
        {.text = "W", .code = std::nullopt},
        {.text = "w", .code = std::nullopt},
        {.text = "6a", .code = std::nullopt},
        {.text = "-6", .code = std::nullopt},
        {.text = "99999999999", .code = std::nullopt},
        {.text = "0", .code = std::nullopt},      // kNoError is no code an author is shown
        {.text = "14", .code = std::nullopt},     // never given
        {.text = "101", .code = kLineDocumentMissing},
        {.text = "W6", .code = std::nullopt},     // an error's number is no warning
        {.text = "W1250", .code = std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(parse_code(c.text), c.code) << c.text;
        if (c.code) {
            EXPECT_EQ(parse_code(code_name(*c.code)), c.code) << c.text;
        }
    }
}
