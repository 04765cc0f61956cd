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
        std::vector<Put> setup;
        int32_t posizione, sx, s1, s2, s3, rapp, dx, d1, d2, d3, tempo;
        int32_t error;
        int32_t tempoAfter;
        std::vector<Put> changes;
    };
    const Case cases[] = {
        {"signal at 28800 m", 30000, {}, 28800, 2, 3, 1, 0, 0, 2, 2, 1, 0, 0, 0, 0,
         {{577, {.kind = 1, .value1 = 32, .value2 = 11, .value3 = 0, .value4 = 8}},
          {575, {.approachCode = 81}}, {573, {.approachCode = 82}}, {571, {.approachCode = 83}},
          {569, {.approachCode = 84}}}},
        {"signal at 27600 m", 30000, {}, 27600, 1, 4, 1, 0, 0, 1, 3, 1, 0, 0, 0, 0,
         {{553, {.kind = 1, .value1 = 43, .value2 = 11, .value3 = 0, .value4 = 4}},
          {551, {.approachCode = 41}}, {549, {.approachCode = 42}}, {547, {.approachCode = 43}},
          {545, {.approachCode = 44}}}},
        {"signal at 1550 m", 0, {}, 1550, 1, 4, 1, 0, 0, 1, 3, 1, 0, 0, 0, 0,
         {{32, {.kind = 1, .value1 = 43, .value2 = 11, .value3 = 0, .value4 = 4}},
          {30, {.approachCode = 41}}, {28, {.approachCode = 42}}, {26, {.approachCode = 43}},
          {24, {.approachCode = 44}}}},
        {"tempo 60 becomes 101 and is the time code", 0, {}, 1550, 2, 1, 2, 3, 0, 0, 4, 5, 6, 60, 0, 101,
         {{32, {.kind = 1, .value1 = 14, .value2 = 25, .value3 = 36, .value4 = 6, .timeCode = 101}},
          {30, {.approachCode = 61}}, {28, {.approachCode = 62}}, {26, {.approachCode = 63}},
          {24, {.approachCode = 64}}}},
        {"tempo 100 becomes 101 but sx 1 gives no time code", 0, {}, 1550, 1, 0, 0, 0, 2, 1, 0, 0, 0, 100, 0,
         101,
         {{32, {.kind = 1, .value4 = 24}}, {30, {.approachCode = 41}}, {28, {.approachCode = 42}},
          {26, {.approachCode = 43}}, {24, {.approachCode = 44}}}},
        {"tempo 101 stays", 0, {}, 1550, 2, 0, 0, 0, 0, 0, 0, 0, 0, 101, 0, 101,
         {{32, {.kind = 1, .value4 = 6, .timeCode = 101}}, {30, {.approachCode = 61}},
          {28, {.approachCode = 62}}, {26, {.approachCode = 63}}, {24, {.approachCode = 64}}}},
        {"tempo 0 stays", 0, {}, 1550, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
         {{32, {.kind = 1, .value4 = 6}}, {30, {.approachCode = 61}}, {28, {.approachCode = 62}},
          {26, {.approachCode = 63}}, {24, {.approachCode = 64}}}},
        {"negative tempo stays, low 8 bits", 0, {}, 1550, 2, 0, 0, 0, 0, 0, 0, 0, 0, -5, 0, -5,
         {{32, {.kind = 1, .value4 = 6, .timeCode = 251}}, {30, {.approachCode = 61}},
          {28, {.approachCode = 62}}, {26, {.approachCode = 63}}, {24, {.approachCode = 64}}}},
        {"tempo 300 keeps its low 8 bits", 0, {}, 1550, 2, 0, 0, 0, 0, 0, 0, 0, 0, 300, 0, 300,
         {{32, {.kind = 1, .value4 = 6, .timeCode = 44}}, {30, {.approachCode = 61}},
          {28, {.approachCode = 62}}, {26, {.approachCode = 63}}, {24, {.approachCode = 64}}}},
        {"16- and 8-bit wrap-around", 0, {}, 1550, 9, 4000, -4000, 3276, 0, 0, 5, -5, 8, 0, 0, 0,
         {{32, {.kind = 1, .value1 = -25531, .value2 = 25531, .value3 = 32768 - 65536, .value4 = 27}},
          {30, {.approachCode = 15}}, {28, {.approachCode = 16}}, {26, {.approachCode = 17}},
          {24, {.approachCode = 18}}}},
        {"a montagna marker is replaced, its other fields stay", 0,
         {{32, {.kind = 11, .value2 = 7, .scenery = 2, .aux1 = 20}}}, 1550, 1, 4, 0, 0, 0, 1, 3, 0, 0, 0, 0, 0,
         {{32, {.kind = 1, .value1 = 43, .value2 = 0, .value4 = 4, .scenery = 2, .aux1 = 20}},
          {30, {.approachCode = 41}}, {28, {.approachCode = 42}}, {26, {.approachCode = 43}},
          {24, {.approachCode = 44}}}},
        {"a speed board refuses the signal", 0, {{32, {.kind = 6, .value1 = 1500}}}, 1550, 2, 4, 1, 0, 0, 1, 3,
         1, 0, 60, 16, 60, {}},
        {"approach codes overwrite those of any cell", 0,
         {{30, {.kind = 10, .value1 = 3, .approachCode = 99}}, {28, {.kind = 1, .value1 = 5, .approachCode = 7}}},
         1550, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0,
         {{32, {.kind = 1, .value4 = 4}}, {30, {.kind = 10, .value1 = 3, .approachCode = 41}},
          {28, {.kind = 1, .value1 = 5, .approachCode = 42}}, {26, {.approachCode = 43}},
          {24, {.approachCode = 44}}}},
        {"position 0: cell 1, no approach cell exists", 0, {}, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0,
         {{1, {.kind = 1, .value4 = 4}}}},
        {"position 75: cell 2, approach code in cell 0 only", 0, {}, 75, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0,
         {{2, {.kind = 1, .value4 = 4}}, {0, {.approachCode = 41}}}},
        {"position 125: cell 4, approach codes in cells 2 and 0", 0, {}, 125, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0,
         {{4, {.kind = 1, .value4 = 4}}, {2, {.approachCode = 41}}, {0, {.approachCode = 42}}}},
        {"position 6975: the last cell", 0, {}, 6975, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0,
         {{140, {.kind = 1, .value4 = 4}}, {138, {.approachCode = 41}}, {136, {.approachCode = 42}},
          {134, {.approachCode = 43}}, {132, {.approachCode = 44}}}},
        {"beyond the last cell: refused", 0, {}, 7000, 2, 4, 1, 0, 0, 1, 3, 1, 0, 60, 201, 60, {}},
        {"before cell 0: refused", 0, {}, -76, 2, 4, 1, 0, 0, 1, 3, 1, 0, 60, 201, 60, {}},
    };
    for (const Case& c : cases) {
        Form1 form = form_with(c.length, c.setup);
        const std::vector<TrackCell> expected = cells_with(form.grid, c.changes);
        int32_t sx = c.sx, s1 = c.s1, s2 = c.s2, s3 = c.s3, rapp = c.rapp, dx = c.dx, d1 = c.d1, d2 = c.d2,
                d3 = c.d3, tempo = c.tempo;
        form.memo_segnale(c.posizione, sx, s1, s2, s3, rapp, dx, d1, d2, d3, tempo);
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
        std::vector<Put> setup;
        int32_t posizione, vas, vbs, vcs, strisces, vad, vbd, vcd, strisced;
        int32_t error;
        std::vector<Put> changes;
    };
    const Case cases[] = {
        {"board at 15350 m", {}, 15350, 75, 85, 85, 2, 0, 0, 0, 0, 0,
         {{308, {.kind = 6, .value1 = 1500, .value2 = 1700, .value3 = 1700, .value4 = 20}}}},
        {"value with a fifth part", {}, 15350, 100, 0, 0, 1, 80, 3, 2, 4, 0,
         {{308, {.kind = 6, .value1 = 2016, .value2 = 1, .value3 = 0, .value4 = 14}}}},
        {"negative fifths round to nearest", {}, 15350, 0, 0, 0, 0, -3, -2, -8, 0, 0,
         {{308, {.kind = 6, .value1 = -1, .value2 = 0, .value3 = -2}}}},
        {"largest values that fit", {}, 15350, 1638, -1638, 0, 0, 35, -40, 0, 0, 0,
         {{308, {.kind = 6, .value1 = 32767, .value2 = -32768}}}},
        {"stripes keep their low 16 bits", {}, 15350, 0, 0, 0, 4000, 0, 0, 0, 5, 0,
         {{308, {.kind = 6, .value4 = 40005 - 65536}}}},
        {"a montagna marker is replaced", {{308, {.kind = 11, .scenery = 1, .aux2 = 103}}}, 15350, 75, 0, 0, 0, 0,
         0, 0, 0, 0, {{308, {.kind = 6, .value1 = 1500, .scenery = 1, .aux2 = 103}}}},
        {"a signal refuses the board", {{308, {.kind = 1, .value1 = 43}}}, 15350, 75, 0, 0, 0, 0, 0, 0, 0, 21, {}},
        {"vas 1639 does not fit: nothing placed", {}, 15350, 1639, 0, 0, 0, 0, 0, 0, 0, 205, {}},
        {"32767.6 rounds beyond 16 bits", {}, 15350, 1638, 0, 0, 0, 38, 0, 0, 0, 205, {}},
        {"third value below 16 bits", {}, 15350, 0, 0, -1638, 0, 0, 0, -43, 0, 205, {}},
        {"beyond the last cell", {}, 27000, 75, 0, 0, 0, 0, 0, 0, 0, 201, {}},
        {"before cell 0", {}, -100, 75, 0, 0, 0, 0, 0, 0, 0, 201, {}},
    };
    for (const Case& c : cases) {
        Form1 form = form_with(20000, c.setup);  // cells 0 to 540
        const std::vector<TrackCell> expected = cells_with(form.grid, c.changes);
        int32_t vas = c.vas, vbs = c.vbs, vcs = c.vcs, strisces = c.strisces, vad = c.vad, vbd = c.vbd,
                vcd = c.vcd, strisced = c.strisced;
        form.memo_indicatori_v_max(c.posizione, vas, vbs, vcs, strisces, vad, vbd, vcd, strisced);
        EXPECT_EQ(form.errorCode, c.error) << c.name;
        expect_cells(form.grid, expected, c.name);
    }
}

// ---------------------------------------------------------------- slow-downs

TEST(MemoRallentamento, PlacesOrRefusesTheSlowDown) {
    struct Case {
        const char* name;
        std::vector<Put> setup;
        int32_t x, v, l, f_tt, f_ta, d_v;
        int32_t error;
        std::vector<Put> changes;
    };
    const Case cases[] = {
        // w = 17, s = 41, e = 51, approach cells h = 16 down to 13.
        {"full slow-down with approach cells", {}, 2000, 60, 500, 7, 1, 3, 0,
         {{51, {.kind = 2, .value1 = 60, .value2 = 3, .value3 = 7}},
          {41, {.kind = 3, .value1 = 60, .value2 = 3, .value3 = 7}},
          {17, {.kind = 4, .value1 = 60, .value2 = 3}},
          {16, {.kind = 5, .value1 = 1, .value2 = 1}},
          {15, {.kind = 5, .value1 = 2, .value2 = 2}},
          {14, {.kind = 5, .value1 = 3, .value2 = 3}},
          {13, {.kind = 5, .value1 = 4, .value2 = 4}}}},
        {"d_v 0 leaves value2, w keeps value3, markers are replaced",
         {{51, {.kind = 11, .value2 = 9, .scenery = 1}}, {41, {.value2 = 9}}, {17, {.value2 = 9, .value3 = 8}},
          {16, {.value2 = 9}}, {13, {.kind = 11, .value2 = 9}}},
         2000, 60, 500, 7, 1, 0, 0,
         {{51, {.kind = 2, .value1 = 60, .value2 = 9, .value3 = 7, .scenery = 1}},
          {41, {.kind = 3, .value1 = 60, .value2 = 9, .value3 = 7}},
          {17, {.kind = 4, .value1 = 60, .value2 = 9, .value3 = 8}},
          {16, {.kind = 5, .value1 = 1, .value2 = 9}},
          {15, {.kind = 5, .value1 = 2}},
          {14, {.kind = 5, .value1 = 3}},
          {13, {.kind = 5, .value1 = 4, .value2 = 9}}}},
        {"no approach cells without f_ta", {}, 2000, 60, 500, 7, 0, 3, 0,
         {{51, {.kind = 2, .value1 = 60, .value2 = 3, .value3 = 7}},
          {41, {.kind = 3, .value1 = 60, .value2 = 3, .value3 = 7}},
          {17, {.kind = 4, .value1 = 60, .value2 = 3}}}},
        {"1500 m: no warning cell and no approach cells", {}, 1500, 30, 100, 1, 1, 2, 0,
         {{33, {.kind = 2, .value1 = 30, .value2 = 2, .value3 = 1}},
          {31, {.kind = 3, .value1 = 30, .value2 = 2, .value3 = 1}}}},
        // w = round(7.02) = 7, h = round(6.02) = 6.
        {"1501 m: warning cell and approach cells", {}, 1501, 30, 100, 1, 1, 2, 0,
         {{33, {.kind = 2, .value1 = 30, .value2 = 2, .value3 = 1}},
          {31, {.kind = 3, .value1 = 30, .value2 = 2, .value3 = 1}},
          {7, {.kind = 4, .value1 = 30, .value2 = 2}},
          {6, {.kind = 5, .value1 = 1, .value2 = 1}},
          {5, {.kind = 5, .value1 = 2, .value2 = 2}},
          {4, {.kind = 5, .value1 = 3, .value2 = 3}},
          {3, {.kind = 5, .value1 = 4, .value2 = 4}}}},
        // 375 / 50 = 7.5: h = 8 = w, the warning cell just placed is taken.
        {"1575 m: approach cell h is the warning cell", {}, 1575, 30, 100, 1, 1, 0, 20,
         {{34, {.kind = 2, .value1 = 30, .value3 = 1}},
          {32, {.kind = 3, .value1 = 30, .value3 = 1}},
          {8, {.kind = 4, .value1 = 30}}}},
        // 425 / 50 = 8.5: h = 8, w = round(9.5) = 10.
        {"1625 m: approach cells two cells before the warning cell", {}, 1625, 30, 100, 1, 1, 0, 0,
         {{36, {.kind = 2, .value1 = 30, .value3 = 1}},
          {34, {.kind = 3, .value1 = 30, .value3 = 1}},
          {10, {.kind = 4, .value1 = 30}},
          {8, {.kind = 5, .value1 = 1}},
          {7, {.kind = 5, .value1 = 2}},
          {6, {.kind = 5, .value1 = 3}},
          {5, {.kind = 5, .value1 = 4}}}},
        {"end in the start cell leaves a start cell", {}, 2000, 60, 10, 7, 0, 3, 0,
         {{41, {.kind = 3, .value1 = 60, .value2 = 3, .value3 = 7}},
          {17, {.kind = 4, .value1 = 60, .value2 = 3}}}},
        {"warning cell taken: nothing placed", {{17, {.kind = 6}}}, 2000, 60, 500, 7, 1, 3, 17, {}},
        {"start cell taken: nothing placed", {{41, {.kind = 10, .value1 = 4}}}, 2000, 60, 500, 7, 1, 3, 18, {}},
        {"end cell taken: nothing placed", {{51, {.kind = 12, .value1 = 180}}}, 2000, 60, 500, 7, 1, 3, 19, {}},
        {"approach cell taken: start, end and warning stay", {{14, {.kind = 1}}}, 2000, 60, 500, 7, 1, 3, 20,
         {{51, {.kind = 2, .value1 = 60, .value2 = 3, .value3 = 7}},
          {41, {.kind = 3, .value1 = 60, .value2 = 3, .value3 = 7}},
          {17, {.kind = 4, .value1 = 60, .value2 = 3}}}},
        {"values keep their low 16 bits", {}, 1000, 70000, 100, -70000, 0, 65537, 0,
         {{23, {.kind = 2, .value1 = 4464, .value2 = 1, .value3 = -4464}},
          {21, {.kind = 3, .value1 = 4464, .value2 = 1, .value3 = -4464}}}},
        {"end cell beyond the grid: nothing placed", {}, 6000, 60, 2000, 7, 1, 3, 211, {}},
        {"end cell before cell 0: nothing placed", {}, 100, 60, -300, 7, 0, 3, 211, {}},
        {"start cell beyond the grid", {}, 7100, 60, 100, 7, 1, 3, 201, {}},
        {"start cell before cell 0", {}, -100, 60, 100, 7, 0, 3, 201, {}},
    };
    for (const Case& c : cases) {
        Form1 form = form_with(0, c.setup);  // cells 0 to 140
        const std::vector<TrackCell> expected = cells_with(form.grid, c.changes);
        int32_t v = c.v, l = c.l, f_tt = c.f_tt, d_v = c.d_v;
        form.memo_rallentamento(c.x, v, l, f_tt, c.f_ta, d_v);
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
        std::vector<Put> setup;
        std::vector<Stretch> before;  // placed first, without checks
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
        {"first stretch 3000 to 17600 type 11", 20000, {}, {}, {3000, 17600, 11}, 0, 1, 1, 60, 351, 1, 63},
        {"type 2 has no markers", 20000, {}, {}, {3000, 3400, 2}, 0, 2, 1, 60, 67, 2, 0},
        {"gap of 150 m gives type 3", 20000, {}, {{1000, 2000, 2}}, {2150, 3000, 5}, 0, 3, 2, 43, 59, 3, 0},
        {"gap of 151 m keeps the type", 20000, {}, {{1000, 2000, 2}}, {2151, 3000, 5}, 0, 5, 2, 43, 59, 5, 0},
        {"gap of 150 m with 12: type 3 and markers", 20000, {}, {{1000, 2000, 2}}, {2150, 3000, 12}, 0, 3, 2, 43,
         59, 3, 46},
        {"overlapping stretch gets type 3 over the earlier one", 20000, {}, {{1000, 5000, 1}}, {3000, 4000, 2}, 0,
         3, 2, 60, 79, 3, 0},
        {"markers only on empty cells", 20000,
         {{63, {.kind = 1, .value1 = 43}}, {62, {.kind = 11}}, {67, {.kind = 10, .value1 = 2}}}, {},
         {3000, 3600, 11}, 0, 1, 1, 60, 71, 1, 63},
        {"halves round to even at both ends", 0, {}, {}, {25, 125, 1}, 0, 1, 1, 0, 2, 1, 0},
        {"halves round to even, one cell", 0, {}, {}, {75, 175, 1}, 0, 1, 1, 2, 2, 1, 0},
        {"a stretch too short for a cell still counts", 0, {}, {}, {1000, 1000, 11}, 0, 1, 1, 20, 19, 1, 0},
        {"scenery keeps the low 8 bits", 0, {}, {}, {1000, 1400, 300}, 0, 290, 1, 20, 27, 34, 23},
        {"last cell at the upper bound", 0, {}, {}, {6000, 7075, 1}, 0, 1, 1, 120, 140, 1, 0},
        {"last cell beyond the grid: refused", 0, {}, {}, {6000, 7100, 11}, 202, 11, 0, 1, 0, 0, 0},
        {"first cell before cell 0: refused", 0, {}, {}, {-26, 500, 11}, 201, 11, 0, 1, 0, 0, 0},
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
