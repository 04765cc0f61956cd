// What every error and warning code means to a route author, with a minimal
// example of the rows that cause it and the fix: the texts of
// `scenario_tool explain`, and the line that points a diagnostic at them.
// The texts are the files of tools/codes/explanations/, one per code.
#pragma once

#include <string>
#include <vector>

#include "tools/codes/code.h"
#include "tools/codes/explanation_file.h"

struct Explanation {
    Code code;
    std::string title;    // one line, the code table's
    std::string meaning;  // in the author's terms: metres, cells, what the simulator gets
    Example example;      // the few rows that cause it
    std::string fix;
};

// Every explanation, in the order of the code tables: the errors in
// increasing order, then the warnings. Throws MalformedExplanation, naming
// the file, when an embedded file does not read.
const std::vector<Explanation>& explanations();
const Explanation* find_explanation(Code code);

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
std::string explain_hint(const std::vector<Code>& printed);

// The Markdown page of every explanation, as docs/explanations.md holds it.
std::string render_explanations_page();
