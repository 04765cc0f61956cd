// The line table: x and y of the centre line for every metre, columns 0 to E,
// rows 0 and 1, each entry a self-describing value (empty, 16-bit or 64-bit float).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/platform.h"

class LineTable {
public:
    // Variant type codes, as stored in the line data file.
    static constexpr uint16_t kEmpty = 0;
    static constexpr uint16_t kInt16 = 2;
    static constexpr uint16_t kDouble = 5;

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

    // Row 0 or 1, columns 0 to the last, for writing a whole row at once: each
    // entry's value, a floating-point one's bits or a 16-bit one's in the low
    // 16 bits (an empty entry holds 0).
    std::span<const uint64_t> row_values(int row) const;
    // The first column from `column` on, in `row`, whose entry is not
    // floating point (the column after the last when there is none).
    size_t end_of_doubles(int row, size_t column) const;
    // How many entries of the whole table are floating point, and 16-bit.
    size_t double_count() const;
    size_t int16_count() const;

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
    // Entries first to first + count - 1 are now floating point.
    void mark_doubles(size_t first, size_t count);

    // One block of zero-filled memory (an empty entry is all zero): a value
    // per entry in element order (row 0, then row 1), then two bit sets by
    // entry, of the floating-point entries and of the 16-bit ones. Eight
    // bytes an entry where the file takes ten: the file's type codes are
    // written as it is written.
    platform::ZeroedMemory memory_;
    uint64_t* values_ = nullptr;
    uint64_t* doubles_ = nullptr;
    uint64_t* ints_ = nullptr;
    size_t entries_ = 0;
    size_t words_ = 0;  // of each bit set
    int32_t last_ = -1;
    bool exists_ = false;
};
