// The three compiled files: line data, scenario and grid.
#include "core/output_files.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "core/byte_writer.h"
#include "core/form1.h"
#include "platform/platform.h"

namespace {

constexpr size_t kCellBytes = 15;
constexpr size_t kSlotBytes = 34;  // without the label's characters

// Row 0 then row 1 into `out` (anything with append(std::string_view)), each
// entry as its type code and its value, little-endian: a block of bytes at a
// time, so that the file is never built whole. A run of floating-point
// entries, nearly all of a walked table, is encoded in one tight loop.
template <typename Out>
void encode_line_rows(const LineTable& line, Out& out) {
    // Large enough that the writes cost little each, small enough to stay in
    // the processor's caches.
    constexpr size_t kBlock = 128 * 1024;
    constexpr size_t kDoubleBytes = 10;
    const std::unique_ptr<char[]> blockMemory = std::make_unique_for_overwrite<char[]>(kBlock);
    char* const block = blockMemory.get();
    size_t used = 0;
    const auto flush = [&] {
        out.append(std::string_view(block, used));
        used = 0;
    };
    for (int row = 0; row < 2; ++row) {
        const std::span<const uint64_t> values = line.row_values(row);
        for (size_t c = 0; c < values.size();) {
            const size_t end = line.end_of_doubles(row, c);
            while (c < end) {
                if (kBlock - used < kDoubleBytes) flush();
                const size_t fit = std::min(end - c, (kBlock - used) / kDoubleBytes);
                char* p = block + used;
                const uint64_t* v = values.data() + c;
                // The type code goes in as four bytes, whose upper two the
                // value then covers: a plain 32-bit store (a 16-bit one of a
                // constant costs the compiler a register load each time).
                const auto put = [](char* at, uint64_t value) {
                    store_le<4>(at, LineTable::kDouble);
                    store_le<8>(at + 2, value);
                };
                size_t k = 0;
                for (; k + 4 <= fit; k += 4, p += 4 * kDoubleBytes) {
                    put(p, v[k]);
                    put(p + kDoubleBytes, v[k + 1]);
                    put(p + 2 * kDoubleBytes, v[k + 2]);
                    put(p + 3 * kDoubleBytes, v[k + 3]);
                }
                for (; k < fit; ++k, p += kDoubleBytes) put(p, v[k]);
                used += fit * kDoubleBytes;
                c += fit;
            }
            if (c == values.size()) break;
            // An entry that is not floating point: empty, or 16-bit.
            if (kBlock - used < 4) flush();
            const uint16_t type = line.type(static_cast<int64_t>(c), row);
            store_le<2>(block + used, type);
            used += 2;
            if (type == LineTable::kInt16) {
                store_le<2>(block + used, values[c]);
                used += 2;
            }
            ++c;
        }
    }
    if (used > 0) flush();
}

// Bytes of the encoded line table.
size_t line_table_bytes(const LineTable& line) {
    const size_t entries = 2 * (static_cast<size_t>(line.last_column()) + 1);
    return 2 * entries + 8 * line.double_count() + 2 * line.int16_count();
}

// Removes an older file before its replacement is written: open it for
// reading and writing (creating it if absent), close it, delete it. For a file
// that is absent the three steps together leave nothing behind, so they are
// left out: the file system is spared an entry made only to be removed. The
// path is joined afresh for each step.
void remove_older_file(const Form1& form, const std::string& name) {
    if (!platform::file_exists(form.file_path(name))) return;
    platform::touch_file(form.file_path(name));
    platform::delete_file(form.file_path(name));
}

// Replaces a file whole: the older one removed, the new one written.
void replace_file(const Form1& form, const std::string& name, const std::string& bytes) {
    remove_older_file(form, name);
    platform::write_file(form.file_path(name), bytes);
}

}  // namespace

namespace {

// The cells into `out` (anything with append(std::string_view)), a block at
// a time, so that a grid file need not be built whole. Fails when the grid
// was never sized.
template <typename Out>
void encode_grid_cells(const TrackGrid& grid, Out& out) {
    const size_t cellCount = static_cast<size_t>(grid.upper()) + 1;
    const TrackCell* cells = grid.cells().data();
    constexpr size_t kBlockCells = 1024;
    char block[kBlockCells * kCellBytes];
    for (size_t first = 0; first < cellCount; first += kBlockCells) {
        const size_t n = std::min(kBlockCells, cellCount - first);
        char* p = block;
        for (const TrackCell* c = cells + first; c != cells + first + n; ++c) {
            p = store_le<1>(p, c->kind);
            p = store_le<2>(p, static_cast<uint16_t>(c->value1));
            p = store_le<2>(p, static_cast<uint16_t>(c->value2));
            p = store_le<2>(p, static_cast<uint16_t>(c->value3));
            p = store_le<2>(p, static_cast<uint16_t>(c->value4));
            p = store_le<1>(p, c->timeCode);
            p = store_le<1>(p, c->approachCode);
            p = store_le<1>(p, c->scenery);
            p = store_le<1>(p, c->aux1);
            p = store_le<1>(p, c->aux2);
            p = store_le<1>(p, c->aux3);
        }
        out.append(std::string_view(block, n * kCellBytes));
    }
}

}  // namespace

std::string encode_grid(const TrackGrid& grid) {
    std::string out;
    out.reserve((static_cast<size_t>(grid.upper()) + 1) * kCellBytes);  // fails when never sized
    encode_grid_cells(grid, out);
    return out;
}

std::string encode_scenario(const ScenarioTable& scenario) {
    size_t size = 0;
    for (size_t s = 0; s < scenario.size(); ++s) {
        if (scenario[s].label.size() > kLongestLabel)
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
    std::string out;
    out.reserve(line_table_bytes(line));
    encode_line_rows(line, out);
    return out;
}

CompiledFiles encode_compiled_files(const Form1& form, bool withLineData, bool withGrid) {
    if (form.j != 0) form.line.require_made();
    CompiledFiles files;
    files.scenario = encode_scenario(form.scenario);
    if (withGrid) {
        files.grid = encode_grid(form.grid);
    } else {
        form.grid.upper();  // a grid never sized fails here, as its encoding would
    }
    if (form.j != 0 && withLineData) files.lineData = encode_line_table(form.line);
    return files;
}

void write_line_table(const LineTable& line, const std::string& path) {
    platform::FileWriter file(path);
    encode_line_rows(line, file);
    file.close();
}

void write_grid(const TrackGrid& grid, const std::string& path) {
    platform::FileWriter file(path);
    encode_grid_cells(grid, file);
    file.close();
}

void write_line_data_file(const Form1& form) {
    form.line.require_made();  // a table never made fails before its file is touched
    const std::string name = form.line_data_name();
    remove_older_file(form, name);
    write_line_table(form.line, form.file_path(name));
}

void write_scenario_file(const Form1& form) {
    replace_file(form, form.scenario_file_name(), encode_scenario(form.scenario));
}

void write_grid_file(const Form1& form) { replace_file(form, form.grid_file_name(), encode_grid(form.grid)); }

void Form1::scrivi_file_compilati() {
    // Everything that can fail to encode is encoded before the first file is
    // touched, so such a table leaves every older file as it was. The line
    // table, streamed into its file, can only fail when it was never made.
    if (j != 0) line.require_made();
    const std::string scenarioBytes = encode_scenario(scenario);
    const std::string gridBytes = encode_grid(grid);
    if (j != 0) write_line_data_file(*this);
    replace_file(*this, scenario_file_name(), scenarioBytes);
    replace_file(*this, grid_file_name(), gridBytes);
}
