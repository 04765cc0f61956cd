#include "tools/serve/scenario_json.h"

#include <cmath>
#include <nlohmann/json.hpp>

#include "tools/drawing/plan_drawing.h"
#include "tools/common/text_encoding.h"
#include "tools/places/related_json.h"

using nlohmann::json;

namespace {

const std::vector<std::optional<TextSpan>> kNoSpans;  // a diagnostic of the preview itself

// Centimetres are plenty for a drawing and keep the document small.
double centimetres(double metres) { return std::round(metres * 100) / 100; }

// The centre line from `from` to `to` as [metre, x, y] triples, sampled and
// simplified as the route picture draws it.
json plan_points(const CentreLine& line, int64_t from, int64_t to) {
    json points = json::array();
    const std::vector<Point> sampled = sample_line(line, from, to, kPlanSampleMetres);
    const std::vector<Point> kept = simplify(sampled, kPlanToleranceMetres);
    size_t i = 0;  // kept points are copies of sampled ones, in the same order
    for (const Point& p : kept) {
        while (i + 1 < sampled.size() && (sampled[i].x != p.x || sampled[i].y != p.y)) ++i;
        const int64_t metre = i + 1 == sampled.size() ? std::min(to, line.last())
                                                      : from + static_cast<int64_t>(i) * kPlanSampleMetres;
        points.push_back({metre, centimetres(p.x), centimetres(p.y)});
        ++i;
    }
    return points;
}

json source_json(const FeatureSource& s) { return {{"file", s.file}, {"line", s.line}, {"text", s.text}}; }

// A feature with the line that made it, where the trace names one.
template <typename Key>
json with_source(json feature, const std::map<Key, FeatureSource>& sources, Key key) {
    const auto found = sources.find(key);
    if (found != sources.end()) feature["source"] = source_json(found->second);
    return feature;
}

json mark(const RouteMark& m) { return {{"position_m", m.position}, {"cell", m.cell}}; }

// The marks of one kind, each with the fields `add` gives it and its source row.
template <typename Add>
json marks(const std::vector<RouteMark>& all, const std::map<int64_t, FeatureSource>& sources, Add add) {
    json list = json::array();
    for (const RouteMark& m : all) {
        json b = mark(m);
        add(b, m);
        list.push_back(with_source(b, sources, m.cell));
    }
    return list;
}

json route_json(const RouteModel& model, const FeatureSources& sources) {
    json out;
    out["route"] = model.route;
    out["train"] = model.train;
    out["route_length_m"] = model.routeLength;
    json stations = json::array();
    for (const RouteStation& s : model.stations) {
        json st = {{"name", s.name}, {"position_m", s.position}, {"slot", s.slot}};
        if (s.scheduled != 0) {
            char clock[16];
            std::snprintf(clock, sizeof clock, "%02d:%02d:%02d", s.scheduled / 3600, s.scheduled / 60 % 60,
                          s.scheduled % 60);
            st["scheduled"] = clock;
            st["scheduled_s"] = s.scheduled;
        }
        stations.push_back(with_source(st, sources.stations, s.slot));
    }
    out["stations"] = stations;
    out["signals"] = marks(model.signals, sources.signals, [](json&, const RouteMark&) {});
    out["speed_boards"] = marks(model.speedBoards, sources.speedBoards,
                                [](json& b, const RouteMark& m) { b["value"] = m.value1; });
    out["indication_boards"] = marks(model.boards, sources.boards,
                                     [](json& b, const RouteMark& m) { b["caption"] = m.caption; });

    json heights = json::array();
    for (double h : height_profile(model.gradient)) heights.push_back(centimetres(h));
    out["profile"] = {{"cell_m", kCellMetres},
                      {"speed_kmh", model.speed},
                      {"gradient_permille", model.gradient},
                      {"adhesion_percent", model.adhesion},
                      {"height_m", heights}};

    json plan = {{"route", json::array()}, {"beyond", json::array()}};
    if (model.line.present()) {
        const int64_t end = std::clamp<int64_t>(model.routeLength, 0, model.line.last());
        plan["route"] = plan_points(model.line, 0, end);
        if (end < model.line.last()) plan["beyond"] = plan_points(model.line, end, model.line.last());
    }
    out["plan"] = plan;
    return out;
}

// The run's samples are thinned to at most about this many for the page (a
// chart is about a thousand pixels wide);
// every standstill (an arrival, a departure) is kept.
constexpr size_t kMaxRunSamples = 1200;

double tenths(double v) { return std::round(v * 10) / 10; }

json optional_number(const std::optional<double>& v) { return v ? json(tenths(*v)) : json(nullptr); }

// The fastest run as the page draws it: [position m, time s, speed km/h]
// samples and a row per station; null when the run gives no times.
json run_json(const PreviewBuild& build) {
    if (!build.run.problem.empty() || build.run.samples.empty()) return nullptr;
    const std::vector<RunSample>& all = build.run.samples;
    const size_t every = (all.size() + kMaxRunSamples - 1) / kMaxRunSamples;
    json samples = json::array();
    for (size_t i = 0; i < all.size(); ++i) {
        const RunSample& s = all[i];
        if (i % every != 0 && s.speed != 0 && i + 1 != all.size()) continue;
        samples.push_back({tenths(s.position), tenths(s.time), tenths(s.speed * 3.6)});
    }
    json stations = json::array();
    for (const StationRun& row : build.run.stations) {
        const RunStation& st = build.runStations[row.station];
        stations.push_back({{"name", st.name},
                            {"position_m", st.point},
                            {"role", role_word(row.role)},
                            {"scheduled_s", row.scheduled ? json(*row.scheduled) : json(nullptr)},
                            {"earliest_arrival_s", optional_number(row.earliestArrival)},
                            {"earliest_departure_s", optional_number(row.earliestDeparture)},
                            {"slack_s", optional_number(row.slack)},
                            {"late", row.late},
                            {"problem", row.problem}});
    }
    return {{"trainModel", build.trainModelName}, {"samples", samples}, {"stations", stations}};
}

json stretches_json(const std::vector<PlacedStretch>& all, bool withSpeed) {
    json list = json::array();
    for (const PlacedStretch& s : all) {
        json one = {{"start_m", s.start}, {"end_m", s.end}};
        if (withSpeed) one["speed_kmh"] = s.speedKmh;
        list.push_back(one);
    }
    return list;
}

// As check gives it, with the text of its line and the whole line check prints.
json diagnostic_json(const Diagnostic& d, const std::vector<std::optional<TextSpan>>& relatedSpans,
                     const PreviewBuild& build) {
    json out = {{"file", d.file},
                {"line", d.line},
                {"severity", severity_word(d.severity())},
                {"code", code_name(d.code)},
                {"message", d.message}};
    if (d.cell) out["cell"] = *d.cell;
    if (d.position) out["position"] = *d.position;
    out["related"] = related_json(d, relatedSpans);
    out["shown"] = diagnostic_text(d.file, d.line, d.code, d.message);
    const SourceDocument* doc = d.file == build.line.path ? &build.line : d.file == build.train.path ? &build.train : nullptr;
    if (doc != nullptr && d.line > 0) out["text"] = cp1252_to_utf8(line_of(doc->text, d.line));
    return out;
}

}  // namespace

std::string scenario_json(const PreviewBuild& current, const PreviewBuild* drawn, uint64_t version) {
    json out;
    if (drawn != nullptr && drawn->model) {
        out = route_json(*drawn->model, drawn->sources);
        out["slow_downs"] = stretches_json(drawn->slowDowns, true);
        out["montagna"] = stretches_json(drawn->montagna, false);
        out["run"] = run_json(*drawn);
        out["run_problem"] = !drawn->run.problem.empty() ? json(drawn->run.problem)
                             : out["run"].is_null()     ? json("no leg of the run can be run")
                                                        : json(nullptr);
    } else {
        out = {{"route", ""}, {"train", ""}, {"route_length_m", 0}, {"stations", json::array()},
               {"signals", json::array()}, {"speed_boards", json::array()}, {"indication_boards", json::array()},
               {"profile", nullptr}, {"plan", nullptr},
               {"slow_downs", json::array()}, {"montagna", json::array()}, {"run", nullptr},
               {"run_problem", "nothing has compiled yet"}};
    }
    json diagnostics = json::array();
    for (size_t i = 0; i < current.diagnostics.size(); ++i) {
        const auto& spans = i < current.relatedSpans.size() ? current.relatedSpans[i] : kNoSpans;
        diagnostics.push_back(diagnostic_json(current.diagnostics[i], spans, current));
    }
    out["diagnostics"] = diagnostics;
    out["stale"] = current.has_errors();
    out["version"] = version;
    out["documents"] = {{"line", current.line.path}, {"train", current.train.path}};
    // Names and texts come from the author's files: anything that is not UTF-8 is replaced, never refused.
    return out.dump(-1, ' ', false, json::error_handler_t::replace);
}
