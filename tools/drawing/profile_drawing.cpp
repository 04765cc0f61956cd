#include "tools/drawing/profile_drawing.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "tools/drawing/label_layout.h"
#include "tools/drawing/plot_style.h"

using namespace plot_style;

namespace {

constexpr double kLeft = 84;                   // room for the value labels of each panel
constexpr double kRight = kWidth - 36;
constexpr double kNameFont = 10.5;
constexpr double kPanelTitle = 20;             // the title line above each panel
constexpr double kPanelGap = 8;
constexpr double kCurveTolerancePixels = 0.3;  // how far a dropped point of a curve may lie

// A linear map from values to picture coordinates.
struct Scale {
    double v0, v1, p0, p1;
    double operator()(double v) const { return v1 == v0 ? p0 : p0 + (v - v0) / (v1 - v0) * (p1 - p0); }
};

struct Panel {
    double top, bottom;
    double lo, hi, step;
    Scale y() const { return {lo, hi, bottom, top}; }
};

// A value range widened to whole steps, never empty.
Panel panel_range(double lo, double hi, double top, double height) {
    if (hi - lo < 1e-9) {
        lo -= 1;
        hi += 1;
    }
    const double step = nice_step((hi - lo) / 4);
    return {top, top + height, std::floor(lo / step) * step, std::ceil(hi / step) * step, step};
}

// Runs of equal values: cells first to end - 1 hold value.
struct Run {
    size_t first, end;
    int value;
};

std::vector<Run> runs_of(const std::vector<int>& cells) {
    std::vector<Run> runs;
    for (size_t k = 0; k < cells.size(); ++k) {
        if (!runs.empty() && runs.back().value == cells[k]) runs.back().end = k + 1;
        else runs.push_back({k, k + 1, cells[k]});
    }
    return runs;
}

double cell_start(size_t k) { return static_cast<double>(profile_cell_start(static_cast<int64_t>(k))); }

std::vector<Point> step_line(const std::vector<Run>& runs, const Scale& x, const Scale& y) {
    std::vector<Point> points;
    for (const Run& r : runs) {
        points.push_back({x(cell_start(r.first)), y(r.value)});
        points.push_back({x(cell_start(r.end)), y(r.value)});
    }
    return points;
}

struct Context {
    SvgWriter& svg;
    const RouteModel& model;
    Scale x;
    double lengthMetres;
    double majorKm;
};

void panel_frame(Context& c, const Panel& p, const std::string& title, const char* colour) {
    SvgWriter& svg = c.svg;
    svg.text({kLeft, p.top - 6}, title, SvgWriter::attr("font-size", "11.5") + SvgWriter::attr("font-weight", "bold") +
                                           SvgWriter::attr("fill", colour));
    svg.rect(kLeft, p.top, kRight - kLeft, p.bottom - p.top, SvgWriter::attr("fill", "#ffffff") +
                                                                 SvgWriter::attr("stroke", "#cbd5e1"));
    const Scale y = p.y();
    const std::string grid = SvgWriter::attr("stroke", kGridLine) + SvgWriter::attr("stroke-width", "1");
    const std::string number = SvgWriter::attr("font-size", "10") + SvgWriter::attr("fill", kMuted) +
                               SvgWriter::attr("text-anchor", "end");
    for (int i = 0; i <= 40; ++i) {
        const double v = p.lo + p.step * i;
        if (v > p.hi + p.step * 1e-6) break;
        if (i > 0 && v < p.hi - p.step * 1e-6) svg.line({kLeft, y(v)}, {kRight, y(v)}, grid);
        svg.text({kLeft - 6, y(v) + 3.5}, svg_number(v, 2), number);
    }
    for (int i = 1; i <= 400; ++i) {
        const double m = c.majorKm * 1000 * i;
        if (m >= c.lengthMetres) break;
        svg.line({c.x(m), p.top}, {c.x(m), p.bottom}, grid);
    }
    const std::string stationLine = SvgWriter::attr("stroke", kStationInk) + SvgWriter::attr("stroke-opacity", "0.35") +
                                    SvgWriter::attr("stroke-dasharray", "3 3");
    for (const RouteStation& st : c.model.stations) svg.line({c.x(st.position), p.top}, {c.x(st.position), p.bottom}, stationLine);
    if (c.model.routeLength > 0 && c.model.routeLength < c.lengthMetres)
        svg.line({c.x(c.model.routeLength), p.top}, {c.x(c.model.routeLength), p.bottom},
                 SvgWriter::attr("stroke", kInk) + SvgWriter::attr("stroke-dasharray", "6 3"));
}

double station_names(Context& c, double top) {
    std::vector<const RouteStation*> stations;
    for (const RouteStation& st : c.model.stations) stations.push_back(&st);
    std::stable_sort(stations.begin(), stations.end(),
                     [](const RouteStation* a, const RouteStation* b) { return a->position < b->position; });
    double longest = 0;
    for (const RouteStation* st : stations) longest = std::max(longest, text_width(st->name, kNameFont));
    const double band = std::clamp(longest + 22, 40.0, 170.0);
    std::vector<double> wanted;
    for (const RouteStation* st : stations) wanted.push_back(c.x(st->position));
    const std::vector<double> placed = spread_labels(wanted, kNameFont * 1.25, kLeft - 40, kWidth - 14);
    const double foot = top + band;  // where the names start, reading upwards
    c.svg.open_group(SvgWriter::attr("id", "profile-stations"));
    for (size_t i = 0; i < stations.size(); ++i) {
        c.svg.polyline({{wanted[i], foot + 14}, {wanted[i], foot + 9}, {placed[i], foot + 2}},
                       SvgWriter::attr("fill", "none") + SvgWriter::attr("stroke", kStationInk) +
                           SvgWriter::attr("stroke-width", "0.7"));
        const Point at{placed[i] + kNameFont * 0.36, foot - 2};
        c.svg.text(at, stations[i]->name,
                   SvgWriter::attr("font-size", kNameFont) + SvgWriter::attr("fill", kStationInk) +
                       SvgWriter::attr("class", "station-name") +
                       SvgWriter::attr("transform", "rotate(-90 " + svg_number(at.x) + " " + svg_number(at.y) + ")"));
    }
    c.svg.close_group();
    return band + 14;
}

void height_panel(Context& c, const Panel& p, const std::vector<double>& heights) {
    const Scale y = p.y();
    std::vector<Point> curve;
    for (size_t k = 0; k < heights.size(); ++k) curve.push_back({c.x(cell_start(k)), y(heights[k])});
    curve = simplify(curve, kCurveTolerancePixels);
    if (curve.size() < 2) return;
    std::vector<Point> area = curve;
    area.push_back({curve.back().x, p.bottom});
    area.push_back({curve.front().x, p.bottom});
    c.svg.polygon(area, SvgWriter::attr("fill", kHeightFill));
    c.svg.polyline(curve, SvgWriter::attr("id", "height-curve") + SvgWriter::attr("fill", "none") +
                              SvgWriter::attr("stroke", kHeightInk) + SvgWriter::attr("stroke-width", "1.6"));
}

void gradient_panel(Context& c, const Panel& p) {
    const Scale y = p.y();
    c.svg.open_group(SvgWriter::attr("id", "gradient-bars"));
    for (const Run& r : runs_of(c.model.gradient)) {
        if (r.value == 0) continue;
        const double x0 = c.x(cell_start(r.first)), x1 = c.x(cell_start(r.end));
        const double y0 = std::min(y(0), y(r.value)), y1 = std::max(y(0), y(r.value));
        c.svg.rect(x0, y0, std::max(x1 - x0, 0.4), y1 - y0, SvgWriter::attr("fill", r.value > 0 ? kClimb : kFall));
    }
    c.svg.close_group();
    c.svg.line({kLeft, y(0)}, {kRight, y(0)}, SvgWriter::attr("stroke", kMuted) + SvgWriter::attr("stroke-width", "1"));
}

void speed_panel(Context& c, const Panel& p) {
    const std::vector<Point> line = step_line(runs_of(c.model.speed), c.x, p.y());
    if (line.size() >= 2)
        c.svg.polyline(line, SvgWriter::attr("id", "speed-curve") + SvgWriter::attr("fill", "none") +
                                 SvgWriter::attr("stroke", kSpeedInk) + SvgWriter::attr("stroke-width", "1.6"));
    c.svg.open_group(SvgWriter::attr("id", "speed-boards") + SvgWriter::attr("fill", kSpeedBoardInk));
    for (const RouteMark& b : c.model.speedBoards) {
        const double x = c.x(b.position);
        c.svg.open_group("");
        c.svg.title("speed board, km " + svg_number(b.position / 1000, 2));
        c.svg.polygon({{x - 4, p.top + 1}, {x + 4, p.top + 1}, {x, p.top + 8}}, "");
        c.svg.close_group();
    }
    c.svg.close_group();
}

void adhesion_panel(Context& c, const Panel& p) {
    const std::vector<Point> line = step_line(runs_of(c.model.adhesion), c.x, p.y());
    if (line.size() >= 2)
        c.svg.polyline(line, SvgWriter::attr("id", "adhesion-curve") + SvgWriter::attr("fill", "none") +
                                 SvgWriter::attr("stroke", kAdhesionInk) + SvgWriter::attr("stroke-width", "1.6"));
}

double kilometre_axis(Context& c, double y) {
    SvgWriter& svg = c.svg;
    const double kilometres = c.lengthMetres / 1000;
    const bool everyKm = (kRight - kLeft) / kilometres >= 4;
    const std::string tick = SvgWriter::attr("stroke", kMuted) + SvgWriter::attr("stroke-width", "1");
    const std::string number = SvgWriter::attr("font-size", "10") + SvgWriter::attr("fill", kInk) +
                               SvgWriter::attr("text-anchor", "middle");
    svg.open_group(SvgWriter::attr("id", "kilometre-axis"));
    for (int km = 0; km <= 4000 && km <= kilometres; ++km) {
        const bool major = std::fmod(km, c.majorKm) == 0;
        if (!major && !everyKm) continue;
        const double x = c.x(km * 1000.0);
        svg.line({x, y}, {x, y + (major ? 6 : 3)}, tick);
        if (major) svg.text({x, y + 17}, std::to_string(km), number);
    }
    svg.text({(kLeft + kRight) / 2, y + 34}, "Distance along the route (km)",
             SvgWriter::attr("font-size", "11") + SvgWriter::attr("fill", kInk) + SvgWriter::attr("text-anchor", "middle"));
    svg.close_group();
    return 40;
}

void legend(Context& c, double y) {
    SvgWriter& svg = c.svg;
    const std::string text = SvgWriter::attr("font-size", "11") + SvgWriter::attr("fill", kInk);
    double x = kMargin + 8;
    auto label = [&](const std::string& words) {
        svg.text({x, y + 4}, words, text);
        x += text_width(words, 11) * 0.85 + 22;
    };
    svg.open_group(SvgWriter::attr("id", "profile-legend"));
    svg.rect(x, y - 5, 14, 10, SvgWriter::attr("fill", kClimb));
    x += 20;
    label("Rising gradient");
    svg.rect(x, y - 5, 14, 10, SvgWriter::attr("fill", kFall));
    x += 20;
    label("Falling gradient");
    svg.polygon({{x, y - 4}, {x + 8, y - 4}, {x + 4, y + 3}}, SvgWriter::attr("fill", kSpeedBoardInk));
    x += 14;
    label("Speed board");
    svg.line({x, y}, {x + 22, y}, SvgWriter::attr("stroke", kStationInk) + SvgWriter::attr("stroke-opacity", "0.5") +
                                      SvgWriter::attr("stroke-dasharray", "3 3"));
    x += 28;
    label("Station");
    svg.line({x, y}, {x + 22, y}, SvgWriter::attr("stroke", kInk) + SvgWriter::attr("stroke-dasharray", "6 3"));
    x += 28;
    label("Route end");
    svg.text({x, y + 4}, "Height: the gradient integrated cell by cell, 0 at the start",
             SvgWriter::attr("font-size", "10.5") + SvgWriter::attr("fill", kMuted));
    svg.close_group();
}

}  // namespace

double draw_profile(SvgWriter& svg, const RouteModel& model, double top) {
    double length = std::max({cell_start(model.gradient.size()), static_cast<double>(model.routeLength), 1000.0});
    for (const RouteStation& st : model.stations) length = std::max(length, st.position);
    for (const RouteMark& b : model.speedBoards) length = std::max(length, b.position);
    length = std::ceil(length / 1000) * 1000;
    const double kilometres = length / 1000;
    Context c{svg, model, {0, length, kLeft, kRight}, length,
              std::max(1.0, nice_step(kilometres * 55 / (kRight - kLeft)))};

    svg.open_group(SvgWriter::attr("id", "profile"));
    double y = top + station_names(c, top);

    const std::vector<double> heights = height_profile(model.gradient);
    const auto [hLow, hHigh] = std::minmax_element(heights.begin(), heights.end());
    const int gMin = model.gradient.empty() ? 0 : *std::min_element(model.gradient.begin(), model.gradient.end());
    const int gMax = model.gradient.empty() ? 0 : *std::max_element(model.gradient.begin(), model.gradient.end());
    const int vMax = model.speed.empty() ? 0 : *std::max_element(model.speed.begin(), model.speed.end());
    const int aMax = model.adhesion.empty() ? 0 : *std::max_element(model.adhesion.begin(), model.adhesion.end());

    const Panel height = panel_range(*hLow, *hHigh, y + kPanelTitle, 120);
    panel_frame(c, height, "Height above the start (m)", kHeightInk);
    if (model.routeLength > 0 && model.routeLength < length)
        svg.text({c.x(model.routeLength) + 4, height.top - 6}, "route end",
                 SvgWriter::attr("font-size", "9.5") + SvgWriter::attr("fill", kInk));
    height_panel(c, height, heights);
    y = height.bottom + kPanelGap;

    const Panel gradient = panel_range(std::min(gMin, 0), std::max(gMax, 0), y + kPanelTitle, 90);
    panel_frame(c, gradient, "Gradient (\xE2\x80\xB0)", kClimb);
    gradient_panel(c, gradient);
    y = gradient.bottom + kPanelGap;

    const Panel speed = panel_range(0, std::max(vMax, 10), y + kPanelTitle, 100);
    panel_frame(c, speed, "Speed limit (km/h)", kSpeedInk);
    speed_panel(c, speed);
    y = speed.bottom + kPanelGap;

    const Panel adhesion = panel_range(0, std::max(aMax, 100), y + kPanelTitle, 70);
    panel_frame(c, adhesion, "Adhesion (%)", kAdhesionInk);
    adhesion_panel(c, adhesion);
    y = adhesion.bottom;

    y += kilometre_axis(c, y) + 12;
    legend(c, y);
    svg.close_group();
    return y + 14 - top;
}
