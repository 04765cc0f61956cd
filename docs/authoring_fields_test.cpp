// The field tables of docs/authoring.md against core's record field table
// (core/record_fields.def): every field of every record kind with a section of
// its own stands in its section's table once, with the table's name, width,
// unit and range; the limits and the curve classes the page states are the
// compiler's constants.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "core/compiler_limits.h"
#include "core/record_fields.h"
#include "tools/common/section_headers.h"

namespace {

std::string authoring() {
    std::ifstream in(AUTHORING_PATH, std::ios::binary);
    EXPECT_TRUE(in) << AUTHORING_PATH;
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::string trimmed(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return std::string(s);
}

std::string without_backticks(std::string s) {
    std::erase(s, '`');
    return s;
}

// The cells of a table row "| a | b |".
std::vector<std::string> cells_of(const std::string& row) {
    std::vector<std::string> cells;
    size_t at = row.find('|');
    while (at != std::string::npos) {
        const size_t next = row.find('|', at + 1);
        if (next == std::string::npos) break;
        cells.push_back(trimmed(std::string_view(row).substr(at + 1, next - at - 1)));
        at = next;
    }
    return cells;
}

std::vector<std::string> split_list(const std::string& cell) {
    std::vector<std::string> items;
    size_t start = 0;
    for (size_t at = cell.find(", "); at != std::string::npos; start = at + 2, at = cell.find(", ", start))
        items.push_back(cell.substr(start, at - start));
    items.push_back(cell.substr(start));
    return items;
}

// The field numbers of a first cell "2, 3, 4", or none when it is a name.
std::vector<int> numbers_of(const std::string& cell) {
    std::vector<int> numbers;
    for (const std::string& item : split_list(cell)) {
        if (item.empty() || item.find_first_not_of("0123456789") != std::string::npos) return {};
        numbers.push_back(std::stoi(item));
    }
    return numbers;
}

// The record kinds of the record section and the train description that a
// heading names by a keyword in backticks: "### 3.3 Gradient (`pendenza`)".
std::vector<RecordKind> kinds_of_heading(const std::string& heading) {
    std::vector<RecordKind> kinds;
    for (size_t open = heading.find('`'); open != std::string::npos; open = heading.find('`', open + 1)) {
        const size_t close = heading.find('`', open + 1);
        if (close == std::string::npos) break;
        const std::string word = heading.substr(open + 1, close - open - 1);
        for (const RecordFormat& format : kRecordFormats) {
            if (part_of(format.kind) != DocumentPart::LineGeneral && names_record(format.kind, word) &&
                std::find(kinds.begin(), kinds.end(), format.kind) == kinds.end())
                kinds.push_back(format.kind);
        }
        open = close;
    }
    return kinds;
}

// One field as a row of the page states it.
struct StatedField {
    std::string heading;
    std::string name;   // the Name column, or the first column when it names the field; "" when neither
    std::string width;  // the Width column
    std::optional<std::string> unit;  // the Unit column, when the table has one
    std::string rest;   // every other column but the first, joined
};

// Every field the field tables state, by kind and index; a field stated twice
// is listed twice.
std::multimap<std::pair<RecordKind, int>, StatedField> stated_fields(const std::string& page) {
    std::multimap<std::pair<RecordKind, int>, StatedField> stated;
    const std::vector<std::string> lines = lines_of(page);
    std::string heading;
    std::vector<RecordKind> kinds;
    bool tableDone = false;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].rfind("#", 0) == 0) {
            heading = lines[i];
            kinds = lines[i].rfind("### ", 0) == 0 ? kinds_of_heading(lines[i]) : std::vector<RecordKind>{};
            tableDone = false;
            continue;
        }
        if (kinds.empty() || tableDone || lines[i].rfind("| Field |", 0) != 0) continue;
        tableDone = true;  // the first field table of the section
        const std::vector<std::string> header = cells_of(lines[i]);
        auto column = [&](std::string_view name) -> int {
            for (size_t c = 0; c < header.size(); ++c) {
                if (header[c] == name) return static_cast<int>(c);
            }
            return -1;
        };
        const int nameColumn = column("Name"), widthColumn = column("Width"), unitColumn = column("Unit");
        for (i += 2; i < lines.size() && lines[i].rfind("|", 0) == 0; ++i) {
            const std::vector<std::string> cells = cells_of(lines[i]);
            EXPECT_EQ(cells.size(), header.size()) << lines[i];
            if (cells.size() != header.size()) continue;
            std::string rest;
            for (size_t c = 1; c < cells.size(); ++c) rest += cells[c] + " | ";
            const std::vector<int> numbers = numbers_of(cells[0]);
            std::vector<std::string> names =
                nameColumn >= 0 ? split_list(cells[static_cast<size_t>(nameColumn)]) : std::vector<std::string>{};
            auto state = [&](RecordKind kind, int index, std::string name) {
                stated.insert({{kind, index},
                               {heading, without_backticks(std::move(name)),
                                widthColumn >= 0 ? cells[static_cast<size_t>(widthColumn)] : "",
                                unitColumn >= 0 ? std::optional(cells[static_cast<size_t>(unitColumn)]) : std::nullopt,
                                rest}});
            };
            if (!numbers.empty()) {
                EXPECT_EQ(kinds.size(), 1u) << heading << ": numbered fields of more than one kind";
                EXPECT_TRUE(names.empty() || names.size() == numbers.size()) << lines[i];
                for (size_t n = 0; n < numbers.size(); ++n)
                    state(kinds[0], numbers[n], n < names.size() ? names[n] : "");
                continue;
            }
            // A row that names its field: every kind of the section with a field of that name.
            bool found = false;
            for (RecordKind kind : kinds) {
                for (const RecordField& f : record_fields(kind).subspan(1)) {
                    if (f.name == without_backticks(cells[0])) {
                        state(kind, f.index, cells[0]);
                        found = true;
                    }
                }
            }
            EXPECT_TRUE(found) << heading << ": no field named " << cells[0];
        }
    }
    return stated;
}

std::string one_decimal(double x) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", x);
    return text;
}

}  // namespace

TEST(AuthoringFields, EveryFieldStandsInItsSectionsTableAsTheTableHasIt) {
    const auto stated = stated_fields(authoring());
    std::set<RecordKind> tabled;
    for (const auto& [key, s] : stated) tabled.insert(key.first);
    // Every kind of the record section and of the train description has a table, but the
    // train's general rows, which one table of their own lists (section 4.2).
    std::set<RecordKind> expected;
    for (const RecordFormat& format : kRecordFormats) {
        const RecordKind k = format.kind;
        const bool general = k == RecordKind::BrakedMass || k == RecordKind::Cars || k == RecordKind::Clock ||
                             k == RecordKind::Sand;
        if (part_of(k) != DocumentPart::LineGeneral && !general) expected.insert(k);
    }
    EXPECT_EQ(tabled, expected);

    for (RecordKind kind : tabled) {
        for (const RecordField& f : record_fields(kind).subspan(1)) {
            const std::string what = std::string(record_keyword_field(kind).name) + " field " + std::to_string(f.index);
            ASSERT_EQ(stated.count({kind, f.index}), 1u) << what;
            const StatedField& s = stated.find({kind, f.index})->second;
            if (!s.name.empty()) {
                EXPECT_EQ(s.name, f.name) << what;
            }
            EXPECT_EQ(s.width.rfind(width_text(f.width), 0), 0u) << what << ": width " << s.width;
            if (s.unit) {
                EXPECT_EQ(*s.unit, unit_text(f.unit)) << what;
            }
            EXPECT_NE(s.rest.find(field_note(f)), std::string::npos) << what << ": " << field_note(f) << " in " << s.rest;
        }
        EXPECT_EQ(stated.count({kind, value_count(kind) + 1}), 0u);
    }
}

TEST(AuthoringFields, EveryNoteAndSectionHeaderIsInThePage) {
    // The general rows' notes stand in the page too, in tables of their own shape.
    std::string page;
    for (char c : authoring()) {
        const bool blank = c == ' ' || c == '\n' || c == '\r';
        if (!blank) page += c;
        else if (!page.empty() && page.back() != ' ') page += ' ';
    }
    std::set<std::string> missing;
    for (const RecordFormat& format : kRecordFormats) {
        if (page.find(std::string(format.written)) == std::string::npos) missing.insert(std::string(format.written));
        for (const RecordField& f : record_fields(format.kind).subspan(1)) {
            if (page.find(field_note(f)) == std::string::npos) missing.insert(field_note(f));
        }
    }
    for (const SectionHeader& h : section_headers()) {
        if (page.find(std::string(h.text)) == std::string::npos) missing.insert(std::string(h.text));
    }
    EXPECT_EQ(missing, std::set<std::string>{});
}

TEST(AuthoringFields, CurveClassesAreTheCompilersTurnRates) {
    std::string classes = "| Class |", rates = "| Radians per metre |", radii = "| Radius, about |",
                heading = "| Heading change over 300 m |";
    for (int c = 1; c <= kCurveClassCount; ++c) {
        classes += " " + std::to_string(c) + " |";
        rates += " " + turn_rate_text(c) + " |";
        radii += " " + std::to_string(curve_radius(c)) + " m |";
        heading += " " + one_decimal(300 * kCurveTurnRates[c] * 180 / M_PI) + "° |";
    }
    const std::vector<std::string> lines = lines_of(authoring());
    for (const std::string& row : {classes, rates, radii, heading})
        EXPECT_NE(std::find(lines.begin(), lines.end(), row), lines.end()) << row;
}

TEST(AuthoringFields, SlotCountsAreTheCompilers) {
    const std::string page = authoring();
    for (const std::string& said :
         {"at most " + std::to_string(kMostStations) + " - S stations fit",
          "scenario slot " + std::to_string(kBackgroundSlot) + " `long1` (uno)",
          "At most " + std::to_string(kMostMontagnaStretches) + " stretches",
          "At most " + std::to_string(kMostIndicationBoards) + " boards",
          "a speed of " + std::to_string(kHighestBoardSpeedKmh + 1) + " or more",
          "A speed of " + std::to_string(kHighestSpeedLimitKmh + 1) + " or more"}) {
        std::string flat;
        for (char c : page) flat += c == '\n' ? ' ' : c;
        EXPECT_NE(flat.find(said), std::string::npos) << said;
    }
}
