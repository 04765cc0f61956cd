// check --format sarif as Microsoft's SARIF validator reads it: the SARIF of
// broken documents named in every way an author names them, and of a
// taken-cell error with the columns of its field and its related locations,
// all accepted with no error, and a faulty log beside them refused, which
// shows that the validator ran and reads what it is given. Its one warning is for findings
// that belong to no line (a completion error, a missing document): they
// have no region to give.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "tools/check/check_report.h"
#include "tools/testing/test_folder.h"
#include "tools/testing/tool_runner.h"

namespace {

using nlohmann::json;

const std::string kTool = "'" + binary_folder() + "/scenario_tool'";

std::string document(const std::vector<std::string>& rows) {
    std::string text;
    for (const std::string& row : rows) text += row + "\r\n";
    return text;
}

// A 10,000 m route with an indication board on a speed board's cell (error 6).
const std::string kLine = document({"[generale]", "lunghezza percorso,    10000", "[pendenze]",
                                    "indicatori_vmax, 2000, 80, 80, 80, 0, , , , 0",
                                    "cartello_indicatore, 2000, (DOPPIO)", "[fine]"});
// A signal off the 50 m steps (a warning) and three signals whose caps find no
// free cell (error 12, which belongs to no line).
const std::string kTrain = document({"[generale]", "numero vetture, 8", "velocita, 0, 80", "aderenza, 0, 100",
                                     "segnale, 1010, 1, 4, 1, 0, 0, 1, 3, 1, 0, 0",
                                     "segnale, 4650, 1, 4, 1, 0, 0, 1, 3, 1, 0, 0",
                                     "segnale, 4700, 1, 4, 1, 0, 0, 1, 3, 1, 0, 0",
                                     "segnale, 4750, 1, 4, 1, 0, 0, 1, 3, 1, 0, 0",
                                     "rallentamento, 5000, 120, 500, 0, 0, 0", "[fine]"});

// "{dir}" stands for the test's folder, absolute.
std::string placed(std::string text, const std::string& dir) {
    for (size_t at = text.find("{dir}"); at != std::string::npos; at = text.find("{dir}", at + dir.size()))
        text.replace(at, 5, dir);
    return text;
}

// Every artifact URI of the log's results, in order, with its base and
// whether a line is given.
std::string locations(const json& log) {
    std::string out;
    for (const json& result : log["runs"][0]["results"]) {
        const json& physical = result["locations"][0]["physicalLocation"];
        const json& artifact = physical["artifactLocation"];
        out += artifact["uri"].get<std::string>() + (artifact.contains("uriBaseId") ? " from the base" : "") +
               (physical.contains("region") ? "" : ", no line") + "\n";
    }
    return out;
}

}  // namespace

TEST(CheckSarif, TheValidatorAcceptsTheSarifOfBrokenDocuments) {
    const std::string validator = SARIF_VALIDATOR;
    TestFolder dir;
    ASSERT_EQ(run_command("test -x '" + validator + "'", dir.path()).status, 0)
        << validator << " is missing: run scripts/install_npm.sh";
    for (const char* folder : {"run", "sarif", "sub dir/citt\xC3\xA0"})
        std::filesystem::create_directories(dir.file(folder));
    dir.write("linea.txt", kLine);
    dir.write("run/treno.txt", kTrain);
    dir.write("sub dir/citt\xC3\xA0/linea.txt", kLine);
    dir.write("sub dir/citt\xC3\xA0/treno.txt", kTrain);
    struct Case {
        std::string name;
        std::string folder;  // where check runs, in the test's folder
        std::string line;
        std::string train;
        int status;
        std::string locations;  // of the results; "{dir}" is the test's folder
    } cases[] = {
        {.name = "errors with a line and without, and a warning",
         .folder = "run",
         .line = "../linea.txt",
         .train = "treno.txt",
         .status = 1,
         .locations = "../linea.txt from the base\n"
                      "treno.txt from the base\n"
                      "treno.txt from the base, no line\n"},
        {.name = "a folder with a space and an accented letter",
         .folder = "run",
         .line = "../sub dir/citt\xC3\xA0/linea.txt",
         .train = "../sub dir/citt\xC3\xA0/treno.txt",
         .status = 1,
         .locations = "../sub%20dir/citt%C3%A0/linea.txt from the base\n"
                      "../sub%20dir/citt%C3%A0/treno.txt from the base\n"
                      "../sub%20dir/citt%C3%A0/treno.txt from the base, no line\n"},
        {.name = "absolute paths outside the folder and inside it",
         .folder = "run",
         .line = "{dir}/linea.txt",
         .train = "{dir}/run/treno.txt",
         .status = 1,
         .locations = "file://{dir}/linea.txt\n"
                      "treno.txt from the base\n"
                      "treno.txt from the base, no line\n"},
        {.name = "a missing document",
         .folder = "run",
         .line = "../linea.txt",
         .train = "nowhere/treno.txt",
         .status = 2,
         .locations = "../linea.txt from the base\n"
                      "nowhere/treno.txt from the base, no line\n"},
    };
    std::string files;
    size_t lineless = 0;
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        const RunResult r = run_command(kTool + " check '" + placed(c.line, dir.path()) + "' '" +
                                            placed(c.train, dir.path()) + "' --format sarif",
                                        dir.file(c.folder));
        EXPECT_EQ(r.status, c.status) << c.name << "\n" << r.err;
        const std::string name = "sarif/case_" + std::to_string(i + 1) + ".sarif";
        dir.write(name, r.out);
        files += " '" + name + "'";
        const json log = json::parse(r.out);
        const std::string shown = locations(log);
        EXPECT_EQ(shown, placed(c.locations, dir.path())) << c.name;
        // The board on the speed board's cell: its field's columns, and the speed board's row at its own.
        const json& taken = log["runs"][0]["results"][0];
        EXPECT_EQ(taken["locations"][0]["physicalLocation"]["region"],
                  json({{"startLine", 5}, {"startColumn", 22}, {"endColumn", 26}})) << c.name;
        EXPECT_EQ(taken["relatedLocations"][0]["physicalLocation"]["region"],
                  json({{"startLine", 4}, {"startColumn", 18}, {"endColumn", 22}})) << c.name;
        for (size_t at = shown.find("no line"); at != std::string::npos; at = shown.find("no line", at + 1)) ++lineless;
    }
    {
        // A taken-cell error with the row holding the cell named by hand as its related place.
        const std::string line = dir.file("run/../linea.txt"), train = dir.file("run/treno.txt");
        ReadTrace trace;
        CheckResult result = check_sources({line, kLine}, {train, kTrain}, ScenarioNames{}, 50, &trace);
        ASSERT_FALSE(result.diagnostics.empty());
        ASSERT_EQ(result.diagnostics[0].code, kIndicationBoardCellTaken);
        result.diagnostics[0].related = {{.file = line, .line = 4, .field = 1, .label = "the speed board"},
                                         {.file = train, .line = 5, .field = std::nullopt, .label = "a signal"}};
        const FindingPlaces places(line, train, trace, result.refused);
        std::ostringstream out;
        write_check_sarif(out, result, dir.file("run"), &places);
        const json log = json::parse(out.str());
        const json& related = log["runs"][0]["results"][0]["relatedLocations"];
        ASSERT_EQ(related.size(), 2u) << related.dump();
        EXPECT_EQ(related[0]["physicalLocation"]["region"]["startColumn"], 18) << related.dump();
        EXPECT_TRUE(log["runs"][0]["results"][0]["locations"][0]["physicalLocation"]["region"].contains("endColumn"));
        dir.write("sarif/related.sarif", out.str());
        files += " 'sarif/related.sarif'";
        const std::string shown = locations(log);
        for (size_t at = shown.find("no line"); at != std::string::npos; at = shown.find("no line", at + 1)) ++lineless;
    }
    // An absolute path written as a relative reference: the fault the
    // validator is there to find.
    dir.write("sarif/control.sarif",
              R"x({"$schema": "https://json.schemastore.org/sarif-2.1.0.json", "version": "2.1.0", "runs": [{"tool": )x"
              R"x({"driver": {"name": "scenario_tool", "version": "1.0", "informationUri": "man:scenario_tool(1)"}}, )x"
              R"x("results": [{)x"
              R"x("ruleId": "6", "level": "error", "message": {"text": "taken"}, "locations": [{"physicalLocation": )x"
              R"x({"artifactLocation": {"uri": "/home/author/linea.txt"}, "region": {"startLine": 3}}}]}]}]})x");
    const RunResult v =
        run_command("'" + validator + "' validate" + files + " sarif/control.sarif -o report.sarif", dir.path());
    ASSERT_EQ(v.status, 0) << v.out << v.err;
    EXPECT_NE(v.out.find("Done. " + std::to_string(std::size(cases) + 2) + " files scanned."), std::string::npos)
        << v.out;
    std::istringstream lines(v.out);
    std::vector<std::string> errors;
    size_t regionless = 0;
    for (std::string line; std::getline(lines, line);) {
        const size_t file = line.find("sarif/");
        if (line.find(": error SARIF") != std::string::npos)
            errors.push_back(file == std::string::npos ? line : line.substr(file));
        if (line.find(": warning SARIF") == std::string::npos) continue;
        EXPECT_NE(line.find("warning SARIF2017: runs[0].results["), std::string::npos) << line;
        EXPECT_NE(line.find("The 'region' property is absent."), std::string::npos) << line;
        ++regionless;
    }
    EXPECT_EQ(regionless, lineless) << v.out;
    ASSERT_EQ(errors.size(), 1u) << v.out;
    EXPECT_EQ(errors[0].rfind("sarif/control.sarif(", 0), 0u) << errors[0];
    EXPECT_NE(errors[0].find("error SARIF1004"), std::string::npos) << errors[0];
}

// The log names the program that wrote it by the version it prints itself.
TEST(CheckSarif, TheDriverVersionIsTheProgramsOwn) {
    TestFolder dir;
    dir.write("linea.txt", kLine);
    dir.write("treno.txt", kTrain);
    const RunResult version = run_command(kTool + " --version", dir.path());
    ASSERT_EQ(version.status, 0) << version.err;
    const RunResult sarif = run_command(kTool + " check linea.txt treno.txt --format sarif", dir.path());
    const json driver = json::parse(sarif.out)["runs"][0]["tool"]["driver"];
    EXPECT_EQ("scenario_tool " + driver["version"].get<std::string>() + "\n", version.out);
}
