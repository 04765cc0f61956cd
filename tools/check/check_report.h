// The check's findings written out: as text lines in the form compile uses,
// as one JSON document, or as SARIF 2.1.0 for code-scanning services and editors.
#pragma once

#include <ostream>
#include <string>

#include "tools/check/check_options.h"
#include "tools/diagnostics/checker.h"
#include "tools/places/finding_places.h"

// With `trace`, the check's last pass, JSON and SARIF give the columns of
// the fields the findings and their related places name.
void write_check_report(std::ostream& out, const CheckResult& result, const CheckOptions& options,
                        const ReadTrace* trace = nullptr);

void write_check_text(std::ostream& out, const CheckResult& result, const CheckOptions& options);
// Each diagnostic with its related places (related_json), columns where `places` knows them.
void write_check_json(std::ostream& out, const CheckResult& result, const FindingPlaces* places = nullptr);
// Paths are given relative to `folder`, the absolute folder check runs in
// (empty when unknown), through the base "%SRCROOT%"; paths outside it as file URIs.
// Columns count characters of the Windows-1252 documents (one UTF-16 code
// unit each), where `places` knows the field.
void write_check_sarif(std::ostream& out, const CheckResult& result, const std::string& folder,
                       const FindingPlaces* places = nullptr);
