#include "tools/compiled/compiled_route.h"

#include <new>

#include "core/form1.h"
#include "platform/platform.h"
#include "tools/compiled/compiled_files.h"
#include "tools/compiled/compiled_set.h"

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
    if (length < 0 || length > 1000000)
        throw Unusable{paths.scenario, "route length " + std::to_string(length) + " m is outside 0 to 1000000"};
    const auto expected = static_cast<size_t>(grid_upper_bound(length)) + 1;
    if (cells != expected)
        throw Unusable{paths.grid, std::to_string(cells) + " cells, but a route of " + std::to_string(length) +
                                     " m has " + std::to_string(expected) + ": the files do not belong together"};
    if (lineLastColumn != nullptr && *lineLastColumn != length + 7000)
        throw Unusable{paths.line, "metres 0 to " + std::to_string(*lineLastColumn) + ", but a route of " +
                                     std::to_string(length) + " m has 0 to " + std::to_string(length + 7000) +
                                     ": the files do not belong together"};
}

}  // namespace

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
