// Decoded views of the compiled files, as text, JSON or CSV. The three
// formats show the same columns under the same names: text and JSON leave out
// a column that does not apply to a row, CSV leaves its cell empty.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "core/track_grid.h"
#include "core/line_table.h"
#include "core/scenario_table.h"

enum class DumpFormat { Text, Json, Csv };

// Grid: one row per cell with a kind (every cell when `all`): the feature's
// values by what they mean (the stored fields when `raw`), and the profile
// values with the 50 m span they cover.
void dump_grid(std::ostream& out, const std::vector<TrackCell>& cells, bool all, bool raw, DumpFormat format);
// Scenario: every slot that is not as reset (every slot when `all`), with its
// role and its fields by name (the stored fields when `raw`).
void dump_scenario(std::ostream& out, const ScenarioTable& table, bool all, bool raw, DumpFormat format);
// Line: x and y every 100 m (every metre when `all`); metres that the line
// table leaves empty are left out.
void dump_line_table(std::ostream& out, const LineTable& table, bool all, DumpFormat format);
