#include "tools/diagnostics/reported_error_line.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "tools/pass/compile_pass.h"

TEST(ReportedErrorLine, WritesOneLineForThePassesErrorAndNothingWithoutOne) {
    const std::string lineHead = "[generale]\r\nlunghezza percorso, 10000\r\n[pendenze]\r\n";
    const std::string trainHead = "[generale]\r\nvelocita, 0, 80\r\n";
    struct Case {
        const char* name;
        std::string line, train;
        std::string start;  // of the line written; empty: nothing is
        std::vector<Code> codes;
    };
    const Case cases[] = {
        {.name = "clean", .line = lineHead + "[fine]\r\n", .train = trainHead + "[fine]\r\n", .start = "", .codes = {}},
        {.name = "a train description row", .line = lineHead + "[fine]\r\n",
         .train = trainHead + "sabbia, 70000\r\n[fine]\r\n", .start = "L_T-.txt:3: error 25: ", .codes = {kReadFailure}},
        {.name = "a route too long", .line = "[generale]\r\nlunghezza percorso, 1000001\r\n[fine]\r\n",
         .train = trainHead + "[fine]\r\n", .start = "L_linea.txt:2: error 1: ", .codes = {ErrorCode{1}}},
    };
    for (const Case& c : cases) {
        CompilePass pass({.names = {}});
        pass.run({c.line, c.train});
        const SourceDocument line{"L_linea.txt", c.line}, train{"L_T-.txt", c.train};
        std::ostringstream err;
        EXPECT_EQ(write_reported_error(pass.form(), line, train, err), c.codes) << c.name;
        if (c.start.empty()) {
            EXPECT_EQ(err.str(), "") << c.name;
            continue;
        }
        EXPECT_TRUE(err.str().starts_with(c.start)) << c.name << ": " << err.str();
        EXPECT_EQ(err.str().find('\n'), err.str().size() - 1) << c.name << ": one line, ended";
    }
}
