#include "tools/plot.h"

#include <new>

#include "core/form1.h"
#include "platform/platform.h"
#include "tools/compiled_files.h"
#include "tools/compiled_set.h"
#include "tools/plan_drawing.h"
#include "tools/plot_style.h"
#include "tools/profile_drawing.h"

using namespace plot_style;

namespace {

std::string read_compiled(const std::string& path, const std::string& what) {
    if (!platform::file_exists(path)) throw Unusable{path, "no " + what + " here (compile the scenario first)"};
    try {
        return platform::read_file(path);
    } catch (const platform::RunTimeFailure& f) {
        throw Unusable{path, "cannot " + f.operation + ": " + f.reason};
    }
}

// The three files must describe one route: the grid and the line table are
// sized from the route length that the scenario file carries.
void check_sizes(const RouteModel& model, size_t cells, const int64_t* lineLastColumn, const CompiledPaths& paths) {
    const int32_t length = model.routeLength;
    if (length < 0 || length > kLongestRoute)
        throw Unusable{paths.scenario, "route length " + std::to_string(length) + " m is outside 0 to " + std::to_string(kLongestRoute)};
    const auto expected = static_cast<size_t>(grid_upper_bound(length)) + 1;
    if (cells != expected)
        throw Unusable{paths.grid, std::to_string(cells) + " cells, but a route of " + std::to_string(length) +
                                     " m has " + std::to_string(expected) + ": the files do not belong together"};
    if (lineLastColumn != nullptr && *lineLastColumn != length + kRunOnMetres)
        throw Unusable{paths.line, "metres 0 to " + std::to_string(*lineLastColumn) + ", but a route of " +
                                     std::to_string(length) + " m has 0 to " + std::to_string(length + kRunOnMetres) +
                                     ": the files do not belong together"};
}

std::string summary(const RouteModel& model) {
    auto count = [](size_t n, const char* one, const char* many) {
        return std::to_string(n) + " " + (n == 1 ? one : many);
    };
    return "Route length " + svg_number(model.routeLength / 1000.0, 2) + " km \xC2\xB7 " +
           count(model.stations.size(), "station", "stations") + " \xC2\xB7 " +
           count(model.signals.size(), "signal", "signals") + " \xC2\xB7 " +
           count(model.boards.size(), "indication board", "indication boards") + " \xC2\xB7 " +
           count(model.speedBoards.size(), "speed board", "speed boards");
}

}  // namespace

std::string render_route_svg(const RouteModel& model) {
    SvgWriter svg(kWidth);
    svg.open_group(SvgWriter::attr("font-family", kFonts) + SvgWriter::attr("fill", kInk));
    const std::string route = model.route.empty() ? "(unnamed route)" : model.route;
    const std::string train = model.train.empty() ? "(no train code)" : model.train;
    svg.text({kMargin, 34}, route + " \xE2\x80\x94 train " + train,
             SvgWriter::attr("id", "title") + SvgWriter::attr("font-size", "22") + SvgWriter::attr("font-weight", "bold"));
    svg.text({kMargin, 56}, summary(model), SvgWriter::attr("id", "summary") + SvgWriter::attr("font-size", "13") +
                                                SvgWriter::attr("fill", kMuted));
    double y = 70;
    if (model.line.present()) {
        y += draw_plan(svg, model, y) + 12;
    } else {
        svg.text({kMargin, y + 14}, "No line data file: the plan of the line is left out.",
                 SvgWriter::attr("id", "no-plan") + SvgWriter::attr("font-size", "12") +
                     SvgWriter::attr("font-style", "italic") + SvgWriter::attr("fill", kMuted));
        y += 28;
    }
    y += draw_profile(svg, model, y);
    return svg.finish(y + 12);
}

RouteModel read_compiled_route(const std::string& folder, const ScenarioNames& names, CentreLineCache* cache) {
    const CompiledPaths paths = compiled_paths(folder, names);
    std::string path = paths.grid;
    try {
        const std::vector<TrackCell> grid = decode_grid(read_compiled(paths.grid, "grid file"));
        path = paths.scenario;
        const ScenarioTable table = decode_scenario(read_compiled(paths.scenario, "scenario file"));
        path = paths.line;
        if (!platform::file_exists(paths.line)) {
            RouteModel model = build_route_model(grid, table, nullptr);
            check_sizes(model, grid.size(), nullptr, paths);
            return model;
        }
        std::string bytes = read_compiled(paths.line, "line data file");
        if (cache != nullptr && cache->valid && cache->bytes == bytes) {
            RouteModel model = build_route_model(grid, table, nullptr);
            check_sizes(model, grid.size(), &cache->lastColumn, paths);
            model.line = cache->line;
            return model;
        }
        const LineTable line = decode_line_table(bytes);
        RouteModel model = build_route_model(grid, table, &line);
        const int64_t lastColumn = line.last_column();
        check_sizes(model, grid.size(), &lastColumn, paths);
        if (cache != nullptr) *cache = {true, std::move(bytes), lastColumn, model.line};
        return model;
    } catch (const DecodeError& e) {
        throw Unusable{path, e.what()};
    } catch (const std::bad_alloc&) {
        throw Unusable{path, "too large to decode"};
    }
}

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
