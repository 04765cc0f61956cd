// The three compiled files: line data, scenario and grid.
#include "core/output_files.h"

#include <cstdint>
#include <string>

#include "core/byte_writer.h"
#include "core/form1.h"
#include "platform/platform.h"

namespace {

constexpr size_t kCellBytes = 15;
constexpr size_t kSlotBytes = 34;  // without the label's characters
constexpr size_t kMaxLabel = 0xFFFF;

// Bytes of one line table entry: its type code and its value.
size_t variant_bytes(uint16_t type, int64_t column, int row) {
    switch (type) {
        case LineTable::kEmpty: return 2;
        case LineTable::kInt16: return 4;
        case LineTable::kDouble: return 10;
        default:
            throw platform::RunTimeFailure("encode line table",
                                           "column " + std::to_string(column) + " row " + std::to_string(row),
                                           "unknown value type " + std::to_string(type));
    }
}

// Replaces a file whole: create it if absent, delete it, write it anew; the
// path is joined afresh for each step.
void replace_file(const Form1& form, const std::string& name, const std::string& bytes) {
    platform::touch_file(form.file_path(name));
    platform::delete_file(form.file_path(name));
    platform::write_file(form.file_path(name), bytes);
}

}  // namespace

std::string encode_grid(const TrackGrid& grid) {
    const auto& cells = grid.cells();
    ByteWriter out((static_cast<size_t>(grid.upper()) + 1) * kCellBytes);  // fails when never sized
    for (const TrackCell& c : cells) {
        out.u8(c.kind);
        out.i16(c.value1);
        out.i16(c.value2);
        out.i16(c.value3);
        out.i16(c.value4);
        out.u8(c.timeCode);
        out.u8(c.approachCode);
        out.u8(c.scenery);
        out.u8(c.aux1);
        out.u8(c.aux2);
        out.u8(c.aux3);
    }
    return out.take();
}

std::string encode_scenario(const ScenarioTable& scenario) {
    size_t size = 0;
    for (size_t s = 0; s < scenario.size(); ++s) {
        if (scenario[s].label.size() > kMaxLabel)
            throw platform::RunTimeFailure("encode scenario table", "slot " + std::to_string(s),
                                           "label longer than 65535 bytes");
        size += kSlotBytes + scenario[s].label.size();
    }
    ByteWriter out(size);
    for (const ScenarioSlot& s : scenario) {
        out.u8(s.tag);
        out.i32(s.long1);
        out.i32(s.long2);
        out.i32(s.long3);
        out.u8(s.flag);
        out.u16(static_cast<uint16_t>(s.label.size()));
        out.bytes(s.label);
        out.i16(s.int1);
        out.i16(s.int2);
        out.i16(s.int3);
        out.i16(s.int4);
        out.i16(s.int5);
        out.u8(s.byte1);
        out.u8(s.byte2);
        out.u8(s.byte3);
        out.u8(s.byte4);
        out.i32(s.long4);
    }
    return out.take();
}

std::string encode_line_table(const LineTable& line) {
    const int64_t last = line.last_column();
    size_t size = 0;
    for (int row = 0; row < 2; ++row)
        for (int64_t c = 0; c <= last; ++c) size += variant_bytes(line.type(c, row), c, row);
    ByteWriter out(size);
    for (int row = 0; row < 2; ++row) {
        for (int64_t c = 0; c <= last; ++c) {
            const uint16_t type = line.type(c, row);
            out.u16(type);
            if (type == LineTable::kInt16) out.i16(static_cast<int16_t>(line.value(c, row)));
            else if (type == LineTable::kDouble) out.f64(line.value(c, row));
        }
    }
    return out.take();
}

void Form1::scrivi_file_compilati() {
    // Everything is encoded before the first file is touched, so a table that
    // cannot be encoded leaves every older file as it was.
    const std::string lineBytes = j != 0 ? encode_line_table(line) : std::string();
    const std::string scenarioBytes = encode_scenario(scenario);
    const std::string gridBytes = encode_grid(grid);
    if (j != 0) replace_file(*this, line_data_name(), lineBytes);
    replace_file(*this, scenario_file_name(), scenarioBytes);
    replace_file(*this, grid_file_name(), gridBytes);
}
