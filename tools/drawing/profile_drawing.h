// The profile along the route: height, gradient, speed limit and adhesion on a
// shared kilometre axis, with the stations named above it and the speed boards marked.
#pragma once

#include "tools/compiled/route_model.h"
#include "tools/drawing/svg_writer.h"

// Draws the profile from `top` down; returns the height it takes. The height
// curve is the polyline "height-curve" (picture y grows downwards).
double draw_profile(SvgWriter& svg, const RouteModel& model, double top);
