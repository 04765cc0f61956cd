// The warnings of the check: what the readers accept without an error but an
// author cannot have meant. Found in what the last pass of the check read
// (its read trace and the compiled state) and in the documents' bytes.
#pragma once

#include <vector>

#include "core/form1.h"
#include "tools/check.h"

struct FoundWarning {
    Document document;
    Diagnostic diagnostic;
};

// Every warning, in no particular order; the check sorts them among the errors.
std::vector<FoundWarning> find_warnings(const Form1& form, const CheckSource& line, const CheckSource& train);
