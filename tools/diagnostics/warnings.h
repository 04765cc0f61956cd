// The warnings of the check: what the readers accept without an error but an
// author cannot have meant. Found in what the last pass of the check read
// (its read trace and the compiled state) and in the documents' bytes.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "core/form1.h"
#include "tools/diagnostics/checker.h"

struct FoundWarning {
    Document document;
    Diagnostic diagnostic;
};

// How far a field is, letter case ignored, from being spelt as a keyword:
// the edits that turn one into the other (the check's "did you mean").
size_t keyword_distance(std::string_view field, std::string_view keyword);

// Every warning, in no particular order; the check sorts them among the errors.
std::vector<FoundWarning> find_warnings(const Form1& form, const CheckSource& line, const CheckSource& train);
