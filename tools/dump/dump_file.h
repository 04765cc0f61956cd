// scenario_tool dump: a compiled file decoded and shown as text, JSON or CSV.
#pragma once

#include <ostream>
#include <string>

#include "tools/common/command.h"

struct DumpOptions {
    std::string what;  // grid, scenario or line
    std::string file;
    bool all = false;
    bool raw = false;  // the stored fields instead of their meanings
    std::string format = "text";
};

// Returns the exit status: 2 (kExitUnreadableFile) for a file that is
// missing, cannot be read or is not a compiled file of the kind asked for
// (saying which kind it is when it is another), 64 for a file named as
// another kind; the dump goes to `out`, failures to `err`.
int dump_file(const DumpOptions& options, std::ostream& out, std::ostream& err);

extern const Command kDumpCommand;
