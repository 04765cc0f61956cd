// Telling the compiled files from any other bytes: each kind's layout, the
// values its fields can take, and the marker values and check codes that the
// compile pass stamps into every grid and scenario it writes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/line_table.h"
#include "core/scenario_table.h"
#include "core/track_grid.h"

// A compiled file of each kind, decoded and recognised. Each throws
// DecodeError with the first reason why the bytes are not such a file.
std::vector<TrackCell> read_grid_file(std::string_view bytes);
ScenarioTable read_scenario_file(std::string_view bytes);
LineTable read_line_data_file(std::string_view bytes);

// "grid", "scenario" or "line" for bytes that are a compiled file of that
// kind, else empty.
std::string compiled_kind_of(std::string_view bytes);

// Why a grid and a scenario are not of one compile: the grid's check code is
// not the one of the scenario's names. Empty when they are.
std::string check_code_mismatch(const std::vector<TrackCell>& grid, const ScenarioTable& table);
