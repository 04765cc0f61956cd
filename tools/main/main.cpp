// scenario_tool: write the built-in documents, compile and check an author's
// documents with diagnostics, and decode, draw and preview compiled files.
// Each command's folder defines its entry of the table below; main only
// dispatches to the command named on the command line.
#include <CLI/CLI.hpp>
#include <iostream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/platform.h"
#include "tools/check/check.h"
#include "tools/common/exit_status.h"
#include "tools/compile/compile.h"
#include "tools/dump/dump_file.h"
#include "tools/explain/explain.h"
#include "tools/lsp/lsp_command.h"
#include "tools/main/desktop_start.h"
#include "tools/common/version.h"
#include "tools/plot/plot.h"
#include "tools/serve/serve.h"
#include "tools/timetable/timetable.h"
#include "tools/write_documents/write_documents.h"

namespace {

// The commands with what each does, and how to learn more.
std::string command_list(CLI::App& app) {
    std::string text = "usage: scenario_tool COMMAND ...\ncommands:\n";
    for (const CLI::App* command : app.get_subcommands([](CLI::App*) { return true; })) {
        std::string name = command->get_name();
        text += "  " + name + std::string(name.size() < 17 ? 17 - name.size() : 1, ' ') +
                command->get_description() + "\n";
    }
    return text + "Run 'scenario_tool help COMMAND' for the arguments and options of one command.\n";
}

// help: the list of commands, or one command's arguments and options.
CommandRun setup_help(CLI::App& command) {
    auto topic = std::make_shared<std::string>();
    command.add_option("COMMAND", *topic, "The command to explain");
    CLI::App& app = *command.get_parent();
    return [topic, &app](std::ostream& out, std::ostream& err) {
        if (topic->empty()) {
            out << command_list(app);
            return 0;
        }
        try {
            // Under the program's name, as `COMMAND --help` shows it.
            out << app.get_subcommand(*topic)->help(app.get_name());
            return 0;
        } catch (const CLI::OptionNotFound&) {
            err << "scenario_tool: unknown command '" << *topic << "'\n" << command_list(app);
            return kExitUsage;
        }
    };
}

const Command kHelpCommand = {"help", "List the commands, or show one command's arguments and options", setup_help};

// The commands in the order the list of commands shows them.
const Command* const kCommands[] = {
    &kWriteDocumentsCommand, &kCompileCommand, &kCheckCommand, &kDumpCommand, &kPlotCommand, &kExplainCommand,
    &kLspCommand, &kHelpCommand, &kServeCommand, &kTimetableCommand,
};

// Parses the arguments and runs the command they name.
int run_command_line(const std::vector<std::string>& arguments) {
    CLI::App app{"Author, compile and inspect train-driving scenarios", "scenario_tool"};
    app.set_version_flag("--version", std::string("scenario_tool ") + kScenarioVersion);
    app.require_subcommand(1);
    // Options are written --name on every system: on Windows too an argument
    // that starts with '/' is a path (the root of the current drive), never an option.
    app.allow_windows_style_options(false);

    std::vector<std::pair<const CLI::App*, CommandRun>> runs;
    for (const Command* command : kCommands) {
        CLI::App* sub = app.add_subcommand(command->name, command->description);
        runs.emplace_back(sub, command->setup(*sub));
    }

    try {
        // CLI11 takes the arguments last first.
        std::vector<std::string> reversed(arguments.rbegin(), arguments.rend());
        app.parse(reversed);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForVersion& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        if (app.get_subcommands().empty()) {
            // No command, or one that does not exist: show the ones there are.
            if (arguments.empty()) std::cerr << "scenario_tool: give one of the commands below\n";
            else if (arguments[0].empty() || arguments[0][0] != '-')
                std::cerr << "scenario_tool: unknown command '" << arguments[0] << "'\n";
            else std::cerr << "scenario_tool: " << e.what() << '\n';
            std::cerr << command_list(app);
        } else {
            std::cerr << "scenario_tool: " << e.what() << "\nRun with --help for usage.\n";
        }
        return kExitUsage;
    }
    for (const auto& [command, run] : runs) {
        if (*command) return run(std::cout, std::cerr);
    }
    return kExitUsage;  // not reached: the command line names exactly one command
}

// Started from Explorer: the window stays until the author has read it.
int run_from_desktop(const std::vector<std::string>& arguments) {
    std::vector<std::string> commands;
    for (const Command* command : kCommands) commands.emplace_back(command->name);
    int status = kExitClean;
    switch (desktop_start(arguments, commands)) {
        case DesktopStart::Introduce:
            std::cout << kDesktopIntroduction << std::flush;
            break;
        case DesktopStart::Preview:
            status = run_command_line(preview_arguments(arguments));
            break;
        case DesktopStart::Command:
            status = run_command_line(arguments);
            std::cout << "\nPress a key to close this window.\n" << std::flush;
            break;
    }
    std::cerr << std::flush;
    platform::wait_for_key();
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    platform::use_console_messages();
    platform::use_utf8_text();
    platform::use_binary_standard_streams();
    const std::vector<std::string> arguments = platform::command_line_arguments(argc, argv);
    if (platform::started_from_desktop()) return run_from_desktop(arguments);
    return run_command_line(arguments);
}
