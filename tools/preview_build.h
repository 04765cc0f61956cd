// One compile of an author's two documents for the live preview: the exact
// compile pass, run on copies in a private work folder, its diagnostics as
// records, and the route read back from the compiled files it wrote.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/commands.h"
#include "tools/diagnostics.h"
#include "tools/plot.h"
#include "tools/route_model.h"

struct PreviewDiagnostic {
    std::string file;      // the author's document as given on the command line
    int32_t line = 0;      // from 1; 0 when the problem has no line
    std::string severity;  // "error" or "warning"
    int32_t code = 0;
    std::string message;
};

struct PreviewSources {
    std::string lineDocument;
    std::string trainDocument;
    ScenarioNames names;
};

struct PreviewBuild {
    int status = 0;  // the exit status `compile` would give
    std::vector<PreviewDiagnostic> diagnostics;
    std::optional<RouteModel> model;  // only when the compile had no error
    SourceDocument line, train;       // the documents as they were read
    bool has_errors() const;
};

// Compiles the documents inside `workFolder`, which is emptied first, so that
// nothing of an earlier compile can stand in for this one's files.
// `cache` carries the decoded centre line from one compile to the next.
PreviewBuild build_preview(const PreviewSources& sources, const std::string& workFolder, CentreLineCache& cache);
