// How an error is worded: the compiler-style diagnostic line
// "FILE:LINE: error N: MESSAGE", naming what is wrong and how to mend it, and
// the other rows its message names. Where it points is error_place.h.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/form1.h"
#include "tools/codes/code.h"
#include "tools/diagnostics/error_place.h"

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

// The whole diagnostic line of a reserved-field message, as check reports it:
// at the line of the feature that holds cell 1 (the train description's, of
// no line, when none does).
std::string reserved_field_diagnostic(const Form1& form, ReservedFieldMessage number, const SourceDocument& line,
                                      const SourceDocument& train);

// The sentence of the reported error, for the document and line error_place gives.
ErrorText reported_error_text(const Form1& form, const SourceDocument& line, const SourceDocument& train);
std::string reported_error_message(const Form1& form, const SourceDocument& line, const SourceDocument& train);

// "FILE:LINE: SEVERITY CODE: MESSAGE", without ":LINE" when the line is 0.
std::string diagnostic_text(const std::string& file, int32_t line, Code code, const std::string& message);

// The whole diagnostic line (without a line end) for the form's reported error.
std::string diagnostic(const Form1& form, const SourceDocument& line, const SourceDocument& train);
