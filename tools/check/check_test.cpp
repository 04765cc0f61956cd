// check through the program: a feature refused on a taken cell names the row
// holding the cell in JSON and SARIF, with the columns of the fields where the
// check knows them, and its text stays one line.
#include "tools/check/check.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "tools/testing/test_folder.h"
#include "tools/testing/tool_runner.h"

namespace {

using nlohmann::json;

const std::string kTrain = crlf({"[generale]", "numero vetture, 8", "velocita, 0, 80", "aderenza, 0, 100", "[fine]"});

}  // namespace

TEST(Check, ATakenCellErrorNamesTheRowHoldingTheCell) {
    struct Case {
        const char* name;
        std::string line, train;
        int errorLine;
        json region;        // of the error, in SARIF
        json related;       // in JSON
        json relatedRegion;  // in SARIF
    } cases[] = {
        {.name = "an indication board on a speed board's cell",
         .line = crlf({"[generale]", "lunghezza percorso,    10000", "[pendenze]",
                       "indicatori_vmax, 2000, 80, 80, 80, 0, , , , 0", "cartello_indicatore, 2000, (DOPPIO)", "[fine]"}),
         .train = kTrain,
         .errorLine = 5,
         .region = {{"startLine", 5}, {"startColumn", 22}, {"endColumn", 26}},
         .related = {{{"file", "linea.txt"}, {"line", 4}, {"label", "the cell of the speed board at 2000 m"},
                      {"startColumn", 18}, {"endColumn", 22}}},
         .relatedRegion = {{"startLine", 4}, {"startColumn", 18}, {"endColumn", 22}}},
        {.name = "a signal on a station's stop cell",
         .line = crlf({"[generale]", "lunghezza percorso,    10000", "[pendenze]", "[fine]"}),
         .train = crlf({"[generale]", "numero vetture, 8", "velocita, 0, 80", "aderenza, 0, 100",
                        "stazione, 5900, 4, 400, 0, 0, 0, 1,1,0, 4,1,1, 1, 9,0,0, ALFA",
                        "segnale, 6000, 1, 4, 1, 0, 0, 1, 3, 1, 0, 0", "[fine]"}),
         .errorLine = 6,
         .region = {{"startLine", 6}, {"startColumn", 10}, {"endColumn", 14}},
         .related = {{{"file", "treno.txt"}, {"line", 5}, {"label", "the stop cell of station ALFA"}}},
         .relatedRegion = {{"startLine", 5}}},
    };
    for (const Case& c : cases) {
        TestFolder dir;
        dir.write("linea.txt", c.line);
        dir.write("treno.txt", c.train);
        const std::string command = tool_command() + " check linea.txt treno.txt --route L --train-code T --format ";

        const RunResult text = run_command(command + "text", dir.path());
        EXPECT_EQ(text.status, 1) << c.name << text.err;
        EXPECT_EQ(text.out.find('\n'), text.out.find("\n1 error")) << c.name << ": " << text.out;  // one line, then the counts

        const RunResult asJson = run_command(command + "json", dir.path());
        const json diagnostics = json::parse(asJson.out)["diagnostics"];
        ASSERT_EQ(diagnostics.size(), 1u) << c.name << asJson.out;
        EXPECT_EQ(diagnostics[0]["line"], c.errorLine) << c.name;
        EXPECT_EQ(diagnostics[0]["related"], c.related) << c.name;

        const RunResult sarif = run_command(command + "sarif", dir.path());
        const json result = json::parse(sarif.out)["runs"][0]["results"][0];
        EXPECT_EQ(result["locations"][0]["physicalLocation"]["region"], c.region) << c.name;
        ASSERT_EQ(result["relatedLocations"].size(), 1u) << c.name << sarif.out;
        const json& related = result["relatedLocations"][0];
        EXPECT_EQ(related["physicalLocation"]["region"], c.relatedRegion) << c.name;
        EXPECT_EQ(related["physicalLocation"]["artifactLocation"]["uri"], c.related[0]["file"]) << c.name;
        EXPECT_EQ(related["message"]["text"], c.related[0]["label"]) << c.name;
    }
}
