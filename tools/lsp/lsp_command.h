// scenario_tool lsp: the language server over standard input and output.
#pragma once

#include <ostream>

#include "tools/common/command.h"

// Serves one editor until `exit` or the end of input. Returns the exit
// status: 0 after shutdown and exit, 1 when the editor left without
// shutdown (end of input counts as exit), 1 with a message on `err` when
// standard input or output fails.
int run_language_server(std::ostream& err);

extern const Command kLspCommand;
