// The route of a scenario's compiled files, decoded and checked: read back
// from a folder for the picture of plot, or taken as the bytes of a pass run
// from memory for the live preview of serve.
#pragma once

#include <cstdint>
#include <string>

#include "core/output_files.h"
#include "tools/common/scenario_names.h"
#include "tools/compiled/compiled_set.h"
#include "tools/compiled/route_model.h"

// A compiled file that cannot be used, with the reason in words.
struct Unusable {
    std::string path;
    std::string reason;
};

// The centre line decoded from a line data file, kept with the file's bytes:
// a later read of the same bytes takes the line from here instead of
// decoding them again (most edits of a route leave its curves alone).
struct CentreLineCache {
    bool valid = false;
    std::string bytes;
    int64_t lastColumn = -1;
    CentreLine line;
};

// The route of the compiled files in a folder, read and decoded, with every
// size checked against the route length. Throws Unusable when the grid or
// scenario file is missing or malformed, the line data file is malformed, or
// the files do not belong together. Without a line data file the plan is empty.
RouteModel read_compiled_route(const std::string& folder, const ScenarioNames& names,
                               CentreLineCache* cache = nullptr);

// The route of compiled files held in memory, as a pass run from memory gives
// them, checked and decoded as read_compiled_route does files; `paths` name
// the files in what Unusable says.
RouteModel compiled_route(CompiledFiles files, const CompiledPaths& paths, CentreLineCache* cache = nullptr);
