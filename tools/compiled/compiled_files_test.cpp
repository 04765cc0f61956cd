#include "tools/compiled/compiled_files.h"

#include <gtest/gtest.h>

namespace {
std::string zeros(size_t n) { return std::string(n, '\0'); }
}  // namespace

TEST(DecodeGrid, ReadsFifteenByteCellsLittleEndian) {
    std::string bytes = zeros(15) + std::string("\x01\x01\x14\xFF\xFF\x00\x00\x04\x00\x65\x51\x02\x0F\x64\x5A", 15);
    auto cells = decode_grid(bytes);
    ASSERT_EQ(cells.size(), 2u);
    EXPECT_EQ(cells[0].kind, 0);
    EXPECT_EQ(cells[1].kind, 1);
    EXPECT_EQ(cells[1].value1, 5121);
    EXPECT_EQ(cells[1].value2, -1);
    EXPECT_EQ(cells[1].value4, 4);
    EXPECT_EQ(cells[1].timeCode, 101);
    EXPECT_EQ(cells[1].approachCode, 81);
    EXPECT_EQ(cells[1].scenery, 2);
    EXPECT_EQ(cells[1].aux1, 15);
    EXPECT_EQ(cells[1].aux2, 100);
    EXPECT_EQ(cells[1].aux3, 90);
}

TEST(DecodeGrid, RefusesSizesThatAreNotWholeCells) {
    for (size_t size : {0u, 1u, 14u, 16u, 29u}) EXPECT_THROW(decode_grid(zeros(size)), DecodeError) << size;
}

TEST(DecodeScenario, ReadsEightySevenSlotsWithLabels) {
    std::string bytes;
    for (int i = 0; i < 85; ++i) bytes += zeros(34);
    // Slot 85: label "Bresta_Vilcar", int1 610, long4 32647.
    bytes += zeros(14) + std::string("\x0D\x00", 2) + "Bresta_Vilcar" + std::string("\x62\x02", 2) + zeros(12) +
             std::string("\x87\x7F\x00\x00", 4);
    bytes += zeros(14) + std::string("\x05\x00", 2) + "RX907" + zeros(18);
    auto table = decode_scenario(bytes);
    EXPECT_EQ(table[85].label, "Bresta_Vilcar");
    EXPECT_EQ(table[85].int1, 610);
    EXPECT_EQ(table[85].long4, 32647);
    EXPECT_EQ(table[86].label, "RX907");
    EXPECT_TRUE(table[0].label.empty());
}

TEST(DecodeScenario, RefusesTruncatedAndOverlongFiles) {
    std::string good;
    for (int i = 0; i < 87; ++i) good += zeros(34);
    EXPECT_NO_THROW(decode_scenario(good));
    EXPECT_THROW(decode_scenario(good.substr(0, good.size() - 1)), DecodeError);
    EXPECT_THROW(decode_scenario(good + "x"), DecodeError);
    // A label count that runs past the end of the file.
    std::string badLabel = zeros(14) + std::string("\xFF\xFF", 2);
    EXPECT_THROW(decode_scenario(badLabel), DecodeError);
}

TEST(DecodeLineTable, ReadsRowsOfVariants) {
    // Columns 0..2: row 0 = int 0, int 0, double 0.5; row 1 = int 0, int 1, empty.
    std::string half = std::string("\x05\x00", 2) + std::string("\x00\x00\x00\x00\x00\x00\xE0\x3F", 8);
    std::string bytes = std::string("\x02\x00\x00\x00\x02\x00\x00\x00", 8) + half +
                        std::string("\x02\x00\x00\x00\x02\x00\x01\x00\x00\x00", 10);
    LineTable t = decode_line_table(bytes);
    ASSERT_EQ(t.last_column(), 2);
    EXPECT_EQ(t.type(0, 0), LineTable::kInt16);
    EXPECT_EQ(t.type(2, 0), LineTable::kDouble);
    EXPECT_DOUBLE_EQ(t.value(2, 0), 0.5);
    EXPECT_EQ(t.value(1, 1), 1.0);
    EXPECT_EQ(t.type(2, 1), LineTable::kEmpty);
}

TEST(DecodeLineTable, RefusesUnknownTypesOddCountsAndTruncation) {
    const std::string cases[] = {
        "",                                  // nothing
        std::string("\x07\x00", 2) + "xx",  // unknown type
        std::string("\x00\x00", 2),          // one value: no two rows
        std::string("\x00\x00\x05\x00\x01", 5),  // double cut short
    };
    for (const auto& c : cases) EXPECT_THROW(decode_line_table(c), DecodeError);
}
