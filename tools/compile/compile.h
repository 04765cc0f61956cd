// scenario_tool compile: an author's line and train description compiled by
// the compiler's own pass, with each error as a diagnostic naming its line.
#pragma once

#include "tools/common/command.h"
#include "tools/compile/compile_documents.h"

extern const Command kCompileCommand;
