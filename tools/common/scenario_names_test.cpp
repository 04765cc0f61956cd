#include "tools/common/scenario_names.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

struct NamesCase {
    const char* name;
    NameOptions options;
    std::string line{}, train{};
    std::optional<ScenarioNames> chosen;  // nothing: refused
    std::string said{};                   // what goes to the error stream, exactly
};

ScenarioNames names(std::string route, std::string train) { return {std::move(route), std::move(train)}; }

}  // namespace

TEST(ChosenNames, FromOptionsDocumentsOrTheBuiltInOnes) {
    const NameSource compile = NameSource::Refuse, check = NameSource::DocumentsOrBuiltIn;
    const NamesCase cases[] = {
        {.name = "a route holding _ and the train after it",
         .options = {.source = compile},
         .line = "Bresta_Vilcar_linea.txt",
         .train = "Bresta_Vilcar_RX907-.txt",
         .chosen = names("Bresta_Vilcar", "RX907")},
        {.name = "documents in folders, either separator",
         .options = {.source = compile},
         .line = "work/routes/Valdoro_linea.txt",
         .train = "C:\\docs\\Valdoro_R101-.txt",
         .chosen = names("Valdoro", "R101")},
        {.name = "letter case counts",
         .options = {.source = check},
         .line = "Valdoro_Linea.txt",
         .train = "Valdoro_R101-.txt",
         .chosen = names("Bresta_Vilcar", "RX907"),
         .said = "scenario_tool: note: Valdoro_Linea.txt is not named ROUTE_linea.txt; using route \"Bresta_Vilcar\" "
                 "and train \"RX907\" (give --route and --train-code to choose)\n"},
        {.name = "an empty route is no route",
         .options = {.source = compile},
         .line = "_linea.txt",
         .train = "_R101-.txt",
         .chosen = std::nullopt,
         .said = "scenario_tool: _linea.txt is not named ROUTE_linea.txt, so the document names give no route name "
                 "and train code; give --route and --train-code, or name the documents ROUTE_linea.txt and "
                 "ROUTE_TRAIN-.txt\n"},
        {.name = "an empty train code is no train code",
         .options = {.source = compile},
         .line = "Valdoro_linea.txt",
         .train = "Valdoro_-.txt",
         .chosen = std::nullopt,
         .said = "scenario_tool: Valdoro_-.txt is not named Valdoro_TRAIN-.txt, so the document names give no "
                 "train code; give --train-code, or name the documents ROUTE_linea.txt and ROUTE_TRAIN-.txt\n"},
        {.name = "the train after the line description's route when --route renames it",
         .options = {.route = "Monte", .source = compile},
         .line = "Valdoro_linea.txt",
         .train = "Valdoro_R101-.txt",
         .chosen = names("Monte", "R101")},
        {.name = "the options alone",
         .options = {.route = "Monte", .train = "M1", .source = compile},
         .line = "a.txt",
         .train = "b.txt",
         .chosen = names("Monte", "M1")},
        {.name = "commands without documents take the built-in names",
         .options = {.source = NameSource::BuiltIn},
         .chosen = names("Bresta_Vilcar", "RX907")},
        {.name = "Windows-1252 bytes as a Windows console passes them",
         .options = {.route = "Citt\xE0", .source = compile},
         .line = "x.txt",
         .train = "Citt\xE0_R1-.txt",
         .chosen = names("Citt\xE0", "R1")},
        {.name = "a byte Windows-1252 leaves undefined",
         .options = {.route = "A\x81", .train = "T", .source = compile},
         .chosen = std::nullopt,
         .said = "scenario_tool: the route name \"A\x81\" (--route) cannot name files: it holds byte 0x81, which "
                 "Windows-1252 cannot hold\n"},
        {.name = "a backslash",
         .options = {.train = "R\\1", .source = NameSource::BuiltIn},
         .chosen = std::nullopt,
         .said = "scenario_tool: the train code \"R\\1\" (--train-code) cannot name files: it holds \"\\\", a path "
                 "separator\n"},
        {.name = "a double quote",
         .options = {.train = "R\"1", .source = NameSource::BuiltIn},
         .chosen = std::nullopt,
         .said = "scenario_tool: the train code \"R\"1\" (--train-code) cannot name files: it holds '\"', which "
                 "Windows refuses in a file name\n"},
        {.name = "a tab",
         .options = {.route = "A\tB", .source = NameSource::BuiltIn},
         .chosen = std::nullopt,
         .said = "scenario_tool: the route name \"A\tB\" (--route) cannot name files: it holds a control "
                 "character, which Windows refuses in a file name\n"},
        {.name = "names too long for a file name",
         .options = {.route = std::string(200, 'R'), .train = std::string(40, 'T'), .source = NameSource::BuiltIn},
         .chosen = std::nullopt,
         .said = "scenario_tool: the route name and train code are too long together: the files named after them "
                 "would have names of 259 characters, and at most 255 are allowed\n"},
    };
    for (const NamesCase& c : cases) {
        std::ostringstream err;
        const std::optional<ScenarioNames> chosen = chosen_names(c.options, c.line, c.train, err);
        EXPECT_EQ(chosen.has_value(), c.chosen.has_value()) << c.name;
        if (chosen && c.chosen) {
            EXPECT_EQ(chosen->route, c.chosen->route) << c.name;
            EXPECT_EQ(chosen->train, c.chosen->train) << c.name;
        }
        EXPECT_EQ(err.str(), c.said) << c.name;
    }
}
