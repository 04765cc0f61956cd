#include <gtest/gtest.h>

#include "core/form1.h"

namespace {

struct Triple {
    int32_t first, second, third;
};

struct OrderCase {
    const char* name;
    Triple uno, due, tre;       // as read
    Triple s81, s82, s83;       // after ordering
};

const OrderCase kCases[] = {
    {"built-in document", {1000, 0, 0}, {0, 0, 0}, {0, 0, 0}, {1000, 0, 0}, {0, 0, 0}, {0, 0, 0}},
    {"third value 1 adds 100", {900, 450, 1}, {100, 0, 0}, {500, 0, 0}, {900, 550, 1}, {500, 0, 0}, {100, 0, 0}},
    {"shared greatest first value", {1000, 0, 0}, {1000, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}},
    {"all three share it", {50, 1, 1}, {50, 2, 2}, {50, 3, 3}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}},
    {"tre > due > uno", {100, 1, 0}, {200, 2, 0}, {300, 3, 0}, {300, 3, 0}, {200, 2, 0}, {100, 1, 0}},
    {"tre > uno > due", {200, 1, 0}, {100, 2, 0}, {300, 3, 0}, {300, 3, 0}, {200, 1, 0}, {100, 2, 0}},
    {"due > tre > uno", {100, 1, 0}, {300, 2, 0}, {200, 3, 0}, {300, 2, 0}, {200, 3, 0}, {100, 1, 0}},
    {"due > uno > tre", {200, 1, 0}, {300, 2, 0}, {100, 3, 0}, {300, 2, 0}, {200, 1, 0}, {100, 3, 0}},
    {"uno > tre > due", {300, 1, 0}, {100, 2, 0}, {200, 3, 0}, {300, 1, 0}, {200, 3, 0}, {100, 2, 0}},
    {"uno > due > tre", {300, 1, 0}, {200, 2, 0}, {100, 3, 0}, {300, 1, 0}, {200, 2, 0}, {100, 3, 0}},
    {"tre greatest, smaller equal: uno before due", {100, 1, 0}, {100, 2, 0}, {300, 3, 0},
     {300, 3, 0}, {100, 1, 0}, {100, 2, 0}},
    {"due greatest, smaller equal: uno before tre", {100, 1, 0}, {300, 2, 0}, {100, 3, 0},
     {300, 2, 0}, {100, 1, 0}, {100, 3, 0}},
    {"uno greatest, smaller equal: due before tre", {300, 1, 0}, {100, 2, 0}, {100, 3, 0},
     {300, 1, 0}, {100, 2, 0}, {100, 3, 0}},
    {"first values zero, due second value decides", {0, 0, 7}, {0, 300, 8}, {0, 0, 9},
     {0, 300, 8}, {0, 0, 9}, {0, 0, 7}},
    {"first values zero, uno second value wins over due", {0, 50, 1}, {0, 300, 8}, {0, 0, 9},
     {0, 150, 1}, {0, 300, 8}, {0, 0, 9}},
    {"first values zero, only tre second value", {0, 0, 7}, {0, -5, 8}, {0, 250, 9},
     {0, 250, 9}, {0, -5, 8}, {0, 0, 7}},
    {"second values zero or negative: all zero", {0, -50, 1}, {0, 0, 1}, {0, -100, 3},
     {0, 0, 0}, {0, 0, 0}, {0, 0, 0}},
    {"first values summing to zero use the second values", {100, 0, 0}, {-100, 200, 0}, {0, 0, 0},
     {-100, 200, 0}, {0, 0, 0}, {100, 0, 0}},
    {"third value 2 or -1 leaves the second", {300, 50, 2}, {200, 50, -1}, {100, 50, 1},
     {300, 50, 2}, {200, 50, -1}, {100, 150, 1}},
    {"huge first values do not overflow the sum", {2147483647, 0, 0}, {2147483647, 0, 0}, {2, 0, 0},
     {0, 0, 0}, {0, 0, 0}, {0, 0, 0}},
};

void set(ScenarioSlot& s, Triple t) {
    s.long1 = t.first;
    s.long2 = t.second;
    s.long3 = t.third;
}

void expect(const ScenarioSlot& s, Triple t) {
    EXPECT_EQ(s.long1, t.first);
    EXPECT_EQ(s.long2, t.second);
    EXPECT_EQ(s.long3, t.third);
}

}  // namespace

TEST(ProgressiveOrdina, OrdersTheThreeDefinitions) {
    for (const OrderCase& c : kCases) {
        SCOPED_TRACE(c.name);
        Form1 form("/prog");
        set(form.scenario[kSlotProgressive3], c.tre);
        set(form.scenario[kSlotProgressive2], c.due);
        set(form.scenario[kSlotProgressive1], c.uno);
        form.scenario[kSlotProgressive3].label = "kept";
        form.scenario[kSlotProgressive1].long4 = 77;
        form.scenario[kSlotGeneral].long2 = 106000;
        form.progressive_ordina();
        {
            SCOPED_TRACE("slot 81");
            expect(form.scenario[kSlotProgressive3], c.s81);
        }
        {
            SCOPED_TRACE("slot 82");
            expect(form.scenario[kSlotProgressive2], c.s82);
        }
        {
            SCOPED_TRACE("slot 83");
            expect(form.scenario[kSlotProgressive1], c.s83);
        }
        EXPECT_EQ(form.scenario[kSlotProgressive3].label, "kept");
        EXPECT_EQ(form.scenario[kSlotProgressive1].long4, 77);
        EXPECT_EQ(form.scenario[kSlotGeneral].long2, 106000);
    }
}
