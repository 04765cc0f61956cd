#include "line/line_table.h"

#include <gtest/gtest.h>

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
