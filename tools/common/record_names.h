// How diagnostics name the records of the documents and the fields of each:
// "signal row", "the third number of this station row (the station length)".
#pragma once

#include <string>

#include "core/read_trace.h"

// "signal row", "station row", ...
std::string row_name(RecordKind kind);

// Whether the row ends in a text field (a station's name, a board's caption)
// after its numbers.
bool ends_in_text(RecordKind kind);

// What a row of the kind holds after its keyword: "11 numbers", "16 numbers and a name".
std::string row_contents(RecordKind kind);

// Field n (from 1) of a row of the kind: "the third number of this station row
// (the station length)", "the caption of this indication board row".
std::string field_name(RecordKind kind, int n);
