#include "tools/diagnostics.h"

#include <cstdlib>
#include <vector>

#include "core/error_codes.h"
#include "core/field_stream.h"
#include "tools/dump.h"

namespace {

// The n-th value of the record (1 = first after the keyword) as a number.
long long value_of(const std::vector<std::string>& f, size_t n) {
    return n < f.size() ? std::strtoll(f[n].c_str(), nullptr, 10) : 0;
}

std::string holds(const Form1& form, long long cell) {
    if (!form.grid.contains(cell)) return "lies outside the grid";
    int kind = form.grid[cell].kind;
    std::string name = cell_kind_name(kind);
    const char* article = (name[0] == 'a' || name[0] == 'i' || name[0] == 'o') ? "an " : "a ";
    return "already holds " + std::string(article) + name;
}

std::string metres(long long m) { return std::to_string(m) + " m"; }


// The first progressive definition row whose first or second value is not a multiple of 50.
int32_t bad_progressive_line(const std::string& text) {
    const auto lines = document_lines(text);
    for (size_t n = 0; n < lines.size(); ++n) {
        if (!contiene_esatto(lines[n], "progressiva")) continue;
        const auto f = line_fields(lines[n]);
        if (value_of(f, 1) % 50 != 0 || value_of(f, 2) % 50 != 0) return static_cast<int32_t>(n + 1);
    }
    return 0;
}

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

}  // namespace

std::string line_of(const std::string& text, int32_t wanted) {
    const auto lines = document_lines(text);
    return wanted >= 1 && static_cast<size_t>(wanted) <= lines.size()
               ? std::string(lines[static_cast<size_t>(wanted) - 1])
               : std::string();
}

std::string reserved_field_message(int32_t number, const std::string& row) {
    const long long p = value_of(line_fields(row), 1);
    const char* field = number == kMarkerFieldsInUse ? "first value is reserved for the compiler's marker"
                                                     : "second value is reserved for the check code";
    return "the feature at " + metres(p) + " lands in grid cell 1, whose " + field +
           "; the compile pass stops with \" Errore n. " + std::to_string(number) +
           "\" and writes no file; move the feature 50 m or more along the line";
}

std::string error_message(const Form1& form, int32_t code, const std::string& row) {
    const auto f = line_fields(row);
    const long long p = value_of(f, 1);
    const long long cell = cell_index(static_cast<double>(p));
    const std::string at = "at " + metres(p) + " falls on grid cell " + std::to_string(cell) + ", which ";
    const std::string last = form.grid.sized() ? std::to_string(form.grid.upper()) : "?";
    // Every code has its case and there is no default: a code without a message does not compile.
    switch (static_cast<ErrorCode>(code)) {
        case kNoError: return "no error";
        case kLineDocumentMissing:
            return "the line description document does not exist; give the path of an existing file";
        case kNoGeneralSection:
            return "no field contains \"[generale]\"; open the general section with a line \"[generale]\"";
        case kRouteTooLong:
            return "route length " + metres(p) + " is above the largest allowed, 1000000 m; shorten the route";
        case kRepetitionStartNotOnCell:
            return "signal repetition start " + metres(p) + " is not a multiple of 50; round it to 50 m";
        case kRepetitionEndNotOnCell:
            return "signal repetition end " + metres(value_of(f, 2)) + " is not a multiple of 50; round it to 50 m";
        case kRepetitionCodesUnnamed:
            return "the signal repetition keyword names no number of codes; it must contain \"4\" or \"9\"";
        case kBadCurve:
            return "the curve keyword has no class digit, or the curves carry the line past metre 1000000; "
                   "write curvad1 to curvad6 or curvas1 to curvas6";
        case kNoRoomOnGrid: {
            if (!form.grid.sized()) return "position " + metres(p) + " leaves no room on the grid";
            const int64_t end = int64_t{form.grid.upper()} * kCellMetres;
            return "position " + metres(p) + " lies too near the end of the grid: with this route length a row "
                   "may stand at most " + metres(end - 100) + " from the start, a station at most " +
                   metres(end - 800) + "; move the row or lengthen the route";
        }
        case kIndicationBoardCellTaken:
            return "indication board " + at + holds(form, cell) + "; move the board to a free cell";
        case kProgressiveNotOnCell:
            return "a kilometric progressive definition has a first or second value that is not a multiple of 50; "
                   "round them to 50 m";
        case kAbbattimentoCellTaken: {
            const long long c = profile_cell_index(static_cast<double>(p));
            return "abbattimento at " + metres(p) + " falls on grid cell " + std::to_string(c) + ", which " +
                   holds(form, c) + "; move it to a free cell";
        }
        case kStationNotOnCell:
            return "station position " + metres(p) + " is not a multiple of 50; round it to 50 m";
        case kStationLengthOdd:
            return "station length " + metres(value_of(f, 3)) + " is not a multiple of 100; round it to 100 m";
        case kStationTooEarly:
            return "the station at " + metres(p) + " ends at or before metre 100, so it has no stop cell; "
                   "move it further along the line";
        case kStationsTooClose:
            return "the station at " + metres(p) +
                   " begins less than 350 m after the previous station ends; move the stations apart";
        case kStationSlotsUsedUp:
            return "too many stations: the station slots below the indication board captions are used up "
                   "(with S indication boards at most 78 - S stations)";
        case kSignalCellTaken: return "signal " + at + holds(form, cell) + "; move the signal to a free cell";
        case kWarningCellTaken: {
            const long long w = cell_index(static_cast<double>(p - 1200));
            return "the warning cell " + std::to_string(w) + " of the slow-down at " + metres(p) +
                   ", 1200 m before its start, " + holds(form, w) + "; move the slow-down";
        }
        case kStartCellTaken: return "slow-down start " + at + holds(form, cell) + "; move the slow-down";
        case kEndCellTaken: {
            const long long e = cell_index(static_cast<double>(p + value_of(f, 3)));
            return "the end of the slow-down at " + metres(p) + " falls on grid cell " + std::to_string(e) +
                   ", which " + holds(form, e) + "; change its length";
        }
        case kApproachCellTaken:
            return "one of the four warning approach cells of the slow-down at " + metres(p) +
                   " is not free; move the slow-down or set its approach switch to 0";
        case kSpeedBoardCellTaken:
            return "speed board " + at + holds(form, cell) + "; move the board to a free cell";
        case kSignalCapsTaken:
        case kStartCapsTaken:
        case kInsideCapsTaken: return cap_message(static_cast<ErrorCode>(code), form.errorCell);
        case kReadFailure:
            if (!form.errorDetail.empty()) return "the document could not be read: " + form.errorDetail;
            return "the document could not be read: a number does not fit its field or is not a whole number, "
                   "a speed limit is above 1277 km/h, the document ends inside a record, or it is missing";
        case kNegativePosition:
            return "negative position " + metres(p) + "; positions are metres from the start of the route";
        case kStretchBeyondGrid:
            return "the montagna stretch ending at " + metres(value_of(f, 2)) +
                   " runs beyond the end of the grid (route length + 7000 m); end it earlier";
        case kStretchListFull: return "more than 80 montagna stretches; join some of them";
        case kBoardListFull: return "more than 80 indication boards; remove some";
        case kBoardValueTooLarge:
            return "the speed board at " + metres(p) +
                   " has a speed too high for its cell; keep vas, vbs and vcs at or below 1638 km/h";
        case kCurveBeyondLine:
            return "the curve ending at " + metres(p + value_of(f, 2)) +
                   " runs beyond the end of the line (route length + 7000 m); shorten it";
        case kGradientsCrowded:
            return "gradient rows are crowded so close to the end of the route that they run past the last "
                   "grid cell; space them at least 50 m apart";
        case kStationBeyondGrid:
            return "the station at " + metres(p) + " would have its stop cell beyond the last grid cell " + last +
                   "; shorten it or lengthen the route";
        case kSlowDownOutside:
            return "the slow-down at " + metres(p) + " reaches outside the grid; shorten it or move it";
        case kNegativeRouteLength: return "route length " + metres(p) + " is negative";
    }
    return "unknown error";
}

int32_t reported_error(const Form1& form) { return form.errorReported != 0 ? form.errorReported : form.errorCode; }

ErrorPlace error_place(const Form1& form, const SourceDocument& line, const SourceDocument& train) {
    const int32_t code = reported_error(form);
    const SourceDocument* doc = form.errorDocument == Document::Line ? &line : &train;
    int32_t at = form.errorLine;
    if (code == kReadFailure && !doc->exists) at = 0;
    if (code == kLineDocumentMissing) {
        doc = &line;
        at = 0;
    } else if (code == kProgressiveNotOnCell) {
        doc = &line;
        at = bad_progressive_line(line.text);
    } else if (is_completion_error(code)) {
        doc = &train;
        at = 0;
    }
    return {doc, at};
}

std::string diagnostic_text(const std::string& file, int32_t line, const std::string& severity,
                            const std::string& code, const std::string& message) {
    std::string out = file;
    if (line > 0) out.append(":").append(std::to_string(line));
    out.append(": ").append(severity).append(" ").append(code).append(": ").append(message);
    return out;
}

std::string reported_error_message(const Form1& form, const SourceDocument& line, const SourceDocument& train) {
    const int32_t code = reported_error(form);
    const ErrorPlace place = error_place(form, line, train);
    if (code == kReadFailure && !place.document->exists)
        return std::string("the ") + (place.document == &line ? "line" : "train") +
               " description document does not exist; give the path of an existing file";
    const std::string row = place.line > 0 ? line_of(place.document->text, place.line) : std::string();
    return error_message(form, code, row);
}

std::string diagnostic(const Form1& form, const SourceDocument& line, const SourceDocument& train) {
    const ErrorPlace place = error_place(form, line, train);
    return diagnostic_text(place.document->path, place.line, "error", std::to_string(reported_error(form)),
                           reported_error_message(form, line, train));
}
