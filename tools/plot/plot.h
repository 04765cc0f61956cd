// scenario_tool plot: one self-contained SVG picture of a compiled route, its
// plan to scale and its profile along the kilometres.
#pragma once

#include <ostream>
#include <string>

#include "tools/common/command.h"

struct PlotOptions {
    std::string folder;   // where the compiled files are
    std::string outFile;  // the SVG to write
    ScenarioNames names;
};

// Reads the compiled files of the folder and writes the picture, then says
// on `out` what it drew. Exit status 2 when the grid or scenario file is
// missing (naming the routes and trains the folder does hold) or malformed (or
// the line data file is malformed), 3 when the picture cannot be written, 0
// otherwise. A folder without a line data file gives the profile alone.
int plot_route(const PlotOptions& options, std::ostream& out, std::ostream& err);

// The command: a name not given with --route or --train-code is that of the
// one scenario compiled in DIR; several there end it with status 64 and their list.
extern const Command kPlotCommand;
