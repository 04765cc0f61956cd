// Station names and indication board captions longer than a label of the
// compiled scenario file can hold (its length is stored in 16 bits): the
// readers take them whole, and the scenario file then cannot be written. The
// tool reports each as error 213 at its line, before the writing would fail.
#pragma once

#include <string>
#include <vector>

#include "core/form1.h"
#include "tools/diagnostics/diagnostics.h"

struct LongLabel {
    const TracedRecord* record;  // the station or indication board row
    int32_t line;                // the line of its name or caption
    size_t length;               // in characters (bytes of Windows-1252)
};

// Every label of the form's scenario table that is too long, with the traced
// row that gave it, in the order of the rows; the trace must be on.
std::vector<LongLabel> labels_too_long(const Form1& form);

std::string label_too_long_message(const LongLabel& label);

// "FILE:LINE: error 213: MESSAGE" for the document the row stands in.
std::string label_too_long_diagnostic(const LongLabel& label, const SourceDocument& line,
                                      const SourceDocument& train);
