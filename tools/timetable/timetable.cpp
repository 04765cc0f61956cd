#include "tools/timetable/timetable.h"

#include <CLI/CLI.hpp>

#include "core/run_end.h"
#include "tools/common/exit_status.h"
#include "tools/diagnostics/author_document.h"
#include "tools/diagnostics/checker.h"
#include "tools/pass/compile_pass.h"
#include "tools/running_time/fastest_run.h"
#include "tools/timetable/timetable_report.h"

namespace {

// As the check: every error of the documents, up to this many.
constexpr int kMaxErrors = 50;

CommandRun setup(CLI::App& command) {
    auto options = std::make_shared<TimetableOptions>();
    command.add_option("LINE_DOC", options->lineDocument, "Line description document");
    command.add_option("TRAIN_DOC", options->trainDocument, "Train description document");
    auto names = std::make_shared<NameOptions>();
    add_scenario_names(command, *names, NameSource::DocumentsOrBuiltIn);
    command.add_option("--train-model", options->trainModelFile,
                       "Train-model file (JSON; default: a four-car regional electric unit)");
    command.add_option("--format", options->format, "text or json")
        ->capture_default_str()
        ->check(CLI::IsMember({"text", "json"}));
    command.add_flag("--print-train-model", options->printTrainModel,
                     "Write the default train as a train-model file, and nothing else");
    return [options, names](std::ostream& out, std::ostream& err) {
        if (options->printTrainModel) return timetable_documents(*options, out, err);
        if (options->lineDocument.empty() || options->trainDocument.empty()) {
            err << "scenario_tool timetable: LINE_DOC and TRAIN_DOC are required\n";
            return kExitUsage;
        }
        const std::optional<ScenarioNames> chosen =
            chosen_names(*names, options->lineDocument, options->trainDocument, err);
        if (!chosen) return kExitUsage;
        options->names = *chosen;
        return timetable_documents(*options, out, err);
    };
}

// The train model the options name, or nothing when its file is faulty
// (said on `err`).
std::optional<TrainModel> chosen_train(const TimetableOptions& options, std::ostream& err) {
    if (options.trainModelFile.empty()) return TrainModel{};
    TrainModelRead read = read_train_model_file(options.trainModelFile);
    if (!read.model) err << "scenario_tool: train-model file " << read.error << '\n';
    return read.model;
}

int run_timetable(const TimetableOptions& options, const TrainModel& train, std::ostream& out) {
    const AuthorDocument line = read_author_document(options.lineDocument);
    const AuthorDocument trainDocument = read_author_document(options.trainDocument);
    const CheckResult check = check_sources(line, trainDocument, options.names, kMaxErrors);
    if (check.unreadable || check.errors > 0) {
        write_document_errors(out, check, options.format);
        return check_status(check, false);
    }
    PassSettings settings{.names = options.names, .lineTable = false, .compiledFiles = false};
    CompilePass pass(settings);
    pass.run({line.text, trainDocument.text});
    const RunRoute route = run_route_of(pass.form());
    const RunningTimes times = fastest_run(route, train);
    const TimetableView view{route, times, options.trainModelFile.empty() ? "default" : options.trainModelFile};
    if (options.format == "json") write_timetable_json(out, view);
    else write_timetable_text(out, view);
    return times.kept() ? 0 : 1;
}

}  // namespace

int timetable_documents(const TimetableOptions& options, std::ostream& out, std::ostream& err) {
    if (options.printTrainModel) {
        out << train_model_json(TrainModel{});
        return 0;
    }
    const std::optional<TrainModel> train = chosen_train(options, err);
    if (!train) return kExitUsage;
    return reported_status(run_to_end([&] { return run_timetable(options, *train, out); }));
}

const Command kTimetableCommand = {"timetable",
                                   "Set every scheduled time against the fastest run of the train over the route",
                                   setup};
