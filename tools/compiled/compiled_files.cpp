#include "tools/compiled/compiled_files.h"

#include <cstdint>
#include <cstring>

namespace {

// Little-endian reader over a byte buffer that refuses to read past its end.
class ByteReader {
public:
    explicit ByteReader(std::string_view bytes) : bytes_(bytes) {}
    size_t offset() const { return pos_; }
    bool at_end() const { return pos_ == bytes_.size(); }
    uint64_t unsigned_le(size_t n) {
        need(n);
        uint64_t v = 0;
        for (size_t i = 0; i < n; ++i) v |= uint64_t{static_cast<uint8_t>(bytes_[pos_ + i])} << (8 * i);
        pos_ += n;
        return v;
    }
    uint8_t u8() { return static_cast<uint8_t>(unsigned_le(1)); }
    int16_t i16() { return static_cast<int16_t>(static_cast<uint16_t>(unsigned_le(2))); }
    int32_t i32() { return static_cast<int32_t>(static_cast<uint32_t>(unsigned_le(4))); }
    double f64() {
        uint64_t bits = unsigned_le(8);
        double d;
        std::memcpy(&d, &bits, sizeof d);
        return d;
    }
    std::string text(size_t n) {
        need(n);
        std::string s(bytes_.substr(pos_, n));
        pos_ += n;
        return s;
    }

private:
    void need(size_t n) const {
        if (bytes_.size() - pos_ < n)
            throw DecodeError("the file ends inside a record at byte " + std::to_string(pos_));
    }
    std::string_view bytes_;
    size_t pos_ = 0;
};

}  // namespace

std::vector<TrackCell> decode_grid(std::string_view bytes) {
    constexpr size_t kRecord = 15;
    if (bytes.empty() || bytes.size() % kRecord != 0)
        throw DecodeError(std::to_string(bytes.size()) +
                          " bytes is not a whole, non-zero number of 15-byte cells");
    ByteReader in(bytes);
    std::vector<TrackCell> cells(bytes.size() / kRecord);
    for (TrackCell& c : cells) {
        c.kind = in.u8();
        c.value1 = in.i16();
        c.value2 = in.i16();
        c.value3 = in.i16();
        c.value4 = in.i16();
        c.timeCode = in.u8();
        c.approachCode = in.u8();
        c.scenery = in.u8();
        c.aux1 = in.u8();
        c.aux2 = in.u8();
        c.aux3 = in.u8();
    }
    return cells;
}

ScenarioTable decode_scenario(std::string_view bytes) {
    ByteReader in(bytes);
    ScenarioTable table;
    for (ScenarioSlot& s : table) {
        s.tag = in.u8();
        s.long1 = in.i32();
        s.long2 = in.i32();
        s.long3 = in.i32();
        s.flag = in.u8();
        size_t n = static_cast<uint16_t>(in.unsigned_le(2));
        s.label = in.text(n);
        s.int1 = in.i16();
        s.int2 = in.i16();
        s.int3 = in.i16();
        s.int4 = in.i16();
        s.int5 = in.i16();
        s.byte1 = in.u8();
        s.byte2 = in.u8();
        s.byte3 = in.u8();
        s.byte4 = in.u8();
        s.long4 = in.i32();
    }
    if (!in.at_end())
        throw DecodeError(std::to_string(bytes.size() - in.offset()) +
                          " bytes follow the 87th slot");
    return table;
}

LineTable decode_line_table(std::string_view bytes) {
    // First pass: count the variants and check their types.
    ByteReader scan(bytes);
    size_t count = 0;
    while (!scan.at_end()) {
        uint16_t type = static_cast<uint16_t>(scan.unsigned_le(2));
        if (type == LineTable::kInt16) scan.unsigned_le(2);
        else if (type == LineTable::kDouble) scan.unsigned_le(8);
        else if (type != LineTable::kEmpty)
            throw DecodeError("unknown value type " + std::to_string(type) + " at byte " +
                              std::to_string(scan.offset() - 2));
        ++count;
    }
    if (count < 2 || count % 2 != 0 || count / 2 - 1 > 0x7fffffff)
        throw DecodeError(std::to_string(count) +
                          " values do not make two equal rows");
    const auto last = static_cast<int32_t>(count / 2 - 1);
    LineTable table;
    table.create(last);
    ByteReader in(bytes);
    for (int row = 0; row < 2; ++row) {
        for (int32_t column = 0; column <= last; ++column) {
            uint16_t type = static_cast<uint16_t>(in.unsigned_le(2));
            if (type == LineTable::kInt16) table.set_int16(column, row, in.i16());
            else if (type == LineTable::kDouble) table.set_double(column, row, in.f64());
        }
    }
    return table;
}
