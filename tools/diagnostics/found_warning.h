// A warning as a rule of the check found it, with the document it stands in:
// the check sorts the warnings among the errors by document and line.
#pragma once

#include "core/format.h"
#include "tools/diagnostics/diagnostic.h"

struct FoundWarning {
    Document document;
    Diagnostic diagnostic;
};
