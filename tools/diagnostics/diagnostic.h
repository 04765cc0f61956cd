// One finding of a check, as every output format, the preview and the editor
// service show it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

enum class Severity { Error, Warning };

struct Diagnostic {
    std::string file;  // the document's path as given; the line description's for errors of no one record
    int32_t line = 0;  // from 1; 0 when the finding belongs to no one line
    Severity severity = Severity::Error;
    std::string code;     // the error number ("6", "1250") or the warning code ("W101")
    std::string message;  // UTF-8
    std::optional<int32_t> cell;      // grid cell, where known
    std::optional<int64_t> position;  // metres from the start of the route, where known
};
