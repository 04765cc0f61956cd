#include "tools/dump/dump_file.h"

#include <CLI/CLI.hpp>
#include <new>
#include <vector>

#include "core/run_end.h"
#include "platform/platform.h"
#include "tools/common/exit_status.h"
#include "tools/common/wording.h"
#include "tools/compiled/compiled_files.h"
#include "tools/compiled/compiled_recognition.h"
#include "tools/compiled/compiled_set.h"
#include "tools/dump/dump.h"

namespace {

CommandRun setup(CLI::App& command) {
    auto options = std::make_shared<DumpOptions>();
    command.add_option("KIND", options->what, "grid, scenario or line")
        ->required()
        ->check(CLI::IsMember({"grid", "scenario", "line"}));
    command.add_option("FILE", options->file, "The compiled file")->required();
    command.add_flag("--all", options->all, "Every cell, slot or metre");
    command.add_flag("--raw", options->raw, "The stored fields of grid cells and scenario slots, not their meanings");
    command.add_option("--format", options->format, "text, json or csv")
        ->capture_default_str()
        ->check(CLI::IsMember({"text", "json", "csv"}));
    return [options](std::ostream& out, std::ostream& err) { return dump_file(*options, out, err); };
}

}  // namespace

int dump_file(const DumpOptions& options, std::ostream& out, std::ostream& err) {
    DumpFormat format = options.format == "json" ? DumpFormat::Json
                        : options.format == "csv" ? DumpFormat::Csv
                                                  : DumpFormat::Text;
    auto file = [](const std::string& k) { return k == "line" ? "a line data file" : "a " + k + " file"; };
    const std::string kind = compiled_kind_by_name(options.file);
    if (!kind.empty() && kind != options.what) {
        err << "scenario_tool: " << options.file << " is named as " << file(kind) << ", not " << file(options.what)
            << "; run: scenario_tool dump " << kind << " " << options.file << '\n';
        return kExitUsage;
    }
    if (!platform::file_exists(options.file)) {
        const size_t slash = options.file.find_last_of("/\\");
        const std::string folder = slash == std::string::npos ? "" : options.file.substr(0, slash);
        err << "scenario_tool: " << options.file << " does not exist";
        const std::vector<ScenarioNames> there = compiled_scenarios_in(folder);
        if (!there.empty()) {
            std::vector<std::string> files;
            for (const ScenarioNames& names : there) {
                const CompiledPaths paths = compiled_paths(folder, names);
                const std::string& mine = options.what == "grid"       ? paths.grid
                                          : options.what == "scenario" ? paths.scenario
                                                                       : paths.line;
                if (platform::file_exists(mine)) files.push_back(mine);
            }
            if (!files.empty()) err << "; the " << options.what << " files there: " << listed(files);
        }
        err << '\n';
        return kExitUnreadableFile;
    }
    std::string bytes;
    try {
        bytes = platform::read_file(options.file);
        // Every check is made before the first row is written: a file that is
        // not what was asked for shows nothing.
        if (options.what == "grid")
            dump_grid(out, read_grid_file(bytes), options.all, options.raw, format);
        else if (options.what == "scenario")
            dump_scenario(out, read_scenario_file(bytes), options.all, options.raw, format);
        else
            dump_line_table(out, read_line_data_file(bytes), options.all, format);
        return kExitClean;
    } catch (const DecodeError& e) {
        err << "scenario_tool: " << options.file << " is not " << file(options.what) << ": " << e.what();
        const std::string other = compiled_kind_of(bytes);
        if (!other.empty())
            err << "; it is " << file(other) << ", run: scenario_tool dump " << other << " " << options.file;
        err << '\n';
    } catch (const platform::RunTimeFailure& f) {
        err << "scenario_tool: " << f.path << ": cannot " << f.operation << ": " << f.reason << '\n';
    } catch (const std::bad_alloc&) {
        err << "scenario_tool: " << options.file << ": too large to decode\n";
    }
    return kExitUnreadableFile;
}

const Command kDumpCommand = {"dump", "Show a compiled file as text, JSON or CSV", setup};
