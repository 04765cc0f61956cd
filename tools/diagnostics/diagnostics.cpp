#include "tools/diagnostics/diagnostics.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <vector>

#include "core/compiler_limits.h"
#include "core/error_codes.h"
#include "core/field_stream.h"
#include "core/rounding.h"
#include "core/output_files.h"
#include "tools/compiled/compiled_names.h"
#include "tools/diagnostics/author_document.h"
#include "tools/diagnostics/feature_cells.h"
#include "tools/diagnostics/short_route_length.h"
#include "tools/common/record_names.h"
#include "tools/common/section_headers.h"
#include "tools/common/text_encoding.h"

namespace {

// The route length row read short, said at its line: what was read and why,
// where the grid then ends and the first row it left off.
std::string short_route_length_message(const ShortRouteLength& length, const std::string& room, const Form1& form,
                                       long long rowPosition, std::vector<NamedRow>& named) {
    const std::string rowAt = "line " + std::to_string(form.errorLine) +
                              (form.errorDocument == Document::Train ? " of the train description" : "");
    const std::string why = length.empty ? "its value is empty"
                                         : std::string(length.endedAtBlank ? "the blank" : "the comma") +
                                               " ends the number and \"" + cp1252_to_utf8(length.rest) +
                                               "\" after it is read as a further field";
    const std::string fix = length.empty ? "write the route length in metres, such as \"lunghezza percorso, 10000\""
                                         : "write the length as one number, " + meant_length(length);
    named.push_back({form.errorDocument, form.errorLine, 1, "the first row left off the grid"});
    return "the route length is read as " + std::to_string(length.length) + " m, as " + why + ": with this length " +
           room + " from the start, so the rows beyond it cannot stand on the grid (the first at " + rowAt +
           ", position " + std::to_string(rowPosition) + " m); " + fix;
}

// The n-th value (from 0) of the refused record as read, 0 when it holds no such value.
long long value_of(const Form1& form, size_t n) {
    const TracedRecord* r = refused_record(form);
    return r != nullptr && n < r->fields.size() ? r->fields[n].value : 0;
}

// The grid cell the refusal names, or `otherwise`.
long long refused_cell(const Form1& form, long long otherwise) {
    const RefusedRow* refused = reported_refusal(form);
    return refused != nullptr && refused->cell >= 0 ? refused->cell : otherwise;
}

std::string holds(const Form1& form, long long cell) {
    if (!form.grid.contains(cell)) return "lies outside the grid";
    int kind = form.grid[cell].kind;
    std::string name = cell_kind_name(kind);
    const char* article = (name[0] == 'a' || name[0] == 'i' || name[0] == 'o') ? "an " : "a ";
    return "already holds " + std::string(article) + name;
}

std::string metres(long long m) { return std::to_string(m) + " m"; }

std::string cap_message(ErrorCode code, int32_t cell) {
    const std::string where = "grid cell " + std::to_string(cell) + " (" + metres(cell_position(cell)) + ")";
    if (code == kSignalCapsTaken)
        return "no free cell for the abbattimento cap before the signal at " + where +
               ", which precedes a slow-down warning; free one of the two cells before the signal";
    if (code == kStartCapsTaken)
        return "no free cell for an abbattimento cap in the group ending at " + where +
               " before a slow-down start; free one of those cells";
    return "no free cell for an abbattimento cap around " + where +
           " inside or just after a slow-down; free one of those cells";
}

// "(line 40)" in the error's own document, "(line 40 of the line description)" in the other.
std::string line_ref(const Form1& form, const TracedRecord& r) {
    std::string text = "(line " + std::to_string(r.line);
    if (r.document != form.errorDocument)
        text += r.document == Document::Line ? " of the line description" : " of the train description";
    return text + ")";
}

std::vector<const TracedRecord*> traced(const Form1& form, RecordKind kind) {
    std::vector<const TracedRecord*> out;
    for (const TracedRecord& r : form.trace.records) {
        if (r.kind == kind) out.push_back(&r);
    }
    return out;
}

// The feature that holds a cell, named with the record that placed it: "the
// stop cell of station PIANCASTELLO", "the cell of the speed board at 15350
// m", with that record's position field when the cell stands at it; nothing
// when no traced record placed it.
struct Owner {
    std::string label;
    const TracedRecord* record;
    std::optional<int> field;
};

std::optional<Owner> owner(const Form1& form, int64_t cell) {
    if (!form.grid.contains(cell)) return std::nullopt;
    const TrackCell& c = form.grid[cell];
    CellRole role;
    if (!role_of_kind(c.kind, role) || role == CellRole::MontagnaMarker) return std::nullopt;
    // Reading stops at the first feature refused, so the first feature
    // recorded there placed it.
    const FeatureCell* holder = first_holder(form.trace, cell, role);
    if (holder == nullptr || holder->record < 0) return std::nullopt;
    const TracedRecord& r = form.trace.records[static_cast<size_t>(holder->record)];
    if (c.kind == kStationStop) {
        const auto slot = static_cast<size_t>(c.value1);
        if (slot < 1 || slot >= form.scenario.size()) return std::nullopt;
        return Owner{"the stop cell of station " + cp1252_to_utf8(form.scenario[slot].label), &r, std::nullopt};
    }
    if (r.fields.empty()) return std::nullopt;
    const std::string at = " at " + metres(r.fields[0].value);
    switch (c.kind) {
        case kSlowDownStart: return Owner{"the start cell of the slow-down" + at, &r, 1};
        case kSlowDownEnd: return Owner{"the end cell of the slow-down" + at, &r, std::nullopt};
        case kSlowDownWarning: return Owner{"the warning cell of the slow-down" + at, &r, std::nullopt};
        case kWarningApproach: return Owner{"a warning approach cell of the slow-down" + at, &r, std::nullopt};
        case kSign:
            if (r.fields.size() > 1)
                return Owner{"the cell of the indication board \"" + cp1252_to_utf8(r.fields[1].text) + "\"" + at, &r,
                             1};
            return Owner{"the cell of the indication board" + at, &r, 1};
        default: return Owner{std::string("the cell of the ") + feature_name(r.kind) + at, &r, 1};
    }
}

// The holder as the message names it, "the stop cell of station X (line 40)",
// kept as a row the message names.
std::string named_owner(const Form1& form, const Owner& who, std::vector<NamedRow>& named) {
    named.push_back({who.record->document, who.record->line, who.field, who.label});
    return who.label + " " + line_ref(form, *who.record);
}

// ", the stop cell of station X (line 40)", or ", which already holds a signal".
std::string apposition(const Form1& form, int64_t cell, std::vector<NamedRow>& named) {
    if (auto who = owner(form, cell)) return ", " + named_owner(form, *who, named);
    return ", which " + holds(form, cell);
}

// "is the stop cell of station X (line 40)", or "already holds a signal".
std::string predicate(const Form1& form, int64_t cell, std::vector<NamedRow>& named) {
    if (auto who = owner(form, cell)) return "is " + named_owner(form, *who, named);
    return holds(form, cell);
}

// Free cells nearest to a taken one, below and above, as positions: "5950 m or 6050 m".
std::string free_neighbours(const Form1& form, int64_t cell, int64_t (*position)(int64_t)) {
    std::vector<std::string> found;
    for (int64_t step = -1; step <= 1; step += 2) {
        for (int64_t c = cell + step; form.grid.contains(c) && std::abs(c - cell) <= 40; c += step) {
            if (c < 1 || !form.grid.is_free(c)) continue;
            found.push_back(metres(position(c)));
            break;
        }
    }
    if (found.empty()) return "";
    return ", such as " + found[0] + (found.size() > 1 ? " or " + found[1] : "");
}

// The message of a read failure inside a record, at the record's own line:
// the row ran out of values, a field holds text where a number belongs, or a
// number lies outside what its field holds.
std::string unfinished_message(const Form1& form, const TracedRecord& r) {
    const FieldStream::Failure& failure = form.file1.last_failure();
    const int n = static_cast<int>(r.fields.size()) + 1;  // the field that failed
    const bool ranOut = failure.what == FieldStream::Failure::What::PastEnd ||
                        (failure.what == FieldStream::Failure::What::NotANumber && failure.line != r.line);
    // A section header that holds a record's keyword is read as that record,
    // and its values are then missing: the header is the mistake.
    const std::string_view header = section_of(r.kind);
    if (is_section_header(r.keyword) && !header.empty())
        return "the section header \"" + cp1252_to_utf8(r.keyword) + "\" holds the keyword of a " + row_name(r.kind) +
               ", so the reader reads it as one, which needs " + row_contents(r.kind) + " and finds " +
               std::to_string(r.fields.size()) + "; write the header as the documents do, \"" + std::string(header) +
               "\"";
    if (ranOut)
        return "a " + row_name(r.kind) + " needs " + row_contents(r.kind) + ", this one has " +
               std::to_string(r.fields.size());
    if (failure.what == FieldStream::Failure::What::NotANumber) {
        const std::string message =
            field_name(r.kind, n) + " is \"" + cp1252_to_utf8(failure.text) + "\", not a whole number";
        // Text right after a number that ended at a blank: a unit written after it.
        const TracedField* before = r.fields.empty() ? nullptr : &r.fields.back();
        if (before != nullptr && before->number && before->runsOn && before->line == failure.line)
            return message + ": it follows the number " + std::to_string(before->value) + " after a blank, and a "
                   "unit after a number is not read; write the number only";
        return message;
    }
    if (failure.what == FieldStream::Failure::What::OutOfRange)
        return field_name(r.kind, n) + " is " + failure.text + "; it must lie between " +
               std::to_string(failure.low) + " and " + std::to_string(failure.high);
    return "this " + row_name(r.kind) + " could not be read: " + form.errorDetail;
}

// The speed-limit row whose speed the grid cannot hold: the reader refuses it
// when it writes its cells, at the next row or at the end.
const TracedRecord* refused_speed(const Form1& form) {
    const RefusedRow* refused = reported_refusal(form);
    const TracedRecord* r = refused_record(form);
    if (r == nullptr || refused->code != kReadFailure || r->kind != RecordKind::SpeedLimit) return nullptr;
    if (refused->field != 1 || r->fields.size() != 2) return nullptr;
    return r;
}

std::string refused_speed_message(const TracedRecord& r) {
    return field_name(r.kind, 2) + " is " + std::to_string(r.fields[1].value) + "; it must lie between 0 and " +
           std::to_string(kHighestSpeedLimitKmh) + " km/h";
}

std::string route_length_message(const LengthRow& row) {
    if (row.misspelt)
        return "no route length was read: \"" + cp1252_to_utf8(row.text) + "\" is not spelt \"" +
               std::string(record_format(RecordKind::RouteLength).written) + "\", so this row was passed over and nothing could be placed; "
               "correct its keyword";
    return "the line description has no route length row, so nothing could be placed; write one such as \"" +
           std::string(record_format(RecordKind::RouteLength).written) + ", 10000\" in the general section, before this line";
}

// Stations out of order, or too close: named with their neighbour.
std::string stations_message(const Form1& form, std::vector<NamedRow>& named) {
    const auto stations = traced(form, RecordKind::Station);
    const size_t slot = stations.size();  // every station before the refused one took the next slot
    if (slot < 2 || slot >= form.scenario.size()) return "";
    const ScenarioSlot& before = form.scenario[slot - 1];
    const ScenarioSlot& here = form.scenario[slot];
    const std::string name = "the previous station " + cp1252_to_utf8(before.label);
    const std::string where = line_ref(form, *stations[slot - 2]);
    const std::string previous = name + " " + where;
    const std::string station = "the station " + cp1252_to_utf8(here.label);
    const bool outOfOrder = here.long3 <= before.long3;
    // Out of order, the positions are at fault; too close, the extents.
    named.push_back({stations[slot - 2]->document, stations[slot - 2]->line,
                     outOfOrder ? std::optional<int>(1) : std::nullopt, name});
    if (outOfOrder)
        return station + " at " + metres(here.long3) + " does not come after " + name + " at " +
               metres(before.long3) + " " + where + ": the stations are out of order; list them in route order";
    if (here.long1 < before.long2)
        return station + " begins at " + metres(here.long1) + ", inside " + previous + ", which ends at " +
               metres(before.long2) + "; stations must be at least " + metres(kStationSpacing) + " apart: move one of them";
    return station + " begins at " + metres(here.long1) + ", only " + metres(here.long1 - before.long2) +
           " after " + previous + " ends at " + metres(before.long2) +
           "; stations must be at least " + metres(kStationSpacing) + " apart: move one of them";
}

}  // namespace

std::string reserved_field_message(ReservedFieldMessage number, int64_t p) {
    const char* field = number == kMarkerFieldsInUse ? "first value is reserved for the compiler's marker"
                                                     : "second value is reserved for the check code";
    return "the feature at " + metres(p) + " lands in grid cell 1, whose " + field +
           "; the compile pass stops with \" Errore n. " + std::to_string(number) +
           "\" and writes no file; move the feature " + metres(kCellMetres) + " or more along the line";
}

std::string reserved_field_diagnostic(const Form1& form, ReservedFieldMessage number, const SourceDocument& line,
                                      const SourceDocument& train) {
    const TracedRecord* holder = holder_of_cell_1(form);
    const SourceDocument& document = holder != nullptr && holder->document == Document::Line ? line : train;
    const int64_t position =
        holder != nullptr && !holder->fields.empty() && holder->fields[0].number ? holder->fields[0].value : 0;
    return diagnostic_text(document.path, holder != nullptr ? holder->line : 0, number,
                           reserved_field_message(number, position));
}

namespace {

// The sentence for a code, keeping in `named` the other rows it names.
std::string worded(const Form1& form, int32_t code, std::vector<NamedRow>& named) {
    const long long p = value_of(form, 0);
    const long long cell = cell_index(static_cast<double>(p));
    const auto at = [&] {
        return "at " + metres(p) + " falls on grid cell " + std::to_string(cell) + apposition(form, cell, named);
    };
    const std::string elsewhere = free_neighbours(form, cell, cell_position);
    const std::string last = form.grid.sized() ? std::to_string(form.grid.upper()) : "?";
    // Every code has its case and there is no default: a code without a message does not compile.
    switch (static_cast<ErrorCode>(code)) {
        case kNoError: return "no error";
        case kLineDocumentMissing:
            return "the line description document does not exist; give the path of an existing file";
        case kNoGeneralSection:
            return "no field contains \"[generale]\"; open the general section with a line \"[generale]\"";
        case kRouteTooLong:
            return "route length " + metres(p) + " is above the largest allowed, " + metres(kLongestRoute) +
                   "; shorten the route";
        case kRepetitionStartNotOnCell:
            return "signal repetition start " + metres(p) + " is not a multiple of " + std::to_string(kCellMetres) +
                   "; round it to " + metres(kCellMetres);
        case kRepetitionEndNotOnCell:
            return "signal repetition end " + metres(value_of(form, 1)) + " is not a multiple of " +
                   std::to_string(kCellMetres) + "; round it to " + metres(kCellMetres);
        case kRepetitionCodesUnnamed:
            return "the signal repetition keyword names no number of codes; it must contain \"" +
                   std::string(kRepetitionCodes[0]) + "\" or \"" + std::string(kRepetitionCodes[1]) + "\"";
        case kBadCurve: {
            // The reader refuses the curve for its length (field 1) when the
            // line would pass its last column, else for its keyword.
            const RefusedRow* refused = reported_refusal(form);
            if (refused != nullptr && refused->field == 1)
                return "the curve from " + metres(p) + " to " + metres(p + value_of(form, 1)) + " carries the line past metre " +
                       std::to_string(kLastLineColumn) + ", the last the line table holds; end it by then";
            const TracedRecord* r = refused_record(form);
            return "the curve keyword" + (r != nullptr ? " \"" + cp1252_to_utf8(r->keyword) + "\"" : std::string()) +
                   " has no class digit; write curvad1 to curvad6 or curvas1 to curvas6";
        }
        case kNoRoomOnGrid: {
            if (!form.grid.sized()) return "position " + metres(p) + " leaves no room on the grid";
            const int64_t end = int64_t{form.grid.upper()} * kCellMetres;
            const bool station = !form.trace.records.empty() && form.trace.records.back().kind == RecordKind::Station;
            const std::string room = station ? "a station may stand at most " + metres(end - kStationReach)
                                     : form.trace.on ? "a row may stand at most " + metres(end - kRowReach)
                                                     : "a row may stand at most " + metres(end - kRowReach) +
                                                           " (a station " + metres(end - kStationReach) + ")";
            if (const std::optional<ShortRouteLength> length = short_route_length(form))
                return short_route_length_message(*length, room, form, p, named);
            return "position " + metres(p) + " lies too near the end of the grid: with this route length " + room +
                   " from the start; move the row or lengthen the route";
        }
        case kIndicationBoardCellTaken:
            return "indication board " + at() + "; move the board to a free cell" + elsewhere;
        case kProgressiveNotOnCell:
            return "a kilometric progressive definition has a first or second value that is not a multiple of " +
                   std::to_string(kCellMetres) + "; round them to " + metres(kCellMetres);
        case kAbbattimentoCellTaken: {
            const long long c = refused_cell(form, profile_cell_index(static_cast<double>(p)));
            return "abbattimento at " + metres(p) + " falls on grid cell " + std::to_string(c) +
                   apposition(form, c, named) + "; move it to a free cell" + free_neighbours(form, c, profile_cell_start);
        }
        case kStationNotOnCell:
            return "station position " + metres(p) + " is not a multiple of " + std::to_string(kCellMetres) +
                   "; round it to " + metres(kCellMetres);
        case kStationLengthOdd:
            return "station length " + metres(value_of(form, 2)) + " is not a multiple of " +
                   std::to_string(kStationLengthStep) + "; round it to " + metres(kStationLengthStep);
        case kStationTooEarly:
            return "the station at " + metres(p) + " ends at or before metre 100, so it has no stop cell; "
                   "move it further along the line";
        case kStationsTooClose:
            if (std::string text = stations_message(form, named); !text.empty()) return text;
            return "the station at " + metres(p) + " begins less than " + metres(kStationSpacing) +
                   " after the previous station ends; move the stations apart";
        case kStationSlotsUsedUp:
            return "too many stations: the station slots below the indication board captions are used up "
                   "(with S indication boards at most " + std::to_string(kMostStations) + " - S stations)";
        case kSignalCellTaken: return "signal " + at() + "; move the signal to a free cell" + elsewhere;
        case kWarningCellTaken: {
            const long long w = refused_cell(form, -1);
            return "the warning cell " + std::to_string(w) + " of the slow-down at " + metres(p) + ", " +
                   metres(kWarningDistance) + " before its start, " + predicate(form, w, named) +
                   "; move the slow-down";
        }
        case kStartCellTaken: return "slow-down start " + at() + "; move the slow-down";
        case kEndCellTaken: {
            const long long e = refused_cell(form, -1);
            return "the end of the slow-down at " + metres(p) + " falls on grid cell " + std::to_string(e) +
                   apposition(form, e, named) + "; change its length";
        }
        case kApproachCellTaken: {
            if (const long long taken = refused_cell(form, -1); taken >= 0)
                return "the warning approach cell " + std::to_string(taken) + " of the slow-down at " + metres(p) +
                       " " + predicate(form, taken, named) + "; move the slow-down or set its approach switch to 0";
            return "one of the four warning approach cells of the slow-down at " + metres(p) +
                   " is not free; move the slow-down or set its approach switch to 0";
        }
        case kSpeedBoardCellTaken:
            return "speed board " + at() + "; move the board to a free cell" + elsewhere;
        case kSignalCapsTaken:
        case kStartCapsTaken:
        case kInsideCapsTaken: return cap_message(static_cast<ErrorCode>(code), form.errorCell);
        case kReadFailure:
            if (const TracedRecord* r = unfinished_record(form)) return unfinished_message(form, *r);
            if (form.errorDocument == Document::Train) {
                if (const TracedRecord* r = refused_speed(form)) return refused_speed_message(*r);
            }
            if (missing_route_length(form) && form.trace.on) return route_length_message(route_length_row(form));
            if (!form.errorDetail.empty()) return "the document could not be read: " + form.errorDetail;
            return "the document could not be read: a number does not fit its field or is not a whole number, "
                   "a speed limit is above " + std::to_string(kHighestSpeedLimitKmh) +
                   " km/h, the document ends inside a record, or it is missing";
        case kNegativePosition:
            return "negative position " + metres(p) + "; positions are metres from the start of the route";
        case kStretchBeyondGrid:
            return "the montagna stretch ending at " + metres(value_of(form, 1)) +
                   " runs beyond the end of the grid (route length + " + metres(kRunOnMetres) + "); end it earlier";
        case kStretchListFull:
            return "more than " + std::to_string(kMostMontagnaStretches) + " montagna stretches; join some of them";
        case kBoardListFull:
            return "more than " + std::to_string(kMostIndicationBoards) + " indication boards; remove some";
        case kBoardValueTooLarge:
            return "the speed board at " + metres(p) +
                   " has a speed too high for its cell; keep vas, vbs and vcs at or below " +
                   std::to_string(kHighestBoardSpeedKmh) + " km/h";
        case kCurveBeyondLine:
            return "the curve ending at " + metres(p + value_of(form, 1)) +
                   " runs beyond the end of the line (route length + " + metres(kRunOnMetres) + "); shorten it";
        case kGradientsCrowded:
            return "gradient rows are crowded so close to the end of the route that they run past the last "
                   "grid cell; space them at least " + metres(kCellMetres) + " apart";
        case kStationBeyondGrid:
            return "the station at " + metres(p) + " would have its stop cell beyond the last grid cell " + last +
                   "; shorten it or lengthen the route";
        case kSlowDownOutside:
            return "the slow-down at " + metres(p) + " reaches outside the grid; shorten it or move it";
        case kNegativeRouteLength: return "route length " + metres(p) + " is negative";
        case kLabelTooLong:
            return "a station name or indication board caption is longer than the " + std::to_string(kLongestLabel) +
                   " characters a label holds";
        case kDocumentMisplaced:
            return "a description document is given in the other document's place; give the line description first "
                   "and the train description second";
    }
    return "unknown error";
}

}  // namespace

ErrorText error_text(const Form1& form, int32_t code) {
    ErrorText text;
    text.message = worded(form, code, text.related);
    return text;
}

std::string error_message(const Form1& form, int32_t code) { return error_text(form, code).message; }

std::string diagnostic_text(const std::string& file, int32_t line, Code code, const std::string& message) {
    std::string out = file;
    if (line > 0) out.append(":").append(std::to_string(line));
    out.append(": ").append(severity_word(code.severity())).append(" ").append(code_name(code));
    out.append(": ").append(message);
    return out;
}

ErrorText reported_error_text(const Form1& form, const SourceDocument& line, const SourceDocument& train) {
    const int32_t code = reported_error(form);
    const ErrorPlace place = error_place(form, line, train);
    if (code == kLineDocumentMissing) return {unreadable_document_message("line", line.absence), {}};
    if (code == kReadFailure && !place.document->exists)
        return {unreadable_document_message(place.document == &line ? "line" : "train", place.document->absence), {}};
    return error_text(form, code);
}

std::string reported_error_message(const Form1& form, const SourceDocument& line, const SourceDocument& train) {
    return reported_error_text(form, line, train).message;
}

std::string diagnostic(const Form1& form, const SourceDocument& line, const SourceDocument& train) {
    const ErrorPlace place = error_place(form, line, train);
    return diagnostic_text(place.document->path, place.line, reported_error(form),
                           reported_error_message(form, line, train));
}
