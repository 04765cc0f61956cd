// Warnings of values stored other than they are written: values too wide for
// their fields, a speed off the grid's steps, a position off the cells, an
// empty number read as 0, times and counts out of range stored as written,
// text that is not Windows-1252.
#include "tools/diagnostics/stored_value_warnings.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/field_stream.h"
#include "core/rounding.h"
#include "tools/common/record_names.h"
#include "tools/diagnostics/feature_cells.h"
#include "tools/diagnostics/warning_finder.h"

namespace warning_rules {
namespace {

// Whether the bytes hold a well-formed UTF-8 sequence of two bytes or more.
bool has_utf8_sequence(std::string_view s) {
    for (size_t i = 0; i < s.size(); ++i) {
        const auto lead = static_cast<unsigned char>(s[i]);
        size_t length = lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3
                                                           : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                                                          : 0;
        if (length == 0 || i + length > s.size()) continue;
        bool continued = true;
        for (size_t k = 1; k < length; ++k)
            continued = continued && (static_cast<unsigned char>(s[i + k]) & 0xC0) == 0x80;
        if (continued) return true;
    }
    return false;
}

// The name of a narrowed value in a message.
const char* stored_name(StoredValue what) {
    switch (what) {
        case StoredValue::SignalAspect1: return "the first aspect value s1 * 10 + d1";
        case StoredValue::SignalAspect2: return "the second aspect value s2 * 10 + d2";
        case StoredValue::SignalAspect3: return "the third aspect value s3 * 10 + d3";
        case StoredValue::SignalRepetition: return "the value rapp * 10 + sx * 3 + dx";
        case StoredValue::SignalApproachCode: return "the approach code (sx * 3 + dx) * 10 + 4";
        case StoredValue::SignalTimeCode: return "the time code";
        case StoredValue::SlowDownSpeed: return "the slow-down speed";
        case StoredValue::SlowDownTime: return "the value f_tt";
        case StoredValue::SlowDownValue: return "the value d_v";
        case StoredValue::AbbattimentoValue: return "the abbattimento value";
        case StoredValue::BoardStripes: return "the stripes value strisces * 10 + strisced";
        case StoredValue::MontagnaType: return "the montagna type";
        case StoredValue::SpeedLimit:
        case StoredValue::Adhesion:
        case StoredValue::Gradient: break;  // warned about on their own
    }
    return "the value";
}

void narrowed(WarningFinder& finder, bool (*wanted)(StoredValue)) {
    const int32_t lowestGradient = gradient_of_byte(0);
    const int32_t highestGradient = gradient_of_byte(UINT8_MAX);
    for (const NarrowedValue& n : finder.form.trace.narrowed) {
        if (n.record < 0 || !wanted(n.what)) continue;
        const TracedRecord& r = finder.form.trace.records[static_cast<size_t>(n.record)];
        const std::optional<int64_t> position =
            r.fields.empty() ? std::nullopt : std::optional<int64_t>(r.fields[0].value);
        switch (n.what) {
            case StoredValue::SpeedLimit:
                finder.add(Warning::SpeedNotStep, r.document, r.line,
                    "speed limit " + std::to_string(n.value) + " km/h is not a multiple of " +
                        std::to_string(kSpeedStepKmh) + " km/h; the grid holds speeds in steps of " +
                        std::to_string(kSpeedStepKmh) + " km/h, so " + std::to_string(n.stored) +
                        " km/h is stored; write the multiple of " + std::to_string(kSpeedStepKmh) + " you mean",
                    position);
                finder.last().field = 2;
                finder.last().fix = Fix{2, std::to_string(n.stored)};
                break;
            case StoredValue::Adhesion:
                finder.add(Warning::AdhesionNarrowed, r.document, r.line,
                    "adhesion " + std::to_string(n.value) + " % does not fit its field, which holds 0 to " +
                        std::to_string(UINT8_MAX) + "; its low eight bits are stored, " + std::to_string(n.stored) +
                        " %; write the adhesion in percent, such as 90",
                    position);
                break;
            case StoredValue::Gradient:
                finder.add(Warning::GradientNarrowed, r.document, r.line,
                    "gradient " + std::to_string(n.value) + " per mille is outside " + std::to_string(lowestGradient) +
                        " to " + std::to_string(highestGradient) + ": its cell keeps the gradient plus " +
                        std::to_string(kGradientOffset) + " in eight bits, so " + std::to_string(n.stored) +
                        " per mille is stored; check the value",
                    position);
                break;
            default:
                finder.add(Warning::ValueNarrowed, r.document, r.line,
                    std::string(feature_name(r.kind)) + ": " + stored_name(n.what) + " is " + std::to_string(n.value) +
                        ", which does not fit its " + std::to_string(stored_bits(n.what)) +
                        "-bit field; its low bits are stored, " + std::to_string(n.stored) +
                        "; check the record's values",
                    position);
        }
    }
}

void utf8_text_in(WarningFinder& finder, Document document, const AuthorDocument& source) {
    if (!source.text) return;
    const int32_t from = finder.form.trace.generalLine[static_cast<int>(document)];
    if (from == 0) return;
    const auto lines = document_lines(*source.text);
    for (size_t i = static_cast<size_t>(from); i < lines.size(); ++i) {
        if (!has_utf8_sequence(lines[i])) continue;
        const std::string text = trimmed(lines[i]);
        finder.add(Warning::Utf8Text, document, static_cast<int32_t>(i + 1),
            "this line looks like UTF-8 text (\"" + text + "\"), but the documents are Windows-1252: the simulator "
            "shows it as " + quoted(text) + "; save the document in Windows-1252");
    }
}

}  // namespace

// Values the readers and the placement stored other than written, as the
// read trace recorded them: speed limits, adhesions and gradients each on
// their own, the values of features together.
void speed_limits(WarningFinder& finder) {
    narrowed(finder, [](StoredValue w) { return w == StoredValue::SpeedLimit; });
}

void adhesions(WarningFinder& finder) { narrowed(finder, [](StoredValue w) { return w == StoredValue::Adhesion; }); }

void narrowed_values(WarningFinder& finder) {
    narrowed(finder, [](StoredValue w) {
        return w != StoredValue::SpeedLimit && w != StoredValue::Adhesion && w != StoredValue::Gradient;
    });
}

void empty_numbers(WarningFinder& finder) {
    for (const TracedRecord& r : finder.form.trace.records) {
        for (size_t i = 0; i < r.fields.size(); ++i) {
            if (!r.fields[i].number || !r.fields[i].empty) continue;
            // A speed board's right-hand speeds stay empty in the built-in boards on purpose.
            const bool rightSpeed = i >= kBoardRightSpeedFields.first && i <= kBoardRightSpeedFields.last;
            if (r.kind == RecordKind::SpeedBoard && rightSpeed) continue;
            finder.add(Warning::EmptyNumber, r.document, r.fields[i].line,
                "value " + std::to_string(i + 1) + " of the " + feature_name(r.kind) + " (" + line_ref(r.line) +
                    ") is empty and read as 0; write the value, or 0 if 0 is meant");
            // The record's own line, named when the value stands on a later one.
            if (r.fields[i].line != r.line) finder.relate(r, 0, std::string("the ") + feature_name(r.kind) + " row");
        }
    }
}

void gradients(WarningFinder& finder) { narrowed(finder, [](StoredValue w) { return w == StoredValue::Gradient; }); }

// Features placed on the nearest cell to a position that is not a cell's own.
void moved_positions(WarningFinder& finder) {
    for (const MovedPosition& m : finder.form.trace.moved) {
        if (m.record < 0) continue;
        const TracedRecord& r = finder.form.trace.records[static_cast<size_t>(m.record)];
        const bool feature = r.kind == RecordKind::Signal || r.kind == RecordKind::SpeedBoard ||
                             r.kind == RecordKind::IndicationBoard || r.kind == RecordKind::SlowDown ||
                             r.kind == RecordKind::Abbattimento;
        if (!feature) continue;
        finder.add(Warning::PositionMoved, r.document, r.line,
            std::string(feature_name(r.kind)) + " at " + metres(m.position) + " is not on a multiple of " +
                metres(kCellMetres) + "; it lands on grid cell " + std::to_string(m.cell) + ", the cell of " +
                metres(m.landed) + "; write " + std::to_string(m.landed) + " or the multiple of " +
                std::to_string(kCellMetres) + " you mean",
            m.position, m.cell);
        finder.last().field = 1;
        finder.last().fix = Fix{1, std::to_string(m.landed)};
    }
}

void utf8_text(WarningFinder& finder) {
    utf8_text_in(finder, Document::Line, finder.lineDocument);
    utf8_text_in(finder, Document::Train, finder.trainDocument);
}

void scheduled_times(WarningFinder& finder) {
    for (const auto& [r, slot] : finder.stored_stations()) {
        const ScenarioSlot& stored = *slot;
        const int64_t hours = r->fields[kStationTimeFields.first].value;
        const int64_t minutes = r->fields[kStationTimeFields.first + 1].value;
        const int64_t seconds = r->fields[kStationTimeFields.first + 2].value;
        if (minutes >= 0 && minutes < 60 && seconds >= 0 && seconds < 60) continue;
        if (stored.long4 < 0) continue;  // told as a value too wide elsewhere
        finder.add(Warning::TimeCarried, r->document, r->line,
            "the scheduled time " + std::to_string(hours) + "," + std::to_string(minutes) + "," +
                std::to_string(seconds) + " of " + quoted(r->fields[kStationNameField].text) + " has " +
                (minutes < 0 || minutes >= 60 ? "minutes" : "seconds") + " outside 0 to 59; it is stored as " +
                std::to_string(stored.long4) + " seconds after midnight, " + clock_text(stored.long4) +
                "; write hours, minutes and seconds, such as " + std::to_string(stored.long4 / 3600) + "," +
                std::to_string(stored.long4 / 60 % 60) + "," + std::to_string(stored.long4 % 60),
            r->fields[0].value);
    }
}

// The clock is stored as three numbers, hours, minutes and seconds, each as written.
void clock_values(WarningFinder& finder) {
    const TracedRecord* r = finder.last_complete(RecordKind::Clock);
    if (r == nullptr) return;
    const ScenarioSlot& train = finder.form.scenario[kSlotTrain];
    const bool hoursOut = train.int3 < 0 || train.int3 >= 24;
    const bool restOut = train.int4 < 0 || train.int4 >= 60 || train.int5 < 0 || train.int5 >= 60;
    if (!hoursOut && !restOut) return;
    finder.add(Warning::ClockOutOfRange, r->document, r->line,
        "the clock is set to " + std::to_string(train.int3) + " h " + std::to_string(train.int4) + " min " +
            std::to_string(train.int5) + " s and stored so, but " +
            (hoursOut ? "hours run from 0 to 23" : "minutes and seconds run from 0 to 59") +
            " and nothing is carried over; write the time of day the run starts, such as 9 37 0");
}

void number_of_cars(WarningFinder& finder) {
    const TracedRecord* r = finder.last_complete(RecordKind::Cars);
    if (r == nullptr) return;
    const int32_t cars = finder.form.scenario[kSlotGeneral].long3;
    if (cars > 0) return;
    finder.add(Warning::NoCars, r->document, r->line,
        "the number of cars is " + std::to_string(cars) + " and is stored so: the train has no cars; "
        "write how many cars it has, such as 8");
}

// Montagna stretches as the placement stored them: the cells they cover and their type.
void montagna_stretches(WarningFinder& finder) {
    for (const MontagnaStretch& m : finder.form.trace.stretches) {
        if (m.record < 0) continue;
        const TracedRecord& r = finder.form.trace.records[static_cast<size_t>(m.record)];
        if (!complete(r)) continue;
        const int64_t start = r.fields[0].value;
        const int64_t end = r.fields[1].value;
        const int64_t type = r.fields[2].value;
        if (m.first > m.last) {
            finder.add(Warning::StretchVanishes, r.document, r.line,
                "the montagna stretch from " + metres(start) + " to " + metres(end) + " ends " +
                    (end < start ? "before it starts" : "too close after its start") +
                    ", so it covers no grid cell and nothing of it is stored; write its end after its start",
                start);
            continue;
        }
        const bool narrowed = std::any_of(finder.form.trace.narrowed.begin(), finder.form.trace.narrowed.end(),
                                          [&](const NarrowedValue& n) { return n.record == m.record; });
        if ((type >= 1 && type <= 2 * kMontagnaMarkerTypes) || narrowed) continue;
        finder.add(Warning::MontagnaTypeUnknown, r.document, r.line,
            "montagna type " + std::to_string(type) + " is outside 1 to " + std::to_string(2 * kMontagnaMarkerTypes) +
                " (1 to " + std::to_string(kMontagnaMarkerTypes) + ", or " +
                std::to_string(kMontagnaMarkerTypes + 1) + " to " + std::to_string(2 * kMontagnaMarkerTypes) +
                " with markers); type " + std::to_string(m.type) + " is stored in its cells; write the type you mean",
            start);
    }
}

void empty_station_names(WarningFinder& finder) {
    for (const auto& [r, stored] : finder.stored_stations()) {
        if (!stored->label.empty()) continue;
        finder.add(Warning::StationNameEmpty, r->document, r->line,
            "the station at " + metres(r->fields[0].value) + " has an empty name: the timetable and the "
            "simulator show no name for it; write its name after the last number",
            r->fields[0].value);
    }
}

}  // namespace warning_rules
