#include "core/output_files.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "core/form1.h"
#include "tools/testing/test_folder.h"
#include "platform/platform.h"

namespace {

std::string bytes(std::initializer_list<int> list) {
    std::string out;
    for (int b : list) out += static_cast<char>(b);
    return out;
}

// A form for route length L with names and a few cells and slots filled.
Form1 small_form(const std::string& folder, int32_t length) {
    Form1 form(folder);
    form.routeName = "Bresta_Vilcar";
    form.trainCode = "RX907";
    form.grid.dimension(length);
    form.grid[32] = {.kind = 1, .value1 = 43, .value2 = 11, .value4 = 4};
    form.grid[30].approachCode = 41;
    form.scenario[1].label = "BRESTA";
    form.scenario[kSlotRoute].label = form.routeName;
    form.scenario[kSlotTrain].label = form.trainCode;
    form.line.create(length + 7000);
    form.line.seed();
    for (int64_t c = 2; c <= length + 7000 - 2; ++c) form.line.straight_step(c);
    form.j = 1;
    return form;
}

}  // namespace

TEST(EncodeGrid, FifteenBytesPerCellInFieldOrder) {
    TrackGrid grid;
    grid.dimension(0);
    grid[2] = {.kind = 0x81, .value1 = 0x1234, .value2 = -2, .value3 = 0x7F01, .value4 = -32768, .timeCode = 9,
               .approachCode = 10, .scenery = 11, .aux1 = 12, .aux2 = 13, .aux3 = 14};
    grid[140].aux3 = 0xFF;
    const std::string out = encode_grid(grid);
    ASSERT_EQ(out.size(), 141u * 15);
    EXPECT_EQ(out.substr(0, 30), std::string(30, '\0'));
    EXPECT_EQ(out.substr(30, 15),
              bytes({0x81, 0x34, 0x12, 0xFE, 0xFF, 0x01, 0x7F, 0x00, 0x80, 9, 10, 11, 12, 13, 14}));
    EXPECT_EQ(out.substr(45, 15 * 137), std::string(15 * 137, '\0'));
    EXPECT_EQ(out.substr(140 * 15), std::string(14, '\0') + bytes({0xFF}));
}

TEST(EncodeGrid, BuiltInLengthCarriesTheMarkerAfterTheChecks) {
    Form1 form("/prog");
    form.grid.dimension(106000);
    form.scenario[kSlotRoute].label = "Bresta_Vilcar";
    form.scenario[kSlotTrain].label = "RX907";
    form.verifica_riservati();
    const std::string out = encode_grid(form.grid);
    ASSERT_EQ(out.size(), 33915u);
    EXPECT_EQ(out.substr(15, 5), bytes({0, 0x01, 0x14, 2459 & 0xFF, 2459 >> 8}));
}

TEST(EncodeGrid, UnsizedGridIsARunTimeFailure) {
    TrackGrid grid;
    EXPECT_THROW(encode_grid(grid), platform::RunTimeFailure);
}

TEST(EncodeScenario, SlotsInOrderWithCountedLabels) {
    ScenarioTable table{};
    table[1] = {.tag = 3, .long1 = 0x01020304, .long2 = -1, .long3 = 1550, .flag = 0xAB, .label = "BRESTA",
                .int1 = -2, .int2 = 0x0102, .int3 = 9, .int4 = 37, .int5 = 0, .byte1 = 1, .byte2 = 2, .byte3 = 3,
                .byte4 = 0xFF, .long4 = 34620};
    table[kSlotRoute].label = "Bresta_Vilcar";
    table[kSlotRoute].int1 = 610;
    table[kSlotTrain].label = std::string("\xC8") + "RX";  // a Windows-1252 byte is kept as it is
    const std::string out = encode_scenario(table);

    ASSERT_EQ(out.size(), 87u * 34 + 6 + 13 + 3);
    EXPECT_EQ(out.substr(0, 34), std::string(34, '\0'));  // slot 0 as reset
    EXPECT_EQ(out.substr(34, 40),
              bytes({3, 4, 3, 2, 1, 0xFF, 0xFF, 0xFF, 0xFF, 0x0E, 0x06, 0, 0, 0xAB, 6, 0}) + "BRESTA" +
                  bytes({0xFE, 0xFF, 2, 1, 9, 0, 37, 0, 0, 0, 1, 2, 3, 0xFF, 0x3C, 0x87, 0, 0}));
    // Slots 2 to 84 are empty: 34 bytes each.
    const size_t slot85 = 34 + 40 + 83 * 34;
    EXPECT_EQ(out.substr(74, 83 * 34), std::string(83 * 34, '\0'));
    // A 13-character label makes a 47-byte slot.
    EXPECT_EQ(out.substr(slot85, 47),
              std::string(14, '\0') + bytes({0x0D, 0}) + "Bresta_Vilcar" + bytes({0x62, 0x02}) +
                  std::string(16, '\0'));
    EXPECT_EQ(out.substr(slot85 + 47), std::string(14, '\0') + bytes({3, 0, 0xC8}) + "RX" + std::string(18, '\0'));
}

TEST(EncodeScenario, LabelTooLongForItsCountIsRefused) {
    ScenarioTable table{};
    table[40].label = std::string(65535, 'a');
    EXPECT_EQ(encode_scenario(table).size(), 87u * 34 + 65535);
    table[40].label += 'a';
    EXPECT_THROW(encode_scenario(table), platform::RunTimeFailure);
}

TEST(EncodeLineTable, VariantsRowByRow) {
    LineTable line;
    line.create(3);
    line.set_int16(0, 0, -2);
    line.set_double(1, 0, 1.0);
    line.set_int16(3, 0, 0x0102);  // (2, 0) stays empty
    line.set_double(0, 1, -2.5);
    line.set_int16(2, 1, 7);  // (1, 1) and (3, 1) stay empty
    const std::string out = encode_line_table(line);
    const std::string row0 = bytes({2, 0, 0xFE, 0xFF}) + bytes({5, 0, 0, 0, 0, 0, 0, 0, 0xF0, 0x3F}) +
                             bytes({0, 0}) + bytes({2, 0, 2, 1});
    const std::string row1 =
        bytes({5, 0, 0, 0, 0, 0, 0, 0, 0x04, 0xC0}) + bytes({0, 0}) + bytes({2, 0, 7, 0}) + bytes({0, 0});
    EXPECT_EQ(out, row0 + row1);
}

TEST(EncodeLineTable, SeededStraightLine) {
    struct Case {
        int32_t last;
    };
    for (Case c : {Case{5}, Case{10}, Case{7000}}) {
        LineTable line;
        line.create(c.last);
        line.seed();
        for (int64_t m = 2; m <= c.last - 2; ++m) line.straight_step(m);
        const std::string out = encode_line_table(line);
        const size_t row = 2 * 4 + (static_cast<size_t>(c.last) - 3) * 10 + 2 * 2;
        ASSERT_EQ(out.size(), 2 * row) << c.last;
        EXPECT_EQ(out.substr(0, 18), bytes({2, 0, 0, 0, 2, 0, 0, 0, 5, 0, 0, 0, 0, 0, 0, 0, 0, 0})) << c.last;
        EXPECT_EQ(out.substr(row - 4, 4), bytes({0, 0, 0, 0})) << c.last;
        // Row 1 starts with (0, 1) = 0 and (1, 1) = 1, then y(2) = 2.0.
        EXPECT_EQ(out.substr(row, 18), bytes({2, 0, 0, 0, 2, 0, 1, 0, 5, 0, 0, 0, 0, 0, 0, 0, 0, 0x40})) << c.last;
    }
}

// A table whose file spans several of the encoder's pieces, with entries of
// every type on both sides of the piece boundaries, encodes entry by entry as
// the layout says, and the file written holds the same bytes.
TEST(EncodeLineTable, LargeTableEncodesEntryByEntryAcrossPieces) {
    TestFolder folder;
    Form1 form = small_form(folder.path(), 0);
    const int32_t last = 250000;  // about 5 MB of file
    form.line.create(last);
    for (int row = 0; row < 2; ++row) {
        for (int32_t c = 0; c <= last; ++c) {
            if (c % 7 == 3) continue;  // stays empty
            if (c % 11 == 5) form.line.set_int16(c, row, static_cast<int16_t>(c * (row + 1)));
            else form.line.set_double(c, row, c * 0.37 - row * 1e6);
        }
    }
    std::string expected;
    for (int row = 0; row < 2; ++row) {
        for (int32_t c = 0; c <= last; ++c) {
            const uint16_t type = form.line.type(c, row);
            expected += bytes({type & 0xFF, type >> 8});
            if (type == LineTable::kInt16) {
                const auto v = static_cast<uint16_t>(static_cast<int16_t>(form.line.value(c, row)));
                expected += bytes({v & 0xFF, v >> 8});
            } else if (type == LineTable::kDouble) {
                uint64_t bits = 0;
                const double v = form.line.value(c, row);
                std::memcpy(&bits, &v, sizeof bits);
                for (int i = 0; i < 8; ++i) expected += static_cast<char>((bits >> (8 * i)) & 0xFF);
            }
        }
    }
    const std::string out = encode_line_table(form.line);
    ASSERT_EQ(out.size(), expected.size());
    size_t firstDifference = 0;
    while (firstDifference < out.size() && out[firstDifference] == expected[firstDifference]) ++firstDifference;
    EXPECT_EQ(firstDifference, out.size());
    form.scrivi_file_compilati();
    EXPECT_TRUE(folder.read("Bresta_Vilcar_linea.dat") == expected);
}

TEST(EncodeLineTable, MissingTableIsARunTimeFailure) {
    LineTable line;
    EXPECT_THROW(encode_line_table(line), platform::RunTimeFailure);
}

TEST(ScriviFileCompilati, WritesTheThreeFilesWhole) {
    TestFolder folder;
    // Older files, longer than the new ones, and a file that is no business of the pass.
    folder.write("Bresta_Vilcar_linea.dat", std::string(500000, 'x'));
    folder.write("Bresta_Vilcar_RX907.sim", std::string(9000, 'x'));
    folder.write("Bresta_Vilcar_RX907.dat", std::string(90000, 'x'));
    folder.write("other.dat", "keep");
    // A second name of the older grid file: the file is replaced, not rewritten in place.
    std::filesystem::create_hard_link(folder.file("Bresta_Vilcar_RX907.dat"), folder.file("older.dat"));
    Form1 form = small_form(folder.path(), 0);
    form.scrivi_file_compilati();
    EXPECT_EQ(folder.list(), (std::vector<std::string>{"Bresta_Vilcar_RX907.dat", "Bresta_Vilcar_RX907.sim",
                                                       "Bresta_Vilcar_linea.dat", "older.dat", "other.dat"}));
    EXPECT_EQ(folder.read("older.dat"), std::string(90000, 'x'));
    const std::string grid = folder.read("Bresta_Vilcar_RX907.dat");
    const std::string sim = folder.read("Bresta_Vilcar_RX907.sim");
    const std::string line = folder.read("Bresta_Vilcar_linea.dat");
    EXPECT_EQ(grid, encode_grid(form.grid));
    EXPECT_EQ(grid.size(), 141u * 15);
    EXPECT_EQ(sim, encode_scenario(form.scenario));
    EXPECT_EQ(sim.size(), 87u * 34 + 6 + 13 + 5);
    EXPECT_EQ(line, encode_line_table(form.line));
    EXPECT_EQ(line.size(), 2u * (8 + 6997 * 10 + 4));
    EXPECT_EQ(folder.read("other.dat"), "keep");

    // A second pass over the same state gives the same bytes.
    Form1 again = small_form(folder.path(), 0);
    again.scrivi_file_compilati();
    EXPECT_EQ(folder.read("Bresta_Vilcar_RX907.dat"), grid);
    EXPECT_EQ(folder.read("Bresta_Vilcar_RX907.sim"), sim);
    EXPECT_EQ(folder.read("Bresta_Vilcar_linea.dat"), line);
}

TEST(ScriviFileCompilati, WithoutLineTableTheLineDataFileIsUntouched) {
    TestFolder folder;
    folder.write("Bresta_Vilcar_linea.dat", "older line data");
    const auto before = std::filesystem::last_write_time(folder.file("Bresta_Vilcar_linea.dat"));
    Form1 form = small_form(folder.path(), 0);
    form.j = 0;
    form.line.destroy();
    form.scrivi_file_compilati();
    EXPECT_EQ(folder.read("Bresta_Vilcar_linea.dat"), "older line data");
    EXPECT_EQ(std::filesystem::last_write_time(folder.file("Bresta_Vilcar_linea.dat")), before);
    EXPECT_EQ(folder.read("Bresta_Vilcar_RX907.sim"), encode_scenario(form.scenario));
    EXPECT_EQ(folder.read("Bresta_Vilcar_RX907.dat"), encode_grid(form.grid));
}

TEST(ScriviFileCompilati, FailuresEndThePass) {
    struct Case {
        const char* name;
        const char* blocked;  // a folder standing where this file goes; "" for none
        bool longLabel;
        // Files that hold the new content afterwards; the others keep "old".
        bool lineNew, simNew;
    };
    const Case cases[] = {
        {"grid file cannot be written", "Bresta_Vilcar_RX907.dat", false, true, true},
        {"scenario file cannot be written", "Bresta_Vilcar_RX907.sim", false, true, false},
        {"line data file cannot be written", "Bresta_Vilcar_linea.dat", false, false, false},
        {"unencodable label: nothing is touched", "", true, false, false},
    };
    for (const Case& c : cases) {
        TestFolder folder;
        for (const char* name : {"Bresta_Vilcar_linea.dat", "Bresta_Vilcar_RX907.sim", "Bresta_Vilcar_RX907.dat"})
            if (std::string(name) != c.blocked) folder.write(name, "old");
        if (*c.blocked) std::filesystem::create_directory(folder.file(c.blocked));
        Form1 form = small_form(folder.path(), 0);
        if (c.longLabel) form.scenario[80].label = std::string(70000, 'a');
        EXPECT_THROW(form.scrivi_file_compilati(), platform::RunTimeFailure) << c.name;
        if (std::string("Bresta_Vilcar_linea.dat") != c.blocked) {
            EXPECT_EQ(folder.read("Bresta_Vilcar_linea.dat") == "old", !c.lineNew) << c.name;
        }
        if (std::string("Bresta_Vilcar_RX907.sim") != c.blocked) {
            EXPECT_EQ(folder.read("Bresta_Vilcar_RX907.sim") == "old", !c.simNew) << c.name;
        }
        if (std::string("Bresta_Vilcar_RX907.dat") != c.blocked) {
            EXPECT_EQ(folder.read("Bresta_Vilcar_RX907.dat"), "old") << c.name;
        }
    }
}

TEST(ScriviFileCompilati, MissingFolderIsARunTimeFailure) {
    TestFolder folder;
    Form1 form = small_form(folder.file("missing"), 0);
    EXPECT_THROW(form.scrivi_file_compilati(), platform::RunTimeFailure);
    EXPECT_TRUE(folder.list().empty());
}
