// Encoders of the three compiled files, one table each, in the byte layouts the
// simulator loads. Each returns the whole file content.
#pragma once

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

// Each replaces one compiled file in the form's program folder: an older file
// is opened, closed and deleted first, an absent one is written at once.
// scrivi_file_compilati writes the line data file through the first; it
// encodes the scenario and the grid before touching any file and writes them
// itself. The other two serve the writers' benchmarks (bench/writers_bench.cpp).
void write_line_data_file(const Form1& form);
void write_scenario_file(const Form1& form);
void write_grid_file(const Form1& form);
