#include "tools/explain/explain.h"

#include <CLI/CLI.hpp>

#include "core/run_end.h"
#include "tools/codes/explanations.h"
#include "tools/common/exit_status.h"

namespace {

CommandRun setup(CLI::App& command) {
    auto options = std::make_shared<ExplainOptions>();
    command.add_option("CODE", options->codes, "Codes such as 6 or W101");
    command.add_flag("--list", options->list, "List every code with its title");
    command.add_flag("--all", options->all, "Explain every code");
    command.add_flag("--markdown", options->markdown, "Write Markdown (the page docs/explanations.md)");
    return [options](std::ostream& out, std::ostream& err) { return explain_codes(*options, out, err); };
}

}  // namespace

int explain_codes(const ExplainOptions& options, std::ostream& out, std::ostream& err) {
    const Markup markup = options.markdown ? Markup::Markdown : Markup::Text;
    if (options.list) {
        out << render_code_list();
        return kExitClean;
    }
    if (options.all && markup == Markup::Markdown) {
        out << render_explanations_page();
        return kExitClean;
    }
    std::vector<const Explanation*> found;
    if (options.all) {
        for (const Explanation& e : explanations()) found.push_back(&e);
    }
    for (const std::string& text : options.codes) {
        std::optional<Code> code = parse_code(text);
        const Explanation* e = code ? find_explanation(*code) : nullptr;
        if (e == nullptr) {
            err << "scenario_tool: no error or warning has the code " << text
                << "; see: scenario_tool explain --list\n";
            return kExitUsage;
        }
        found.push_back(e);
    }
    if (found.empty()) {
        err << "scenario_tool: explain needs a code, such as 6 or W101; see: scenario_tool explain --list\n";
        return kExitUsage;
    }
    for (size_t n = 0; n < found.size(); ++n) out << (n ? "\n" : "") << render_explanation(*found[n], markup);
    return kExitClean;
}

const Command kExplainCommand = {"explain", "Explain error and warning codes: what they mean and how to fix them",
                                 setup};
