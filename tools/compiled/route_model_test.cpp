#include "tools/compiled/route_model.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

double distance_to_polyline(Point p, const std::vector<Point>& line) {
    double best = INFINITY;
    for (size_t i = 1; i < line.size(); ++i) {
        const Point a = line[i - 1], b = line[i];
        const double dx = b.x - a.x, dy = b.y - a.y, len2 = dx * dx + dy * dy;
        double t = len2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2 : 0;
        t = std::fmax(0, std::fmin(1, t));
        best = std::fmin(best, std::hypot(p.x - a.x - t * dx, p.y - a.y - t * dy));
    }
    return best;
}

// A line like the line table's: straight north, a right-hand curve, straight again.
std::vector<Point> bent_line(double turnRate, int straight, int curve) {
    std::vector<Point> pts{{0, 0}, {0, 1}};
    double dx = 0, dy = 1;
    for (int m = 2; m <= 2 * straight + curve; ++m) {
        if (m > straight && m <= straight + curve) {
            const double nx = dx + turnRate * dy, ny = dy - turnRate * dx;
            dx = nx;
            dy = ny;
        }
        pts.push_back({pts.back().x + dx, pts.back().y + dy});
    }
    return pts;
}

}  // namespace

TEST(Simplify, KeepsEveryDroppedPointWithinTheTolerance) {
    struct Case {
        std::vector<Point> line;
        double tolerance;
        size_t most;  // points kept at most
    } cases[] = {
        {bent_line(0, 200, 0), 1.0, 2},           // straight: the two ends alone
        {bent_line(0.003, 400, 300), 1.0, 40},    // tight curve
        {bent_line(0.0001, 400, 300), 1.0, 6},    // gentle curve
        {{{0, 0}, {5, 5}, {10, 0}, {15, 5}}, 1.0, 4},
    };
    for (const auto& c : cases) {
        const std::vector<Point> kept = simplify(c.line, c.tolerance);
        ASSERT_GE(kept.size(), 2u);
        EXPECT_LE(kept.size(), c.most);
        EXPECT_EQ(kept.front().x, c.line.front().x);
        EXPECT_EQ(kept.back().y, c.line.back().y);
        for (const Point& p : c.line) EXPECT_LE(distance_to_polyline(p, kept), c.tolerance);
    }
}

TEST(HeightProfile, IntegratesFiftyMetresOfGradientPerCell) {
    const std::vector<int> gradient{0, 10, 10, -4, 155, -100};
    const std::vector<double> h = height_profile(gradient);
    ASSERT_EQ(h.size(), gradient.size() + 1);
    EXPECT_EQ(h[0], 0);
    for (size_t k = 0; k < gradient.size(); ++k) EXPECT_DOUBLE_EQ(h[k + 1] - h[k], 50.0 * gradient[k] / 1000);
}

TEST(BuildRouteModel, FindsNamesThroughTheirCellsAndTrimsTheProfile) {
    std::vector<TrackCell> grid(20);
    ScenarioTable table;
    table[kSlotGeneral].long2 = 300;
    table[kSlotRoute].label = "R";
    table[kSlotTrain].label = "T";
    auto station = [&](int slot, const char* name, int32_t position, uint8_t tag) {
        table[static_cast<size_t>(slot)].label = name;
        table[static_cast<size_t>(slot)].long3 = position;
        table[static_cast<size_t>(slot)].tag = tag;
    };
    station(1, "CITT\xC0", 0, 4);    // stop cell 6
    station(2, "FERMATA", 650, 25);  // no stop cell: its own position
    table[80].label = "(GALLERIA)";
    grid[6].kind = kStationStop;
    grid[6].value1 = 1;
    grid[9].kind = kStationStop;
    grid[9].value1 = 80;  // a caption slot is no station
    grid[11].kind = kSign;
    grid[11].value1 = 80;
    grid[12].kind = kSign;
    grid[12].value1 = 300;  // outside the table
    grid[3].kind = kSignal;
    grid[4].kind = kSpeedBoard;
    for (size_t k = 0; k < 15; ++k) {
        grid[k].aux1 = 16;
        grid[k].aux2 = static_cast<uint8_t>(100 + k);
        grid[k].aux3 = 90;
    }

    const RouteModel m = build_route_model(grid, table, nullptr);
    ASSERT_EQ(m.stations.size(), 2u);
    EXPECT_EQ(m.stations[0].name, "CITT\xC3\x80");
    EXPECT_EQ(m.stations[0].position, static_cast<double>(cell_position(6)));
    EXPECT_TRUE(m.stations[0].hasStopCell);
    EXPECT_EQ(m.stations[1].position, 650);
    EXPECT_FALSE(m.stations[1].hasStopCell);
    ASSERT_EQ(m.boards.size(), 2u);
    EXPECT_EQ(m.boards[0].caption, "(GALLERIA)");
    EXPECT_EQ(m.boards[0].position, static_cast<double>(cell_position(11)));
    EXPECT_EQ(m.boards[1].caption, "?");
    EXPECT_EQ(m.signals.size(), 1u);
    EXPECT_EQ(m.speedBoards.size(), 1u);
    ASSERT_EQ(m.gradient.size(), 15u);  // the empty cells at the end are left out
    EXPECT_EQ(m.gradient[14], 14);
    EXPECT_EQ(m.speed[0], 80);
    EXPECT_FALSE(m.line.present());
    // The phrase compile prints, counted without the model, is the model's.
    EXPECT_EQ(scenario_counts(grid, table), scenario_counts(m));
    EXPECT_EQ(scenario_counts(grid, table),
              "route R, 300 m; train T; 2 stations, 1 signal, 2 indication boards, 1 speed board");
}

TEST(BuildRouteModel, PlanEndsAtTheFirstEmptyMetreAndRefusesNonNumbers) {
    LineTable table;
    table.create(10);
    table.seed();
    for (int m = 2; m <= 6; ++m) table.straight_step(m);
    std::vector<TrackCell> grid(3);
    ScenarioTable scenario;
    const RouteModel m = build_route_model(grid, scenario, &table);
    ASSERT_EQ(m.line.last(), 6);
    EXPECT_EQ(m.line.at(6)->y, 6);
    EXPECT_FALSE(m.line.at(6.5).has_value());
    EXPECT_DOUBLE_EQ(m.line.at(2.5)->y, 2.5);

    table.set_double(4, 0, NAN);
    EXPECT_ANY_THROW(build_route_model(grid, scenario, &table));
}

TEST(SampleLine, TakesOnePointEveryStepAndTheEnd) {
    CentreLine line;
    for (int m = 0; m <= 95; ++m) line.metres.push_back({0, static_cast<double>(m)});
    const std::vector<Point> pts = sample_line(line, 0, 95, 10);
    ASSERT_EQ(pts.size(), 11u);
    EXPECT_EQ(pts[9].y, 90);
    EXPECT_EQ(pts.back().y, 95);
    EXPECT_EQ(sample_line(line, 40, 500, 10).back().y, 95);  // clamped to the filled part
}
