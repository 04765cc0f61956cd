// A command of scenario_tool as its entry in the tool's table of commands:
// each command's folder defines its entry, which adds the command's own
// arguments, options and help; main only dispatches through the table.
#pragma once

#include <functional>
#include <ostream>

#include "tools/common/scenario_names.h"

namespace CLI {
class App;
}

// Runs a parsed command: what it did goes to `out`, what went wrong to `err`;
// returns the exit status.
using CommandRun = std::function<int(std::ostream& out, std::ostream& err)>;

struct Command {
    const char* name;
    const char* description;  // one line, shown in the list of commands
    // Adds the command's arguments and options to its subcommand and returns
    // what runs the command once the command line is parsed into them.
    CommandRun (*setup)(CLI::App& command);
};

// The --route and --train-code options, the same for every command that takes
// them, with the help that says how the names are chosen; `source` says what
// the command does when they are not given (chosen_names applies it).
void add_scenario_names(CLI::App& command, NameOptions& names, NameSource source);
