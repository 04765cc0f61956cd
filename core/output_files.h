// Encoders of the three compiled files, one table each, in the byte layouts the
// simulator loads. Each returns the whole file content.
#pragma once

#include <optional>
#include <string>

#include "core/track_grid.h"
#include "core/line_table.h"
#include "core/scenario_table.h"

class Form1;

// Cells 0 to the upper bound, 15 bytes each.
std::string encode_grid(const TrackGrid& grid);

// The longest label a slot can carry: its length is stored in 16 bits.
constexpr size_t kLongestLabel = 0xFFFF;

// The 87 slots, 34 bytes plus the label's length each. A label longer than
// kLongestLabel is a run-time failure.
std::string encode_scenario(const ScenarioTable& scenario);

// Row 0 then row 1, columns 0 to the last, each a type code and its value.
std::string encode_line_table(const LineTable& line);

// The compiled files of a pass as bytes, for a pass whose files are not
// written into the program folder (one run from memory): the bytes that
// scrivi_file_compilati writes, encoded in its order, and no file touched.
// The line data file is there only when the pass built the line table (j
// non-zero) and `withLineData` asks for it: the longest route's 20 MB are
// otherwise never built whole (write_line_table writes them piece by piece).
// The grid file is there when `withGrid` asks for it (write_grid streams it).
// Fails as scrivi_file_compilati does before it writes.
struct CompiledFiles {
    std::optional<std::string> lineData;
    std::string scenario;
    std::optional<std::string> grid;
};
CompiledFiles encode_compiled_files(const Form1& form, bool withLineData = true, bool withGrid = true);

// Writes the line data file's bytes into the file at `path` (created, or
// emptied first), appended piece by piece and never built whole in memory.
void write_line_table(const LineTable& line, const std::string& path);
// The same for the grid file, a block of cells at a time.
void write_grid(const TrackGrid& grid, const std::string& path);

// Each replaces one compiled file in the form's program folder: an older file
// is opened, closed and deleted first, an absent one is written at once.
// scrivi_file_compilati writes the line data file through the first; it
// encodes the scenario and the grid before touching any file and writes them
// itself. The other two serve the writers' benchmarks (bench/writers_bench.cpp).
void write_line_data_file(const Form1& form);
void write_scenario_file(const Form1& form);
void write_grid_file(const Form1& form);
