// Reading the three compiled files back, with every size and type checked.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/track_grid.h"
#include "core/line_table.h"
#include "core/scenario_table.h"

// A compiled file whose size or content does not fit its layout; the message
// says why, and the caller names the file and its kind.
struct DecodeError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

std::vector<TrackCell> decode_grid(std::string_view bytes);
ScenarioTable decode_scenario(std::string_view bytes);
LineTable decode_line_table(std::string_view bytes);
