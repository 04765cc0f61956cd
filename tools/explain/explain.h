// scenario_tool explain: what error and warning codes mean and how to fix them.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "tools/common/command.h"

struct ExplainOptions {
    std::vector<std::string> codes;  // as written: "6", "W101"
    bool list = false;               // every code with its title
    bool all = false;                // every explanation
    bool markdown = false;           // Markdown instead of text
};

// `scenario_tool explain`: the explanation of each code given, of every code
// (--all) or the list of codes (--list). An unknown code, or nothing to
// explain, is a bad command line (status 64).
int explain_codes(const ExplainOptions& options, std::ostream& out, std::ostream& err);

extern const Command kExplainCommand;
