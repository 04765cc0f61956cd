// Ordering of the three kilometric progressive definitions in slots 81 to 83.
#include <cstdint>

#include "core/form1.h"

namespace {

struct Progressive {
    int32_t first = 0;
    int32_t second = 0;
    int32_t third = 0;
    int32_t record = -1;  // the traced record the values came from
};

void put(ScenarioSlot& s, const Progressive& p) {
    s.long1 = p.first;
    s.long2 = p.second;
    s.long3 = p.third;
}

}  // namespace

void Form1::progressive_ordina() {
    // As read: "tre" in slot 81, "due" in 82, "uno" in 83.
    auto take = [this](int slot) {
        const ScenarioSlot& s = scenario[slot];
        return Progressive{s.long1, s.long2, s.long3, trace.progressiveRecords[slot - kSlotProgressive3]};
    };
    const Progressive a = take(kSlotProgressive3);
    const Progressive b = take(kSlotProgressive2);
    const Progressive c = take(kSlotProgressive1);
    const Progressive none{};
    Progressive order[3] = {none, none, none};
    auto place = [&order](const Progressive& x, const Progressive& y, const Progressive& z) {
        order[0] = x;
        order[1] = y;
        order[2] = z;
    };

    // The sum is taken wide so that no set of first values can overflow it.
    const int64_t sum = int64_t{a.first} + b.first + c.first;
    if (sum != 0) {
        // Greatest first value first; on equal smaller values the later slot leads.
        if (a.first > b.first && a.first > c.first) {
            if (b.first > c.first) place(a, b, c);
            else place(a, c, b);
        } else if (b.first > a.first && b.first > c.first) {
            if (a.first > c.first) place(b, a, c);
            else place(b, c, a);
        } else if (c.first > a.first && c.first > b.first) {
            if (a.first > b.first) place(c, a, b);
            else place(c, b, a);
        }
        // A greatest first value shared by two or three: all zero.
    } else if (c.second > 0) {
        place(c, b, a);
    } else if (b.second > 0) {
        place(b, a, c);
    } else if (a.second > 0) {
        place(a, b, c);
    }

    const int slots[3] = {kSlotProgressive3, kSlotProgressive2, kSlotProgressive1};
    for (int i = 0; i < 3; ++i) {
        if (order[i].third == 1) {
            order[i].second = static_cast<int32_t>(static_cast<uint32_t>(order[i].second) + 100u);
        }
        put(scenario[slots[i]], order[i]);
        trace.progressive(i, order[i].record);
    }
}
