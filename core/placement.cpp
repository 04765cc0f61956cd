// Placement of montagna stretches, speed boards, signals and slow-downs on the grid.
#include "core/form1.h"

void Form1::memo_montagna(int32_t&, int32_t&, int32_t&) {}
void Form1::memo_indicatori_v_max(int32_t, int32_t&, int32_t&, int32_t&, int32_t&, int32_t&, int32_t&,
                                  int32_t&, int32_t&) {}
void Form1::memo_segnale(int32_t, int32_t&, int32_t&, int32_t&, int32_t&, int32_t&, int32_t&, int32_t&,
                         int32_t&, int32_t&, int32_t&) {}
void Form1::memo_rallentamento(int32_t, int32_t&, int32_t&, int32_t&, int32_t, int32_t&) {}
