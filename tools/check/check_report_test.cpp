// The check's three output formats on one case: an error with its position,
// a warning with its cell, and one of no line.
#include "tools/check/check_report.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

#include "tools/testing/tool_runner.h"

namespace {

using nlohmann::json;

CheckResult one_case() {
    CheckResult r;
    r.diagnostics = {
        {.file = "docs/my line.txt", .line = 12, .code = kIndicationBoardCellTaken,
         .message = "indication board at 2000 m falls on grid cell 41, which already holds a speed board",
         .cell = std::nullopt, .position = 2000},
        {.file = "train.txt", .line = 7, .code = Warning::PositionMoved,
         .message = "signal at 46530 m is not on a multiple of 50 m; it lands on grid cell 932, the cell of \xC3\xA8",
         .cell = 932, .position = 46530},
        {.file = "train.txt", .line = 0, .code = kStartCapsTaken,
         .message = "no free cell for an abbattimento cap", .cell = 95, .position = 4700},
    };
    r.errors = 2;
    r.warnings = 1;
    return r;
}

TEST(CheckReport, TextIsOneLinePerDiagnosticAndTheCounts) {
    std::ostringstream out;
    write_check_text(out, one_case(), CheckOptions{});
    EXPECT_EQ(out.str(),
              "docs/my line.txt:12: error 6: indication board at 2000 m falls on grid cell 41, which already holds a "
              "speed board\n"
              "train.txt:7: warning W115: signal at 46530 m is not on a multiple of 50 m; it lands on grid cell 932, "
              "the cell of \xC3\xA8\n"
              "train.txt: error 12: no free cell for an abbattimento cap\n"
              "2 errors, 1 warning\n"
              "for more on errors 6, 12 and warning W115, run: scenario_tool explain 6 12 W115\n");
}

TEST(CheckReport, TextSaysWhereMaxErrorsStoppedIt) {
    CheckResult r = one_case();
    r.stoppedAtMaxErrors = true;
    CheckOptions options;
    options.maxErrors = 2;
    std::ostringstream out;
    write_check_text(out, r, options);
    EXPECT_NE(out.str().find("\ncheck stopped at 2 errors (--max-errors 2)"), std::string::npos) << out.str();
}

TEST(CheckReport, JsonFieldByField) {
    std::ostringstream out;
    write_check_json(out, one_case());
    const json j = json::parse(out.str());
    ASSERT_EQ(j["diagnostics"].size(), 3u);
    const json& error = j["diagnostics"][0];
    EXPECT_EQ(error["file"], "docs/my line.txt");
    EXPECT_EQ(error["line"], 12);
    EXPECT_EQ(error["severity"], "error");
    EXPECT_EQ(error["code"], "6");
    EXPECT_EQ(error["message"], one_case().diagnostics[0].message);
    EXPECT_FALSE(error.contains("cell"));
    EXPECT_EQ(error["position"], 2000);
    const json& warning = j["diagnostics"][1];
    EXPECT_EQ(warning["severity"], "warning");
    EXPECT_EQ(warning["code"], "W115");
    EXPECT_EQ(warning["cell"], 932);
    EXPECT_EQ(warning["position"], 46530);
    EXPECT_EQ(warning["message"].get<std::string>().substr(0, 9), "signal at");
    EXPECT_EQ(j["diagnostics"][2]["line"], 0);
    EXPECT_EQ(j["errors"], 2);
    EXPECT_EQ(j["warnings"], 1);
    EXPECT_EQ(j["stoppedAtMaxErrors"], false);
}

TEST(CheckReport, SarifFieldByField) {
    std::ostringstream out;
    write_check_sarif(out, one_case(), "/home/author/route");
    const json log = json::parse(out.str());
    EXPECT_EQ(log["version"], "2.1.0");
    EXPECT_EQ(log["$schema"], "https://json.schemastore.org/sarif-2.1.0.json");
    ASSERT_EQ(log["runs"].size(), 1u);
    const json& run = log["runs"][0];
    EXPECT_EQ(run["tool"]["driver"]["name"], "scenario_tool");
    EXPECT_EQ(run["tool"]["driver"]["informationUri"], "man:scenario_tool(1)");
    EXPECT_EQ(run["originalUriBaseIds"]["%SRCROOT%"]["uri"], "file:///home/author/route/");
    const json& rules = run["tool"]["driver"]["rules"];
    // A rule for every code, each with its short description, none twice.
    std::set<std::string> ids;
    for (const json& rule : rules) {
        EXPECT_TRUE(ids.insert(rule["id"].get<std::string>()).second) << rule["id"];
        EXPECT_FALSE(rule["shortDescription"]["text"].get<std::string>().empty()) << rule["id"];
    }
    for (const char* id : {"1", "6", "25", "101", "212", "1250", "1251", "W101", "W119"})
        EXPECT_TRUE(ids.count(id)) << id;
    // The explanation travels with its rule.
    for (const json& rule : rules) {
        if (rule["id"] != "6") continue;
        EXPECT_NE(rule["fullDescription"]["text"].get<std::string>().find("indication board"), std::string::npos);
        EXPECT_NE(rule["help"]["text"].get<std::string>().find("How to fix it"), std::string::npos);
        EXPECT_NE(rule["help"]["markdown"].get<std::string>().find("**How to fix it.**"), std::string::npos);
    }

    const json& results = run["results"];
    ASSERT_EQ(results.size(), 3u);
    const json& error = results[0];
    EXPECT_EQ(error["ruleId"], "6");
    EXPECT_EQ(rules[error["ruleIndex"].get<size_t>()]["id"], "6");
    EXPECT_EQ(error["level"], "error");
    EXPECT_EQ(error["message"]["text"], one_case().diagnostics[0].message);
    const json& location = error["locations"][0]["physicalLocation"];
    EXPECT_EQ(location["artifactLocation"]["uri"], "docs/my%20line.txt");
    EXPECT_EQ(location["artifactLocation"]["uriBaseId"], "%SRCROOT%");
    EXPECT_EQ(location["region"]["startLine"], 12);

    const json& warning = results[1];
    EXPECT_EQ(warning["ruleId"], "W115");
    EXPECT_EQ(rules[warning["ruleIndex"].get<size_t>()]["id"], "W115");
    EXPECT_EQ(warning["level"], "warning");
    EXPECT_EQ(warning["locations"][0]["physicalLocation"]["region"]["startLine"], 7);

    // No line: the file alone, no region.
    EXPECT_FALSE(results[2]["locations"][0]["physicalLocation"].contains("region"));
    EXPECT_EQ(results[2]["locations"][0]["physicalLocation"]["artifactLocation"]["uri"], "train.txt");
}

// An indication board on a speed board's cell (error 6, line 5), checked with
// its trace, and the speed board's row named by hand as the related place.
struct TakenCell {
    const std::string linePath = "linea.txt";
    ReadTrace trace;
    CheckResult result;
    size_t error = 0;  // the index of the taken-cell error
    TakenCell() {
        result = check_sources({linePath, crlf({"[generale]", "lunghezza percorso,    10000", "[pendenze]",
                                                "indicatori_vmax, 2000, 80, 80, 80, 0, , , , 0",
                                                "cartello_indicatore, 2000, (DOPPIO)", "[fine]"})},
                               {"treno.txt", crlf({"[generale]", "numero vetture, 8", "velocita, 0, 80", "[fine]"})},
                               ScenarioNames{}, 10, &trace);
        while (error < result.diagnostics.size() && result.diagnostics[error].code != kIndicationBoardCellTaken)
            ++error;
        if (error == result.diagnostics.size()) ADD_FAILURE() << "no taken-cell error";
        else result.diagnostics[error].related = {{.file = linePath, .line = 4, .field = 1, .label = "the speed board"},
                                                  {.file = "treno.txt", .line = 2, .field = std::nullopt, .label = "the train"}};
    }
};

TEST(CheckReport, JsonGivesTheRelatedPlacesWithTheColumnsOfTheirFields) {
    const TakenCell taken;
    const FindingPlaces places(taken.linePath, "treno.txt", taken.trace, taken.result.refused);
    std::ostringstream out;
    write_check_json(out, taken.result, &places);
    const json diagnostics = json::parse(out.str())["diagnostics"];
    ASSERT_LT(taken.error, diagnostics.size());
    EXPECT_EQ(diagnostics[taken.error]["related"], json::parse(R"([
        {"file": "linea.txt", "line": 4, "label": "the speed board", "startColumn": 18, "endColumn": 22},
        {"file": "treno.txt", "line": 2, "label": "the train"}])"));
    for (size_t i = 0; i < diagnostics.size(); ++i) {
        if (i == taken.error) continue;
        EXPECT_EQ(diagnostics[i]["related"], json::array()) << i;
    }
    // Without the trace the places are there, their columns not.
    std::ostringstream untraced;
    write_check_json(untraced, taken.result);
    EXPECT_FALSE(json::parse(untraced.str())["diagnostics"][taken.error]["related"][0].contains("startColumn"));
}

TEST(CheckReport, SarifMarksTheFieldAndGivesTheRelatedLocations) {
    const TakenCell taken;
    const FindingPlaces places(taken.linePath, "treno.txt", taken.trace, taken.result.refused);
    std::ostringstream out;
    write_check_sarif(out, taken.result, "/home/author/route", &places);
    const json run = json::parse(out.str())["runs"][0];
    EXPECT_EQ(run["columnKind"], "utf16CodeUnits");
    EXPECT_EQ(run["defaultEncoding"], "windows-1252");
    const json& result = run["results"][taken.error];
    // "2000" of "cartello_indicatore, 2000, (DOPPIO)": the position that found its cell taken.
    EXPECT_EQ(result["locations"][0]["physicalLocation"]["region"],
              json({{"startLine", 5}, {"startColumn", 22}, {"endColumn", 26}}));
    EXPECT_EQ(result["relatedLocations"], json::parse(R"([
        {"id": 1, "physicalLocation": {"artifactLocation": {"uri": "linea.txt", "uriBaseId": "%SRCROOT%"},
                                       "region": {"startLine": 4, "startColumn": 18, "endColumn": 22}},
         "message": {"text": "the speed board"}},
        {"id": 2, "physicalLocation": {"artifactLocation": {"uri": "treno.txt", "uriBaseId": "%SRCROOT%"},
                                       "region": {"startLine": 2}},
         "message": {"text": "the train"}}])"));
    for (const json& other : run["results"]) {
        if (&other == &result) continue;
        EXPECT_FALSE(other.contains("relatedLocations")) << other.dump();
    }
}

// Paths as the author typed them: relative ones through the base of the
// folder check runs in, absolute ones as file URIs unless they lie in it.
TEST(CheckReport, SarifLocationsAreRelativeToTheFolderOrFileUris) {
    struct Case {
        std::string folder;
        std::string file;
        std::string uri;
        bool throughBase;
    } cases[] = {
        {.folder = "/home/author/route", .file = "docs/my line.txt", .uri = "docs/my%20line.txt", .throughBase = true},
        {.folder = "/home/author/route", .file = "../other/train.txt", .uri = "../other/train.txt",
         .throughBase = true},
        {.folder = "/home/author/route", .file = "a:b.txt", .uri = "a%3Ab.txt", .throughBase = true},
        {.folder = "/home/author/route", .file = "/home/author/route/src/linea.txt", .uri = "src/linea.txt",
         .throughBase = true},
        {.folder = "/home/author/route", .file = "/home/author/routes/linea.txt",
         .uri = "file:///home/author/routes/linea.txt", .throughBase = false},
        {.folder = "/home/author/route", .file = "/tmp/citt\xC3\xA0 #1.txt",
         .uri = "file:///tmp/citt%C3%A0%20%231.txt", .throughBase = false},
        {.folder = "C:\\Routes", .file = "C:\\Routes\\src\\linea.txt", .uri = "src/linea.txt", .throughBase = true},
        {.folder = "C:\\Routes", .file = "D:\\linea.txt", .uri = "file:///D:/linea.txt", .throughBase = false},
        {.folder = "/", .file = "/etc/linea.txt", .uri = "etc/linea.txt", .throughBase = true},
        {.folder = "", .file = "linea.txt", .uri = "linea.txt", .throughBase = true},
    };
    for (const Case& c : cases) {
        CheckResult r = one_case();
        r.diagnostics[0].file = c.file;
        std::ostringstream out;
        write_check_sarif(out, r, c.folder);
        const json run = json::parse(out.str())["runs"][0];
        const json& location = run["results"][0]["locations"][0]["physicalLocation"]["artifactLocation"];
        EXPECT_EQ(location["uri"], c.uri) << c.file;
        EXPECT_EQ(location.contains("uriBaseId"), c.throughBase) << c.file;
        EXPECT_EQ(run.contains("originalUriBaseIds"), !c.folder.empty()) << c.folder;
    }
}

}  // namespace
