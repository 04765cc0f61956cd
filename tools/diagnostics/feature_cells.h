// The grid cells that a record read by the line or train reader makes into
// feature cells, by the placement's own mapping of positions to cells: what
// a check names when a cell is lost or taken, and where a picture links a
// feature back to its line. Station stop cells come from the scenario table.
#pragma once

#include <cstdint>
#include <vector>

#include "core/read_trace.h"

// Cells of speed boards, indication boards, signals, slow-downs (start, end,
// warning and warning approach cells) and abbattimento marks; none for other
// records or for a record whose reading stopped before its values.
std::vector<int64_t> feature_cells(const TracedRecord& record);

// What the record's feature is called in a message ("signal", "speed board", ...).
const char* feature_name(RecordKind kind);
