// The check's findings written out: as text lines in the form compile uses,
// as one JSON document, or as SARIF 2.1.0 for code-scanning services and editors.
#pragma once

#include <ostream>
#include <string>

#include "tools/check/check_options.h"
#include "tools/diagnostics/checker.h"

void write_check_report(std::ostream& out, const CheckResult& result, const CheckOptions& options);

void write_check_text(std::ostream& out, const CheckResult& result, const CheckOptions& options);
void write_check_json(std::ostream& out, const CheckResult& result);
// Paths are given relative to `folder`, the absolute folder check runs in
// (empty when unknown), through the base "%SRCROOT%"; paths outside it as file URIs.
void write_check_sarif(std::ostream& out, const CheckResult& result, const std::string& folder);
