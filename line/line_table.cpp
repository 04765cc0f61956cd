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

std::span<const double> LineTable::row_values(int row) const {
    const size_t first = index(0, row);
    return {values_.data() + first, static_cast<size_t>(last_) + 1};
}

std::span<const uint8_t> LineTable::row_types(int row) const {
    const size_t first = index(0, row);
    return {types_.data() + first, static_cast<size_t>(last_) + 1};
}

// A step reads the two columns before its own: one check of the column
// covers all six entries it touches, which are then reached directly.
size_t LineTable::step_index(int64_t column) const {
    if (!exists_) outside("column " + std::to_string(column), "the line table was never made");
    if (column < 2 || column > last_) outside("column " + std::to_string(column), "index out of range");
    return static_cast<size_t>(column);
}

void LineTable::straight_step(int64_t column) {
    const size_t x = step_index(column);
    const size_t y = x + static_cast<size_t>(last_) + 1;
    double* v = values_.data();
    const double dx = v[x - 1] - v[x - 2];
    const double dy = v[y - 1] - v[y - 2];
    v[x] = v[x - 1] + dx;
    v[y] = v[y - 1] + dy;
    types_[x] = static_cast<uint8_t>(kDouble);
    types_[y] = static_cast<uint8_t>(kDouble);
}

void LineTable::curve_step(int64_t column, double k) {
    const size_t x = step_index(column);
    const size_t y = x + static_cast<size_t>(last_) + 1;
    double* v = values_.data();
    const double dx = v[x - 1] - v[x - 2];
    const double dy = v[y - 1] - v[y - 2];
    // The new step vector, each component rounded to binary64 before it is added.
    const double nx = dx + k * dy;
    const double ny = dy - k * dx;
    v[x] = v[x - 1] + nx;
    v[y] = v[y - 1] + ny;
    types_[x] = static_cast<uint8_t>(kDouble);
    types_[y] = static_cast<uint8_t>(kDouble);
}
