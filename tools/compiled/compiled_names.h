// What the entries of the compiled files are called: the kinds of grid cells
// and the roles of scenario slots, as dumps, pictures and messages name them.
#pragma once

#include <string>

#include "core/scenario_table.h"

// The name of a cell kind ("signal", "station stop", ...).
std::string cell_kind_name(int kind);

// Whether a slot is as the compiler resets it: every field zero, no label.
bool slot_is_reset(const ScenarioSlot& slot);

// What a slot holds: "unused", "station", "board caption" or the header's name.
std::string slot_role(const ScenarioTable& table, int slot);
