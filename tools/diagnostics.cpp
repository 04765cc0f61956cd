#include "tools/diagnostics.h"

#include <cstdlib>
#include <vector>

#include "core/rounding.h"
#include "tools/dump.h"

namespace {

// The record's fields as written: split at commas, blanks trimmed.
std::vector<std::string> fields_of(const std::string& row) {
    std::vector<std::string> out;
    std::string field;
    auto push = [&] {
        size_t a = field.find_first_not_of(" \t");
        size_t b = field.find_last_not_of(" \t\r\n");
        out.push_back(a == std::string::npos ? "" : field.substr(a, b - a + 1));
        field.clear();
    };
    for (char c : row) {
        if (c == ',') push();
        else field += c;
    }
    push();
    return out;
}

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

// The lines of a text, split at CR LF, CR or LF, as the field stream counts them.
std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\n' && text[i] != '\r') continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

std::string line_of(const std::string& text, int32_t wanted) {
    auto lines = lines_of(text);
    return wanted >= 1 && static_cast<size_t>(wanted) <= lines.size() ? lines[static_cast<size_t>(wanted) - 1] : "";
}

// The first progressive definition row whose first or second value is not a multiple of 50.
int32_t bad_progressive_line(const std::string& text) {
    auto lines = lines_of(text);
    for (size_t n = 0; n < lines.size(); ++n) {
        if (lines[n].find("progressiva") == std::string::npos) continue;
        auto f = fields_of(lines[n]);
        if (value_of(f, 1) % 50 != 0 || value_of(f, 2) % 50 != 0) return static_cast<int32_t>(n + 1);
    }
    return 0;
}

}  // namespace

std::string error_message(const Form1& form, int32_t code, const std::string& row) {
    const auto f = fields_of(row);
    const long long p = value_of(f, 1);
    const long long cell = round_half_even(static_cast<double>(p) / 50.0 + 1.0);
    const std::string at = "at " + metres(p) + " falls on grid cell " + std::to_string(cell) + ", which ";
    const std::string last = form.grid.sized() ? std::to_string(form.grid.upper()) : "?";
    switch (code) {
        case 101: return "the line description document does not exist; give the path of an existing file";
        case 102: return "no field contains \"[generale]\"; open the general section with a line \"[generale]\"";
        case 1: return "route length " + metres(p) + " is above the largest allowed, 1000000 m; shorten the route";
        case 3: return "signal repetition start " + metres(p) + " is not a multiple of 50; round it to 50 m";
        case 4: return "signal repetition end " + metres(value_of(f, 2)) + " is not a multiple of 50; round it to 50 m";
        case 5: return "the signal repetition keyword names no number of codes; it must contain \"4\" or \"9\"";
        case 103:
            return "the curve keyword has no class digit, or the curves carry the line past metre 1000000; "
                   "write curvad1 to curvad6 or curvas1 to curvas6";
        case 15:
            return "position " + metres(p) + " leaves no room on the grid, whose last cell is " + last +
                   " ((position + 100) / 50, for stations (position + 800) / 50, must not exceed it); "
                   "move the row before the end of the route or lengthen the route";
        case 6: return "indication board " + at + holds(form, cell) + "; move the board to a free cell";
        case 2:
            return "a kilometric progressive definition has a first or second value that is not a multiple of 50; "
                   "round them to 50 m";
        case 7: {
            long long c = round_half_even(static_cast<double>(p) / 50.0);
            return "abbattimento at " + metres(p) + " falls on grid cell " + std::to_string(c) + ", which " +
                   holds(form, c) + "; move it to a free cell";
        }
        case 8: return "station position " + metres(p) + " is not a multiple of 50; round it to 50 m";
        case 9: return "station length " + metres(value_of(f, 3)) + " is not a multiple of 100; round it to 100 m";
        case 24:
            return "the station at " + metres(p) + " ends at or before metre 100, so it has no stop cell; "
                   "move it further along the line";
        case 22:
            return "the station at " + metres(p) +
                   " begins less than 350 m after the previous station ends; move the stations apart";
        case 10:
            return "too many stations: the station slots below the indication board captions are used up "
                   "(with S indication boards at most 78 - S stations)";
        case 16: return "signal " + at + holds(form, cell) + "; move the signal to a free cell";
        case 17: {
            long long w = round_half_even(static_cast<double>(p - 1200) / 50.0 + 1.0);
            return "the warning cell " + std::to_string(w) + " of the slow-down at " + metres(p) +
                   ", 1200 m before its start, " + holds(form, w) + "; move the slow-down";
        }
        case 18: return "slow-down start " + at + holds(form, cell) + "; move the slow-down";
        case 19: {
            long long e = round_half_even(static_cast<double>(p + value_of(f, 3)) / 50.0 + 1.0);
            return "the end of the slow-down at " + metres(p) + " falls on grid cell " + std::to_string(e) +
                   ", which " + holds(form, e) + "; change its length";
        }
        case 20:
            return "one of the four warning approach cells of the slow-down at " + metres(p) +
                   " is not free; move the slow-down or set its approach switch to 0";
        case 21: return "speed board " + at + holds(form, cell) + "; move the board to a free cell";
        case 11:
        case 12:
        case 13: {
            long long c = form.errorCell;
            std::string where = "grid cell " + std::to_string(c) + " (" + metres((c - 1) * 50) + ")";
            if (code == 11)
                return "no free cell for the abbattimento cap before the signal at " + where +
                       ", which precedes a slow-down warning; free one of the two cells before the signal";
            if (code == 12)
                return "no free cell for an abbattimento cap in the group ending at " + where +
                       " before a slow-down start; free one of those cells";
            return "no free cell for an abbattimento cap around " + where +
                   " inside or just after a slow-down; free one of those cells";
        }
        case 25:
            if (!form.errorDetail.empty()) return "the document could not be read: " + form.errorDetail;
            return "the document could not be read: a number does not fit its field or is not a whole number, "
                   "a speed limit is above 1277 km/h, the document ends inside a record, or it is missing";
        case 201: return "negative position " + metres(p) + "; positions are metres from the start of the route";
        case 202:
            return "the montagna stretch ending at " + metres(value_of(f, 2)) +
                   " runs beyond the end of the grid (route length + 7000 m); end it earlier";
        case 203: return "more than 80 montagna stretches; join some of them";
        case 204: return "more than 80 indication boards; remove some";
        case 205:
            return "the speed board at " + metres(p) + " has a value that does not fit 16 bits; lower its speeds";
        case 206:
            return "the curve ending at " + metres(p + value_of(f, 2)) +
                   " runs beyond the end of the line (route length + 7000 m); shorten it";
        case 207:
            return "gradient rows are crowded so close to the end of the route that they run past the last "
                   "grid cell; space them at least 50 m apart";
        case 210:
            return "the station at " + metres(p) + " would have its stop cell beyond the last grid cell " + last +
                   "; shorten it or lengthen the route";
        case 211:
            return "the slow-down at " + metres(p) + " reaches outside the grid; shorten it or move it";
        case 212: return "route length " + metres(p) + " is negative";
        default: return "unknown error";
    }
}

std::string diagnostic(const Form1& form, const SourceDocument& line, const SourceDocument& train) {
    const int32_t code = form.errorCode;
    const SourceDocument* doc = form.errorDocument == Document::Line ? &line : &train;
    int32_t at = form.errorLine;
    if (code == 101) {
        doc = &line;
        at = 0;
    } else if (code == 2) {
        doc = &line;
        at = bad_progressive_line(line.text);
    } else if (code >= 11 && code <= 13) {
        doc = &train;
        at = 0;
    }
    std::string out = doc->path;
    if (at > 0) out.append(":").append(std::to_string(at));
    const std::string row = at > 0 ? line_of(doc->text, at) : std::string();
    out.append(": error ").append(std::to_string(code)).append(": ").append(error_message(form, code, row));
    return out;
}
