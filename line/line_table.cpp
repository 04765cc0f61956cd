// The line table: one x and one y per metre, stored as a value and a type
// byte per entry, in the element order of the line data file.
#include "line/line_table.h"

#include <cstring>
#include <string>
#include <utility>

#include "platform/platform.h"

namespace {
[[noreturn]] void outside(const std::string& where, const std::string& why) {
    throw platform::RunTimeFailure("access line table", where, why);
}
}  // namespace

void LineTable::create(int32_t lastColumn) {
    if (lastColumn < 0) outside("column " + std::to_string(lastColumn), "negative size");
    const size_t entries = 2 * (static_cast<size_t>(lastColumn) + 1);
    memory_ = platform::ZeroedMemory(entries * (sizeof(double) + sizeof(uint8_t)));
    values_ = static_cast<double*>(memory_.data());
    types_ = reinterpret_cast<uint8_t*>(values_ + entries);
    entries_ = entries;
    last_ = lastColumn;
    exists_ = true;
}

void LineTable::destroy() {
    memory_ = platform::ZeroedMemory();
    values_ = nullptr;
    types_ = nullptr;
    entries_ = 0;
    last_ = -1;
    exists_ = false;
}

LineTable::LineTable(const LineTable& other) { *this = other; }

LineTable& LineTable::operator=(const LineTable& other) {
    if (this == &other) return *this;
    if (!other.exists_) {
        destroy();
        return *this;
    }
    create(other.last_);
    std::memcpy(values_, other.values_, entries_ * sizeof(double));
    std::memcpy(types_, other.types_, entries_);
    return *this;
}

LineTable::LineTable(LineTable&& other) noexcept { take_from(other); }

LineTable& LineTable::operator=(LineTable&& other) noexcept {
    if (this != &other) take_from(other);
    return *this;
}

void LineTable::take_from(LineTable& other) noexcept {
    memory_ = std::move(other.memory_);
    values_ = other.values_;
    types_ = other.types_;
    entries_ = other.entries_;
    last_ = other.last_;
    exists_ = other.exists_;
    other.values_ = nullptr;
    other.types_ = nullptr;
    other.entries_ = 0;
    other.last_ = -1;
    other.exists_ = false;
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
    return {values_ + first, static_cast<size_t>(last_) + 1};
}

std::span<const uint8_t> LineTable::row_types(int row) const {
    const size_t first = index(0, row);
    return {types_ + first, static_cast<size_t>(last_) + 1};
}

void LineTable::check_steps(int64_t first, int64_t last) const {
    if (!exists_) outside("column " + std::to_string(first), "the line table was never made");
    if (first < 2) outside("column " + std::to_string(first), "index out of range");
    if (last > last_) outside("column " + std::to_string(last), "index out of range");
}

void LineTable::straight_steps(int64_t first, int64_t last) {
    if (first > last) return;
    check_steps(first, last);
    const size_t stride = static_cast<size_t>(last_) + 1;
    double* xs = values_;
    double* ys = values_ + stride;
    uint8_t* const types = types_;
    double x0 = xs[first - 2], x1 = xs[first - 1];
    double y0 = ys[first - 2], y1 = ys[first - 1];
    for (size_t c = static_cast<size_t>(first); c <= static_cast<size_t>(last); ++c) {
        const double dx = x1 - x0;
        const double dy = y1 - y0;
        x0 = x1;
        y0 = y1;
        x1 = x1 + dx;
        y1 = y1 + dy;
        xs[c] = x1;
        ys[c] = y1;
        types[c] = static_cast<uint8_t>(kDouble);
        types[c + stride] = static_cast<uint8_t>(kDouble);
    }
}

void LineTable::curve_steps(int64_t first, int64_t last, double k) {
    if (first > last) return;
    check_steps(first, last);
    const size_t stride = static_cast<size_t>(last_) + 1;
    double* xs = values_;
    double* ys = values_ + stride;
    uint8_t* const types = types_;
    double x0 = xs[first - 2], x1 = xs[first - 1];
    double y0 = ys[first - 2], y1 = ys[first - 1];
    for (size_t c = static_cast<size_t>(first); c <= static_cast<size_t>(last); ++c) {
        const double dx = x1 - x0;
        const double dy = y1 - y0;
        // The new step vector, each component rounded to binary64 before it is added.
        const double nx = dx + k * dy;
        const double ny = dy - k * dx;
        x0 = x1;
        y0 = y1;
        x1 = x1 + nx;
        y1 = y1 + ny;
        xs[c] = x1;
        ys[c] = y1;
        types[c] = static_cast<uint8_t>(kDouble);
        types[c + stride] = static_cast<uint8_t>(kDouble);
    }
}
