// Little-endian fields into byte buffers. ByteWriter appends field by field
// to a buffer sized ahead and written through a position, so that a field
// costs a store and not a checked append per byte; it grows when a write
// would pass its end.
#pragma once

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>

// Stores the low N bytes of v at p, least significant first, and returns the
// position after them: one store. On a little-endian machine those are the
// first N bytes of v as it lies in memory; elsewhere they are taken a byte at
// a time.
template <int N>
inline char* store_le(char* p, uint64_t v) {
    static_assert(N >= 1 && N <= 8);
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(p, &v, N);
    } else {
        for (int i = 0; i < N; ++i) p[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    }
    return p + N;
}

inline uint64_t double_bits(double v) {
    uint64_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    return bits;
}

class ByteWriter {
public:
    // `size`: the bytes expected; more may be written.
    explicit ByteWriter(size_t size) { bytes_.resize(size); }

    void u8(uint8_t v) { unsigned_le<1>(v); }
    void u16(uint16_t v) { unsigned_le<2>(v); }
    void i16(int16_t v) { unsigned_le<2>(static_cast<uint16_t>(v)); }
    void i32(int32_t v) { unsigned_le<4>(static_cast<uint32_t>(v)); }
    void bytes(std::string_view b) {
        if (b.empty()) return;
        make_room(b.size());
        std::memcpy(bytes_.data() + used_, b.data(), b.size());
        used_ += b.size();
    }

    // The bytes written, leaving the writer empty.
    std::string take() {
        bytes_.resize(used_);
        used_ = 0;
        return std::move(bytes_);
    }

private:
    template <int N>
    void unsigned_le(uint64_t v) {
        make_room(N);
        store_le<N>(bytes_.data() + used_, v);
        used_ += N;
    }
    void make_room(size_t n) {
        if (bytes_.size() - used_ < n) bytes_.resize(std::max(2 * bytes_.size(), used_ + n));
    }

    std::string bytes_;
    size_t used_ = 0;
};
