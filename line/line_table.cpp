#include "line/line_table.h"

void LineTable::create(int32_t) {}
void LineTable::destroy() {}
int32_t LineTable::last_column() const { return last_; }
uint16_t LineTable::type(int64_t, int) const { return kEmpty; }
double LineTable::value(int64_t, int) const { return 0; }
void LineTable::set_int16(int64_t, int, int16_t) {}
void LineTable::set_double(int64_t, int, double) {}
void LineTable::seed() {}
void LineTable::straight_step(int64_t) {}
void LineTable::curve_step(int64_t, double) {}
