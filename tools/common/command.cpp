#include "tools/common/command.h"

#include <CLI/CLI.hpp>

namespace {

// How the names are chosen and what a name may hold, for the commands that read documents.
constexpr const char* kNamesFromDocuments =
    "Route and train code: --route and --train-code, else the document names: LINE_DOC named ROUTE_linea.txt "
    "and TRAIN_DOC named ROUTE_TRAIN-.txt with the same ROUTE (Bresta_Vilcar_linea.txt and "
    "Bresta_Vilcar_RX907-.txt give route Bresta_Vilcar, train RX907).";
constexpr const char* kNameRules =
    "A name may not be empty or hold a path separator, \"..\", any of < > : \" | ? * or a character "
    "Windows-1252 cannot hold; it is stored in Windows-1252.";

}  // namespace

void add_scenario_names(CLI::App& command, NameOptions& names, NameSource source) {
    names.source = source;
    const ScenarioNames defaults;
    const std::string routeDefault = source == NameSource::BuiltIn           ? defaults.route
                                     : source == NameSource::FolderOrBuiltIn ? "that of the scenario compiled in DIR"
                                                                             : "from LINE_DOC's name";
    const std::string trainDefault = source == NameSource::BuiltIn           ? defaults.train
                                     : source == NameSource::FolderOrBuiltIn ? "that of the scenario compiled in DIR"
                                                                             : "from TRAIN_DOC's name";
    command.add_option_function<std::string>(
        "--route", [&names](const std::string& typed) { names.route = typed; },
        "Route name (default: " + routeDefault + ")");
    command.add_option_function<std::string>(
        "--train-code", [&names](const std::string& typed) { names.train = typed; },
        "Train code (default: " + trainDefault + ")");
    std::string footer;
    if (source == NameSource::FolderOrBuiltIn)
        footer = "Route and train code: --route and --train-code; a name not given is that of the one scenario "
                 "whose compiled files DIR holds (of the route or train given, if one is). When DIR holds several, "
                 "they are listed with the options that choose each; when it holds none, the names are " +
                 defaults.route + " and " + defaults.train + ".\n";
    if (source == NameSource::Refuse)
        footer = std::string(kNamesFromDocuments) +
                 " Documents named otherwise need both options: compile never falls back to other names.\n";
    if (source == NameSource::DocumentsOrBuiltIn)
        footer = std::string(kNamesFromDocuments) + " Documents named otherwise are taken as route " +
                 defaults.route + ", train " + defaults.train + ", and a note says so.\n";
    command.footer(footer + kNameRules + "\n");
}
