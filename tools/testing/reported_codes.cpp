#include "tools/testing/reported_codes.h"

#include "tools/diagnostics/checker.h"

std::vector<CodeRef> reported_codes(const std::optional<std::string>& line, const std::optional<std::string>& train) {
    const CheckResult result = check_sources({"route_linea.txt", line}, {"route_train-.txt", train}, ScenarioNames{}, 1000);
    std::vector<CodeRef> codes;
    for (const Diagnostic& d : result.diagnostics) {
        std::optional<CodeRef> code = parse_code(d.code);
        codes.push_back(code ? *code : CodeRef{CodeRef::Error, -1});  // -1: a code no reader of the page knows
    }
    return codes;
}

std::vector<CodeRef> reported_codes(const Example& example) {
    auto text = [](Placement placement, std::string document) {
        return placement == Placement::Missing ? std::nullopt : std::optional<std::string>(std::move(document));
    };
    return reported_codes(text(example.linePlacement, example_line_document(example)),
                          text(example.trainPlacement, example_train_document(example)));
}
