#include "tools/reported_codes.h"

#include <regex>

#include "core/test_folder.h"
#include "tools/tool_runner.h"

std::vector<CodeRef> reported_codes(const std::string& line, const std::string& train, bool lineMissing) {
    TestFolder dir;
    if (!lineMissing) dir.write("l.txt", line);
    dir.write("t.txt", train);
    RunResult r = run_command("'" + binary_folder() + "/scenario_tool' compile l.txt t.txt --out out", dir.path());
    std::vector<CodeRef> codes;
    const std::regex code(R"((?:: error |Errore n\. )(\d+))");
    const std::string all = r.out + r.err;
    for (std::sregex_iterator m(all.begin(), all.end(), code), end; m != end; ++m)
        codes.push_back({CodeRef::Error, std::stoi((*m)[1])});
    return codes;
}

std::vector<CodeRef> reported_codes(const Example& example) {
    return reported_codes(example_line_document(example), example_train_document(example),
                          example.frame == ExampleFrame::LineMissing);
}
