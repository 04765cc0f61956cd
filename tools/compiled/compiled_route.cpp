#include "tools/compiled/compiled_route.h"

#include <new>
#include <optional>
#include <utility>

#include "core/form1.h"
#include "platform/platform.h"
#include "tools/compiled/compiled_files.h"
#include "tools/compiled/compiled_recognition.h"
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

enum class Compiled { Grid, Scenario, LineData };

// The route of the three compiled files, each taken from `bytes_of` as it is
// decoded: the grid, the scenario file, then the line data file (no bytes:
// there is none, and the plan stays empty). `paths` name the files in what
// Unusable says.
template <typename BytesOf>
RouteModel decode_route(const CompiledPaths& paths, CentreLineCache* cache, BytesOf&& bytes_of) {
    std::string path = paths.grid;
    std::string kind = "grid file";
    try {
        const std::vector<TrackCell> grid = read_grid_file(bytes_of(Compiled::Grid).value());
        path = paths.scenario;
        kind = "scenario file";
        const ScenarioTable table = read_scenario_file(*bytes_of(Compiled::Scenario));
        const std::string mismatch = check_code_mismatch(grid, table);
        if (!mismatch.empty()) throw Unusable{paths.grid, mismatch};
        path = paths.line;
        kind = "line data file";
        std::optional<std::string> bytes = bytes_of(Compiled::LineData);
        if (!bytes) {
            RouteModel model = build_route_model(grid, table, nullptr);
            check_sizes(model, grid.size(), nullptr, paths);
            return model;
        }
        if (cache != nullptr && cache->valid && cache->bytes == *bytes) {
            RouteModel model = build_route_model(grid, table, nullptr);
            check_sizes(model, grid.size(), &cache->lastColumn, paths);
            model.line = cache->line;
            return model;
        }
        const LineTable line = read_line_data_file(*bytes);
        RouteModel model = build_route_model(grid, table, &line);
        const int64_t lastColumn = line.last_column();
        check_sizes(model, grid.size(), &lastColumn, paths);
        if (cache != nullptr) *cache = {true, std::move(*bytes), lastColumn, model.line};
        return model;
    } catch (const DecodeError& e) {
        throw Unusable{path, "not a " + kind + ": " + e.what()};
    } catch (const std::bad_alloc&) {
        throw Unusable{path, "too large to decode"};
    }
}

}  // namespace

RouteModel read_compiled_route(const std::string& folder, const ScenarioNames& names, CentreLineCache* cache) {
    const CompiledPaths paths = compiled_paths(folder, names);
    return decode_route(paths, cache, [&](Compiled which) -> std::optional<std::string> {
        switch (which) {
            case Compiled::Grid: return read_compiled(paths.grid, "grid file");
            case Compiled::Scenario: return read_compiled(paths.scenario, "scenario file");
            case Compiled::LineData: break;
        }
        if (!platform::file_exists(paths.line)) return std::nullopt;
        return read_compiled(paths.line, "line data file");
    });
}

RouteModel compiled_route(CompiledFiles files, const CompiledPaths& paths, CentreLineCache* cache) {
    return decode_route(paths, cache, [&](Compiled which) -> std::optional<std::string> {
        switch (which) {
            case Compiled::Grid: return std::move(files.grid);
            case Compiled::Scenario: return std::move(files.scenario);
            case Compiled::LineData: break;
        }
        return std::move(files.lineData);
    });
}
