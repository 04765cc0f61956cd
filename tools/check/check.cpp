#include "tools/check/check.h"

#include <CLI/CLI.hpp>

#include "core/run_end.h"
#include "platform/platform.h"
#include "tools/check/check_report.h"
#include "tools/common/exit_status.h"

namespace {

CommandRun setup(CLI::App& command) {
    auto options = std::make_shared<CheckOptions>();
    command.add_option("LINE_DOC", options->lineDocument, "Line description document")->required();
    command.add_option("TRAIN_DOC", options->trainDocument, "Train description document")->required();
    auto names = std::make_shared<NameOptions>();
    add_scenario_names(command, *names, NameSource::DocumentsOrBuiltIn);
    command.add_option("--format", options->format, "text, json or sarif")
        ->capture_default_str()
        ->check(CLI::IsMember({"text", "json", "sarif"}));
    command.add_flag("--werror", options->werror, "Fail on warnings too");
    command.add_option("--max-errors", options->maxErrors, "Stop after this many errors")
        ->capture_default_str()
        ->check(CLI::Range(1, 1000000));
    return [options, names](std::ostream& out, std::ostream& err) {
        const std::optional<ScenarioNames> chosen =
            chosen_names(*names, options->lineDocument, options->trainDocument, err);
        if (!chosen) return kExitUsage;
        options->names = *chosen;
        return check_documents(*options, out, err);
    };
}

}  // namespace

CheckResult run_check(const CheckOptions& options, ReadTrace* trace) {
    return check_sources(read_author_document(options.lineDocument), read_author_document(options.trainDocument),
                         options.names, options.maxErrors, trace);
}

int check_documents(const CheckOptions& options, std::ostream& out, std::ostream& err) {
    if (options.maxErrors < 1) {
        err << "scenario_tool: --max-errors must be at least 1\n";
        return kExitUsage;
    }
    // A run-time failure here is compiled files that could not be encoded, as
    // compile reports it (or memory running out).
    return reported_status(run_to_end([&] {
        // JSON and SARIF give the columns of the fields, which the trace knows.
        ReadTrace trace;
        const bool placed = options.format != "text";
        const CheckResult result = run_check(options, placed ? &trace : nullptr);
        write_check_report(out, result, options, placed ? &trace : nullptr);
        return check_status(result, options.werror);
    }));
}

const Command kCheckCommand = {"check", "Report every error and warning of a line and a train description", setup};
