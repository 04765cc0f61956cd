// The picture of a route: its plan to scale and its profile along the
// kilometres, as one self-contained SVG text.
#pragma once

#include <string>

#include "tools/compiled/route_model.h"

// The picture of a route as SVG text (UTF-8).
std::string render_route_svg(const RouteModel& model);
