// An author's line and train description compiled by the compiler's own pass
// on copies in the output folder, with the first error as a diagnostic naming
// its line.
#pragma once

#include <ostream>
#include <string>

#include "core/read_trace.h"
#include "tools/common/scenario_names.h"

struct CompileOptions {
    std::string lineDocument;
    std::string trainDocument;
    std::string outFolder;
    ScenarioNames names;
    bool lineTable = true;
};

// Returns the exit status; what was compiled goes to `out`, diagnostics to
// `err`. With `trace`, what the readers took from the documents is kept there.
int compile_documents(const CompileOptions& options, std::ostream& out, std::ostream& err,
                      ReadTrace* trace = nullptr);
