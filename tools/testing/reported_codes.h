// Test support: the codes `check` reports for a pair of description
// documents, for the tests that hold examples to the codes they name.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "tools/codes/explanations.h"

// Every error and warning code reported for the two documents, in the order
// printed; no text stands for a document that does not exist.
std::vector<Code> reported_codes(const std::optional<std::string>& line, const std::optional<std::string>& train);

// The same for an explanation's example, placed as the explanation places it.
std::vector<Code> reported_codes(const Example& example);

// How test failures show a code: "error 8", "warning W101".
inline void PrintTo(const Code& code, std::ostream* out) { *out << severity_word(code.severity()) << " " << code_name(code); }
