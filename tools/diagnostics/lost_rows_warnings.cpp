// Warnings of rows the readers lose or read in another place: a keyword they
// do not know, a row in a section or a document whose reader does not read
// it, a general row given twice, a number or a text cut short so that the
// rest is read as further fields.
#include "tools/diagnostics/lost_rows_warnings.h"

#include <algorithm>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/field_stream.h"
#include "tools/common/record_names.h"
#include "tools/common/section_headers.h"
#include "tools/diagnostics/keyword_distance.h"
#include "tools/diagnostics/warning_finder.h"

namespace warning_rules {
namespace {

// Lost records beyond this many get their warning without a suggestion, so a
// text that is no scenario at all costs no more than a scenario.
constexpr int kMostSuggestions = 100;

// How many numbers the reader takes from a field of digits: a number ends at
// a blank, and the digits after it are read as the next number.
int numbers_in(std::string_view s) {
    int count = 0;
    bool inNumber = false;
    for (char c : s) {
        const bool blank = c == ' ' || c == '\t';
        if (!blank && !inNumber) ++count;
        inNumber = !blank;
    }
    return std::max(count, 1);  // an empty field reads as one number, 0
}

// Whether a lost row's values, as written after its keyword, would read as a
// record of the kind: its count of numbers, and its text field last.
bool values_read_as(RecordKind kind, const std::vector<std::string>& values) {
    const bool text = ends_in_text(kind);
    if (text && values.empty()) return false;
    const size_t numberFields = values.size() - (text ? 1 : 0);
    int numbers = 0;
    for (size_t i = 0; i < numberFields; ++i) {
        const std::string value = trimmed(values[i]);
        if (!value.empty() && !is_number_text(value)) return false;
        numbers += numbers_in(value);
    }
    return numbers == record_format(kind).fields - (text ? 1 : 0);
}

// The record kind a field names that its part's reader does not test, when it names none that it does.
std::optional<RecordKind> kind_of_another_part(std::string_view field, DocumentPart part) {
    std::optional<RecordKind> other;
    for (const RecordFormat& format : kRecordFormats) {
        if (!names_record(format.kind, field)) continue;
        if (part_of(format.kind) == part) return std::nullopt;
        if (!other) other = format.kind;
    }
    return other;
}

// The keyword, as an author writes it, nearest to the field among the record
// kinds `fits` accepts (the first of equals, in the order the documents write
// them; a curve in either form); empty when it accepts none.
std::string nearest_keyword(std::string_view field, const std::function<bool(RecordKind)>& fits) {
    std::string best;
    size_t bestDistance = SIZE_MAX;
    auto consider = [&](const std::string& keyword) {
        const size_t d = keyword_distance(field, keyword);
        if (d < bestDistance) {
            bestDistance = d;
            best = keyword;
        }
    };
    auto consider_kind = [&](RecordKind kind) {
        if (!fits(kind)) return;
        if (kind != RecordKind::Curve) {
            consider(std::string(record_format(kind).written));
            return;
        }
        for (std::string_view form : kCurveForms) consider(std::string(form) + kCurveClassDigits[0]);
    };
    for (RecordKind kind : kLineKindsAsWritten) consider_kind(kind);
    for (const RecordFormat& format : kRecordFormats) {
        if (format.document == Document::Train) consider_kind(format.kind);
    }
    return best;
}

// Fields passed over on a line from a column on, by document and line:
// the rule that tells about the first of them tells about the rest, its row's values.
using TakenFields = std::map<std::pair<Document, int32_t>, int32_t>;

void take(TakenFields& taken, Document document, int32_t line, int32_t column) {
    const auto [at, added] = taken.try_emplace({document, line}, column);
    if (!added) at->second = std::min(at->second, column);
}

bool taken(const TakenFields& taken, Document document, int32_t line, int32_t column) {
    const auto at = taken.find({document, line});
    return at != taken.end() && column >= at->second;
}

// A record whose text field ends at a comma, with the fields of the line after it.
struct CutText {
    const TracedRecord* record;
    std::vector<const SkippedField*> rest;
};

// A complete record whose last field is text (a station's name, a board's
// caption) followed on its line by fields the reader passed over: the text
// held a comma, which ended it.
std::vector<CutText> cut_texts(const WarningFinder& finder) {
    std::vector<CutText> out;
    for (const TracedRecord& r : finder.form.trace.records) {
        if (!complete(r) || r.fields.empty() || r.fields.back().number) continue;
        const TracedField& text = r.fields.back();
        auto rest = finder.passed_over_after(r.document, text.line, text.endColumn - 1);
        // A comma after the whole text leaves an empty field: nothing is cut.
        const bool cut = std::any_of(rest.begin(), rest.end(), [](const SkippedField* f) { return !f->text.empty(); });
        if (cut) out.push_back({&r, std::move(rest)});
    }
    return out;
}

// A keyword field naming a record kind its part's reader does not test.
struct MisplacedRow {
    const KeywordField* keyword;
    RecordKind kind;
};

// Keyword fields that name a record kind of another part of the documents:
// the part's reader tests none of its kinds, so the row is lost. The values
// of such a row, and the text after a cut text field, are not rows of their own.
std::vector<MisplacedRow> misplaced_rows(const WarningFinder& finder) {
    TakenFields told;
    for (const CutText& c : cut_texts(finder))
        take(told, c.record->document, c.record->fields.back().line, c.record->fields.back().endColumn);
    std::vector<MisplacedRow> out;
    for (const KeywordField& k : finder.form.trace.keywords) {
        if (k.records > 0 || is_section_header(k.text) || taken(told, k.document, k.line, k.column)) continue;
        const std::optional<RecordKind> kind = kind_of_another_part(k.text, k.part);
        if (!kind) continue;
        out.push_back({&k, *kind});
        take(told, k.document, k.line, k.column);
    }
    return out;
}

TakenFields fields_told_elsewhere(const WarningFinder& finder) {
    TakenFields told;
    for (const CutText& c : cut_texts(finder))
        take(told, c.record->document, c.record->fields.back().line, c.record->fields.back().endColumn);
    for (const MisplacedRow& m : misplaced_rows(finder))
        take(told, m.keyword->document, m.keyword->line, m.keyword->column);
    return told;
}

}  // namespace

// A keyword field that passed no record test lost its record: its values are
// read as further keyword fields (passed over in turn), which belong to the
// same lost record and are not reported again. A keyword is
// only offered when its kind is read where the row stands and the row's
// values would read as its record.
void misspelt_keywords(WarningFinder& finder) {
    // Numbers that ran on past a blank: what follows is read as the next
    // field, a keyword field; digits are told by the split-number warning.
    struct RunOn {
        Document document;
        int32_t line;
        int32_t endColumn;
        int64_t value;
    };
    std::map<std::pair<Document, int32_t>, std::vector<RunOn>> runOns;
    for (const TracedRecord& r : finder.form.trace.records) {
        for (const TracedField& f : r.fields) {
            if (f.runsOn && r.kind != RecordKind::Clock)
                runOns[{r.document, f.line}].push_back({r.document, f.line, f.endColumn, f.value});
        }
    }
    const auto run_on_before = [&](const KeywordField& k) -> const RunOn* {
        const auto at = runOns.find({k.document, k.line});
        if (at == runOns.end()) return nullptr;
        const RunOn* nearest = nullptr;
        for (const RunOn& n : at->second) {
            if (n.endColumn <= k.column && (nearest == nullptr || n.endColumn > nearest->endColumn)) nearest = &n;
        }
        return nearest;
    };
    TakenFields told = fields_told_elsewhere(finder);

    // A keyword with a dash is taken for a dash field and passed over.
    for (const SkippedField& d : finder.form.trace.skipped) {
        if (d.reason != SkipReason::DashField || taken(told, d.document, d.line, d.column)) continue;
        std::optional<RecordKind> kind;
        for (const RecordFormat& format : kRecordFormats) {
            if (!kind && names_record(format.kind, d.text)) kind = format.kind;
        }
        const std::vector<std::string> values = finder.values_after(d.document, d.line, d.column);
        if (!kind || values.empty()) continue;
        std::string keyword;
        if (part_of(*kind) == d.part && values_read_as(*kind, values)) {
            // A curve keyword names its class and hand: the field's own, without the dash.
            keyword = *kind == RecordKind::Curve ? d.text : std::string(record_format(*kind).written);
            std::erase(keyword, '-');
        }
        finder.add(Warning::MisspeltKeyword, d.document, d.line,
            quoted(d.text) + " holds a dash, so the reader takes it for a dash field and passes it over, and reads "
            "the values after it as further keyword fields: the whole record is lost; " +
                (keyword.empty() ? std::string("write the record's keyword without a dash")
                                 : "write " + quoted(keyword) + ", without a dash"));
        take(told, d.document, d.line, d.column);
    }

    Document lostIn = Document::None;
    int32_t lostLine = 0;
    int suggestions = 0;
    for (const KeywordField& k : finder.form.trace.keywords) {
        if (k.records > 0) {
            lostIn = Document::None;
            continue;
        }
        if (k.text.empty() || is_section_header(k.text) || taken(told, k.document, k.line, k.column)) continue;
        // A header is a bracketed word: one bracket at its start or end, and none at the other.
        const bool opening = k.text.front() == '[' && k.text.find(']') == std::string::npos;
        const bool closing = k.text.back() == ']' && k.text.find('[') == std::string::npos;
        if (k.text.find('-') == std::string::npos && (opening || closing)) {
            const std::string header = opening ? k.text + "]" : "[" + k.text;
            finder.add(Warning::MisspeltKeyword, k.document, k.line,
                quoted(k.text) + " lacks the " + (opening ? "closing" : "opening") + " bracket of a section "
                "header, so it opens no section: the reader passes it over and reads the rows after it in the "
                "section before it; write " + quoted(header));
            finder.last().field = 0;
            finder.last().fix = Fix{0, header};
            continue;
        }
        if (k.text.find('-') != std::string::npos) continue;
        if (lostIn == k.document && k.line == lostLine) continue;  // a value of the lost record
        if (const RunOn* number = run_on_before(k)) {
            lostIn = k.document;
            lostLine = k.line;
            if (is_number_text(k.text)) continue;
            finder.add(Warning::MisspeltKeyword, k.document, k.line,
                quoted(k.text) + " after the number " + std::to_string(number->value) + " is not read with it: "
                "the number ends at the blank, and a unit after it is read as a further field, which the reader "
                "passes over; write the number only");
            continue;
        }
        if (is_number_text(k.text)) {
            finder.add(Warning::MisspeltKeyword, k.document, k.line,
                "the number " + quoted(k.text) + " stands where a record's keyword was expected: the record before it "
                "has a value too many, or this record lost its keyword; the reader passes it over; remove the value "
                "or write the keyword");
            lostIn = k.document;
            lostLine = k.line;
            continue;
        }
        std::string suggestion = "write the record's keyword";
        std::optional<Fix> fix;
        if (suggestions++ < kMostSuggestions) {
            const std::vector<std::string> values = finder.values_after(k.document, k.line, k.column);
            const std::string nearest = nearest_keyword(
                k.text, [&](RecordKind kind) { return part_of(kind) == k.part && values_read_as(kind, values); });
            // A keyword that far from the field is no spelling of it.
            const bool near =
                !nearest.empty() && keyword_distance(k.text, nearest) <= std::max<size_t>(3, nearest.size() / 3);
            if (near) {
                suggestion = "did you mean \"" + nearest + "\"?";
                fix = Fix{0, nearest};
            }
        }
        finder.add(Warning::MisspeltKeyword, k.document, k.line,
            quoted(k.text) + " contains no record keyword, so the reader passes it over and reads the values after "
            "it as further keyword fields: the whole record is lost; " + suggestion);
        finder.last().field = 0;
        finder.last().fix = fix;
        lostIn = k.document;
        lostLine = k.line;
    }
}

void repeated_general_records(WarningFinder& finder) {
    const std::pair<RecordKind, const char*> kinds[] = {{RecordKind::Cars, "number of cars"},
                                                        {RecordKind::BrakedMass, "braked mass"},
                                                        {RecordKind::Sand, "sand"},
                                                        {RecordKind::Clock, "clock"}};
    for (const auto& [kind, name] : kinds) {
        const TracedRecord* earlier = nullptr;
        for (const TracedRecord* r : finder.records(kind)) {
            if (earlier != nullptr)
                finder.add(Warning::GeneralRepeated, r->document, r->line,
                    std::string("the ") + name + " is given again (first at " + line_ref(earlier->line) +
                        "); the last one read wins, so " + line_ref(earlier->line) +
                        " has no effect; keep one of the two");
            if (earlier != nullptr) finder.relate(*earlier, std::nullopt, std::string("the ") + name + " given first");
            earlier = r;
        }
    }
}

void split_numbers(WarningFinder& finder) {
    for (const TracedRecord& r : finder.form.trace.records) {
        if (r.kind == RecordKind::Clock) continue;  // its numbers stand apart by blanks alone
        for (const TracedField& f : r.fields) {
            if (!f.number || !f.runsOn) continue;
            // Text rather than digits after the blank: a unit, told as a field passed over.
            const auto after = finder.passed_over_after(r.document, f.line, f.endColumn - 1);
            if (!after.empty() && after.front()->reason == SkipReason::NoRecord && !is_number_text(after.front()->text))
                break;
            finder.add(Warning::NumberSplit, r.document, f.line,
                "the number " + std::to_string(f.value) + " is followed by more of its field after a blank: the "
                "number ends at the blank and the rest is read as the next field (\"106 000\" reads as 106); "
                "write the number without blanks");
            break;  // the rest of the record is shifted: once is enough
        }
    }
}

void train_without_general(WarningFinder& finder) {
    const int32_t general = finder.form.trace.generalLine[static_cast<int>(Document::Train)];
    if (!finder.trainDocument.text || general != 0 || !finder.train_read()) return;
    finder.add(Warning::NoGeneralSection, Document::Train, 0,
        "no field contains \"[generale]\", so the reader reads nothing of the train description: no speed "
        "limits, stations or signals; open its general section with a line \"[generale]\"");
}

// Rows whose kind the reader of the part they stand in does not test.
void records_out_of_place(WarningFinder& finder) {
    std::map<const KeywordField*, RecordKind> misplaced;
    for (const MisplacedRow& m : misplaced_rows(finder)) misplaced.emplace(m.keyword, m.kind);
    // Per document, the last header read and the one that ended the general section.
    const KeywordField* under[3] = {nullptr, nullptr, nullptr};
    const KeywordField* closing[3] = {nullptr, nullptr, nullptr};
    for (const KeywordField& k : finder.form.trace.keywords) {
        const int d = static_cast<int>(k.document);
        if (is_section_header(k.text)) {
            under[d] = &k;
            if (k.part == DocumentPart::LineGeneral) closing[d] = &k;
            continue;
        }
        const auto at = misplaced.find(&k);
        if (at == misplaced.end()) continue;
        const RecordKind kind = at->second;
        const DocumentPart home = part_of(kind);
        const std::string start = quoted(k.text) + " starts a " + row_name(kind) + ", a record of ";
        const std::string lost = ", so the row is passed over and the whole record is lost; ";
        std::string message;
        const KeywordField* ending = nullptr;  // the header the message names
        if (document_of(home) != k.document) {
            const bool train = document_of(home) == Document::Train;
            const std::string_view section = section_of(kind);
            message = start + (train ? "the train description" : "the line description") + ", but it stands in the " +
                      (train ? "line description" : "train description") + ", whose reader does not read it" + lost +
                      "move the row to the " + (train ? "train description" : "line description") +
                      (section.empty() ? std::string() : ", below the \"" + std::string(section) + "\" header");
        } else if (home == DocumentPart::LineRecords) {
            const std::string section(section_of(kind));
            message = start + "section " + section + ", but it stands in section " + std::string(kGeneralSection) +
                      ", where the reader reads only the general rows" + lost + "move the row below the \"" +
                      section + "\" header";
        } else {
            if (under[d] == nullptr || closing[d] == nullptr) continue;
            ending = closing[d];
            message = start + "section " + std::string(kGeneralSection) + ", but it stands in section " +
                      under[d]->text + ", and general rows are read only above " + quoted(closing[d]->text) + " (" +
                      line_ref(closing[d]->line) + "), the header that ends the general section" + lost +
                      "move the row above " + quoted(closing[d]->text);
        }
        finder.add(Warning::RecordOutOfPlace, k.document, k.line, message);
        finder.last().field = 0;
        if (ending != nullptr) finder.relate(k.document, ending->line, 0, "the header " + quoted(ending->text));
    }
}

// A comma ends a text field: the rest of the text is read as further fields.
void cut_text_fields(WarningFinder& finder) {
    for (const CutText& c : cut_texts(finder)) {
        const TracedRecord& r = *c.record;
        const std::string stored = r.fields.back().text;
        std::string rest;
        std::string whole = trimmed(stored);
        for (const SkippedField* f : c.rest) {
            rest += (rest.empty() ? "" : ", ") + f->text;
            if (!trimmed(f->text).empty()) whole += " " + trimmed(f->text);
        }
        const int n = static_cast<int>(r.fields.size());
        const std::optional<int64_t> position =
            r.fields.front().number ? std::optional<int64_t>(r.fields.front().value) : std::nullopt;
        finder.add(Warning::TextFieldCut, r.document, r.fields.back().line,
            field_name(r.kind, n) + " holds a comma, so it is stored as " + quoted(stored) + " and " + quoted(rest) +
                ", after the comma, is read as " + (c.rest.size() == 1 ? "a further field" : "further fields") +
                " that the reader passes over; write it without a comma, such as " + quoted(whole),
            position);
        finder.last().field = n;
    }
}

}  // namespace warning_rules
