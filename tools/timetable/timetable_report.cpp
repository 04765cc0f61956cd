#include "tools/timetable/timetable_report.h"

#include <cmath>
#include <cstdio>
#include <nlohmann/json.hpp>

#include "tools/codes/code.h"
#include "tools/diagnostics/diagnostics.h"

namespace {

using nlohmann::ordered_json;

// A time of day, to the nearest second: 9:57:03.
std::string clock(double seconds) {
    const long long s = std::llround(seconds);
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", s / 3600, s / 60 % 60, s % 60);
    return text;
}

// A duration to the nearest second, signed when asked: 12:05, -0:40, +3:00.
std::string duration(double seconds, bool sign = false) {
    const long long s = std::llround(std::fabs(seconds));
    char text[32];
    const char* mark = seconds < 0 && s > 0 ? "-" : sign ? "+" : "";
    std::snprintf(text, sizeof text, "%s%lld:%02lld", mark, s / 60, s % 60);
    return text;
}

std::string or_dash(const std::optional<double>& v, std::string (*text)(double)) { return v ? text(*v) : "-"; }

ordered_json number_or_null(const std::optional<double>& v) { return v ? ordered_json(*v) : ordered_json(nullptr); }

struct Totals {
    double running = 0, dwell = 0;
    int stops = 0, late = 0;
};

Totals totals_of(const RunningTimes& times) {
    Totals t;
    for (const StationRun& s : times.stations) {
        if (s.legRunning) t.running += *s.legRunning;
        if (s.role == StationRun::Role::Stop && s.earliestArrival && s.earliestDeparture)
            t.dwell += *s.earliestDeparture - *s.earliestArrival;
        if (s.role == StationRun::Role::Stop || s.role == StationRun::Role::Last) ++t.stops;
        if (s.late) ++t.late;
    }
    return t;
}

}  // namespace

void write_timetable_text(std::ostream& out, const TimetableView& view) {
    out << "train model: " << view.trainModel << '\n';
    if (!view.times.problem.empty()) {
        out << "no running times: " << view.times.problem << '\n';
        return;
    }
    char line[256];
    std::snprintf(line, sizeof line, "%-24s %9s %-7s %9s %9s %9s %8s %8s %6s\n", "station", "km", "", "scheduled",
                  "arrival", "departure", "running", "slack", "top");
    out << line;
    for (const StationRun& s : view.times.stations) {
        const RunStation& station = view.route.stations[s.station];
        const std::string scheduled = s.scheduled ? clock(static_cast<double>(*s.scheduled)) : "-";
        const std::string top = s.legTopSpeed ? std::to_string(std::llround(*s.legTopSpeed * 3.6)) : "-";
        const std::string slack = s.slack ? duration(*s.slack, true) + (s.late ? "!" : "") : "-";
        // The name apart: it may be longer than any line buffer.
        out << station.name << std::string(station.name.size() < 24 ? 24 - station.name.size() : 0, ' ');
        std::snprintf(line, sizeof line, " %9.3f %-7s %9s %9s %9s %8s %8s %6s\n",
                      static_cast<double>(station.point) / 1000.0, role_word(s.role),
                      scheduled.c_str(), or_dash(s.earliestArrival, clock).c_str(),
                      or_dash(s.earliestDeparture, clock).c_str(),
                      or_dash(s.legRunning, [](double v) { return duration(v); }).c_str(), slack.c_str(),
                      top.c_str());
        out << line;
        if (!s.problem.empty()) out << "  " << station.name << ": no times for this leg: " << s.problem << '\n';
    }
    const Totals t = totals_of(view.times);
    out << "running " << duration(t.running) << ", dwelling " << duration(t.dwell) << "; " << t.late << " of "
        << t.stops << (t.stops == 1 ? " stop" : " stops") << " late: the timetable "
        << (view.times.kept() ? "can" : "cannot") << " be kept\n";
}

void write_timetable_json(std::ostream& out, const TimetableView& view) {
    ordered_json j;
    j["train_model"] = view.trainModel;
    j["problem"] = view.times.problem.empty() ? ordered_json(nullptr) : ordered_json(view.times.problem);
    j["stations"] = ordered_json::array();
    for (const StationRun& s : view.times.stations) {
        const RunStation& station = view.route.stations[s.station];
        ordered_json row;
        row["name"] = station.name;
        row["position_m"] = station.point;
        row["role"] = role_word(s.role);
        row["scheduled_s"] = s.scheduled ? ordered_json(*s.scheduled) : ordered_json(nullptr);
        row["earliest_arrival_s"] = number_or_null(s.earliestArrival);
        row["earliest_departure_s"] = number_or_null(s.earliestDeparture);
        row["running_s"] = number_or_null(s.legRunning);
        row["slack_s"] = number_or_null(s.slack);
        row["top_speed_kmh"] = number_or_null(s.legTopSpeed ? std::optional<double>(*s.legTopSpeed * 3.6) : std::nullopt);
        row["late"] = s.late;
        row["problem"] = s.problem.empty() ? ordered_json(nullptr) : ordered_json(s.problem);
        j["stations"].push_back(row);
    }
    const Totals t = totals_of(view.times);
    j["totals"] = {{"running_s", t.running}, {"dwell_s", t.dwell}, {"stops", t.stops}, {"late", t.late}};
    j["kept"] = view.times.kept();
    out << j.dump(2, ' ', false, ordered_json::error_handler_t::replace) << '\n';
}

void write_document_errors(std::ostream& out, const CheckResult& result, const std::string& format) {
    if (format == "json") {
        ordered_json j;
        j["diagnostics"] = ordered_json::array();
        for (const Diagnostic& d : result.diagnostics)
            j["diagnostics"].push_back({{"file", d.file},
                                        {"line", d.line},
                                        {"severity", severity_word(d.severity())},
                                        {"code", code_name(d.code)},
                                        {"message", d.message}});
        j["errors"] = result.errors;
        j["warnings"] = result.warnings;
        out << j.dump(2, ' ', false, ordered_json::error_handler_t::replace) << '\n';
        return;
    }
    for (const Diagnostic& d : result.diagnostics) out << diagnostic_text(d.file, d.line, d.code, d.message) << '\n';
    out << result.errors << (result.errors == 1 ? " error, " : " errors, ") << result.warnings
        << (result.warnings == 1 ? " warning" : " warnings") << "; no running times from documents with errors\n";
}
