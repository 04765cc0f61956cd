// Turning a pending error code into a compiler-style diagnostic line:
// "FILE:LINE: error N: MESSAGE", naming what is wrong and how to mend it.
#pragma once

#include <string>

#include "core/form1.h"

// An author's document as given on the command line, with its bytes.
struct SourceDocument {
    std::string path;
    std::string text;
    bool exists = true;
    std::string absence{};  // why it could not be read, when it could not (see author_document.h)
};

// The English sentence for a code; `row` is the text of the record's line
// (may be empty) and supplies positions; the grid names what holds a cell.
std::string error_message(const Form1& form, int32_t code, const std::string& row);

// The record whose feature holds grid cell 1, the cell with the reserved
// fields: the last one read that placed something there; nothing when none did.
const TracedRecord* holder_of_cell_1(const Form1& form);

// The sentence for a reserved-field message (1250, 1251) that check and
// compile report as an error; `holder` is the feature that holds cell 1 and
// `text` its document.
std::string reserved_field_message(int32_t number, const TracedRecord* holder, const std::string& text);

// The whole diagnostic line of a reserved-field message, at the line of the
// feature that holds cell 1 (the train description's, of no line, when none does).
std::string reserved_field_diagnostic(const Form1& form, int32_t number, const SourceDocument& line,
                                      const SourceDocument& train);

// The code the diagnostics report: the first error the pass met.
int32_t reported_error(const Form1& form);

// Where the reported error points: its document and line (0: no line).
struct ErrorPlace {
    const SourceDocument* document;
    int32_t line;
};
ErrorPlace error_place(const Form1& form, const SourceDocument& line, const SourceDocument& train);

// The text of the document's line `wanted` (from 1), as the field stream counts lines; empty when absent.
std::string line_of(const std::string& text, int32_t wanted);

// The sentence of the reported error, for the document and line error_place gives.
std::string reported_error_message(const Form1& form, const SourceDocument& line, const SourceDocument& train);

// "FILE:LINE: SEVERITY CODE: MESSAGE", without ":LINE" when the line is 0.
std::string diagnostic_text(const std::string& file, int32_t line, const std::string& severity,
                            const std::string& code, const std::string& message);

// The whole diagnostic line (without a line end) for the form's reported error.
std::string diagnostic(const Form1& form, const SourceDocument& line, const SourceDocument& train);
