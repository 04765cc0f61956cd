// The line table: one x and one y per metre, each entry kept as the line data
// file holds it (a slot of type code and value) and as a type byte, both in
// the element order of that file.
#include "core/line_table.h"

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
    memory_ = platform::ZeroedMemory(entries * (kSlotBytes + 1));
    slots_ = static_cast<char*>(memory_.data());
    types_ = reinterpret_cast<uint8_t*>(slots_ + entries * kSlotBytes);
    entries_ = entries;
    last_ = lastColumn;
    exists_ = true;
}

void LineTable::destroy() {
    memory_ = platform::ZeroedMemory();
    slots_ = nullptr;
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
    std::memcpy(slots_, other.slots_, entries_ * kSlotBytes);
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
    slots_ = other.slots_;
    types_ = other.types_;
    entries_ = other.entries_;
    last_ = other.last_;
    exists_ = other.exists_;
    other.slots_ = nullptr;
    other.types_ = nullptr;
    other.entries_ = 0;
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

uint16_t LineTable::type(int64_t column, int row) const { return types_[index(column, row)]; }

double LineTable::value(int64_t column, int row) const { return read(index(column, row)); }

// An empty entry counts as 0, as an empty variant does in arithmetic.
double LineTable::read(size_t i) const {
    const char* slot = slots_ + i * kSlotBytes + 2;
    switch (types_[i]) {
        case kDouble: {
            uint64_t bits = 0;
            for (int b = 0; b < 8; ++b) bits |= uint64_t{static_cast<uint8_t>(slot[b])} << (8 * b);
            double v = 0;
            std::memcpy(&v, &bits, sizeof v);
            return v;
        }
        case kInt16: {
            const auto low = static_cast<uint8_t>(slot[0]);
            const auto high = static_cast<uint8_t>(slot[1]);
            return static_cast<int16_t>(static_cast<uint16_t>(low | (high << 8)));
        }
        default: return 0.0;
    }
}

void LineTable::set_int16(int64_t column, int row, int16_t v) {
    const size_t i = index(column, row);
    store_le<2>(slots_ + i * kSlotBytes, kInt16);
    store_le<2>(slots_ + i * kSlotBytes + 2, static_cast<uint16_t>(v));
    types_[i] = static_cast<uint8_t>(kInt16);
}

void LineTable::set_double(int64_t column, int row, double v) { put_double(slots_, types_, index(column, row), v); }

void LineTable::seed() {
    set_int16(0, 0, 0);
    set_int16(0, 1, 0);
    set_int16(1, 0, 0);
    set_int16(1, 1, 1);
}

std::span<const uint8_t> LineTable::row_types(int row) const {
    const size_t first = index(0, row);
    return {types_ + first, static_cast<size_t>(last_) + 1};
}

std::span<const char> LineTable::row_slots(int row) const {
    const size_t first = index(0, row);
    return {slots_ + first * kSlotBytes, (static_cast<size_t>(last_) + 1) * kSlotBytes};
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
    char* x = slots_ + static_cast<size_t>(first) * kSlotBytes;
    uint8_t* t = types_ + first;
    const size_t toY = stride * kSlotBytes;  // from a column's x slot to its y slot
    // The lanes' bytes into a column's two slots, little-endian as the file holds them.
    const auto store = [toY](char* slot, const PointPair& p) {
        store_le<2>(slot, kDouble);
        std::memcpy(slot + 2, &p, 8);
        store_le<2>(slot + toY, kDouble);
        std::memcpy(slot + toY + 2, reinterpret_cast<const char*>(&p) + 8, 8);
    };
    // Two columns a round, the two points taking turns as the newer one.
    constexpr uint16_t kTwoDoubles = kDouble | (kDouble << 8);
    size_t n = count;
    for (; n >= 2; n -= 2, x += 2 * kSlotBytes, t += 2) {
        p0 = p1 + (p1 - p0);
        store(x, p0);
        p1 = p0 + (p0 - p1);
        store(x + kSlotBytes, p1);
        store_le<2>(reinterpret_cast<char*>(t), kTwoDoubles);
        store_le<2>(reinterpret_cast<char*>(t + stride), kTwoDoubles);
    }
    if (n == 1) {
        store(x, p1 + (p1 - p0));
        t[0] = kDouble;
        t[stride] = kDouble;
    }
}

void LineTable::curve_steps(int64_t first, int64_t last, double k) {
    if (first > last) return;
    check_steps(first, last);
    const size_t stride = static_cast<size_t>(last_) + 1;
    const size_t count = static_cast<size_t>(last - first) + 1;
    double x0 = read(first - 2), x1 = read(first - 1);
    double y0 = read(stride + first - 2), y1 = read(stride + first - 1);
    char* x = slots_ + static_cast<size_t>(first) * kSlotBytes;
    uint8_t* t = types_ + first;
    const size_t toY = stride * kSlotBytes;
    for (char* const end = x + count * kSlotBytes; x != end; x += kSlotBytes, ++t) {
        const double dx = x1 - x0;
        const double dy = y1 - y0;
        // The new step vector, each component rounded to binary64 before it is added.
        const double nx = dx + k * dy;
        const double ny = dy - k * dx;
        x0 = x1;
        y0 = y1;
        x1 = x1 + nx;
        y1 = y1 + ny;
        store_le<2>(x, kDouble);
        store_le<8>(x + 2, double_bits(x1));
        store_le<2>(x + toY, kDouble);
        store_le<8>(x + toY + 2, double_bits(y1));
        t[0] = kDouble;
        t[stride] = kDouble;
    }
}
