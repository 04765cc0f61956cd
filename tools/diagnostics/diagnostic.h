// One finding of a check, as every output format, the preview and the editor
// service show it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "tools/codes/code.h"

struct Diagnostic {
    std::string file;  // the document's path as given; the line description's for errors of no one record
    int32_t line = 0;  // from 1; 0 when the finding belongs to no one line
    Code code = kNoError;  // kNoError: a failure of the tool's own run, with no code of its own
    std::string message;  // UTF-8
    std::optional<int32_t> cell;      // grid cell, where known
    std::optional<int64_t> position;  // metres from the start of the route, where known

    // An error or a warning, as its code's family says.
    Severity severity() const { return code.severity(); }
};
