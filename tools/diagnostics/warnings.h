// The warnings of the check: what the readers accept without an error but an
// author cannot have meant. Found in what the last pass of the check read
// (its read trace and the compiled state) and in the documents' bytes, by the
// rules of three families: rows lost or out of place, values stored other
// than written, the route's layout and the timetable.
#pragma once

#include <vector>

#include "core/form1.h"
#include "tools/diagnostics/author_document.h"
#include "tools/diagnostics/found_warning.h"

// Every warning, in no particular order; the check sorts them among the errors.
std::vector<FoundWarning> find_warnings(const Form1& form, const AuthorDocument& line, const AuthorDocument& train);
