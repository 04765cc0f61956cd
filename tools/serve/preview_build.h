// One compile of an author's two documents for the live preview: the whole
// check with its diagnostics, and, when it finds no error, the exact compile
// pass run from memory, the route decoded from the compiled files' bytes it
// gave and each feature linked to the line that made it. No file is written.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tools/diagnostics/checker.h"
#include "tools/diagnostics/diagnostics.h"
#include "tools/places/text_span.h"
#include "tools/serve/feature_sources.h"
#include "tools/compiled/compiled_route.h"
#include "tools/compiled/route_model.h"
#include "tools/running_time/fastest_run.h"

struct PreviewSources {
    std::string lineDocument;
    std::string trainDocument;
    ScenarioNames names;
    TrainModel train{};                  // the train the fastest run is worked out for
    std::string trainModelName = "default";  // "default" or the train-model file's name
};

// A stretch of the route the pass placed, in metres: a slow-down (with its
// speed) or a montagna stretch (speed 0).
struct PlacedStretch {
    int64_t start = 0;
    int64_t end = 0;
    int32_t speedKmh = 0;
};

struct PreviewBuild {
    std::vector<Diagnostic> diagnostics;  // as check gives them
    // For each diagnostic, the span of each related place's field where the check's trace knows it.
    std::vector<std::vector<std::optional<TextSpan>>> relatedSpans;
    std::optional<RouteModel> model;      // only when there was no error
    FeatureSources sources;               // with the model
    SourceDocument line, train;           // the documents as they were read
    // With the model: the fastest run over the route as the pass placed it,
    // the stations it was worked out on and the train model's name.
    std::vector<RunStation> runStations;
    RunningTimes run;
    std::string trainModelName;
    std::vector<PlacedStretch> slowDowns;
    std::vector<PlacedStretch> montagna;
    bool has_errors() const;
};

// A diagnostic of the preview itself (not of a document), as an error.
Diagnostic preview_error(const std::string& file, const std::string& message);

// Checks and compiles the documents, both from memory. `cache` carries the
// decoded centre line from one compile to the next.
PreviewBuild build_preview(const PreviewSources& sources, CentreLineCache& cache);
