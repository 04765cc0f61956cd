// Turning a pending error code into a compiler-style diagnostic line:
// "FILE:LINE: error N: MESSAGE", naming what is wrong and how to mend it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/form1.h"
#include "tools/codes/code.h"

// An author's document as given on the command line, with its bytes.
struct SourceDocument {
    std::string path;
    std::string text;
    bool exists = true;
    std::string absence{};  // why it could not be read, when it could not (see author_document.h)
};

// Another row a message names, by its document: the check gives it the
// document's path as a related place.
struct NamedRow {
    Document document;
    int32_t line;                // from 1
    std::optional<int> field;    // numbered as Fix::field, where known
    std::string label;           // "the stop cell of station PIANCASTELLO"
    bool operator==(const NamedRow&) const = default;
};

// A message and the other rows it names, in its order.
struct ErrorText {
    std::string message;
    std::vector<NamedRow> related;
};

// The English sentence for a code: the refused row the pass recorded in its
// read trace supplies the values, the cells and what holds them.
ErrorText error_text(const Form1& form, int32_t code);
std::string error_message(const Form1& form, int32_t code);

// The sentence for a reserved-field message (1250, 1251) that the check
// reports as an error; `position` is that of the feature that holds cell 1.
std::string reserved_field_message(ReservedFieldMessage number, int64_t position);

// The reserved-field message that ended the pass (errore's number); nothing
// when the pass ended otherwise.
std::optional<ReservedFieldMessage> reserved_field_stop(const Form1& form);

// The record whose feature holds grid cell 1, the cell with the reserved
// fields: the last one read that placed something there; nullptr when none did.
const TracedRecord* holder_of_cell_1(const Form1& form);

// The whole diagnostic line of a reserved-field message, as check reports it:
// at the line of the feature that holds cell 1 (the train description's, of
// no line, when none does).
std::string reserved_field_diagnostic(const Form1& form, ReservedFieldMessage number, const SourceDocument& line,
                                      const SourceDocument& train);

// The code the diagnostics report: the first error the pass met.
ErrorCode reported_error(const Form1& form);

// The row the pass reports, as its read trace recorded it: the first one
// refused (the readers stop at it, and the pass keeps its first error), when
// it is the reported error's; nullptr when none is (a completion error).
const RefusedRow* reported_refusal(const Form1& form);
// That row's traced record; nullptr when it has none (a missing document).
const TracedRecord* refused_record(const Form1& form);

// Where the reported error points: its document and line (0: no line).
struct ErrorPlace {
    const SourceDocument* document;
    int32_t line;
};
ErrorPlace error_place(const Form1& form, const SourceDocument& line, const SourceDocument& train);

// The text of the document's line `wanted` (from 1), as the field stream counts lines; empty when absent.
std::string line_of(const std::string& text, int32_t wanted);

// The sentence of the reported error, for the document and line error_place gives.
ErrorText reported_error_text(const Form1& form, const SourceDocument& line, const SourceDocument& train);
std::string reported_error_message(const Form1& form, const SourceDocument& line, const SourceDocument& train);

// "FILE:LINE: SEVERITY CODE: MESSAGE", without ":LINE" when the line is 0.
std::string diagnostic_text(const std::string& file, int32_t line, Code code, const std::string& message);

// The whole diagnostic line (without a line end) for the form's reported error.
std::string diagnostic(const Form1& form, const SourceDocument& line, const SourceDocument& train);
