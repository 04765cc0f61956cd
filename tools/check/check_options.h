// What one run of scenario_tool check is asked for: the documents, the names
// and the report's form. The command reads them and the report writers follow them.
#pragma once

#include <string>

#include "tools/common/scenario_names.h"

struct CheckOptions {
    std::string lineDocument;
    std::string trainDocument;
    ScenarioNames names;
    std::string format = "text";  // text, json or sarif
    bool werror = false;          // a warning fails the check like an error
    int maxErrors = 50;           // stop after this many errors (at least 1)
};
