// The page's diagnostics carry the other rows their messages name, with the
// columns of the fields where the check's trace knew them, each diagnostic
// with its own places.
#include "tools/serve/scenario_json.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

TEST(ScenarioJson, EachDiagnosticCarriesItsOwnRelatedPlaces) {
    PreviewBuild build;
    build.line = {.path = "linea.txt", .text = "[generale]\r\n"};
    Diagnostic warning{.file = "linea.txt", .line = 9, .code = Warning::PositionMoved, .message = "moved",
                       .cell = std::nullopt, .position = std::nullopt};
    warning.related = {{.file = "linea.txt", .line = 2, .field = std::nullopt, .label = "the first"}};
    Diagnostic error{.file = "linea.txt", .line = 5, .code = kIndicationBoardCellTaken, .message = "taken",
                     .cell = std::nullopt, .position = std::nullopt};
    error.related = {{.file = "linea.txt", .line = 4, .field = 1, .label = "the speed board"},
                     {.file = "treno.txt", .line = 2, .field = 0, .label = "the train"}};
    build.diagnostics = {warning, error, preview_error("linea.txt", "the preview's own")};
    build.relatedSpans = {{std::nullopt}, {TextSpan{3, 17, 21}, TextSpan{0, 0, 3}}, {}};

    const nlohmann::json j = nlohmann::json::parse(scenario_json(build, nullptr, 1));
    ASSERT_EQ(j["diagnostics"].size(), 3u);
    EXPECT_EQ(j["diagnostics"][0]["related"], nlohmann::json::parse(R"([{"file": "linea.txt", "line": 2, "label": "the first"}])"));
    // The train's keyword stands on line 1, not on the row's line 2: no columns.
    EXPECT_EQ(j["diagnostics"][1]["related"], nlohmann::json::parse(R"([
        {"file": "linea.txt", "line": 4, "label": "the speed board", "startColumn": 18, "endColumn": 22},
        {"file": "treno.txt", "line": 2, "label": "the train"}])"));
    EXPECT_EQ(j["diagnostics"][2]["related"], nlohmann::json::array());
}
