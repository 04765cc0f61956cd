// A finding's related places as check's JSON and the page's scenario.json
// both give them, so the two cannot drift apart.
#pragma once

#include <nlohmann/json.hpp>

#include "tools/diagnostics/diagnostic.h"
#include "tools/places/finding_places.h"

// [{"file", "line", "label", "startColumn", "endColumn"}, ...] in the
// message's order, an empty array when there are none. `spans` holds the
// field's span of each place where known (FindingPlaces::related_spans; empty
// without a trace). The columns count characters of the row's line from 1,
// the end exclusive (as SARIF's), and are given only where the field is known
// and stands on that line.
nlohmann::ordered_json related_json(const Diagnostic& d, const std::vector<std::optional<TextSpan>>& spans);
