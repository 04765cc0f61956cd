#include "documents/test_documents.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

#include "core/form1.h"
#include "tools/testing/test_folder.h"

namespace {

WrittenDocument read_document(const TestFolder& folder, const std::string& name) {
    WrittenDocument document;
    document.bytes = folder.read(name);
    document.lines = split_crlf(document.bytes);
    return document;
}

// The numbers captured by a row pattern, each strict; empty when the row does not match.
std::optional<std::vector<int64_t>> match_row(const std::string& line, const std::regex& pattern) {
    std::smatch m;
    if (!std::regex_match(line, m, pattern)) return std::nullopt;
    std::vector<int64_t> numbers;
    for (size_t i = 1; i < m.size(); ++i) {
        std::optional<int64_t> n = strict_number(m[i].str());
        if (!n) return std::nullopt;
        numbers.push_back(*n);
    }
    return numbers;
}

// Fixed-width number fields after a key; empty when any width or number is off.
std::optional<std::vector<int64_t>> fixed_fields(const std::vector<std::string>& fields, const std::vector<int>& widths) {
    if (fields.size() < widths.size() + 1) return std::nullopt;
    std::vector<int64_t> numbers;
    for (size_t i = 0; i < widths.size(); ++i) {
        std::optional<int64_t> n = right_aligned_number(fields[i + 1], widths[i]);
        if (!n) return std::nullopt;
        numbers.push_back(*n);
    }
    return numbers;
}

bool blank(const std::string& text) { return text.find_first_not_of(' ') == std::string::npos; }

std::string trimmed(const std::string& text) {
    size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// A speed cell: one blank, the number, blanks to fill; or, where allowed, the
// number right-aligned.
std::optional<int64_t> speed_cell(const std::string& cell, bool rightAligned, bool& ok) {
    if (blank(cell)) return std::nullopt;
    std::string number = trimmed(cell);
    bool laidOut = rightAligned ? cell == std::string(5 - number.size() - 1, ' ') + number + " "
                                : cell == " " + number + std::string(4 - number.size(), ' ');
    std::optional<int64_t> n = strict_number(number);
    ok = ok && laidOut && n.has_value() && *n > 0;
    return n;
}

bool sheet_time(const std::string& text) {
    static const std::regex pattern("[1-9][0-9]?\\.[0-5][0-9]");
    return std::regex_match(text, pattern);
}

// The time cell, by where its times end: arrival at the 5th character,
// passing at the 10th, departure at the 14th.
bool parse_time_cell(const std::string& cell, SheetRow& row) {
    if (cell.size() != 16 || !blank(cell.substr(14))) return false;
    if (blank(cell)) {
        row.time = TimeKind::None;
        return true;
    }
    if (cell[13] != ' ') {
        row.second = trimmed(cell.substr(9, 5));
        if (!blank(cell.substr(5, 4)) || !sheet_time(row.second)) return false;
        if (blank(cell.substr(0, 5))) {
            row.time = TimeKind::Departure;
            row.first = row.second;
            row.second.clear();
            return true;
        }
        row.first = trimmed(cell.substr(0, 5));
        row.time = TimeKind::Stop;
        return cell[4] != ' ' && sheet_time(row.first);
    }
    if (cell[9] != ' ') {
        row.first = trimmed(cell.substr(5, 5));
        row.time = TimeKind::Passing;
        return blank(cell.substr(0, 5)) && blank(cell.substr(10)) && sheet_time(row.first);
    }
    row.first = trimmed(cell.substr(0, 5));
    row.time = TimeKind::Arrival;
    return cell[4] != ' ' && blank(cell.substr(5)) && sheet_time(row.first);
}

// "0" alone, or the kilometre and three digits of metres, preceded by two
// blanks for a one-digit kilometre, one for two digits, none for three.
std::optional<int64_t> progressive_cell(const std::string& cell) {
    if (cell == "  0       ") return 0;
    static const std::regex pattern(" *([1-9][0-9]*)\\+([0-9]{3}) *");
    std::smatch m;
    if (cell.size() != 10 || !std::regex_match(cell, m, pattern)) return std::nullopt;
    std::string km = m[1].str();
    if (km.size() > 3 || cell.compare(0, 3 - km.size(), std::string(3 - km.size(), ' ')) != 0 ||
        cell[3 - km.size()] == ' ') {
        return std::nullopt;
    }
    return std::stoll(km) * 1000 + std::stoll(m[2].str());
}

}  // namespace

WrittenDocuments write_documents(const std::string& routeName, const std::string& trainCode) {
    TestFolder folder;
    Form1 form(folder.path());
    form.routeName = routeName;
    form.trainCode = trainCode;
    form.scrivi_documenti();
    WrittenDocuments documents;
    documents.linea = read_document(folder, form.line_document_name());
    documents.treno = read_document(folder, form.train_document_name());
    documents.note = read_document(folder, form.notes_document_name());
    documents.rallentamenti = read_document(folder, form.slowdown_order_name());
    documents.scheda = read_document(folder, form.timetable_sheet_name());
    return documents;
}

const WrittenDocuments& built_in_documents() {
    static const WrittenDocuments documents = write_documents("Bresta_Vilcar", "RX907");
    return documents;
}

std::vector<std::string> split_crlf(const std::string& bytes) {
    std::vector<std::string> lines;
    std::string current;
    for (size_t i = 0; i < bytes.size(); ++i) {
        char c = bytes[i];
        if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
            lines.push_back(current);
            current.clear();
            ++i;
        } else if (c == '\r' || c == '\n') {
            ADD_FAILURE() << "stray line end byte at offset " << i;
        } else {
            current += c;
        }
    }
    if (!current.empty()) ADD_FAILURE() << "bytes after the last CR LF: " << current;
    return lines;
}

std::optional<int64_t> strict_number(const std::string& text) {
    size_t start = (!text.empty() && text[0] == '-') ? 1 : 0;
    if (start == text.size() || text.size() - start > 9) return std::nullopt;
    for (size_t i = start; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
    }
    if (text[start] == '0' && text.size() - start > 1) return std::nullopt;
    if (text == "-0") return std::nullopt;
    return std::stoll(text);
}

std::vector<std::string> split_commas(const std::string& line) {
    std::vector<std::string> fields(1);
    for (char c : line) {
        if (c == ',') {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

std::optional<int64_t> right_aligned_number(const std::string& field, int width) {
    if (field.size() != static_cast<size_t>(width)) return std::nullopt;
    size_t first = field.find_first_not_of(' ');
    if (first == std::string::npos) return std::nullopt;
    return strict_number(field.substr(first));
}

std::string line_at(const std::vector<std::string>& lines, int n) {
    if (n < 1 || n > static_cast<int>(lines.size())) return "";
    return lines[static_cast<size_t>(n - 1)];
}

LineDescription parse_line_description(const std::vector<std::string>& lines) {
    static const std::regex lengthRow("lunghezza percorso,    ([0-9]+)");
    static const std::regex curveRow("curva[ds]([1-6]),  ([0-9]+),  ([0-9]+)");
    static const std::regex gradientRow("pendenza,  ([0-9]+),   (-?[0-9]+)");
    static const std::regex montagnaRow("montagna,   ([0-9]+),  ([0-9]+),  ([0-9]+)");
    static const std::regex boardRow(
        "indicatori_vmax,  ([0-9]+),  ([0-9]+),  ([0-9]+),  ([0-9]+),  ([0-9]+),  ,  ,  ,  0");
    static const std::regex indicationRow("cartello_indicatore,  ([0-9]+),   (\\([A-Z][A-Z. ]*[A-Z.]\\))");

    LineDescription d;
    if (auto n = match_row(line_at(lines, 2), lengthRow)) {
        d.routeLength = (*n)[0];
    } else {
        ADD_FAILURE() << "line 2 is not the route length row";
    }
    for (int n = 11; n <= 64; ++n) {
        std::string text = line_at(lines, n);
        auto v = match_row(text, curveRow);
        if (!v) {
            ADD_FAILURE() << "line " << n << " is not a curve row: " << text;
            continue;
        }
        d.curves.push_back({n, text[5], (*v)[0], (*v)[1], (*v)[2]});
    }
    for (int n = 66; n <= 82; ++n) {
        auto v = match_row(line_at(lines, n), gradientRow);
        if (!v) {
            ADD_FAILURE() << "line " << n << " is not a gradient row: " << line_at(lines, n);
            continue;
        }
        d.gradients.push_back({n, (*v)[0], (*v)[1]});
    }
    for (int n = 84; n <= 96; ++n) {
        auto v = match_row(line_at(lines, n), montagnaRow);
        if (!v) {
            ADD_FAILURE() << "line " << n << " is not a montagna row: " << line_at(lines, n);
            continue;
        }
        d.montagne.push_back({n, (*v)[0], (*v)[1], (*v)[2]});
    }
    for (int n = 98; n <= 129; ++n) {
        auto v = match_row(line_at(lines, n), boardRow);
        if (!v) {
            ADD_FAILURE() << "line " << n << " is not a speed board row: " << line_at(lines, n);
            continue;
        }
        d.boards.push_back({n, (*v)[0], (*v)[1], (*v)[2], (*v)[3], (*v)[4]});
    }
    for (int n = 131; n <= 134; ++n) {
        std::smatch m;
        std::string text = line_at(lines, n);
        std::optional<int64_t> q;
        if (std::regex_match(text, m, indicationRow)) q = strict_number(m[1].str());
        if (!q) {
            ADD_FAILURE() << "line " << n << " is not an indication row: " << text;
            continue;
        }
        d.indications.push_back({n, *q, m[2].str()});
    }
    return d;
}

TrainDescription parse_train_description(const std::vector<std::string>& lines) {
    static const std::regex stationName(" [A-Z](?:[A-Z .:]*[A-Z.])?");
    TrainDescription t;
    for (int n = 18; n <= 34; ++n) {
        std::string text = line_at(lines, n);
        std::vector<std::string> fields = split_commas(text);
        auto v = fixed_fields(fields, {8, 6});
        if (fields[0] != "velocita" || fields.size() != 3 || !v || text.size() != 24) {
            ADD_FAILURE() << "line " << n << " is not a speed-limit row: " << text;
            continue;
        }
        t.speeds.push_back({n, (*v)[0], (*v)[1]});
    }
    for (int n = 36; n <= 59; ++n) {
        std::string text = line_at(lines, n);
        std::vector<std::string> fields = split_commas(text);
        auto v = fixed_fields(fields, {8, 3, 5, 3, 2, 2, 3, 1, 1, 3, 1, 1, 5, 4, 2, 2});
        if (fields[0] != "stazione" || fields.size() != 18 || !v || !std::regex_match(fields[17], stationName)) {
            ADD_FAILURE() << "line " << n << " is not a station row: " << text;
            continue;
        }
        StationRow row{n, {}, fields[17].substr(1)};
        for (size_t i = 0; i < 16; ++i) row.number[i] = (*v)[i];
        t.stations.push_back(row);
    }
    for (int n = 62; n <= 105; ++n) {
        std::string text = line_at(lines, n);
        std::vector<std::string> fields = split_commas(text);
        auto v = fixed_fields(fields, {8, 4, 2, 2, 3, 2, 5, 3, 1, 1, 2});
        if (fields[0] != "segnale" || fields.size() != 12 || !v || text.size() != 51) {
            ADD_FAILURE() << "line " << n << " is not a signal row: " << text;
            continue;
        }
        SignalRow row{n, {}};
        for (size_t i = 0; i < 11; ++i) row.number[i] = (*v)[i];
        t.signals.push_back(row);
    }
    return t;
}

std::vector<SheetRow> parse_sheet_body(const std::vector<std::string>& lines) {
    std::vector<SheetRow> rows;
    for (int n = 17; n <= 55; ++n) {
        std::string text = line_at(lines, n);
        // Line 34 ends after the time cell; line 43 has one blank after its last "|".
        size_t length = n == 34 ? 77 : n == 43 ? 84 : 83;
        bool ok = text.size() == length && text.compare(0, 2, " |") == 0;
        for (size_t bar : {7u, 13u, 24u, 30u, 59u, 76u}) ok = ok && text.size() > bar && text[bar] == '|';
        if (length >= 83) ok = ok && text[82] == '|';
        if (length == 84) ok = ok && text[83] == ' ';
        if (!ok) {
            ADD_FAILURE() << "line " << n << " breaks the column layout: " << text;
            continue;
        }
        SheetRow row{};
        row.line = n;
        bool rightAligned = n == 52 || n == 54;
        row.lim = speed_cell(text.substr(2, 5), false, ok);
        row.marc = speed_cell(text.substr(8, 5), rightAligned, ok);
        std::optional<int64_t> progressive = progressive_cell(text.substr(14, 10));
        std::string nameCell = text.substr(31, 28);
        row.name = trimmed(nameCell);
        ok = ok && progressive && text.substr(25, 5) == "     " && !row.name.empty() &&
             nameCell == " " + row.name + std::string(27 - std::min<size_t>(27, row.name.size()), ' ') &&
             parse_time_cell(text.substr(60, 16), row);
        if (length >= 83) row.rec = text.substr(77, 5);
        ok = ok && (n == 34 || row.rec == " 0.5 " || row.rec == "  1  " || row.rec == "     ");
        if (!ok) {
            ADD_FAILURE() << "line " << n << " has a malformed cell: " << text;
            continue;
        }
        row.progressive = *progressive;
        if (row.name == "Cartello Indicatore" || row.name == "Cartello") {
            row.kind = SheetKind::Board;
        } else if (row.name == "Cippo Km" || row.name == "Cippo KM") {
            row.kind = SheetKind::Post;
        } else {
            row.kind = SheetKind::Place;
        }
        rows.push_back(row);
    }
    return rows;
}

int64_t sheet_minutes(const std::string& time) {
    size_t dot = time.find('.');
    return std::stoll(time.substr(0, dot)) * 60 + std::stoll(time.substr(dot + 1));
}
