// scenario_tool write-documents: the five built-in documents written into a
// folder, for an author to start from.
#pragma once

#include <ostream>
#include <string>

#include "tools/common/command.h"

struct WriteOptions {
    std::string folder;
    ScenarioNames names;
    bool force = false;  // overwrite documents already in the folder
};

// Exit status when the folder already holds documents.
constexpr int kExitWouldOverwrite = 1;

// Returns the exit status; what was written goes to `out`, failures to `err`.
int write_documents(const WriteOptions& options, std::ostream& out, std::ostream& err);

extern const Command kWriteDocumentsCommand;
