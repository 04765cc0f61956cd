#include "tools/plot/plot.h"

#include <CLI/CLI.hpp>
#include <optional>
#include <vector>

#include "core/run_end.h"
#include "platform/platform.h"
#include "tools/common/exit_status.h"
#include "tools/compiled/compiled_route.h"
#include "tools/compiled/compiled_set.h"
#include "tools/drawing/route_svg.h"

int plot_route(const PlotOptions& o, std::ostream& out, std::ostream& err) {
    const CompiledPaths paths = compiled_paths(o.folder, o.names);
    if (!platform::file_exists(paths.scenario)) {
        err << "scenario_tool: " << paths.scenario << ": no scenario file of route " << o.names.route << ", train "
            << o.names.train << " here; " << other_compiled_files(o.folder, o.names) << '\n';
        return kExitUnreadableFile;
    }
    std::string svg;
    std::string counts;
    try {
        const RouteModel model = read_compiled_route(o.folder, o.names);
        svg = render_route_svg(model);
        counts = scenario_counts(model);
    } catch (const Unusable& u) {
        err << "scenario_tool: " << u.path << ": " << u.reason << '\n';
        return kExitUnreadableFile;
    }
    try {
        platform::write_file(o.outFile, svg);
    } catch (const platform::RunTimeFailure& f) {
        err << "scenario_tool: " << f.path << ": cannot " << f.operation << ": " << f.reason << '\n';
        return kExitRunTimeFailure;
    }
    out << "drew " << o.outFile << " (" << counts << ")\n";
    return kExitClean;
}

namespace {

// The names to draw: those given, and for a name not given that of the one
// scenario of the folder with the names given. Nothing when the folder holds
// several such (listed on `err`, with the options that choose each).
std::optional<ScenarioNames> names_to_draw(const std::string& folder, const NameOptions& given,
                                           const ScenarioNames& chosen, std::ostream& err) {
    if (given.route && given.train) return chosen;
    std::vector<ScenarioNames> there = compiled_scenarios_in(folder);
    std::erase_if(there, [&](const ScenarioNames& n) {
        return (given.route && n.route != chosen.route) || (given.train && n.train != chosen.train);
    });
    if (there.empty()) return chosen;  // the message for missing files lists what is there
    if (there.size() == 1) return there.front();
    err << "scenario_tool: which scenario to draw? " << compiled_scenarios_listed(folder, there) << '\n';
    return std::nullopt;
}

CommandRun setup(CLI::App& command) {
    auto options = std::make_shared<PlotOptions>();
    command.add_option("DIR", options->folder, "Folder with the compiled files")->required();
    command.add_option("--out", options->outFile, "The SVG file to write")->required();
    auto names = std::make_shared<NameOptions>();
    add_scenario_names(command, *names, NameSource::FolderOrBuiltIn);
    return [options, names](std::ostream& out, std::ostream& err) {
        std::optional<ScenarioNames> chosen = chosen_names(*names, "", "", err);
        if (chosen) chosen = names_to_draw(options->folder, *names, *chosen, err);
        if (!chosen) return kExitUsage;
        options->names = *chosen;
        return plot_route(*options, out, err);
    };
}

}  // namespace

const Command kPlotCommand = {"plot", "Draw the compiled route of DIR as one SVG picture", setup};
