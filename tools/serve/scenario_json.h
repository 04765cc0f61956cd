// The preview's data as one JSON document: what the page draws and what
// other programs may read (GET /scenario.json).
#pragma once

#include <cstdint>
#include <string>

#include "tools/serve/preview_build.h"

// `current` is the latest compile; `drawn` the route shown, which is the
// latest compile without errors (nullptr when there never was one). The
// drawing is stale when the current compile has errors.
std::string scenario_json(const PreviewBuild& current, const PreviewBuild* drawn, uint64_t version);
