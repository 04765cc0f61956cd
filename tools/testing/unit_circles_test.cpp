// The circle finder over made-up include graphs; layering_test.cpp holds the
// project's own includes to it.
#include "tools/testing/unit_circles.h"

#include <gtest/gtest.h>

namespace {

TEST(UnitCircles, FoundInIncludeGraphs) {
    struct Case {
        const char* name;
        std::vector<IncludeLine> includes;
        std::vector<UnitCircle> circles;
    };
    const Case cases[] = {
        {.name = "two units, a source and a header closing the circle",
         .includes = {{"core/a.cpp", "core/a.h"}, {"core/a.cpp", "core/b.h"}, {"core/b.h", "core/a.h"},
                      {"core/b.cpp", "core/b.h"}},
         .circles = {{.units = {"core/a", "core/b"},
                      .steps = {"core/a.cpp includes core/b.h", "core/b.h includes core/a.h"}}}},
        {.name = "three units across folders, the unit left of it apart",
         .includes = {{"train/z.h", "core/x.h"}, {"core/x.h", "line/y.h"}, {"line/y.cpp", "train/z.h"},
                      {"core/x.cpp", "platform/p.h"}, {"line/y.h", "platform/p.h"}},
         .circles = {{.units = {"core/x", "line/y", "train/z"},
                      .steps = {"core/x.h includes line/y.h", "line/y.cpp includes train/z.h",
                                "train/z.h includes core/x.h"}}}},
        {.name = "a header including itself and its source including it",
         .includes = {{"core/a.h", "core/a.h"}, {"core/a.cpp", "core/a.h"}},
         .circles = {}},
        {.name = "no circle: two ways to one header, and a table of rows",
         .includes = {{"tools/d/a.cpp", "tools/d/b.h"}, {"tools/d/a.cpp", "tools/d/c.h"},
                      {"tools/d/b.h", "core/d.h"}, {"tools/d/c.cpp", "core/d.h"}, {"core/d.h", "core/d.def"},
                      {"core/d.cpp", "core/d.def"}},
         .circles = {}},
        {.name = "a test would close the circle, but tests stand aside",
         .includes = {{"core/a.cpp", "core/b.h"}, {"core/b_test.cpp", "core/a.h"}, {"core/b_test.cpp", "core/b.h"}},
         .circles = {}},
        {.name = "one loop holds all five units, though the nearest unit after the second leads back early",
         .includes = {{"core/a.cpp", "core/c.h"}, {"core/c.h", "core/b.h"}, {"core/c.cpp", "core/d.h"},
                      {"core/b.cpp", "core/a.h"}, {"core/d.cpp", "core/e.h"}, {"core/d.h", "core/b.h"},
                      {"core/e.h", "core/b.h"}},
         .circles = {{.units = {"core/a", "core/c", "core/d", "core/e", "core/b"},
                      .steps = {"core/a.cpp includes core/c.h", "core/c.cpp includes core/d.h",
                                "core/d.cpp includes core/e.h", "core/e.h includes core/b.h",
                                "core/b.cpp includes core/a.h"}}}},
        {.name = "two loops through one unit: the walk passes it twice",
         .includes = {{"core/hub.cpp", "core/left.h"}, {"core/left.cpp", "core/hub.h"}, {"core/hub.h", "core/right.h"},
                      {"core/right.h", "core/hub.h"}},
         .circles = {{.units = {"core/hub", "core/left", "core/hub", "core/right"},
                      .steps = {"core/hub.cpp includes core/left.h", "core/left.cpp includes core/hub.h",
                                "core/hub.h includes core/right.h", "core/right.h includes core/hub.h"}}}},
        {.name = "two circles apart, by their least unit, the least include naming a step",
         .includes = {{"tools/b/q.h", "tools/b/p.h"}, {"tools/b/p.cpp", "tools/b/q.h"}, {"tools/a/s.h", "tools/a/r.h"},
                      {"tools/a/r.h", "tools/a/s.h"}, {"tools/a/r.cpp", "tools/a/s.h"}, {"tools/a/s.h", "tools/b/p.h"}},
         .circles = {{.units = {"tools/a/r", "tools/a/s"},
                      .steps = {"tools/a/r.cpp includes tools/a/s.h", "tools/a/s.h includes tools/a/r.h"}},
                     {.units = {"tools/b/p", "tools/b/q"},
                      .steps = {"tools/b/p.cpp includes tools/b/q.h", "tools/b/q.h includes tools/b/p.h"}}}},
    };
    for (const Case& c : cases) {
        const std::vector<UnitCircle> circles = find_unit_circles(c.includes);
        ASSERT_EQ(circles.size(), c.circles.size()) << c.name;
        for (size_t i = 0; i < circles.size(); ++i) {
            EXPECT_EQ(circles[i].units, c.circles[i].units) << c.name;
            EXPECT_EQ(circles[i].steps, c.circles[i].steps) << c.name;
        }
    }
}

TEST(UnitCircles, DescribedAsAWalkBackToItsStart) {
    const UnitCircle circle{.units = {"core/x", "line/y"},
                            .steps = {"core/x.h includes line/y.h", "line/y.cpp includes core/x.h"}};
    EXPECT_EQ(describe_circle(circle),
              "core/x -> line/y -> core/x (core/x.h includes line/y.h; line/y.cpp includes core/x.h)");
}

}  // namespace
