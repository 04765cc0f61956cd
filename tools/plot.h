// scenario_tool plot: one self-contained SVG picture of a compiled route, its
// plan to scale and its profile along the kilometres.
#pragma once

#include <ostream>
#include <string>

#include "core/output_files.h"
#include "tools/commands.h"
#include "tools/compiled_set.h"
#include "tools/route_model.h"

struct PlotOptions {
    std::string folder;   // where the compiled files are
    std::string outFile;  // the SVG to write
    ScenarioNames names;
};

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

// The picture of a route as SVG text (UTF-8).
std::string render_route_svg(const RouteModel& model);

// Reads the compiled files of the folder and writes the picture, then says
// on `out` what it drew. Exit status 2 when the grid or scenario file is
// missing (naming the routes and trains the folder does hold) or malformed (or
// the line data file is malformed), 3 when the picture cannot be written, 0
// otherwise. A folder without a line data file gives the profile alone.
int plot_route(const PlotOptions& options, std::ostream& out, std::ostream& err);
