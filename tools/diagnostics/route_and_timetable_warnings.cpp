// Warnings of the route's layout and the timetable: profiles and curves out
// of order or overlapping, stop cells over features, speed changes with no
// board, station names given twice, scheduled times that cannot be kept.
#include "tools/diagnostics/route_and_timetable_warnings.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/rounding.h"
#include "tools/diagnostics/feature_cells.h"
#include "tools/diagnostics/warning_finder.h"

namespace warning_rules {
namespace {

// A speed-limit change wants a speed board at it or up to this far before it.
constexpr int64_t kBoardReach = 1000;

std::string duration_text(double seconds) {
    const auto whole = static_cast<long long>(std::ceil(seconds));
    return std::to_string(whole / 60) + " min " + std::to_string(whole % 60) + " s";
}

// Profile rows fill cells from where the last row left off, at least one cell
// each: the reader records a row whose own cell was already filled, which
// takes effect further on.
void rows_of_kind_out_of_order(WarningFinder& finder, RecordKind kind, const char* what) {
    for (const MovedPosition& m : finder.form.trace.moved) {
        if (m.record < 0) continue;
        const TracedRecord& r = finder.form.trace.records[static_cast<size_t>(m.record)];
        if (r.kind != kind) continue;
        // The row read before it, whose cells it falls among.
        const TracedRecord* previous = nullptr;
        for (const TracedRecord* earlier : finder.records(kind)) {
            if (earlier == &r) break;
            if (complete(*earlier)) previous = earlier;
        }
        if (previous == nullptr) continue;
        finder.add(Warning::RowsOutOfOrder, r.document, r.line,
            std::string("the ") + what + " row at " + metres(m.position) + " comes after the row at " +
                metres(previous->fields[0].value) + ", further along the route; rows must increase, and this one "
                "takes effect from " + metres(m.landed) + ", not where it is written; put the rows in order",
            m.position);
        finder.relate(*previous, 1, std::string("the ") + what + " row at " + metres(previous->fields[0].value));
    }
}

}  // namespace

// Scheduled times along the route: backwards, faster than the speed limit
// allows, or before the clock starts.
void timetable(WarningFinder& finder) {
    struct Scheduled {
        const TracedRecord* record;
        int64_t position;
        int64_t time;
    };
    std::vector<Scheduled> stops;
    for (const TracedRecord* r : finder.records(RecordKind::Station)) {
        if (!complete(*r)) continue;
        const int64_t time =
            (r->fields[kStationTimeFields.first].value * 60 + r->fields[kStationTimeFields.first + 1].value) * 60 +
            r->fields[kStationTimeFields.first + 2].value;
        if (time != 0) stops.push_back({r, r->fields[0].value, time});
    }
    const auto name = [](const TracedRecord* r) { return quoted(r->fields[kStationNameField].text); };
    constexpr int kTimeField = static_cast<int>(kStationTimeFields.first) + 1;  // its hours, as a field is numbered
    for (size_t i = 1; i < stops.size(); ++i) {
        const Scheduled& a = stops[i - 1];
        const Scheduled& b = stops[i];
        if (b.time < a.time) {
            finder.add(Warning::TimesBackwards, b.record->document, b.record->line,
                "the scheduled time " + clock_text(b.time) + " at " + name(b.record) + " is earlier than " +
                    clock_text(a.time) + " at " + name(a.record) + " (" + line_ref(a.record->line) +
                    "), which comes before it along the route; correct one of the two times",
                b.position);
            finder.relate(*a.record, kTimeField, "the scheduled time at " + name(a.record));
            continue;
        }
        // The shortest time at the speed limit, cell by cell, from one to the other.
        if (!finder.form.grid.sized()) continue;
        const int64_t from = std::max<int64_t>(0, profile_cell_index(static_cast<double>(a.position)));
        const int64_t to =
            std::min<int64_t>(finder.form.grid.upper(), profile_cell_index(static_cast<double>(b.position)));
        double seconds = 0.0;
        bool stopped = false;
        for (int64_t c = from; c < to; ++c) {
            const int step = finder.form.grid[c].aux1;
            if (step == 0) {
                stopped = true;
                break;
            }
            seconds += static_cast<double>(kCellMetres) / (static_cast<double>(speed_of_step(step)) / 3.6);
        }
        const int64_t allowed = b.time - a.time;
        if (stopped || to <= from || seconds <= static_cast<double>(allowed)) continue;
        finder.add(Warning::TimeTooShort, b.record->document, b.record->line,
            name(b.record) + " is scheduled " + duration_text(static_cast<double>(allowed)) + " after " +
                name(a.record) + " (" + line_ref(a.record->line) + "), but even at the speed limit all the way the "
                "train needs " + duration_text(seconds) + "; give it a later time or raise the limits",
            b.position);
        finder.relate(*a.record, kTimeField, "the scheduled time at " + name(a.record));
    }
    const auto clocks = finder.records(RecordKind::Clock);
    if (!clocks.empty() && complete(*clocks.back()) && !stops.empty()) {
        const TracedRecord* clock = clocks.back();
        const int64_t start =
            (clock->fields[0].value * 60 + clock->fields[1].value) * 60 + clock->fields[2].value;
        if (start > stops.front().time) {
            finder.add(Warning::ClockAfterDeparture, clock->document, clock->line,
                "the clock starts at " + clock_text(start) + ", after the first scheduled time, " +
                    clock_text(stops.front().time) + " at " + name(stops.front().record) + " (" +
                    line_ref(stops.front().record->line) + "): the train is late before it moves; start the clock "
                    "before that time");
            finder.relate(*stops.front().record, kTimeField,
                          "the first scheduled time, at " + name(stops.front().record));
        }
    }
}

void limits_without_boards(WarningFinder& finder) {
    std::vector<int64_t> boards;
    for (const TracedRecord* r : finder.records(RecordKind::SpeedBoard)) {
        if (!r->fields.empty()) boards.push_back(r->fields[0].value);
    }
    bool first = true;
    int64_t previous = 0;
    for (const TracedRecord* r : finder.records(RecordKind::SpeedLimit)) {
        if (!complete(*r)) continue;
        const int64_t p = r->fields[0].value;
        const int64_t v = r->fields[1].value;
        const bool change = !first && v != previous;
        first = false;
        previous = v;
        if (!change) continue;
        const bool board = std::any_of(boards.begin(), boards.end(),
                                       [&](int64_t b) { return b <= p && b >= p - kBoardReach; });
        if (board) continue;
        finder.add(Warning::LimitWithoutBoard, r->document, r->line,
            "the speed limit changes to " + std::to_string(v) + " km/h at " + metres(p) +
                ", but the line description has no speed board there or up to " + metres(kBoardReach) +
                " before it, so the driver is not told; add an indicatori_vmax row or move the change to a board",
            p);
    }
}

void station_names(WarningFinder& finder) {
    std::map<std::string, const TracedRecord*> seen;
    for (const TracedRecord* r : finder.records(RecordKind::Station)) {
        if (!complete(*r)) continue;
        const std::string& name = r->fields[kStationNameField].text;
        auto [it, fresh] = seen.emplace(name, r);
        if (fresh) continue;
        finder.add(Warning::StationNameRepeated, r->document, r->line,
            "a station named " + quoted(name) + " already stands at " + metres(it->second->fields[0].value) + " (" +
                line_ref(it->second->line) + "); the timetable and the simulator cannot tell them apart; rename one",
            r->fields[0].value);
        finder.relate(*it->second, static_cast<int>(kStationNameField) + 1, "the first station named " + quoted(name));
    }
}

// Station stop cells are written without the free-cell test: a feature placed
// on that cell before the station is read disappears.
void stop_cells_over_features(WarningFinder& finder) {
    const auto& cells = finder.form.trace.cells;
    for (size_t i = 0; i < cells.size(); ++i) {
        if (cells[i].role != CellRole::StationStop || cells[i].record < 0) continue;
        const TracedRecord* station = &finder.form.trace.records[static_cast<size_t>(cells[i].record)];
        const FeatureCell* holder = last_holder(finder.form.trace, cells[i].cell, i);
        if (holder == nullptr || holder->record < 0 || !complete(*station)) continue;
        const TracedRecord* lost = &finder.form.trace.records[static_cast<size_t>(holder->record)];
        const std::string where = lost->document == station->document
                                      ? line_ref(lost->line)
                                      : line_ref(lost->line) + " of the line description";
        finder.add(Warning::StopCellOverFeature, station->document, station->line,
            "the stop cell of station " + quoted(station->fields[kStationNameField].text) + " is grid cell " +
                std::to_string(cells[i].cell) + ", which already holds the " + feature_name(lost->kind) + " at " +
                metres(lost->fields[0].value) + " (" + where + "); stop cells are written without a test, so the " +
                feature_name(lost->kind) + " disappears; move one of the two",
            station->fields[0].value, cells[i].cell);
        finder.relate(*lost, 1,
                      std::string("the ") + feature_name(lost->kind) + " at " + metres(lost->fields[0].value));
    }
}

void rows_out_of_order(WarningFinder& finder) {
    rows_of_kind_out_of_order(finder, RecordKind::SpeedLimit, "speed-limit");
    rows_of_kind_out_of_order(finder, RecordKind::Adhesion, "adhesion");
    rows_of_kind_out_of_order(finder, RecordKind::Gradient, "gradient");
}

void profiles_starting_late(WarningFinder& finder) {
    const int32_t general = finder.form.trace.generalLine[static_cast<int>(Document::Train)];
    if (general == 0 || !finder.train_read()) return;
    const std::pair<RecordKind, const char*> profiles[] = {{RecordKind::SpeedLimit, "speed limit"},
                                                           {RecordKind::Adhesion, "adhesion"}};
    for (const auto& [kind, what] : profiles) {
        const auto rows = finder.records(kind);
        if (rows.empty()) {
            finder.add(Warning::ProfileStartsLate, Document::Train, general,
                std::string("the train description has no ") + what + " row, so the " + what +
                    " is 0 along the whole route; add a row at 0 m");
        } else if (!rows.front()->fields.empty() &&
                   profile_cell_index(static_cast<double>(rows.front()->fields[0].value)) > 0) {
            finder.add(Warning::ProfileStartsLate, Document::Train, rows.front()->line,
                std::string("the first ") + what + " row stands at " + metres(rows.front()->fields[0].value) +
                    ", so the " + what + " is 0 from the start of the route up to it; add a row at 0 m",
                rows.front()->fields[0].value);
        }
    }
}

// Curves turn the line from the column where the previous one left off: a
// curve that starts inside the one before it turns only from that one's end.
void overlapping_curves(WarningFinder& finder) {
    const TracedRecord* previous = nullptr;
    for (const TracedRecord* r : finder.records(RecordKind::Curve)) {
        if (!complete(*r)) continue;
        if (previous != nullptr) {
            const int64_t before = previous->fields[0].value + previous->fields[1].value;
            const int64_t start = r->fields[0].value;
            const int64_t end = start + r->fields[1].value;
            if (start < before) {
                finder.add(Warning::CurvesOverlap, r->document, r->line,
                    "the curve from " + metres(start) + " starts before the curve before it (" +
                        line_ref(previous->line) + ") ends at " + metres(before) + "; the line turns by this curve " +
                        (end > before ? "only from " + metres(before) + " to " + metres(end)
                                      : std::string("nowhere")) +
                        "; start it at " + metres(before) + " or later",
                    start);
                finder.relate(*previous, std::nullopt, "the curve before it");
            }
        }
        if (previous == nullptr || r->fields[0].value + r->fields[1].value > previous->fields[0].value +
                                                                               previous->fields[1].value)
            previous = r;
    }
}

}  // namespace warning_rules
