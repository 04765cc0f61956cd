// scenario_tool check: every independent error of a pair of documents in one
// run, each as compile reports it, and warnings for documents that compile
// but almost certainly do not say what their author meant.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "tools/commands.h"

enum class Severity { Error, Warning };

// A mend the check is sure of: the field of the record on the diagnostic's
// line, 0 for its keyword field and n for its n-th value, and what to write there.
struct Fix {
    int field = 0;
    std::string text;
    bool operator==(const Fix&) const = default;
};

// One finding, as every output format and the editor service show it.
struct Diagnostic {
    std::string file;  // the document's path as given; the line description's for errors of no one record
    int32_t line = 0;  // from 1; 0 when the finding belongs to no one line
    Severity severity = Severity::Error;
    std::string code;     // the error number ("6", "1250") or the warning code ("W101")
    std::string message;  // UTF-8
    std::optional<int32_t> cell;      // grid cell, where known
    std::optional<int64_t> position;  // metres from the start of the route, where known
    std::optional<int> field{};       // the field at fault, numbered as Fix::field, where known
    std::optional<Fix> fix{};
};

struct CheckOptions {
    std::string lineDocument;
    std::string trainDocument;
    ScenarioNames names;
    std::string format = "text";  // text, json or sarif
    bool werror = false;          // a warning fails the check like an error
    int maxErrors = 50;           // stop after this many errors (at least 1)
};

struct CheckResult {
    std::vector<Diagnostic> diagnostics;  // line description, train description, then the checks after reading
    int errors = 0;
    int warnings = 0;
    bool stoppedAtMaxErrors = false;
    bool unreadable = false;  // a document could not be read at all: the check ended there
};

// A document to check: the path the author gave and its bytes; no bytes when it could not be read.
struct CheckSource {
    std::string path;
    std::optional<std::string> text;
};

// The whole check of two documents. The compile pass runs on private copies
// in a temporary folder that is removed on every path; nothing else is written.
// With `trace`, what the last pass read is kept there.
CheckResult check_sources(const CheckSource& line, const CheckSource& train, const ScenarioNames& names,
                          int maxErrors, ReadTrace* trace = nullptr);

// Reads the two documents named in the options and checks them.
CheckResult run_check(const CheckOptions& options);

// 0 without errors, 1 with an error (or a warning under --werror), 2 when a document could not be read.
int check_status(const CheckResult& result, bool werror);

// The command: runs the check and writes it in the options' format on `out`;
// run-time failures go to `err`. Returns the exit status.
int check_documents(const CheckOptions& options, std::ostream& out, std::ostream& err);
