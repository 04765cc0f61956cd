#include "core/line_table.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "platform/platform.h"

namespace {

// A table of columns 0 to last, seeded and walked straight up to `straightTo`.
LineTable straight_table(int32_t last, int32_t straightTo) {
    LineTable t;
    t.create(last);
    t.seed();
    for (int32_t c = 2; c <= straightTo; ++c) t.straight_step(c);
    return t;
}

}  // namespace

TEST(LineTable, StraightLineRunsAlongYAndLeavesTheLastTwoColumnsEmpty) {
    const int32_t last = 60;
    LineTable t = straight_table(last, last - 2);
    EXPECT_EQ(t.last_column(), last);
    for (int32_t m = 0; m <= last - 2; ++m) {
        SCOPED_TRACE(m);
        EXPECT_EQ(t.type(m, 0), m < 2 ? LineTable::kInt16 : LineTable::kDouble);
        EXPECT_EQ(t.type(m, 1), m < 2 ? LineTable::kInt16 : LineTable::kDouble);
        EXPECT_EQ(t.value(m, 0), 0.0);
        EXPECT_EQ(t.value(m, 1), static_cast<double>(m));
    }
    for (int32_t m : {last - 1, last}) {
        EXPECT_EQ(t.type(m, 0), LineTable::kEmpty);
        EXPECT_EQ(t.type(m, 1), LineTable::kEmpty);
    }
}

TEST(LineTable, CurveStepsTurnTheStepVectorWithoutNormalising) {
    struct CurveCase {
        const char* name;
        double k;
        double x101, y101, x102, y102;
    };
    const CurveCase cases[] = {
        {"right class 5", 0.002, 0.002, 101.0, 0.006, 101.999996},
        {"left class 5 mirrors it", -0.002, -0.002, 101.0, -0.006, 101.999996},
    };
    for (const CurveCase& c : cases) {
        SCOPED_TRACE(c.name);
        LineTable t = straight_table(200, 100);
        t.curve_step(101, c.k);
        t.curve_step(102, c.k);
        EXPECT_NEAR(t.value(101, 0), c.x101, 1e-12);
        EXPECT_NEAR(t.value(101, 1), c.y101, 1e-12);
        EXPECT_NEAR(t.value(102, 0), c.x102, 1e-12);
        EXPECT_NEAR(t.value(102, 1), c.y102, 1e-12);
        EXPECT_EQ(t.type(102, 0), LineTable::kDouble);
        // A straight step after the curve keeps the lengthened, turned vector.
        t.straight_step(103);
        double dx = t.value(102, 0) - t.value(101, 0);
        double dy = t.value(102, 1) - t.value(101, 1);
        EXPECT_EQ(t.value(103, 0), t.value(102, 0) + dx);
        EXPECT_EQ(t.value(103, 1), t.value(102, 1) + dy);
        EXPECT_GT(dx * dx + dy * dy, 1.0);
    }
}

TEST(LineTable, RowsAndColumnsAreSeparateEntries) {
    LineTable t;
    t.create(3);
    t.set_double(3, 0, 2.5);
    t.set_int16(0, 1, -7);
    EXPECT_EQ(t.value(3, 0), 2.5);
    EXPECT_EQ(t.type(3, 1), LineTable::kEmpty);
    EXPECT_EQ(t.value(0, 1), -7.0);
    EXPECT_EQ(t.type(0, 0), LineTable::kEmpty);
    // Making it anew empties every entry.
    t.create(3);
    EXPECT_EQ(t.type(3, 0), LineTable::kEmpty);
    EXPECT_EQ(t.type(0, 1), LineTable::kEmpty);
}

TEST(LineTable, AccessOutsideTheTableIsARunTimeFailure) {
    LineTable never;
    EXPECT_FALSE(never.exists());
    EXPECT_THROW(never.value(0, 0), platform::RunTimeFailure);
    EXPECT_THROW(never.seed(), platform::RunTimeFailure);
    EXPECT_THROW(never.last_column(), platform::RunTimeFailure);

    LineTable t = straight_table(10, 8);
    struct Outside {
        int64_t column;
        int row;
    };
    for (Outside o : {Outside{-1, 0}, Outside{11, 0}, Outside{0, 2}, Outside{10, -1}, Outside{11, 1}}) {
        SCOPED_TRACE(std::to_string(o.column) + "," + std::to_string(o.row));
        EXPECT_THROW(t.value(o.column, o.row), platform::RunTimeFailure);
        EXPECT_THROW(t.set_double(o.column, o.row, 1.0), platform::RunTimeFailure);
    }
    EXPECT_THROW(t.straight_step(11), platform::RunTimeFailure);
    EXPECT_THROW(t.curve_step(1, 0.001), platform::RunTimeFailure);
    EXPECT_THROW(t.create(-1), platform::RunTimeFailure);

    t.destroy();
    EXPECT_FALSE(t.exists());
    EXPECT_THROW(t.value(0, 0), platform::RunTimeFailure);
}

// Walks of many columns give every entry exactly as the steps' definition
// does, metre by metre, whatever mix of straight runs and curves of either hand.
TEST(LineTable, WalksMatchTheStepDefinitionBitForBit) {
    struct Walk {
        int64_t first, last;
        double k;  // 0 for a straight run
    };
    const int32_t lastColumn = 3000;
    const Walk walks[] = {{2, 100, 0.0},    {101, 400, 0.002}, {401, 401, 0.0},     {402, 700, -0.003},
                          {701, 1500, 0.0}, {1501, 1501, 0.0001}, {1502, lastColumn - 2, 0.0}};
    LineTable t;
    t.create(lastColumn);
    t.seed();
    std::vector<double> x(lastColumn + 1, 0.0), y(lastColumn + 1, 0.0);
    y[1] = 1.0;
    for (const Walk& w : walks) {
        if (w.k == 0.0) t.straight_steps(w.first, w.last);
        else t.curve_steps(w.first, w.last, w.k);
        for (int64_t c = w.first; c <= w.last; ++c) {
            const double dx = x[c - 1] - x[c - 2];
            const double dy = y[c - 1] - y[c - 2];
            const double kdy = w.k * dy;
            const double kdx = w.k * dx;
            const double nx = w.k == 0.0 ? dx : dx + kdy;
            const double ny = w.k == 0.0 ? dy : dy - kdx;
            x[c] = x[c - 1] + nx;
            y[c] = y[c - 1] + ny;
        }
    }
    for (int64_t c = 2; c <= lastColumn - 2; ++c) {
        ASSERT_EQ(t.type(c, 0), LineTable::kDouble) << c;
        ASSERT_EQ(t.type(c, 1), LineTable::kDouble) << c;
        ASSERT_EQ(t.value(c, 0), x[c]) << c;
        ASSERT_EQ(t.value(c, 1), y[c]) << c;
    }
    EXPECT_EQ(t.type(lastColumn - 1, 0), LineTable::kEmpty);

    // An empty walk touches nothing; a walk reaching outside the table fails.
    t.straight_steps(lastColumn, lastColumn - 1);
    EXPECT_EQ(t.type(lastColumn, 1), LineTable::kEmpty);
    EXPECT_THROW(t.straight_steps(1, 10), platform::RunTimeFailure);
    EXPECT_THROW(t.curve_steps(lastColumn - 1, lastColumn + 1, 0.001), platform::RunTimeFailure);
    EXPECT_EQ(t.type(lastColumn - 1, 0), LineTable::kEmpty);
}

// A copy is a table of its own; a moved-from table no longer exists.
TEST(LineTable, CopiesAreIndependentAndMovesLeaveNothingBehind) {
    LineTable t = straight_table(20, 18);
    t.set_int16(19, 0, -3);
    LineTable copy = t;
    copy.set_double(5, 1, 99.5);
    EXPECT_EQ(t.value(5, 1), 5.0);
    EXPECT_EQ(copy.value(5, 1), 99.5);
    EXPECT_EQ(copy.type(19, 0), LineTable::kInt16);
    EXPECT_EQ(copy.value(19, 0), -3.0);
    EXPECT_EQ(copy.type(20, 1), LineTable::kEmpty);

    LineTable moved = std::move(copy);
    EXPECT_FALSE(copy.exists());
    EXPECT_THROW(copy.value(0, 0), platform::RunTimeFailure);
    EXPECT_EQ(moved.value(5, 1), 99.5);
    copy = moved;  // a moved-from table takes a copy anew
    EXPECT_EQ(copy.value(18, 1), 18.0);
    moved = LineTable();
    EXPECT_FALSE(moved.exists());
    EXPECT_EQ(copy.last_column(), 20);
}

// The kinds of entries are kept by entry across the words of their sets and
// the boundary between the rows: a run of floating-point entries ends at the
// first other entry or at the end of its row, and an entry changes kind when
// it is written anew.
TEST(LineTable, KindsHoldAcrossWordsAndRows) {
    const int32_t last = 200;  // rows of 201 entries: row 1 starts inside a word
    LineTable t = straight_table(last, last);
    EXPECT_EQ(t.double_count(), 2u * (last - 1));
    EXPECT_EQ(t.int16_count(), 4u);
    struct Case {
        int row;
        size_t from, end;
    };
    // Columns 0 and 1 are 16-bit (the seed); 2 to the last are floating point.
    for (Case c : {Case{0, 0, 0}, Case{0, 2, last + 1}, Case{1, 1, 1}, Case{1, 2, last + 1}, Case{1, 63, last + 1},
                   Case{0, last + 1, last + 1}}) {
        EXPECT_EQ(t.end_of_doubles(c.row, c.from), c.end) << c.row << " " << c.from;
    }
    t.set_int16(64, 1, -7);  // the first entry of a word in row 0's numbering, 64 of row 1
    t.set_int16(127, 0, 9);
    EXPECT_EQ(t.end_of_doubles(0, 2), 127u);
    EXPECT_EQ(t.end_of_doubles(0, 128), size_t{last} + 1);
    EXPECT_EQ(t.end_of_doubles(1, 2), 64u);
    EXPECT_EQ(t.type(64, 1), LineTable::kInt16);
    EXPECT_EQ(t.value(64, 1), -7.0);
    EXPECT_EQ(t.int16_count(), 6u);
    // Walked over again, they are floating point once more, with the step's values.
    t.straight_steps(60, 130);
    EXPECT_EQ(t.type(64, 1), LineTable::kDouble);
    EXPECT_EQ(t.value(127, 0), 0.0);
    EXPECT_EQ(t.value(127, 1), 127.0);
    EXPECT_EQ(t.end_of_doubles(1, 2), size_t{last} + 1);
    EXPECT_EQ(t.int16_count(), 4u);
    // An empty entry ends a run as well.
    LineTable partial = straight_table(last, 100);
    EXPECT_EQ(partial.end_of_doubles(0, 2), 101u);
    EXPECT_EQ(partial.type(101, 0), LineTable::kEmpty);
}
