// The line table: x and y of the centre line for every metre, columns 0 to E,
// rows 0 and 1, each entry a self-describing value (empty, 16-bit or 64-bit float).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "core/byte_writer.h"
#include "platform/platform.h"

class LineTable {
public:
    // Variant type codes, as stored in the line data file.
    static constexpr uint16_t kEmpty = 0;
    static constexpr uint16_t kInt16 = 2;
    static constexpr uint16_t kDouble = 5;
    // Bytes of an entry's slot: its type code, then room for the largest value.
    static constexpr size_t kSlotBytes = 10;

    // Makes the table anew with columns 0 to lastColumn, every entry empty.
    void create(int32_t lastColumn);
    void destroy();
    bool exists() const { return exists_; }
    // A run-time failure when the table was never made (or was destroyed).
    void require_made() const;
    int32_t last_column() const;  // run-time failure when it does not exist

    uint16_t type(int64_t column, int row) const;
    double value(int64_t column, int row) const;  // 16-bit entries as their value
    void set_int16(int64_t column, int row, int16_t v);
    void set_double(int64_t column, int row, double v);

    // Row 0 or 1, columns 0 to the last, for writing a whole row at once: the
    // entries' types, and their slots. A slot holds the entry as the line data
    // file does, its type code and its value little-endian one after the
    // other, so that its first 2, 4 or 10 bytes (empty, 16-bit, floating
    // point) are the entry's bytes in that file.
    std::span<const uint8_t> row_types(int row) const;
    std::span<const char> row_slots(int row) const;

    // Seeds columns 0 and 1: (0, 0) and (0, 1) as 16-bit integers.
    void seed();
    // Column c from the two before it: straight on, or turned by k radians per metre.
    void straight_step(int64_t column) { straight_steps(column, column); }
    void curve_step(int64_t column, double k) { curve_steps(column, column, k); }
    // Columns first to last in turn, exactly as that many single steps make
    // them (nothing when first > last). One walk keeps the last two points in
    // registers instead of reading back each column it has just stored.
    void straight_steps(int64_t first, int64_t last);
    void curve_steps(int64_t first, int64_t last, double k);

    LineTable() = default;
    LineTable(const LineTable& other);
    LineTable& operator=(const LineTable& other);
    LineTable(LineTable&& other) noexcept;
    LineTable& operator=(LineTable&& other) noexcept;

private:
    size_t index(int64_t column, int row) const;  // run-time failure outside the table
    // A step reads the two columns before its own: one check of the columns
    // of a walk covers every entry it touches, which are then reached directly.
    void check_steps(int64_t first, int64_t last) const;

    void take_from(LineTable& other) noexcept;

    double read(size_t i) const;  // entry i as a number; an empty one is 0
    static void put_double(char* slots, uint8_t* types, size_t i, double v) {
        store_le<2>(slots + i * kSlotBytes, kDouble);
        store_le<8>(slots + i * kSlotBytes + 2, double_bits(v));
        types[i] = static_cast<uint8_t>(kDouble);
    }

    // One block of zero-filled memory (an empty entry is all zero): the slots,
    // then a type byte per entry, each in element order.
    platform::ZeroedMemory memory_;
    char* slots_ = nullptr;
    uint8_t* types_ = nullptr;
    size_t entries_ = 0;
    int32_t last_ = -1;
    bool exists_ = false;
};
