// The route and train a command works on: they name the documents and the
// compiled files, and every command that takes them has the same defaults.
#pragma once

#include <string>

#include "core/form1.h"

struct ScenarioNames {
    std::string route = "Bresta_Vilcar";
    std::string train = "RX907";
};

// A form working in `folder` on the documents and compiled files of these names.
Form1 named_form(const std::string& folder, const ScenarioNames& names);
