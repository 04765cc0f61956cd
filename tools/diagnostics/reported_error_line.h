// The pass's reported error (its first) as compile writes it: one diagnostic
// line, "FILE:LINE: error N: MESSAGE", with the code for the hint to explain.
#pragma once

#include <ostream>
#include <vector>

#include "core/form1.h"
#include "tools/codes/code.h"
#include "tools/diagnostics/diagnostics.h"

// Writes the reported error's line to `err` when the pass met an error; the
// codes written: that error's, or none.
std::vector<Code> write_reported_error(const Form1& form, const SourceDocument& line, const SourceDocument& train,
                                       std::ostream& err);
