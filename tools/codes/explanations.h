// What every error and warning code means to a route author, with a minimal
// example of the rows that cause it and the fix: the texts of
// `scenario_tool explain`, and the line that points a diagnostic at them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A code as an author sees it: error 6, warning W101.
struct CodeRef {
    enum Kind { Error, Warning } kind = Error;
    int32_t number = 0;
    bool operator==(const CodeRef&) const = default;
};

// "6" for an error, "W101" for a warning: the spelling `explain` takes.
std::string code_name(CodeRef code);
// Reads "6", "W101" or "w101"; nothing for any other text.
std::optional<CodeRef> parse_code(std::string_view text);

// How an example's rows stand in their document. Normally they are added to
// the smallest scenario (example_line_document / example_train_document),
// before its closing "[fine]"; a few codes need a document of their own, or none.
enum class Placement {
    Added,    // rows added to the smallest scenario's document
    Whole,    // the rows are the whole document
    Missing,  // there is no such document at all
};

struct Example {
    std::string line{};   // rows of the line description (a section header first for records)
    std::string train{};  // rows of the train description
    Placement linePlacement = Placement::Added;
    Placement trainPlacement = Placement::Added;
    std::vector<CodeRef> alsoReported{};  // further codes the same mistake gives, said in the text
};

struct Explanation {
    CodeRef code;
    std::string title;    // one line
    std::string meaning;  // in the author's terms: metres, cells, what the simulator gets
    Example example;      // the few rows that cause it
    std::string fix;
};

// Every explanation: the errors in increasing order, then the warnings.
const std::vector<Explanation>& explanations();
const Explanation* find_explanation(CodeRef code);

// The smallest sound scenario, with an example's rows in place; empty text
// for a document the example has missing.
std::string example_line_document(const Example& example);
std::string example_train_document(const Example& example);

// The text `scenario_tool explain CODE` prints, or the same in Markdown (the
// page docs/explanations.md), and the one-line-per-code list of `explain --list`.
enum class Markup { Text, Markdown };
std::string render_explanation(const Explanation& explanation, Markup markup = Markup::Text);
std::string render_code_list();

// The line that ends a run's diagnostics, naming the command that explains
// the codes printed, each once: "for more on error 6, run: scenario_tool
// explain 6". Empty when nothing was printed.
std::string explain_hint(const std::vector<CodeRef>& printed);

// The Markdown page of every explanation, as docs/explanations.md holds it.
std::string render_explanations_page();
