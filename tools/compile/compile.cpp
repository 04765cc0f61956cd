#include "tools/compile/compile.h"

#include <CLI/CLI.hpp>
#include <memory>

#include "tools/common/exit_status.h"

namespace {

// The options as parsed; --no-line-table turns the line table off.
struct CompileCommandLine {
    CompileOptions options;
    NameOptions names;
    bool noLineTable = false;
};

CommandRun setup(CLI::App& command) {
    auto parsed = std::make_shared<CompileCommandLine>();
    CompileOptions& options = parsed->options;
    command.add_option("LINE_DOC", options.lineDocument, "Line description document")->required();
    command.add_option("TRAIN_DOC", options.trainDocument, "Train description document")->required();
    command
        .add_option("--out", options.outFolder,
                    "Folder for the compiled files (earlier compiled files of the route and train there are removed)")
        ->required();
    add_scenario_names(command, parsed->names, NameSource::Refuse);
    command.add_flag("--no-line-table", parsed->noLineTable, "Do not build or write the line data file");
    return [parsed](std::ostream& out, std::ostream& err) {
        const std::optional<ScenarioNames> chosen =
            chosen_names(parsed->names, parsed->options.lineDocument, parsed->options.trainDocument, err);
        if (!chosen) return kExitUsage;
        parsed->options.names = *chosen;
        parsed->options.lineTable = !parsed->noLineTable;
        return compile_documents(parsed->options, out, err);
    };
}

}  // namespace

const Command kCompileCommand = {"compile", "Compile a line and a train description into DIR", setup};
