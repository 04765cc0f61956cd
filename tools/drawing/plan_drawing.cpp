#include "tools/drawing/plan_drawing.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "tools/drawing/label_layout.h"
#include "tools/drawing/plot_style.h"

using namespace plot_style;

namespace {

constexpr double kPad = 64;              // room for labels around the line
constexpr double kMaxLineHeight = 900;   // the drawn line's height at most
constexpr double kMinPanelHeight = 220;  // room for the scale bar and the north arrow

// Metres to picture coordinates: one scale, y turned to point down.
struct Frame {
    double s = 1, tx = 0, ty = 0;
    Point px(Point m) const { return {tx + m.x * s, ty - m.y * s}; }
};

struct Extent {
    double minX = std::numeric_limits<double>::max(), maxX = std::numeric_limits<double>::lowest();
    double minY = std::numeric_limits<double>::max(), maxY = std::numeric_limits<double>::lowest();
};

Extent extent_of(const std::vector<Point>& points) {
    Extent e;
    for (const Point& p : points) {
        e.minX = std::min(e.minX, p.x);
        e.maxX = std::max(e.maxX, p.x);
        e.minY = std::min(e.minY, p.y);
        e.maxY = std::max(e.maxY, p.y);
    }
    return e;
}

// The place and the right-hand normal (in the picture) of a metre of the line.
struct LinePlace {
    Point at;
    Point normal;
};

std::optional<LinePlace> place_on_line(const CentreLine& line, const Frame& f, double metre) {
    std::optional<Point> m = line.at(metre);
    if (!m) return std::nullopt;
    const Point h = line.heading(metre);
    return LinePlace{f.px(*m), {h.y, h.x}};  // heading (hx, -hy) on screen, turned a quarter to the right
}

std::vector<Point> to_picture(const std::vector<Point>& metres, const Frame& f) {
    std::vector<Point> px;
    px.reserve(metres.size());
    for (const Point& m : metres) px.push_back(f.px(m));
    return px;
}

// The nearest point of a box to p, for leader lines.
Point nearest_on_box(const Box& b, Point p) { return {std::clamp(p.x, b.x0, b.x1), std::clamp(p.y, b.y0, b.y1)}; }

struct Label {
    PlacedLabel placed;
    Point anchor;
    std::string text;
    std::string attributes;
};

void draw_labels(SvgWriter& svg, const std::vector<Label>& labels) {
    for (const Label& l : labels) {
        const Point near = nearest_on_box(l.placed.box, l.anchor);
        if (std::hypot(near.x - l.anchor.x, near.y - l.anchor.y) > 9)
            svg.line(l.anchor, near, SvgWriter::attr("stroke", kMuted) + SvgWriter::attr("stroke-width", "0.9"));
    }
    for (const Label& l : labels) svg.text(l.placed.baseline, l.text, l.attributes);
}

Box draw_scale_bar(SvgWriter& svg, double s, Point origin) {
    const double metres = nice_step(90 / s);
    const double length = metres * s;
    svg.open_group(SvgWriter::attr("id", "scale-bar"));
    for (int i = 0; i < 4; ++i)
        svg.rect(origin.x + length * i / 4, origin.y - 6, length / 4, 6,
                 SvgWriter::attr("fill", i % 2 == 0 ? kInk : "#ffffff") + SvgWriter::attr("stroke", kInk) +
                     SvgWriter::attr("stroke-width", "0.8"));
    const std::string small = SvgWriter::attr("font-size", "10") + SvgWriter::attr("fill", kInk);
    svg.text({origin.x, origin.y - 10}, "0", small + SvgWriter::attr("text-anchor", "middle"));
    svg.text({origin.x + length, origin.y - 10}, length_text(metres), small + SvgWriter::attr("text-anchor", "middle"));
    svg.close_group();
    return {origin.x - 8, origin.y - 24, origin.x + length + 30, origin.y + 4};
}

Box draw_north_arrow(SvgWriter& svg, Point top) {
    svg.open_group(SvgWriter::attr("id", "north-arrow"));
    svg.polygon({{top.x, top.y + 20}, {top.x + 8, top.y + 46}, {top.x, top.y + 40}, {top.x - 8, top.y + 46}},
                SvgWriter::attr("fill", kInk));
    svg.text({top.x, top.y + 14}, "N", SvgWriter::attr("font-size", "13") + SvgWriter::attr("font-weight", "bold") +
                                           SvgWriter::attr("text-anchor", "middle"));
    svg.close_group();
    return {top.x - 14, top.y, top.x + 14, top.y + 50};
}

void diamond(SvgWriter& svg, Point c, double r, const std::string& attributes) {
    svg.polygon({{c.x, c.y - r}, {c.x + r, c.y}, {c.x, c.y + r}, {c.x - r, c.y}}, attributes);
}

// One row of legend items under the plan.
void draw_legend(SvgWriter& svg, double y) {
    const std::string text = SvgWriter::attr("font-size", "11") + SvgWriter::attr("fill", kInk);
    double x = kMargin + 8;
    auto label = [&](const std::string& words) {
        svg.text({x, y + 4}, words, text);
        x += text_width(words, 11) * 0.85 + 22;
    };
    svg.open_group(SvgWriter::attr("id", "plan-legend"));
    svg.line({x, y}, {x + 22, y}, SvgWriter::attr("stroke", kLine) + SvgWriter::attr("stroke-width", "3"));
    x += 28;
    label("Centre line");
    svg.line({x, y}, {x + 22, y}, SvgWriter::attr("stroke", kMuted) + SvgWriter::attr("stroke-width", "2") +
                                      SvgWriter::attr("stroke-dasharray", "6 4"));
    x += 28;
    label("Beyond the route end");
    svg.circle({x + 5, y}, 4.5, SvgWriter::attr("fill", "#ffffff") + SvgWriter::attr("stroke", kStationInk) +
                                    SvgWriter::attr("stroke-width", "2"));
    x += 16;
    label("Station");
    svg.line({x + 4, y - 6}, {x + 4, y + 6}, SvgWriter::attr("stroke", kSignalInk) + SvgWriter::attr("stroke-width", "1.6"));
    x += 14;
    label("Signal");
    diamond(svg, {x + 5, y}, 4.5, SvgWriter::attr("fill", kBoardInk));
    x += 16;
    label("Indication board");
    svg.line({x + 4, y - 4}, {x + 4, y + 4}, SvgWriter::attr("stroke", kMuted) + SvgWriter::attr("stroke-width", "1"));
    x += 14;
    label("Kilometre mark (km)");
    svg.close_group();
}

}  // namespace

double draw_plan(SvgWriter& svg, const RouteModel& model, double top) {
    const CentreLine& line = model.line;
    const Extent e = extent_of(line.metres);
    const double x0 = kMargin, x1 = kWidth - kMargin;
    const double roomX = x1 - x0 - 2 * kPad;
    const double dx = e.maxX - e.minX, dy = e.maxY - e.minY;
    double s = std::numeric_limits<double>::max();
    if (dx > 0) s = std::min(s, roomX / dx);
    if (dy > 0) s = std::min(s, kMaxLineHeight / dy);
    if (s == std::numeric_limits<double>::max()) s = 1;
    const double height = std::max(kMinPanelHeight, dy * s + 2 * kPad);
    Frame f;
    f.s = s;
    f.tx = x0 + kPad + (roomX - dx * s) / 2 - e.minX * s;
    f.ty = top + (height - dy * s) / 2 + e.maxY * s;

    svg.open_group(SvgWriter::attr("id", "plan"));
    svg.rect(x0, top, x1 - x0, height, SvgWriter::attr("rx", "6") + SvgWriter::attr("fill", kPanel) +
                                           SvgWriter::attr("stroke", "#d1d5db"));

    // The route up to its length, then the extension the grid carries beyond it.
    const int64_t routeEnd = std::clamp<int64_t>(model.routeLength, 0, line.last());
    const std::vector<Point> route =
        simplify(sample_line(line, 0, routeEnd, kPlanSampleMetres), kPlanToleranceMetres);
    const std::vector<Point> beyond = routeEnd < line.last()
        ? simplify(sample_line(line, routeEnd, line.last(), kPlanSampleMetres), kPlanToleranceMetres)
        : std::vector<Point>{};
    const std::string matrix = "matrix(" + svg_number(s, 9) + " 0 0 " + svg_number(-s, 9) + " " +
                               svg_number(f.tx, 3) + " " + svg_number(f.ty, 3) + ")";
    svg.open_group(SvgWriter::attr("id", "plan-line") + SvgWriter::attr("transform", matrix) +
                   SvgWriter::attr("fill", "none") + SvgWriter::attr("stroke-linejoin", "round") +
                   SvgWriter::attr("stroke-linecap", "round"));
    if (route.size() >= 2)
        svg.polyline(route, SvgWriter::attr("class", "centre-line") + SvgWriter::attr("stroke", kLine) +
                                SvgWriter::attr("stroke-width", 3 / s, 3));
    if (beyond.size() >= 2)
        svg.polyline(beyond, SvgWriter::attr("class", "centre-line") + SvgWriter::attr("stroke", kMuted) +
                                 SvgWriter::attr("stroke-width", 2 / s, 3) +
                                 SvgWriter::attr("stroke-dasharray", svg_number(6 / s, 3) + " " + svg_number(4 / s, 3)));
    svg.close_group();

    LabelSpace space({x0 + 4, top + 4, x1 - 4, top + height - 4});
    space.add_segments(to_picture(route, f));
    space.add_segments(to_picture(beyond, f));
    space.take(draw_scale_bar(svg, s, {x0 + 18, top + height - 14}));
    space.take(draw_north_arrow(svg, {x1 - 28, top + 8}));

    // Kilometre ticks along the route, every one; numbers as far apart as room allows.
    const double routePixels = std::max(1.0, static_cast<double>(routeEnd) * s);
    const double pixelsPerKm = routePixels / std::max(1.0, static_cast<double>(routeEnd) / 1000);
    // A very long route keeps to a few hundred numbers whatever its shape.
    const auto numberEvery = static_cast<int64_t>(
        std::max({1.0, nice_step(46 / pixelsPerKm), nice_step(static_cast<double>(routeEnd) / 1000 / 150)}));
    std::vector<std::pair<int64_t, LinePlace>> kilometres;
    svg.open_group(SvgWriter::attr("id", "plan-kilometres") + SvgWriter::attr("stroke", kMuted) +
                   SvgWriter::attr("stroke-width", "1"));
    for (int64_t km = 1; km * 1000 <= routeEnd; ++km) {
        auto p = place_on_line(line, f, static_cast<double>(km) * 1000);
        if (!p) break;
        svg.line({p->at.x - p->normal.x * 4, p->at.y - p->normal.y * 4},
                 {p->at.x + p->normal.x * 4, p->at.y + p->normal.y * 4}, "");
        if (km % numberEvery == 0) kilometres.push_back({km, *p});
    }
    svg.close_group();

    svg.open_group(SvgWriter::attr("id", "plan-signals") + SvgWriter::attr("stroke", kSignalInk) +
                   SvgWriter::attr("stroke-width", "1.6"));
    for (const RouteMark& signal : model.signals) {
        auto p = place_on_line(line, f, signal.position);
        if (!p) continue;
        svg.line({p->at.x + p->normal.x * 2, p->at.y + p->normal.y * 2},
                 {p->at.x + p->normal.x * 9, p->at.y + p->normal.y * 9}, "");
    }
    svg.close_group();

    // Marks first, so that no label covers a station or a board.
    std::vector<std::pair<const RouteStation*, LinePlace>> stations;
    for (const RouteStation& st : model.stations)
        if (auto p = place_on_line(line, f, st.position)) {
            stations.push_back({&st, *p});
            space.take({p->at.x - 6, p->at.y - 6, p->at.x + 6, p->at.y + 6});
            space.add_anchor(p->at);
        }
    std::vector<std::pair<const RouteMark*, LinePlace>> boards;
    for (const RouteMark& b : model.boards)
        if (auto p = place_on_line(line, f, b.position)) {
            boards.push_back({&b, *p});
            space.take({p->at.x - 5, p->at.y - 5, p->at.x + 5, p->at.y + 5});
            space.add_anchor(p->at);
        }

    std::vector<Label> labels;
    const std::string stationText = SvgWriter::attr("font-size", "11") + SvgWriter::attr("font-weight", "bold") +
                                    SvgWriter::attr("fill", kStationInk) + SvgWriter::attr("class", "station-name");
    for (const auto& [st, p] : stations)
        if (auto placed = space.place(p.at, p.normal, st->name, 11, true))
            labels.push_back({*placed, p.at, st->name, stationText});
    const std::string boardText = SvgWriter::attr("font-size", "10") + SvgWriter::attr("font-style", "italic") +
                                  SvgWriter::attr("fill", kBoardInk) + SvgWriter::attr("class", "board-caption");
    for (const auto& [b, p] : boards)
        if (auto placed = space.place(p.at, {-p.normal.x, -p.normal.y}, b->caption, 10, true))
            labels.push_back({*placed, p.at, b->caption, boardText});
    if (routeEnd < line.last())
        if (auto p = place_on_line(line, f, static_cast<double>(routeEnd))) {
            svg.line({p->at.x - p->normal.x * 7, p->at.y - p->normal.y * 7},
                     {p->at.x + p->normal.x * 7, p->at.y + p->normal.y * 7},
                     SvgWriter::attr("stroke", kInk) + SvgWriter::attr("stroke-width", "2.5"));
            if (auto placed = space.place(p->at, p->normal, "route end", 10, false, 18))
                labels.push_back({*placed, p->at, "route end",
                                  SvgWriter::attr("font-size", "10") + SvgWriter::attr("fill", kInk)});
        }
    const std::string kmText = SvgWriter::attr("font-size", "9.5") + SvgWriter::attr("fill", kMuted);
    for (const auto& [km, p] : kilometres) {
        const std::string number = std::to_string(km);
        if (auto placed = space.place(p.at, {-p.normal.x, -p.normal.y}, number, 9.5, false, 10))
            labels.push_back({*placed, p.at, number, kmText});
    }
    draw_labels(svg, labels);

    svg.open_group(SvgWriter::attr("id", "plan-boards"));
    for (const auto& [b, p] : boards) {
        svg.open_group("");
        svg.title(b->caption + " (indication board, km " + svg_number(b->position / 1000, 2) + ")");
        diamond(svg, p.at, 4.5, SvgWriter::attr("fill", kBoardInk) + SvgWriter::attr("stroke", "#ffffff") +
                                    SvgWriter::attr("stroke-width", "0.8"));
        svg.close_group();
    }
    svg.close_group();
    svg.open_group(SvgWriter::attr("id", "plan-stations") + SvgWriter::attr("fill", "#ffffff") +
                   SvgWriter::attr("stroke", kStationInk) + SvgWriter::attr("stroke-width", "2"));
    for (const auto& [st, p] : stations) {
        svg.open_group("");
        svg.title(st->name + " (km " + svg_number(st->position / 1000, 2) + ")");
        svg.circle(p.at, 4.5, "");
        svg.close_group();
    }
    svg.close_group();
    svg.close_group();

    draw_legend(svg, top + height + 16);
    return height + 30;
}
