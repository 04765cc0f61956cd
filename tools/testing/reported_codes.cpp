#include "tools/testing/reported_codes.h"

#include "tools/diagnostics/checker.h"

std::vector<Code> reported_codes(const std::optional<std::string>& line, const std::optional<std::string>& train) {
    const CheckResult result = check_sources({"route_linea.txt", line}, {"route_train-.txt", train}, ScenarioNames{}, 1000);
    std::vector<Code> codes;
    for (const Diagnostic& d : result.diagnostics) codes.push_back(d.code);
    return codes;
}

std::vector<Code> reported_codes(const Example& example) {
    auto text = [](Placement placement, std::string document) {
        return placement == Placement::Missing ? std::nullopt : std::optional<std::string>(std::move(document));
    };
    return reported_codes(text(example.linePlacement, example_line_document(example)),
                          text(example.trainPlacement, example_train_document(example)));
}
