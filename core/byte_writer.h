// Little-endian appends into a byte buffer, field by field.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>

class ByteWriter {
public:
    explicit ByteWriter(size_t size) { bytes_.reserve(size); }

    void u8(uint8_t v) { bytes_ += static_cast<char>(v); }
    void u16(uint16_t v) { unsigned_le(v, 2); }
    void i16(int16_t v) { unsigned_le(static_cast<uint16_t>(v), 2); }
    void i32(int32_t v) { unsigned_le(static_cast<uint32_t>(v), 4); }
    void f64(double v) {
        uint64_t bits = 0;
        std::memcpy(&bits, &v, sizeof bits);
        unsigned_le(bits, 8);
    }
    void bytes(std::string_view b) { bytes_.append(b); }

    const std::string& str() const { return bytes_; }
    std::string take() { return std::move(bytes_); }

private:
    void unsigned_le(uint64_t v, int n) {
        for (int i = 0; i < n; ++i) bytes_ += static_cast<char>((v >> (8 * i)) & 0xFF);
    }
    std::string bytes_;
};
