#include "tools/main/desktop_start.h"

#include <algorithm>

#include "tools/common/ascii_text.h"

namespace {

// A line description by the naming convention, letter case aside (Explorer
// keeps the case the author gave the file).
bool names_a_line_description(const std::string& path) { return ascii_lowered(path).ends_with("_linea.txt"); }

}  // namespace

DesktopStart desktop_start(const std::vector<std::string>& arguments, const std::vector<std::string>& commands) {
    if (arguments.empty()) return DesktopStart::Introduce;
    const bool twoDocuments =
        arguments.size() == 2 && std::none_of(arguments.begin(), arguments.end(), [&](const std::string& a) {
            return a.empty() || a[0] == '-' || std::find(commands.begin(), commands.end(), a) != commands.end();
        });
    return twoDocuments ? DesktopStart::Preview : DesktopStart::Command;
}

std::vector<std::string> preview_arguments(const std::vector<std::string>& documents) {
    const bool swapped = !names_a_line_description(documents[0]) && names_a_line_description(documents[1]);
    const std::string& line = swapped ? documents[1] : documents[0];
    const std::string& train = swapped ? documents[0] : documents[1];
    return {"serve", line, train, "--port", "0", "--open"};
}

const char* const kDesktopIntroduction =
    "scenario_tool checks, previews and compiles the scenarios of the\n"
    "train-driving simulator.\n"
    "\n"
    "To see a route: select its two documents in Explorer, the line description\n"
    "(ROUTE_linea.txt) and the train description (ROUTE_TRAIN-.txt), and drop\n"
    "them together on scenario_tool.exe. The route opens in your browser and is\n"
    "drawn again each time you save a document; close this window to stop.\n"
    "\n"
    "Everything else runs from a command prompt (cmd or PowerShell) in the folder\n"
    "of the documents, for example:\n"
    "  scenario_tool write-documents .\n"
    "      the built-in scenario's documents, to start from\n"
    "  scenario_tool check ROUTE_linea.txt ROUTE_TRAIN-.txt\n"
    "      every error and warning, with its line\n"
    "  scenario_tool compile ROUTE_linea.txt ROUTE_TRAIN-.txt --out FOLDER\n"
    "      the three files for the simulator\n"
    "  scenario_tool help\n"
    "      all the commands\n"
    "\n"
    "Press a key to close this window.\n";
