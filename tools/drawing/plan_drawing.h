// The plan of the route: the centre line to scale with its kilometres,
// stations, signals and indication boards, a scale bar, a north arrow and a legend.
#pragma once

#include "tools/compiled/route_model.h"
#include "tools/drawing/svg_writer.h"

// Metres between the points taken from the line table, and how far a dropped
// point may lie from the simplified line.
constexpr int64_t kPlanSampleMetres = 10;
constexpr double kPlanToleranceMetres = 1.0;

// Draws the plan from `top` down; returns the height it takes. The line
// itself is drawn in metres (x east, y north) inside the group "plan-line",
// whose transform maps metres to the picture with one scale for x and y.
double draw_plan(SvgWriter& svg, const RouteModel& model, double top);
