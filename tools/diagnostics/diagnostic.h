// One finding of a check, as every output format, the preview and the editor
// service show it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/codes/code.h"

// A mend the check is sure of: the field of the record on the diagnostic's
// line, 0 for its keyword field and n for its n-th value, and what to write there.
struct Fix {
    int field = 0;
    std::string text;
    bool operator==(const Fix&) const = default;
};

// Another row that a finding names ("the stop cell of station X (line 40)"):
// the editor, SARIF, JSON and the page link it beside the finding.
struct RelatedPlace {
    std::string file;            // the document's path as given
    int32_t line = 0;            // from 1
    std::optional<int> field{};  // the field meant, numbered as Fix::field, where known
    std::string label;           // UTF-8, short: "the stop cell of station X"
    bool operator==(const RelatedPlace&) const = default;
};

struct Diagnostic {
    std::string file;  // the document's path as given; the line description's for errors of no one record
    int32_t line = 0;  // from 1; 0 when the finding belongs to no one line
    Code code = kNoError;  // kNoError: a failure of the tool's own run, with no code of its own
    std::string message;  // UTF-8
    std::optional<int32_t> cell;      // grid cell, where known
    std::optional<int64_t> position;  // metres from the start of the route, where known
    std::optional<int> field{};       // the field at fault, numbered as Fix::field, where known
    std::optional<Fix> fix{};
    std::vector<RelatedPlace> related{};  // the other rows the message names, in its order

    // An error or a warning, as its code's family says.
    Severity severity() const { return code.severity(); }
};
