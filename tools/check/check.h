// scenario_tool check: the whole check of an author's two documents, written
// as text, JSON or SARIF.
#pragma once

#include <ostream>
#include <string>

#include "tools/check/check_options.h"
#include "tools/common/command.h"
#include "tools/diagnostics/checker.h"

// Reads the two documents named in the options and checks them; with
// `trace`, what the last pass read is kept there.
CheckResult run_check(const CheckOptions& options, ReadTrace* trace = nullptr);

// The command: runs the check and writes it in the options' format on `out`;
// run-time failures go to `err`. Returns the exit status.
int check_documents(const CheckOptions& options, std::ostream& out, std::ostream& err);

extern const Command kCheckCommand;
