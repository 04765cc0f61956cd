#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/form1.h"
#include "core/test_grid.h"

namespace {

Form1 form_with(int32_t length, const std::vector<Put>& setup) {
    Form1 form("/prog");
    form.grid = grid_with(length, setup);
    return form;
}

}  // namespace

// ---------------------------------------------------------------- signals

TEST(MemoSegnale, PlacesSignalAndApproachCodes) {
    struct Case {
        const char* name;
        int32_t length;
        std::vector<Put> setup = {};
        int32_t posizione, sx, s1, s2, s3, rapp, dx, d1, d2, d3, tempo;
        int32_t error;
        int32_t tempoAfter;
        std::vector<Put> changes = {};
    };
    const Case cases[] = {
        {.name = "signal at 28800 m", .length = 30000, .posizione = 28800, .sx = 2, .s1 = 3, .s2 = 1, .s3 = 0,
         .rapp = 0, .dx = 2, .d1 = 2, .d2 = 1, .d3 = 0, .tempo = 0, .error = 0, .tempoAfter = 0,
         .changes = {{577, {.kind = 1, .value1 = 32, .value2 = 11, .value3 = 0, .value4 = 8}},
                     {575, {.approachCode = 81}}, {573, {.approachCode = 82}}, {571, {.approachCode = 83}},
                     {569, {.approachCode = 84}}}},
        {.name = "signal at 27600 m", .length = 30000, .posizione = 27600, .sx = 1, .s1 = 4, .s2 = 1, .s3 = 0,
         .rapp = 0, .dx = 1, .d1 = 3, .d2 = 1, .d3 = 0, .tempo = 0, .error = 0, .tempoAfter = 0,
         .changes = {{553, {.kind = 1, .value1 = 43, .value2 = 11, .value3 = 0, .value4 = 4}},
                     {551, {.approachCode = 41}}, {549, {.approachCode = 42}}, {547, {.approachCode = 43}},
                     {545, {.approachCode = 44}}}},
        {.name = "signal at 1550 m", .length = 0, .posizione = 1550, .sx = 1, .s1 = 4, .s2 = 1, .s3 = 0, .rapp = 0,
         .dx = 1, .d1 = 3, .d2 = 1, .d3 = 0, .tempo = 0, .error = 0, .tempoAfter = 0,
         .changes = {{32, {.kind = 1, .value1 = 43, .value2 = 11, .value3 = 0, .value4 = 4}},
                     {30, {.approachCode = 41}}, {28, {.approachCode = 42}}, {26, {.approachCode = 43}},
                     {24, {.approachCode = 44}}}},
        {.name = "tempo 60 becomes 101 and is the time code", .length = 0, .posizione = 1550, .sx = 2, .s1 = 1,
         .s2 = 2, .s3 = 3, .rapp = 0, .dx = 0, .d1 = 4, .d2 = 5, .d3 = 6, .tempo = 60, .error = 0, .tempoAfter = 101,
         .changes = {{32, {.kind = 1, .value1 = 14, .value2 = 25, .value3 = 36, .value4 = 6, .timeCode = 101}},
                     {30, {.approachCode = 61}}, {28, {.approachCode = 62}}, {26, {.approachCode = 63}},
                     {24, {.approachCode = 64}}}},
        {.name = "tempo 100 becomes 101 but sx 1 gives no time code", .length = 0, .posizione = 1550, .sx = 1,
         .s1 = 0, .s2 = 0, .s3 = 0, .rapp = 2, .dx = 1, .d1 = 0, .d2 = 0, .d3 = 0, .tempo = 100, .error = 0,
         .tempoAfter = 101,
         .changes = {{32, {.kind = 1, .value4 = 24}}, {30, {.approachCode = 41}}, {28, {.approachCode = 42}},
                     {26, {.approachCode = 43}}, {24, {.approachCode = 44}}}},
        {.name = "tempo 101 stays", .length = 0, .posizione = 1550, .sx = 2, .s1 = 0, .s2 = 0, .s3 = 0, .rapp = 0,
         .dx = 0, .d1 = 0, .d2 = 0, .d3 = 0, .tempo = 101, .error = 0, .tempoAfter = 101,
         .changes = {{32, {.kind = 1, .value4 = 6, .timeCode = 101}}, {30, {.approachCode = 61}},
                     {28, {.approachCode = 62}}, {26, {.approachCode = 63}}, {24, {.approachCode = 64}}}},
        {.name = "tempo 0 stays", .length = 0, .posizione = 1550, .sx = 2, .s1 = 0, .s2 = 0, .s3 = 0, .rapp = 0,
         .dx = 0, .d1 = 0, .d2 = 0, .d3 = 0, .tempo = 0, .error = 0, .tempoAfter = 0,
         .changes = {{32, {.kind = 1, .value4 = 6}}, {30, {.approachCode = 61}}, {28, {.approachCode = 62}},
                     {26, {.approachCode = 63}}, {24, {.approachCode = 64}}}},
        {.name = "negative tempo stays, low 8 bits", .length = 0, .posizione = 1550, .sx = 2, .s1 = 0, .s2 = 0,
         .s3 = 0, .rapp = 0, .dx = 0, .d1 = 0, .d2 = 0, .d3 = 0, .tempo = -5, .error = 0, .tempoAfter = -5,
         .changes = {{32, {.kind = 1, .value4 = 6, .timeCode = 251}}, {30, {.approachCode = 61}},
                     {28, {.approachCode = 62}}, {26, {.approachCode = 63}}, {24, {.approachCode = 64}}}},
        {.name = "tempo 300 keeps its low 8 bits", .length = 0, .posizione = 1550, .sx = 2, .s1 = 0, .s2 = 0,
         .s3 = 0, .rapp = 0, .dx = 0, .d1 = 0, .d2 = 0, .d3 = 0, .tempo = 300, .error = 0, .tempoAfter = 300,
         .changes = {{32, {.kind = 1, .value4 = 6, .timeCode = 44}}, {30, {.approachCode = 61}},
                     {28, {.approachCode = 62}}, {26, {.approachCode = 63}}, {24, {.approachCode = 64}}}},
        {.name = "16- and 8-bit wrap-around", .length = 0, .posizione = 1550, .sx = 9, .s1 = 4000, .s2 = -4000,
         .s3 = 3276, .rapp = 0, .dx = 0, .d1 = 5, .d2 = -5, .d3 = 8, .tempo = 0, .error = 0, .tempoAfter = 0,
         .changes = {{32, {.kind = 1, .value1 = -25531, .value2 = 25531, .value3 = 32768 - 65536, .value4 = 27}},
                     {30, {.approachCode = 15}}, {28, {.approachCode = 16}}, {26, {.approachCode = 17}},
                     {24, {.approachCode = 18}}}},
        {.name = "a montagna marker is replaced, its other fields stay", .length = 0,
         .setup = {{32, {.kind = 11, .value2 = 7, .scenery = 2, .aux1 = 20}}}, .posizione = 1550, .sx = 1, .s1 = 4,
         .s2 = 0, .s3 = 0, .rapp = 0, .dx = 1, .d1 = 3, .d2 = 0, .d3 = 0, .tempo = 0, .error = 0, .tempoAfter = 0,
         .changes = {{32, {.kind = 1, .value1 = 43, .value2 = 0, .value4 = 4, .scenery = 2, .aux1 = 20}},
                     {30, {.approachCode = 41}}, {28, {.approachCode = 42}}, {26, {.approachCode = 43}},
                     {24, {.approachCode = 44}}}},
        {.name = "a speed board refuses the signal", .length = 0, .setup = {{32, {.kind = 6, .value1 = 1500}}},
         .posizione = 1550, .sx = 2, .s1 = 4, .s2 = 1, .s3 = 0, .rapp = 0, .dx = 1, .d1 = 3, .d2 = 1, .d3 = 0,
         .tempo = 60, .error = 16, .tempoAfter = 60},
        {.name = "approach codes overwrite those of any cell", .length = 0,
         .setup = {{30, {.kind = 10, .value1 = 3, .approachCode = 99}},
                   {28, {.kind = 1, .value1 = 5, .approachCode = 7}}},
         .posizione = 1550, .sx = 1, .s1 = 0, .s2 = 0, .s3 = 0, .rapp = 0, .dx = 1, .d1 = 0, .d2 = 0, .d3 = 0,
         .tempo = 0, .error = 0, .tempoAfter = 0,
         .changes = {{32, {.kind = 1, .value4 = 4}}, {30, {.kind = 10, .value1 = 3, .approachCode = 41}},
                     {28, {.kind = 1, .value1 = 5, .approachCode = 42}}, {26, {.approachCode = 43}},
                     {24, {.approachCode = 44}}}},
        {.name = "position 0: cell 1, no approach cell exists", .length = 0, .posizione = 0, .sx = 1, .s1 = 0,
         .s2 = 0, .s3 = 0, .rapp = 0, .dx = 1, .d1 = 0, .d2 = 0, .d3 = 0, .tempo = 0, .error = 0, .tempoAfter = 0,
         .changes = {{1, {.kind = 1, .value4 = 4}}}},
        {.name = "position 75: cell 2, approach code in cell 0 only", .length = 0, .posizione = 75, .sx = 1,
         .s1 = 0, .s2 = 0, .s3 = 0, .rapp = 0, .dx = 1, .d1 = 0, .d2 = 0, .d3 = 0, .tempo = 0, .error = 0,
         .tempoAfter = 0, .changes = {{2, {.kind = 1, .value4 = 4}}, {0, {.approachCode = 41}}}},
        {.name = "position 125: cell 4, approach codes in cells 2 and 0", .length = 0, .posizione = 125, .sx = 1,
         .s1 = 0, .s2 = 0, .s3 = 0, .rapp = 0, .dx = 1, .d1 = 0, .d2 = 0, .d3 = 0, .tempo = 0, .error = 0,
         .tempoAfter = 0,
         .changes = {{4, {.kind = 1, .value4 = 4}}, {2, {.approachCode = 41}}, {0, {.approachCode = 42}}}},
        {.name = "position 6975: the last cell", .length = 0, .posizione = 6975, .sx = 1, .s1 = 0, .s2 = 0, .s3 = 0,
         .rapp = 0, .dx = 1, .d1 = 0, .d2 = 0, .d3 = 0, .tempo = 0, .error = 0, .tempoAfter = 0,
         .changes = {{140, {.kind = 1, .value4 = 4}}, {138, {.approachCode = 41}}, {136, {.approachCode = 42}},
                     {134, {.approachCode = 43}}, {132, {.approachCode = 44}}}},
        {.name = "beyond the last cell: refused", .length = 0, .posizione = 7000, .sx = 2, .s1 = 4, .s2 = 1,
         .s3 = 0, .rapp = 0, .dx = 1, .d1 = 3, .d2 = 1, .d3 = 0, .tempo = 60, .error = 201, .tempoAfter = 60},
        {.name = "before cell 0: refused", .length = 0, .posizione = -76, .sx = 2, .s1 = 4, .s2 = 1, .s3 = 0,
         .rapp = 0, .dx = 1, .d1 = 3, .d2 = 1, .d3 = 0, .tempo = 60, .error = 201, .tempoAfter = 60},
    };
    for (const Case& c : cases) {
        Form1 form = form_with(c.length, c.setup);
        const std::vector<TrackCell> expected = cells_with(form.grid, c.changes);
        int32_t tempo = c.tempo;  // written back
        form.memo_segnale(c.posizione, c.sx, c.s1, c.s2, c.s3, c.rapp, c.dx, c.d1, c.d2, c.d3, tempo);
        EXPECT_EQ(form.errorCode, c.error) << c.name;
        EXPECT_EQ(tempo, c.tempoAfter) << c.name;
        expect_cells(form.grid, expected, c.name);
    }
}

TEST(MemoSegnale, LaterSignalWinsTheApproachCodes) {
    Form1 form = form_with(0, {});
    int32_t sx = 1, z = 0, dx = 1, tempo = 0;
    form.memo_segnale(1550, sx, z, z, z, z, dx, z, z, z, tempo);  // cell 32: 30, 28, 26, 24
    int32_t sx2 = 2, dx2 = 2;
    form.memo_segnale(1650, sx2, z, z, z, z, dx2, z, z, z, tempo);  // cell 34: 32, 30, 28, 26
    EXPECT_EQ(form.errorCode, 0);
    const int expected[][2] = {{34, 0}, {32, 81}, {30, 82}, {28, 83}, {26, 84}, {24, 44}};
    for (const auto& e : expected) EXPECT_EQ(form.grid[e[0]].approachCode, e[1]) << "cell " << e[0];
    EXPECT_EQ(form.grid[32].kind, kSignal);
}

// ---------------------------------------------------------------- speed boards

TEST(MemoIndicatoriVMax, PlacesOrRefusesTheBoard) {
    struct Case {
        const char* name;
        std::vector<Put> setup = {};
        int32_t posizione, vas, vbs, vcs, strisces, vad, vbd, vcd, strisced;
        int32_t error;
        std::vector<Put> changes = {};
    };
    const Case cases[] = {
        {.name = "board at 15350 m", .posizione = 15350, .vas = 75, .vbs = 85, .vcs = 85, .strisces = 2, .vad = 0,
         .vbd = 0, .vcd = 0, .strisced = 0, .error = 0,
         .changes = {{308, {.kind = 6, .value1 = 1500, .value2 = 1700, .value3 = 1700, .value4 = 20}}}},
        {.name = "value with a fifth part", .posizione = 15350, .vas = 100, .vbs = 0, .vcs = 0, .strisces = 1,
         .vad = 80, .vbd = 3, .vcd = 2, .strisced = 4, .error = 0,
         .changes = {{308, {.kind = 6, .value1 = 2016, .value2 = 1, .value3 = 0, .value4 = 14}}}},
        {.name = "negative fifths round to nearest", .posizione = 15350, .vas = 0, .vbs = 0, .vcs = 0,
         .strisces = 0, .vad = -3, .vbd = -2, .vcd = -8, .strisced = 0, .error = 0,
         .changes = {{308, {.kind = 6, .value1 = -1, .value2 = 0, .value3 = -2}}}},
        {.name = "largest values that fit", .posizione = 15350, .vas = 1638, .vbs = -1638, .vcs = 0, .strisces = 0,
         .vad = 35, .vbd = -40, .vcd = 0, .strisced = 0, .error = 0,
         .changes = {{308, {.kind = 6, .value1 = 32767, .value2 = -32768}}}},
        {.name = "stripes keep their low 16 bits", .posizione = 15350, .vas = 0, .vbs = 0, .vcs = 0,
         .strisces = 4000, .vad = 0, .vbd = 0, .vcd = 0, .strisced = 5, .error = 0,
         .changes = {{308, {.kind = 6, .value4 = 40005 - 65536}}}},
        {.name = "a montagna marker is replaced", .setup = {{308, {.kind = 11, .scenery = 1, .aux2 = 103}}},
         .posizione = 15350, .vas = 75, .vbs = 0, .vcs = 0, .strisces = 0, .vad = 0, .vbd = 0, .vcd = 0,
         .strisced = 0, .error = 0, .changes = {{308, {.kind = 6, .value1 = 1500, .scenery = 1, .aux2 = 103}}}},
        {.name = "a signal refuses the board", .setup = {{308, {.kind = 1, .value1 = 43}}}, .posizione = 15350,
         .vas = 75, .vbs = 0, .vcs = 0, .strisces = 0, .vad = 0, .vbd = 0, .vcd = 0, .strisced = 0, .error = 21},
        {.name = "vas 1639 does not fit: nothing placed", .posizione = 15350, .vas = 1639, .vbs = 0, .vcs = 0,
         .strisces = 0, .vad = 0, .vbd = 0, .vcd = 0, .strisced = 0, .error = 205},
        {.name = "32767.6 rounds beyond 16 bits", .posizione = 15350, .vas = 1638, .vbs = 0, .vcs = 0,
         .strisces = 0, .vad = 38, .vbd = 0, .vcd = 0, .strisced = 0, .error = 205},
        {.name = "third value below 16 bits", .posizione = 15350, .vas = 0, .vbs = 0, .vcs = -1638, .strisces = 0,
         .vad = 0, .vbd = 0, .vcd = -43, .strisced = 0, .error = 205},
        {.name = "beyond the last cell", .posizione = 27000, .vas = 75, .vbs = 0, .vcs = 0, .strisces = 0, .vad = 0,
         .vbd = 0, .vcd = 0, .strisced = 0, .error = 201},
        {.name = "before cell 0", .posizione = -100, .vas = 75, .vbs = 0, .vcs = 0, .strisces = 0, .vad = 0,
         .vbd = 0, .vcd = 0, .strisced = 0, .error = 201},
    };
    for (const Case& c : cases) {
        Form1 form = form_with(20000, c.setup);  // cells 0 to 540
        const std::vector<TrackCell> expected = cells_with(form.grid, c.changes);
        form.memo_indicatori_v_max(c.posizione, c.vas, c.vbs, c.vcs, c.strisces, c.vad, c.vbd, c.vcd, c.strisced);
        EXPECT_EQ(form.errorCode, c.error) << c.name;
        expect_cells(form.grid, expected, c.name);
    }
}

// ---------------------------------------------------------------- slow-downs

TEST(MemoRallentamento, PlacesOrRefusesTheSlowDown) {
    struct Case {
        const char* name;
        std::vector<Put> setup = {};
        int32_t x, v, l, f_tt, f_ta, d_v;
        int32_t error;
        std::vector<Put> changes = {};
    };
    const Case cases[] = {
        // w = 17, s = 41, e = 51, approach cells h = 16 down to 13.
        {.name = "full slow-down with approach cells", .x = 2000, .v = 60, .l = 500, .f_tt = 7, .f_ta = 1, .d_v = 3,
         .error = 0,
         .changes = {{51, {.kind = 2, .value1 = 60, .value2 = 3, .value3 = 7}},
                     {41, {.kind = 3, .value1 = 60, .value2 = 3, .value3 = 7}},
                     {17, {.kind = 4, .value1 = 60, .value2 = 3}}, {16, {.kind = 5, .value1 = 1, .value2 = 1}},
                     {15, {.kind = 5, .value1 = 2, .value2 = 2}}, {14, {.kind = 5, .value1 = 3, .value2 = 3}},
                     {13, {.kind = 5, .value1 = 4, .value2 = 4}}}},
        {.name = "d_v 0 leaves value2, w keeps value3, markers are replaced",
         .setup = {{51, {.kind = 11, .value2 = 9, .scenery = 1}}, {41, {.value2 = 9}},
                   {17, {.value2 = 9, .value3 = 8}}, {16, {.value2 = 9}}, {13, {.kind = 11, .value2 = 9}}},
         .x = 2000, .v = 60, .l = 500, .f_tt = 7, .f_ta = 1, .d_v = 0, .error = 0,
         .changes = {{51, {.kind = 2, .value1 = 60, .value2 = 9, .value3 = 7, .scenery = 1}},
                     {41, {.kind = 3, .value1 = 60, .value2 = 9, .value3 = 7}},
                     {17, {.kind = 4, .value1 = 60, .value2 = 9, .value3 = 8}},
                     {16, {.kind = 5, .value1 = 1, .value2 = 9}}, {15, {.kind = 5, .value1 = 2}},
                     {14, {.kind = 5, .value1 = 3}}, {13, {.kind = 5, .value1 = 4, .value2 = 9}}}},
        {.name = "no approach cells without f_ta", .x = 2000, .v = 60, .l = 500, .f_tt = 7, .f_ta = 0, .d_v = 3,
         .error = 0,
         .changes = {{51, {.kind = 2, .value1 = 60, .value2 = 3, .value3 = 7}},
                     {41, {.kind = 3, .value1 = 60, .value2 = 3, .value3 = 7}},
                     {17, {.kind = 4, .value1 = 60, .value2 = 3}}}},
        {.name = "1500 m: no warning cell and no approach cells", .x = 1500, .v = 30, .l = 100, .f_tt = 1,
         .f_ta = 1, .d_v = 2, .error = 0,
         .changes = {{33, {.kind = 2, .value1 = 30, .value2 = 2, .value3 = 1}},
                     {31, {.kind = 3, .value1 = 30, .value2 = 2, .value3 = 1}}}},
        // w = round(7.02) = 7, h = round(6.02) = 6.
        {.name = "1501 m: warning cell and approach cells", .x = 1501, .v = 30, .l = 100, .f_tt = 1, .f_ta = 1,
         .d_v = 2, .error = 0,
         .changes = {{33, {.kind = 2, .value1 = 30, .value2 = 2, .value3 = 1}},
                     {31, {.kind = 3, .value1 = 30, .value2 = 2, .value3 = 1}},
                     {7, {.kind = 4, .value1 = 30, .value2 = 2}}, {6, {.kind = 5, .value1 = 1, .value2 = 1}},
                     {5, {.kind = 5, .value1 = 2, .value2 = 2}}, {4, {.kind = 5, .value1 = 3, .value2 = 3}},
                     {3, {.kind = 5, .value1 = 4, .value2 = 4}}}},
        // 375 / 50 = 7.5: h = 8 = w, the warning cell just placed is taken.
        {.name = "1575 m: approach cell h is the warning cell", .x = 1575, .v = 30, .l = 100, .f_tt = 1, .f_ta = 1,
         .d_v = 0, .error = 20,
         .changes = {{34, {.kind = 2, .value1 = 30, .value3 = 1}}, {32, {.kind = 3, .value1 = 30, .value3 = 1}},
                     {8, {.kind = 4, .value1 = 30}}}},
        // 425 / 50 = 8.5: h = 8, w = round(9.5) = 10.
        {.name = "1625 m: approach cells two cells before the warning cell", .x = 1625, .v = 30, .l = 100,
         .f_tt = 1, .f_ta = 1, .d_v = 0, .error = 0,
         .changes = {{36, {.kind = 2, .value1 = 30, .value3 = 1}}, {34, {.kind = 3, .value1 = 30, .value3 = 1}},
                     {10, {.kind = 4, .value1 = 30}}, {8, {.kind = 5, .value1 = 1}},
                     {7, {.kind = 5, .value1 = 2}}, {6, {.kind = 5, .value1 = 3}}, {5, {.kind = 5, .value1 = 4}}}},
        {.name = "end in the start cell leaves a start cell", .x = 2000, .v = 60, .l = 10, .f_tt = 7, .f_ta = 0,
         .d_v = 3, .error = 0,
         .changes = {{41, {.kind = 3, .value1 = 60, .value2 = 3, .value3 = 7}},
                     {17, {.kind = 4, .value1 = 60, .value2 = 3}}}},
        {.name = "warning cell taken: nothing placed", .setup = {{17, {.kind = 6}}}, .x = 2000, .v = 60, .l = 500,
         .f_tt = 7, .f_ta = 1, .d_v = 3, .error = 17},
        {.name = "start cell taken: nothing placed", .setup = {{41, {.kind = 10, .value1 = 4}}}, .x = 2000, .v = 60,
         .l = 500, .f_tt = 7, .f_ta = 1, .d_v = 3, .error = 18},
        {.name = "end cell taken: nothing placed", .setup = {{51, {.kind = 12, .value1 = 180}}}, .x = 2000, .v = 60,
         .l = 500, .f_tt = 7, .f_ta = 1, .d_v = 3, .error = 19},
        {.name = "approach cell taken: start, end and warning stay", .setup = {{14, {.kind = 1}}}, .x = 2000,
         .v = 60, .l = 500, .f_tt = 7, .f_ta = 1, .d_v = 3, .error = 20,
         .changes = {{51, {.kind = 2, .value1 = 60, .value2 = 3, .value3 = 7}},
                     {41, {.kind = 3, .value1 = 60, .value2 = 3, .value3 = 7}},
                     {17, {.kind = 4, .value1 = 60, .value2 = 3}}}},
        {.name = "values keep their low 16 bits", .x = 1000, .v = 70000, .l = 100, .f_tt = -70000, .f_ta = 0,
         .d_v = 65537, .error = 0,
         .changes = {{23, {.kind = 2, .value1 = 4464, .value2 = 1, .value3 = -4464}},
                     {21, {.kind = 3, .value1 = 4464, .value2 = 1, .value3 = -4464}}}},
        {.name = "end cell beyond the grid: nothing placed", .x = 6000, .v = 60, .l = 2000, .f_tt = 7, .f_ta = 1,
         .d_v = 3, .error = 211},
        {.name = "end cell before cell 0: nothing placed", .x = 100, .v = 60, .l = -300, .f_tt = 7, .f_ta = 0,
         .d_v = 3, .error = 211},
        {.name = "start cell beyond the grid", .x = 7100, .v = 60, .l = 100, .f_tt = 7, .f_ta = 1, .d_v = 3,
         .error = 201},
        {.name = "start cell before cell 0", .x = -100, .v = 60, .l = 100, .f_tt = 7, .f_ta = 0, .d_v = 3,
         .error = 201},
    };
    for (const Case& c : cases) {
        Form1 form = form_with(0, c.setup);  // cells 0 to 140
        const std::vector<TrackCell> expected = cells_with(form.grid, c.changes);
        form.memo_rallentamento(c.x, c.v, c.l, c.f_tt, c.f_ta, c.d_v);
        EXPECT_EQ(form.errorCode, c.error) << c.name;
        expect_cells(form.grid, expected, c.name);
    }
}

// ---------------------------------------------------------------- montagna stretches

TEST(MemoMontagna, CoversCellsWithSceneryAndMarkers) {
    struct Stretch {
        int32_t inizio, fine, tipo;
    };
    struct Case {
        const char* name;
        int32_t length;
        std::vector<Put> setup = {};
        std::vector<Stretch> before = {};  // placed first, without checks
        Stretch call;
        int32_t error;
        int32_t tipoAfter;
        int32_t countAfter;
        // Expected: scenery over cells first to last, markers from markerFrom every 4th
        // cell where the cell was empty (markerFrom 0: no markers); first > last: none.
        int64_t first, last;
        int scenery;
        int64_t markerFrom;
    };
    const Case cases[] = {
        {.name = "first stretch 3000 to 17600 type 11", .length = 20000,
         .call = {.inizio = 3000, .fine = 17600, .tipo = 11}, .error = 0, .tipoAfter = 1, .countAfter = 1,
         .first = 60, .last = 351, .scenery = 1, .markerFrom = 63},
        {.name = "type 2 has no markers", .length = 20000, .call = {.inizio = 3000, .fine = 3400, .tipo = 2},
         .error = 0, .tipoAfter = 2, .countAfter = 1, .first = 60, .last = 67, .scenery = 2, .markerFrom = 0},
        {.name = "gap of 150 m gives type 3", .length = 20000, .before = {{1000, 2000, 2}},
         .call = {.inizio = 2150, .fine = 3000, .tipo = 5}, .error = 0, .tipoAfter = 3, .countAfter = 2,
         .first = 43, .last = 59, .scenery = 3, .markerFrom = 0},
        {.name = "gap of 151 m keeps the type", .length = 20000, .before = {{1000, 2000, 2}},
         .call = {.inizio = 2151, .fine = 3000, .tipo = 5}, .error = 0, .tipoAfter = 5, .countAfter = 2,
         .first = 43, .last = 59, .scenery = 5, .markerFrom = 0},
        {.name = "gap of 150 m with 12: type 3 and markers", .length = 20000, .before = {{1000, 2000, 2}},
         .call = {.inizio = 2150, .fine = 3000, .tipo = 12}, .error = 0, .tipoAfter = 3, .countAfter = 2,
         .first = 43, .last = 59, .scenery = 3, .markerFrom = 46},
        {.name = "overlapping stretch gets type 3 over the earlier one", .length = 20000,
         .before = {{1000, 5000, 1}}, .call = {.inizio = 3000, .fine = 4000, .tipo = 2}, .error = 0, .tipoAfter = 3,
         .countAfter = 2, .first = 60, .last = 79, .scenery = 3, .markerFrom = 0},
        {.name = "markers only on empty cells", .length = 20000,
         .setup = {{63, {.kind = 1, .value1 = 43}}, {62, {.kind = 11}}, {67, {.kind = 10, .value1 = 2}}},
         .call = {.inizio = 3000, .fine = 3600, .tipo = 11}, .error = 0, .tipoAfter = 1, .countAfter = 1,
         .first = 60, .last = 71, .scenery = 1, .markerFrom = 63},
        {.name = "halves round to even at both ends", .length = 0, .call = {.inizio = 25, .fine = 125, .tipo = 1},
         .error = 0, .tipoAfter = 1, .countAfter = 1, .first = 0, .last = 2, .scenery = 1, .markerFrom = 0},
        {.name = "halves round to even, one cell", .length = 0, .call = {.inizio = 75, .fine = 175, .tipo = 1},
         .error = 0, .tipoAfter = 1, .countAfter = 1, .first = 2, .last = 2, .scenery = 1, .markerFrom = 0},
        {.name = "a stretch too short for a cell still counts", .length = 0,
         .call = {.inizio = 1000, .fine = 1000, .tipo = 11}, .error = 0, .tipoAfter = 1, .countAfter = 1,
         .first = 20, .last = 19, .scenery = 1, .markerFrom = 0},
        {.name = "scenery keeps the low 8 bits", .length = 0, .call = {.inizio = 1000, .fine = 1400, .tipo = 300},
         .error = 0, .tipoAfter = 290, .countAfter = 1, .first = 20, .last = 27, .scenery = 34, .markerFrom = 23},
        {.name = "last cell at the upper bound", .length = 0, .call = {.inizio = 6000, .fine = 7075, .tipo = 1},
         .error = 0, .tipoAfter = 1, .countAfter = 1, .first = 120, .last = 140, .scenery = 1, .markerFrom = 0},
        {.name = "last cell beyond the grid: refused", .length = 0,
         .call = {.inizio = 6000, .fine = 7100, .tipo = 11}, .error = 202, .tipoAfter = 11, .countAfter = 0,
         .first = 1, .last = 0, .scenery = 0, .markerFrom = 0},
        {.name = "first cell before cell 0: refused", .length = 0, .call = {.inizio = -26, .fine = 500, .tipo = 11},
         .error = 201, .tipoAfter = 11, .countAfter = 0, .first = 1, .last = 0, .scenery = 0, .markerFrom = 0},
    };
    for (const Case& c : cases) {
        Form1 form("/prog");
        form.grid = grid_with(c.length, c.setup);
        for (Stretch s : c.before) form.memo_montagna(s.inizio, s.fine, s.tipo);
        ASSERT_EQ(form.errorCode, 0) << c.name;
        std::vector<TrackCell> expected = form.grid.cells();
        for (int64_t cell = c.first; cell <= c.last; ++cell) {
            TrackCell& e = expected.at(static_cast<size_t>(cell));
            e.scenery = static_cast<uint8_t>(c.scenery);
            if (c.markerFrom != 0 && cell >= c.markerFrom && (cell - c.markerFrom) % 4 == 0 && e.kind == 0)
                e.kind = kMontagnaMarker;
        }
        Stretch s = c.call;
        form.memo_montagna(s.inizio, s.fine, s.tipo);
        EXPECT_EQ(form.errorCode, c.error) << c.name;
        EXPECT_EQ(s.tipo, c.tipoAfter) << c.name;
        EXPECT_EQ(form.montagnaCount, c.countAfter) << c.name;
        if (c.error == 0) {
            EXPECT_EQ(form.montagnaStarts[c.countAfter], c.call.inizio) << c.name;
            EXPECT_EQ(form.montagnaEnds[c.countAfter], c.call.fine) << c.name;
        }
        expect_cells(form.grid, expected, c.name);
    }
}

TEST(MemoMontagna, EightyFirstStretchIsRefused) {
    Form1 form("/prog");
    form.grid.dimension(100000);
    for (int32_t n = 1; n <= 80; ++n) {
        int32_t inizio = n * 1000, fine = n * 1000 + 400, tipo = 2;
        form.memo_montagna(inizio, fine, tipo);
        ASSERT_EQ(form.errorCode, 0) << n;
    }
    EXPECT_EQ(form.montagnaCount, 80);
    EXPECT_EQ(form.montagnaStarts[80], 80000);
    EXPECT_EQ(form.montagnaEnds[80], 80400);
    EXPECT_EQ(form.montagnaStarts[0], 0);  // entry 0 is never used
    const std::vector<TrackCell> before = form.grid.cells();
    int32_t inizio = 90000, fine = 90400, tipo = 11;
    form.memo_montagna(inizio, fine, tipo);
    EXPECT_EQ(form.errorCode, 203);
    EXPECT_EQ(form.montagnaCount, 80);
    EXPECT_EQ(tipo, 11);
    expect_cells(form.grid, before, "81st stretch");
}
