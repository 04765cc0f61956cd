#include "tools/drawing/label_layout.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(SpreadLabels, KeepsOrderGapsAndBoundsMovingLabelsOnlyWhenCrowded) {
    struct Case {
        std::vector<double> wanted;
        double gap, lo, hi;
    } cases[] = {
        {{10, 50, 90}, 12, 0, 100},                      // room enough: nothing moves
        {{40, 41, 42, 43, 90}, 12, 0, 100},              // a crowd in the middle
        {{0, 0, 1, 2}, 12, 0, 100},                      // a crowd at the low end
        {{97, 98, 99, 100}, 12, 0, 100},                 // and at the high end
        {{10, 11, 12, 13, 14, 15, 16, 17, 18}, 20, 0, 100},  // more than fit: the gap shrinks
    };
    for (const auto& c : cases) {
        const std::vector<double> placed = spread_labels(c.wanted, c.gap, c.lo, c.hi);
        ASSERT_EQ(placed.size(), c.wanted.size());
        const size_t n = c.wanted.size();
        const double gap = std::fmin(c.gap, (c.hi - c.lo) / static_cast<double>(n - 1));
        bool crowded = false;
        for (size_t i = 1; i < n; ++i) crowded |= c.wanted[i] - c.wanted[i - 1] < gap;
        for (size_t i = 0; i < n; ++i) {
            EXPECT_GE(placed[i], c.lo - 1e-9);
            EXPECT_LE(placed[i], c.hi + 1e-9);
            if (i > 0) {
                EXPECT_GE(placed[i] - placed[i - 1], gap - 1e-9);
            }
            if (!crowded) {
                EXPECT_EQ(placed[i], c.wanted[i]);
            }
        }
    }
}

TEST(LabelSpace, PlacedLabelsNeitherOverlapNorCrossTheLine) {
    LabelSpace space({0, 0, 400, 300});
    const std::vector<Point> line{{0, 150}, {400, 150}};
    space.add_segments(line);
    std::vector<Box> clear;
    for (int i = 0; i < 30; ++i) {
        const auto placed = space.place({200.0 + (i % 5) * 3, 150}, {0, 1}, "STATION " + std::to_string(i), 11, true);
        ASSERT_TRUE(placed.has_value());
        if (!placed->clear) continue;
        const Box& b = placed->box;
        EXPECT_TRUE(b.inside({0, 0, 400, 300}));
        EXPECT_FALSE(b.y0 < 150 && b.y1 > 150) << "crosses the line";
        for (const Box& other : clear) EXPECT_FALSE(b.overlaps(other));
        clear.push_back(b);
    }
    // The first two find room right beside the line, one on each side.
    ASSERT_GE(clear.size(), 2u);
    EXPECT_GT(clear[0].y0, 150);
    EXPECT_LT(clear[0].y0, 162);
    EXPECT_LT(clear[1].y1, 150);
    EXPECT_GT(clear[1].y1, 138);
    // Without the duty to place, a full space gives nothing.
    LabelSpace tiny({0, 0, 20, 20});
    EXPECT_FALSE(tiny.place({10, 10}, {0, 1}, "A LONG NAME", 11, false).has_value());
}

TEST(TextWidth, NeverUnderestimatesWideCapitals) {
    // DejaVu Sans advances: W 0.99 em, M 0.86 em, digits 0.64 em; the estimate covers a mixed name.
    EXPECT_GE(text_width("MONTE", 10), (0.86 + 0.79 + 0.75 + 0.61 + 0.63) * 10);
    EXPECT_GT(text_width("CITT\xC3\x80", 10), text_width("CITT", 10));
    EXPECT_EQ(text_width("\xC3\x80", 10), text_width("\xC3\x88", 10));  // one character each
}
