// An author's line and train description compiled by the compiler's own pass,
// run from memory, with the first error as a diagnostic naming its line; only
// the three compiled files are written, into the output folder.
#pragma once

#include <ostream>
#include <string>

#include "tools/common/scenario_names.h"

struct CompileOptions {
    std::string lineDocument;
    std::string trainDocument;
    std::string outFolder;
    ScenarioNames names;
    bool lineTable = true;
};

// Returns the exit status; what was compiled goes to `out`, diagnostics to
// `err`. The documents are read whole and never written.
int compile_documents(const CompileOptions& options, std::ostream& out, std::ostream& err);
