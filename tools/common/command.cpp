#include "tools/common/command.h"

#include <CLI/CLI.hpp>

void add_scenario_names(CLI::App& command, ScenarioNames& names) {
    command.add_option("--route", names.route, "Route name")->capture_default_str();
    command.add_option("--train-code", names.train, "Train code")->capture_default_str();
}
