// Encoders of the three compiled files, one table each, in the byte layouts the
// simulator loads. Each returns the whole file content.
#pragma once

#include <string>

#include "core/track_grid.h"
#include "line/line_table.h"
#include "train/scenario_table.h"

// Cells 0 to the upper bound, 15 bytes each.
std::string encode_grid(const TrackGrid& grid);

// The 87 slots, 34 bytes plus the label's length each. A label longer than a
// 16-bit count can describe is a run-time failure.
std::string encode_scenario(const ScenarioTable& scenario);

// Row 0 then row 1, columns 0 to the last, each a type code and its value.
std::string encode_line_table(const LineTable& line);
