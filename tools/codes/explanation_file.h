// An explanation as written in its file, tools/codes/explanations/CODE.md:
// what the code means, a minimal example of the rows that cause it, and the
// fix. The code and its title come from the code tables, not from the file.
//
//   ## What it means
//   One paragraph (its lines are joined by a blank).
//   ## Example
//   In the line description:          rows added to the smallest scenario's document,
//   The whole train description:      or the rows are the whole document,
//   No line description at all.       or there is no such document;
//   (each of the first two followed by the rows in a ```text block)
//   Also reported: W114, W114         further codes the same rows give, with repeats
//   ## How to fix it
//   One paragraph.
//
// Blank lines separate the parts.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "tools/codes/code.h"

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
    std::vector<Code> alsoReported{};  // further codes the same mistake gives, said in the text
};

struct ExplanationText {
    std::string meaning;  // in the author's terms: metres, cells, what the simulator gets
    Example example;      // the few rows that cause it
    std::string fix;
};

// A file that does not follow the form above: what is wrong, and on which line.
struct MalformedExplanation : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The parts of an explanation file; throws MalformedExplanation.
ExplanationText parse_explanation_file(std::string_view text);
