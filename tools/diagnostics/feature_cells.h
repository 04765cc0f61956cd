// The grid cells features hold, as the readers and the placement recorded them
// in the read trace: what a check names when a cell is lost or taken, and where
// a message links a feature back to its line.
#pragma once

#include <cstdint>

#include "core/read_trace.h"

// The first recorded feature that holds `cell` as its own in `role`; nullptr when none.
const FeatureCell* first_holder(const ReadTrace& trace, int64_t cell, CellRole role);

// The last feature recorded before fact `before` (an index in trace.cells, or
// all of them when it is trace.cells.size()) that holds `cell` as its own and
// wrote a value there (a montagna marker writes none); nullptr when none.
const FeatureCell* last_holder(const ReadTrace& trace, int64_t cell, size_t before);

// The role a feature of a grid cell kind has there; false when the kind is no feature's.
bool role_of_kind(uint8_t kind, CellRole& role);

// What the record's feature is called in a message ("signal", "speed board", ...).
const char* feature_name(RecordKind kind);
