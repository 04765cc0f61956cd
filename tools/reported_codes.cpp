#include "tools/reported_codes.h"

#include <regex>

#include "core/test_folder.h"
#include "tools/tool_runner.h"

std::vector<CodeRef> reported_codes(const std::optional<std::string>& line, const std::optional<std::string>& train) {
    TestFolder dir;
    if (line) dir.write("l.txt", *line);
    if (train) dir.write("t.txt", *train);
    RunResult r = run_command("'" + binary_folder() + "/scenario_tool' compile l.txt t.txt --out out", dir.path());
    std::vector<CodeRef> codes;
    const std::regex code(R"((?:: error |Errore n\. )(\d+))");
    const std::string all = r.out + r.err;
    for (std::sregex_iterator m(all.begin(), all.end(), code), end; m != end; ++m)
        codes.push_back({CodeRef::Error, std::stoi((*m)[1])});
    return codes;
}

std::vector<CodeRef> reported_codes(const Example& example) {
    auto text = [](Placement placement, std::string document) {
        return placement == Placement::Missing ? std::nullopt : std::optional<std::string>(std::move(document));
    };
    return reported_codes(text(example.linePlacement, example_line_document(example)),
                          text(example.trainPlacement, example_train_document(example)));
}
