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

// The 87 slots, 34 bytes plus the label's length each. A label longer than a
// 16-bit count can describe is a run-time failure.
std::string encode_scenario(const ScenarioTable& scenario);

// Row 0 then row 1, columns 0 to the last, each a type code and its value.
std::string encode_line_table(const LineTable& line);

// The three compiled files of a pass as bytes, for a pass whose files are not
// written into the program folder (one run from memory): the bytes that
// scrivi_file_compilati writes, encoded in its order, and no file touched.
// The line data file is there only when the pass built the line table (j
// non-zero) and asked for: a caller that writes it from the form's table with
// write_line_table_file leaves it out, and holds no second 20 MB of it. Fails
// as scrivi_file_compilati does before it writes.
struct CompiledFiles {
    std::optional<std::string> lineData;
    std::string scenario;
    std::string grid;
};
CompiledFiles encode_compiled_files(const Form1& form, bool lineDataBytes = true);

// The line data file of the table at `path`, streamed a chunk at a time (the
// bytes encode_line_table gives); an existing file there is overwritten.
void write_line_table_file(const LineTable& line, const std::string& path);

// Each replaces one compiled file in the form's program folder: an older file
// is opened, closed and deleted first, an absent one is written at once.
// scrivi_file_compilati writes the line data file through the first; it
// encodes the scenario and the grid before touching any file and writes them
// itself. The other two serve the writers' benchmarks (bench/writers_bench.cpp).
void write_line_data_file(const Form1& form);
void write_scenario_file(const Form1& form);
void write_grid_file(const Form1& form);
