// Where an error points: the document and the line a diagnostic names, and the
// rows a message is about (the record being read when a read failed, the row
// that meant the route length, the holder of the cell with the reserved fields).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/error_codes.h"
#include "core/form1.h"
#include "tools/diagnostics/reported_error.h"

// An author's document as given on the command line, with its bytes.
struct SourceDocument {
    std::string path;
    std::string text;
    bool exists = true;
    std::string absence{};  // why it could not be read, when it could not (see author_document.h)
};

// Where the reported error points: its document and line (0: no line).
struct ErrorPlace {
    const SourceDocument* document;
    int32_t line;
};
ErrorPlace error_place(const Form1& form, const SourceDocument& line, const SourceDocument& train);

// The record whose values the reader was reading when a read failed: the
// refused one, when it holds fewer fields than its kind reads; nullptr otherwise.
const TracedRecord* unfinished_record(const Form1& form);

// The keyword field that most likely meant the route length row: one of the
// general section that passed no test, spelt nearest to "lunghezza percorso";
// else the first keyword field after "[generale]", where the row belongs.
struct LengthRow {
    int32_t line = 0;
    std::string text;
    bool misspelt = false;
};
LengthRow route_length_row(const Form1& form);

// A line description read to its record section without a route length:
// the grid was never sized, and the reading failed where it was first needed.
bool missing_route_length(const Form1& form);

// The reserved-field message that ended the pass (errore's number); nothing
// when the pass ended otherwise.
std::optional<ReservedFieldMessage> reserved_field_stop(const Form1& form);

// The record whose feature holds grid cell 1, the cell with the reserved
// fields: the last one read that placed something there; nullptr when none did.
const TracedRecord* holder_of_cell_1(const Form1& form);

// The text of the document's line `wanted` (from 1), as the field stream counts lines; empty when absent.
std::string line_of(const std::string& text, int32_t wanted);
