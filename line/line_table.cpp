// The line table: one x and one y per metre, stored as a value and a type
// byte per entry, in the element order of the line data file.
#include "line/line_table.h"

#include <string>

#include "platform/platform.h"

namespace {
[[noreturn]] void outside(const std::string& where, const std::string& why) {
    throw platform::RunTimeFailure("access line table", where, why);
}
}  // namespace

void LineTable::create(int32_t lastColumn) {
    if (lastColumn < 0) outside("column " + std::to_string(lastColumn), "negative size");
    size_t entries = 2 * (static_cast<size_t>(lastColumn) + 1);
    values_.assign(entries, 0.0);
    types_.assign(entries, static_cast<uint8_t>(kEmpty));
    last_ = lastColumn;
    exists_ = true;
}

void LineTable::destroy() {
    values_.clear();
    values_.shrink_to_fit();
    types_.clear();
    types_.shrink_to_fit();
    last_ = -1;
    exists_ = false;
}

int32_t LineTable::last_column() const {
    if (!exists_) outside("last column", "the line table was never made");
    return last_;
}

size_t LineTable::index(int64_t column, int row) const {
    if (!exists_) outside("column " + std::to_string(column), "the line table was never made");
    if (column < 0 || column > last_ || row < 0 || row > 1)
        outside("column " + std::to_string(column) + " row " + std::to_string(row), "index out of range");
    return static_cast<size_t>(column) + static_cast<size_t>(row) * (static_cast<size_t>(last_) + 1);
}

uint16_t LineTable::type(int64_t column, int row) const { return types_[index(column, row)]; }

// An empty entry counts as 0, as an empty variant does in arithmetic.
double LineTable::value(int64_t column, int row) const { return values_[index(column, row)]; }

void LineTable::set_int16(int64_t column, int row, int16_t v) {
    size_t i = index(column, row);
    values_[i] = v;
    types_[i] = static_cast<uint8_t>(kInt16);
}

void LineTable::set_double(int64_t column, int row, double v) {
    size_t i = index(column, row);
    values_[i] = v;
    types_[i] = static_cast<uint8_t>(kDouble);
}

void LineTable::seed() {
    set_int16(0, 0, 0);
    set_int16(0, 1, 0);
    set_int16(1, 0, 0);
    set_int16(1, 1, 1);
}

void LineTable::straight_step(int64_t column) {
    double dx = value(column - 1, 0) - value(column - 2, 0);
    double dy = value(column - 1, 1) - value(column - 2, 1);
    set_double(column, 0, value(column - 1, 0) + dx);
    set_double(column, 1, value(column - 1, 1) + dy);
}

void LineTable::curve_step(int64_t column, double k) {
    double dx = value(column - 1, 0) - value(column - 2, 0);
    double dy = value(column - 1, 1) - value(column - 2, 1);
    // The new step vector, each component rounded to binary64 before it is added.
    double nx = dx + k * dy;
    double ny = dy - k * dx;
    set_double(column, 0, value(column - 1, 0) + nx);
    set_double(column, 1, value(column - 1, 1) + ny);
}
