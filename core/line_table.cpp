// The line table: one x and one y per metre, each entry a value and its kind
// (empty, 16-bit, floating point), in the element order of the line data file.
#include "core/line_table.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <string>
#include <utility>

#include "platform/platform.h"

namespace {
[[noreturn]] void outside(const std::string& where, const std::string& why) {
    throw platform::RunTimeFailure("access line table", where, why);
}

constexpr uint64_t bit_of(size_t i) { return uint64_t{1} << (i % 64); }

// Bits first to first + count - 1 of a bit set, all set (or all cleared):
// the partial words at either end by mask, the whole ones between at once.
void set_bits(uint64_t* words, size_t first, size_t count, bool on) {
    if (count == 0) return;
    const size_t last = first + count - 1;
    const auto apply = [&](size_t w, uint64_t mask) { words[w] = on ? (words[w] | mask) : (words[w] & ~mask); };
    const uint64_t fromFirst = ~uint64_t{0} << (first % 64);       // bits first.. of its word
    const uint64_t toLast = ~uint64_t{0} >> (63 - last % 64);      // bits ..last of its word
    if (first / 64 == last / 64) {
        apply(first / 64, fromFirst & toLast);
        return;
    }
    apply(first / 64, fromFirst);
    for (size_t w = first / 64 + 1; w < last / 64; ++w) words[w] = on ? ~uint64_t{0} : 0;
    apply(last / 64, toLast);
}
}  // namespace

void LineTable::create(int32_t lastColumn) {
    if (lastColumn < 0) outside("column " + std::to_string(lastColumn), "negative size");
    const size_t entries = 2 * (static_cast<size_t>(lastColumn) + 1);
    const size_t words = (entries + 63) / 64;
    memory_ = platform::ZeroedMemory((entries + 2 * words) * sizeof(uint64_t));
    values_ = static_cast<uint64_t*>(memory_.data());
    doubles_ = values_ + entries;
    ints_ = doubles_ + words;
    entries_ = entries;
    words_ = words;
    last_ = lastColumn;
    exists_ = true;
}

void LineTable::destroy() {
    memory_ = platform::ZeroedMemory();
    values_ = nullptr;
    doubles_ = nullptr;
    ints_ = nullptr;
    entries_ = 0;
    words_ = 0;
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
    std::memcpy(values_, other.values_, (entries_ + 2 * words_) * sizeof(uint64_t));
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
    doubles_ = other.doubles_;
    ints_ = other.ints_;
    entries_ = other.entries_;
    words_ = other.words_;
    last_ = other.last_;
    exists_ = other.exists_;
    other.values_ = nullptr;
    other.doubles_ = nullptr;
    other.ints_ = nullptr;
    other.entries_ = 0;
    other.words_ = 0;
    other.last_ = -1;
    other.exists_ = false;
}

void LineTable::require_made() const {
    if (!exists_) outside("last column", "the line table was never made");
}

int32_t LineTable::last_column() const {
    require_made();
    return last_;
}

size_t LineTable::index(int64_t column, int row) const {
    if (!exists_) outside("column " + std::to_string(column), "the line table was never made");
    if (column < 0 || column > last_ || row < 0 || row > 1)
        outside("column " + std::to_string(column) + " row " + std::to_string(row), "index out of range");
    return static_cast<size_t>(column) + static_cast<size_t>(row) * (static_cast<size_t>(last_) + 1);
}

uint16_t LineTable::type(int64_t column, int row) const {
    const size_t i = index(column, row);
    if (doubles_[i / 64] & bit_of(i)) return kDouble;
    if (ints_[i / 64] & bit_of(i)) return kInt16;
    return kEmpty;
}

double LineTable::value(int64_t column, int row) const { return read(index(column, row)); }

// An empty entry counts as 0, as an empty variant does in arithmetic.
double LineTable::read(size_t i) const {
    if (doubles_[i / 64] & bit_of(i)) return std::bit_cast<double>(values_[i]);
    if (ints_[i / 64] & bit_of(i)) return static_cast<int16_t>(static_cast<uint16_t>(values_[i]));
    return 0.0;
}

void LineTable::set_int16(int64_t column, int row, int16_t v) {
    const size_t i = index(column, row);
    values_[i] = static_cast<uint16_t>(v);
    doubles_[i / 64] &= ~bit_of(i);
    ints_[i / 64] |= bit_of(i);
}

void LineTable::set_double(int64_t column, int row, double v) {
    const size_t i = index(column, row);
    values_[i] = std::bit_cast<uint64_t>(v);
    mark_doubles(i, 1);
}

void LineTable::mark_doubles(size_t first, size_t count) {
    set_bits(doubles_, first, count, true);
    set_bits(ints_, first, count, false);
}

void LineTable::seed() {
    set_int16(0, 0, 0);
    set_int16(0, 1, 0);
    set_int16(1, 0, 0);
    set_int16(1, 1, 1);
}

std::span<const uint64_t> LineTable::row_values(int row) const {
    const size_t first = index(0, row);
    return {values_ + first, static_cast<size_t>(last_) + 1};
}

size_t LineTable::end_of_doubles(int row, size_t column) const {
    const size_t rowEnd = index(0, row) + static_cast<size_t>(last_) + 1;
    size_t i = index(0, row) + column;
    while (i < rowEnd) {
        // The entries from i to the end of its word that are not floating point.
        const uint64_t others = ~doubles_[i / 64] >> (i % 64);
        if (others != 0) {
            i += static_cast<size_t>(std::countr_zero(others));
            break;
        }
        i += 64 - i % 64;
    }
    return std::min(i, rowEnd) - index(0, row);
}

size_t LineTable::double_count() const {
    size_t n = 0;
    for (size_t w = 0; w < words_; ++w) n += static_cast<size_t>(std::popcount(doubles_[w]));
    return n;
}

size_t LineTable::int16_count() const {
    size_t n = 0;
    for (size_t w = 0; w < words_; ++w) n += static_cast<size_t>(std::popcount(ints_[w]));
    return n;
}

void LineTable::check_steps(int64_t first, int64_t last) const {
    if (!exists_) outside("column " + std::to_string(first), "the line table was never made");
    if (first < 2) outside("column " + std::to_string(first), "index out of range");
    if (last > last_) outside("column " + std::to_string(last), "index out of range");
}

// x and y of one column side by side: a straight step is the same two
// operations on both, each lane exactly the binary64 operation on its own.
typedef double PointPair __attribute__((vector_size(16)));

void LineTable::straight_steps(int64_t first, int64_t last) {
    if (first > last) return;
    check_steps(first, last);
    const size_t stride = static_cast<size_t>(last_) + 1;
    const size_t count = static_cast<size_t>(last - first) + 1;
    PointPair p0 = {read(first - 2), read(stride + first - 2)};
    PointPair p1 = {read(first - 1), read(stride + first - 1)};
    uint64_t* x = values_ + first;
    // The lanes into a column's two entries, x in row 0 and y in row 1.
    const auto store = [stride](uint64_t* at, const PointPair& p) {
        std::memcpy(at, &p, 8);
        std::memcpy(at + stride, reinterpret_cast<const char*>(&p) + 8, 8);
    };
    // Two columns a round, the two points taking turns as the newer one.
    size_t n = count;
    for (; n >= 2; n -= 2, x += 2) {
        p0 = p1 + (p1 - p0);
        store(x, p0);
        p1 = p0 + (p0 - p1);
        store(x + 1, p1);
    }
    if (n == 1) store(x, p1 + (p1 - p0));
    mark_doubles(static_cast<size_t>(first), count);
    mark_doubles(stride + static_cast<size_t>(first), count);
}

void LineTable::curve_steps(int64_t first, int64_t last, double k) {
    if (first > last) return;
    check_steps(first, last);
    const size_t stride = static_cast<size_t>(last_) + 1;
    const size_t count = static_cast<size_t>(last - first) + 1;
    double x0 = read(first - 2), x1 = read(first - 1);
    double y0 = read(stride + first - 2), y1 = read(stride + first - 1);
    uint64_t* x = values_ + first;
    for (uint64_t* const end = x + count; x != end; ++x) {
        const double dx = x1 - x0;
        const double dy = y1 - y0;
        // The new step vector, each component rounded to binary64 before it is added.
        const double nx = dx + k * dy;
        const double ny = dy - k * dx;
        x0 = x1;
        y0 = y1;
        x1 = x1 + nx;
        y1 = y1 + ny;
        x[0] = std::bit_cast<uint64_t>(x1);
        x[stride] = std::bit_cast<uint64_t>(y1);
    }
    mark_doubles(static_cast<size_t>(first), count);
    mark_doubles(stride + static_cast<size_t>(first), count);
}
