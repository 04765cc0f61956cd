#include "tools/diagnostics/warnings.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <optional>
#include <map>
#include <string_view>

#include "core/error_codes.h"
#include "core/field_stream.h"
#include "core/rounding.h"
#include "tools/diagnostics/feature_cells.h"
#include "tools/common/ascii_text.h"
#include "tools/common/record_names.h"
#include "tools/common/section_headers.h"
#include "tools/common/text_encoding.h"
#include "tools/codes/code.h"

namespace {

// A speed-limit change wants a speed board at it or up to this far before it.
constexpr int64_t kBoardReach = 1000;

std::string quoted(std::string_view bytes) { return "\"" + cp1252_to_utf8(bytes) + "\""; }
std::string metres(int64_t m) { return std::to_string(m) + " m"; }
std::string line_ref(int32_t line) { return "line " + std::to_string(line); }

std::string clock_text(int64_t seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", static_cast<long long>(seconds / 3600),
                  static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
    return text;
}

std::string duration_text(double seconds) {
    const auto whole = static_cast<long long>(std::ceil(seconds));
    return std::to_string(whole / 60) + " min " + std::to_string(whole % 60) + " s";
}

bool complete(const TracedRecord& r) { return static_cast<int>(r.fields.size()) == traced_field_count(r.kind); }


// Fields compared with the keywords are cut to this many characters: the
// longest keyword has 28, and a longer field is far from all of them anyway.
constexpr size_t kComparedLength = 40;
// Lost records beyond this many get their warning without a suggestion, so a
// text that is no scenario at all costs no more than a scenario.
constexpr int kMostSuggestions = 100;

// Edit distance of two texts of at most kComparedLength characters.
size_t distance(std::string_view a, std::string_view b) {
    a = a.substr(0, kComparedLength);
    b = b.substr(0, kComparedLength);
    size_t row[kComparedLength + 1];
    for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        size_t diagonal = row[0];
        row[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            const size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

// The keyword, as an author writes it, nearest to the field among the record
// kinds `fits` accepts (the first of equals, in the order the documents write
// them; a curve in either form); empty when it accepts none.
std::string nearest_keyword(std::string_view field, const std::function<bool(RecordKind)>& fits) {
    const std::string low = ascii_lowered(field.substr(0, kComparedLength));
    std::string best;
    size_t bestDistance = SIZE_MAX;
    auto consider = [&](const std::string& keyword) {
        const size_t d = distance(low, keyword);
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

// A field of digits (blanks allowed inside, a leading minus), as the values of a lost record are.
bool is_number_text(std::string_view s) {
    if (s.empty()) return false;
    size_t i = s[0] == '-' ? 1 : 0;
    if (i == s.size()) return false;
    for (; i < s.size(); ++i) {
        if ((s[i] < '0' || s[i] > '9') && s[i] != ' ' && s[i] != '\t') return false;
    }
    return true;
}

// Whether the bytes hold a well-formed UTF-8 sequence of two bytes or more.
bool has_utf8_sequence(std::string_view s) {
    for (size_t i = 0; i < s.size(); ++i) {
        const auto lead = static_cast<unsigned char>(s[i]);
        size_t length = lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3
                                                           : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                                                          : 0;
        if (length == 0 || i + length > s.size()) continue;
        bool continued = true;
        for (size_t k = 1; k < length; ++k) continued = continued && (static_cast<unsigned char>(s[i + k]) & 0xC0) == 0x80;
        if (continued) return true;
    }
    return false;
}

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

class Finder {
public:
    Finder(const Form1& form, const CheckSource& line, const CheckSource& train)
        : form_(form), line_(line), train_(train) {
        for (const SkippedField& f : form_.trace.skipped) passedOver_[{f.document, f.line}].push_back(&f);
    }

    std::vector<FoundWarning> run();

private:
    void add(Warning w, Document document, int32_t line, std::string message,
             std::optional<int64_t> position = std::nullopt, std::optional<int32_t> cell = std::nullopt);
    // Keeps a row the last warning's message names as its related place, once.
    void relate(Document document, int32_t line, std::optional<int> field, std::string label);
    void relate(const TracedRecord& r, std::optional<int> field, std::string label) {
        relate(r.document, r.line, field, std::move(label));
    }
    std::vector<const TracedRecord*> records(RecordKind kind) const;
    bool train_read() const;

    void misspelt_keywords();
    void speed_limits();
    void adhesions();
    void narrowed_values();
    void narrowed(bool (*wanted)(StoredValue));
    void repeated_general_records();
    void timetable();
    void limits_without_boards();
    void station_names();
    void stop_cells_over_features();
    void empty_numbers();
    void gradients();
    void rows_out_of_order();
    void rows_out_of_order(RecordKind kind, const char* what);
    void moved_positions();
    void split_numbers();
    void utf8_text();
    void utf8_text(Document document, const CheckSource& source);
    void train_without_general();
    void profiles_starting_late();
    void scheduled_times();
    void clock_values();
    void number_of_cars();
    void montagna_stretches();
    void empty_station_names();
    void overlapping_curves();
    void records_out_of_place();
    void cut_text_fields();
    const TracedRecord* last_complete(RecordKind kind) const;
    struct StoredStation {
        const TracedRecord* record;
        const ScenarioSlot* slot;
    };
    std::vector<StoredStation> stored_stations() const;

    // Fields passed over on a line from a column on, by document and line:
    // the rule that tells about the first of them tells about the rest, its row's values.
    using TakenFields = std::map<std::pair<Document, int32_t>, int32_t>;
    static void take(TakenFields& taken, Document document, int32_t line, int32_t column);
    static bool taken(const TakenFields& taken, Document document, int32_t line, int32_t column);
    // The passed-over fields after a column of a line, in reading order.
    std::vector<const SkippedField*> passed_over_after(Document document, int32_t line, int32_t column) const;
    std::vector<std::string> values_after(Document document, int32_t line, int32_t column) const;
    // A record whose text field ends at a comma, with the fields of the line after it.
    struct CutText {
        const TracedRecord* record;
        std::vector<const SkippedField*> rest;
    };
    std::vector<CutText> cut_texts() const;
    // A keyword field naming a record kind its part's reader does not test.
    struct MisplacedRow {
        const KeywordField* keyword;
        RecordKind kind;
    };
    std::vector<MisplacedRow> misplaced_rows() const;
    TakenFields fields_told_elsewhere() const;

    const Form1& form_;
    const CheckSource& line_;
    const CheckSource& train_;
    std::vector<FoundWarning> found_;
    // The fields the reader passed over, by document and line, in reading order.
    std::map<std::pair<Document, int32_t>, std::vector<const SkippedField*>> passedOver_;
};

void Finder::add(Warning w, Document document, int32_t line, std::string message, std::optional<int64_t> position,
                 std::optional<int32_t> cell) {
    Diagnostic d;
    d.file = document == Document::Train ? train_.path : line_.path;
    d.line = line;
    d.code = w;
    d.message = std::move(message);
    d.position = position;
    d.cell = cell;
    found_.push_back({document, std::move(d)});
}

void Finder::relate(Document document, int32_t line, std::optional<int> field, std::string label) {
    Diagnostic& d = found_.back().diagnostic;
    const std::string& file = document == Document::Train ? train_.path : line_.path;
    for (const RelatedPlace& named : d.related) {
        if (named.file == file && named.line == line) return;
    }
    d.related.push_back({file, line, field, std::move(label)});
}

std::vector<const TracedRecord*> Finder::records(RecordKind kind) const {
    std::vector<const TracedRecord*> out;
    for (const TracedRecord& r : form_.trace.records) {
        if (r.kind == kind) out.push_back(&r);
    }
    return out;
}

// The train description is read unless the line reader stopped before it.
bool Finder::train_read() const {
    return form_.errorReported == kNoError || form_.errorDocument != Document::Line ||
           form_.errorReported == kNoRoomOnGrid;
}

void Finder::take(TakenFields& taken, Document document, int32_t line, int32_t column) {
    const auto [at, added] = taken.try_emplace({document, line}, column);
    if (!added) at->second = std::min(at->second, column);
}

bool Finder::taken(const TakenFields& taken, Document document, int32_t line, int32_t column) {
    const auto at = taken.find({document, line});
    return at != taken.end() && column >= at->second;
}

std::vector<const SkippedField*> Finder::passed_over_after(Document document, int32_t line, int32_t column) const {
    std::vector<const SkippedField*> out;
    const auto at = passedOver_.find({document, line});
    if (at == passedOver_.end()) return out;
    for (const SkippedField* f : at->second) {
        if (f->column > column) out.push_back(f);
    }
    return out;
}

std::vector<std::string> Finder::values_after(Document document, int32_t line, int32_t column) const {
    std::vector<std::string> values;
    for (const SkippedField* f : passed_over_after(document, line, column)) values.push_back(f->text);
    return values;
}

// A complete record whose last field is text (a station's name, a board's
// caption) followed on its line by fields the reader passed over: the text
// held a comma, which ended it.
std::vector<Finder::CutText> Finder::cut_texts() const {
    std::vector<CutText> out;
    for (const TracedRecord& r : form_.trace.records) {
        if (!complete(r) || r.fields.empty() || r.fields.back().number) continue;
        const TracedField& text = r.fields.back();
        auto rest = passed_over_after(r.document, text.line, text.endColumn - 1);
        // A comma after the whole text leaves an empty field: nothing is cut.
        const bool cut = std::any_of(rest.begin(), rest.end(), [](const SkippedField* f) { return !f->text.empty(); });
        if (cut) out.push_back({&r, std::move(rest)});
    }
    return out;
}

// Keyword fields that name a record kind of another part of the documents:
// the part's reader tests none of its kinds, so the row is lost. The values
// of such a row, and the text after a cut text field, are not rows of their own.
std::vector<Finder::MisplacedRow> Finder::misplaced_rows() const {
    TakenFields told;
    for (const CutText& c : cut_texts())
        take(told, c.record->document, c.record->fields.back().line, c.record->fields.back().endColumn);
    std::vector<MisplacedRow> out;
    for (const KeywordField& k : form_.trace.keywords) {
        if (k.records > 0 || is_section_header(k.text) || taken(told, k.document, k.line, k.column)) continue;
        const std::optional<RecordKind> kind = kind_of_another_part(k.text, k.part);
        if (!kind) continue;
        out.push_back({&k, *kind});
        take(told, k.document, k.line, k.column);
    }
    return out;
}

Finder::TakenFields Finder::fields_told_elsewhere() const {
    TakenFields told;
    for (const CutText& c : cut_texts())
        take(told, c.record->document, c.record->fields.back().line, c.record->fields.back().endColumn);
    for (const MisplacedRow& m : misplaced_rows()) take(told, m.keyword->document, m.keyword->line, m.keyword->column);
    return told;
}

// A keyword field that passed no record test lost its record: its values are
// read as further keyword fields (passed over in turn), which belong to the
// same lost record and are not reported again. A keyword is
// only offered when its kind is read where the row stands and the row's
// values would read as its record.
void Finder::misspelt_keywords() {
    // Numbers that ran on past a blank: what follows is read as the next
    // field, a keyword field; digits are told by the split-number warning.
    struct RunOn {
        Document document;
        int32_t line;
        int32_t endColumn;
        int64_t value;
    };
    std::map<std::pair<Document, int32_t>, std::vector<RunOn>> runOns;
    for (const TracedRecord& r : form_.trace.records) {
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
    TakenFields told = fields_told_elsewhere();

    // A keyword with a dash is taken for a dash field and passed over.
    for (const SkippedField& d : form_.trace.skipped) {
        if (d.reason != SkipReason::DashField || taken(told, d.document, d.line, d.column)) continue;
        std::optional<RecordKind> kind;
        for (const RecordFormat& format : kRecordFormats) {
            if (!kind && names_record(format.kind, d.text)) kind = format.kind;
        }
        const std::vector<std::string> values = values_after(d.document, d.line, d.column);
        if (!kind || values.empty()) continue;
        std::string keyword;
        if (part_of(*kind) == d.part && values_read_as(*kind, values)) {
            // A curve keyword names its class and hand: the field's own, without the dash.
            keyword = *kind == RecordKind::Curve ? d.text : std::string(record_format(*kind).written);
            std::erase(keyword, '-');
        }
        add(Warning::MisspeltKeyword, d.document, d.line,
            quoted(d.text) + " holds a dash, so the reader takes it for a dash field and passes it over, and reads "
            "the values after it as further keyword fields: the whole record is lost; " +
                (keyword.empty() ? std::string("write the record's keyword without a dash")
                                 : "write " + quoted(keyword) + ", without a dash"));
        take(told, d.document, d.line, d.column);
    }

    Document lostIn = Document::None;
    int32_t lostLine = 0;
    int suggestions = 0;
    for (const KeywordField& k : form_.trace.keywords) {
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
            add(Warning::MisspeltKeyword, k.document, k.line,
                quoted(k.text) + " lacks the " + (opening ? "closing" : "opening") + " bracket of a section "
                "header, so it opens no section: the reader passes it over and reads the rows after it in the "
                "section before it; write " + quoted(header));
            found_.back().diagnostic.field = 0;
            found_.back().diagnostic.fix = Fix{0, header};
            continue;
        }
        if (k.text.find('-') != std::string::npos) continue;
        if (lostIn == k.document && k.line == lostLine) continue;  // a value of the lost record
        if (const RunOn* number = run_on_before(k)) {
            lostIn = k.document;
            lostLine = k.line;
            if (is_number_text(k.text)) continue;
            add(Warning::MisspeltKeyword, k.document, k.line,
                quoted(k.text) + " after the number " + std::to_string(number->value) + " is not read with it: "
                "the number ends at the blank, and a unit after it is read as a further field, which the reader "
                "passes over; write the number only");
            continue;
        }
        if (is_number_text(k.text)) {
            add(Warning::MisspeltKeyword, k.document, k.line,
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
            const std::vector<std::string> values = values_after(k.document, k.line, k.column);
            const std::string nearest = nearest_keyword(
                k.text, [&](RecordKind kind) { return part_of(kind) == k.part && values_read_as(kind, values); });
            // A keyword that far from the field is no spelling of it.
            const bool near = !nearest.empty() && distance(ascii_lowered(std::string_view(k.text).substr(0, kComparedLength)),
                                                           nearest) <= std::max<size_t>(3, nearest.size() / 3);
            if (near) {
                suggestion = "did you mean \"" + nearest + "\"?";
                fix = Fix{0, nearest};
            }
        }
        add(Warning::MisspeltKeyword, k.document, k.line,
            quoted(k.text) + " contains no record keyword, so the reader passes it over and reads the values after "
            "it as further keyword fields: the whole record is lost; " + suggestion);
        found_.back().diagnostic.field = 0;
        found_.back().diagnostic.fix = fix;
        lostIn = k.document;
        lostLine = k.line;
    }
}

// Rows whose kind the reader of the part they stand in does not test.
void Finder::records_out_of_place() {
    std::map<const KeywordField*, RecordKind> misplaced;
    for (const MisplacedRow& m : misplaced_rows()) misplaced.emplace(m.keyword, m.kind);
    // Per document, the last header read and the one that ended the general section.
    const KeywordField* under[3] = {nullptr, nullptr, nullptr};
    const KeywordField* closing[3] = {nullptr, nullptr, nullptr};
    for (const KeywordField& k : form_.trace.keywords) {
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
        add(Warning::RecordOutOfPlace, k.document, k.line, message);
        found_.back().diagnostic.field = 0;
        if (ending != nullptr) relate(k.document, ending->line, 0, "the header " + quoted(ending->text));
    }
}

// A comma ends a text field: the rest of the text is read as further fields.
void Finder::cut_text_fields() {
    for (const CutText& c : cut_texts()) {
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
        add(Warning::TextFieldCut, r.document, r.fields.back().line,
            field_name(r.kind, n) + " holds a comma, so it is stored as " + quoted(stored) + " and " + quoted(rest) +
                ", after the comma, is read as " + (c.rest.size() == 1 ? "a further field" : "further fields") +
                " that the reader passes over; write it without a comma, such as " + quoted(whole),
            position);
        found_.back().diagnostic.field = n;
    }
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

// Values the readers and the placement stored other than written, as the
// read trace recorded them: speed limits, adhesions and gradients each on
// their own, the values of features together.
void Finder::speed_limits() { narrowed([](StoredValue w) { return w == StoredValue::SpeedLimit; }); }
void Finder::adhesions() { narrowed([](StoredValue w) { return w == StoredValue::Adhesion; }); }
void Finder::gradients() { narrowed([](StoredValue w) { return w == StoredValue::Gradient; }); }
void Finder::narrowed_values() {
    narrowed([](StoredValue w) {
        return w != StoredValue::SpeedLimit && w != StoredValue::Adhesion && w != StoredValue::Gradient;
    });
}

void Finder::narrowed(bool (*wanted)(StoredValue)) {
    const int32_t lowestGradient = gradient_of_byte(0);
    const int32_t highestGradient = gradient_of_byte(UINT8_MAX);
    for (const NarrowedValue& n : form_.trace.narrowed) {
        if (n.record < 0 || !wanted(n.what)) continue;
        const TracedRecord& r = form_.trace.records[static_cast<size_t>(n.record)];
        const std::optional<int64_t> position =
            r.fields.empty() ? std::nullopt : std::optional<int64_t>(r.fields[0].value);
        switch (n.what) {
            case StoredValue::SpeedLimit:
                add(Warning::SpeedNotStep, r.document, r.line,
                    "speed limit " + std::to_string(n.value) + " km/h is not a multiple of " +
                        std::to_string(kSpeedStepKmh) + " km/h; the grid holds speeds in steps of " +
                        std::to_string(kSpeedStepKmh) + " km/h, so " + std::to_string(n.stored) +
                        " km/h is stored; write the multiple of " + std::to_string(kSpeedStepKmh) + " you mean",
                    position);
                found_.back().diagnostic.field = 2;
                found_.back().diagnostic.fix = Fix{2, std::to_string(n.stored)};
                break;
            case StoredValue::Adhesion:
                add(Warning::AdhesionNarrowed, r.document, r.line,
                    "adhesion " + std::to_string(n.value) + " % does not fit its field, which holds 0 to " +
                        std::to_string(UINT8_MAX) + "; its low eight bits are stored, " + std::to_string(n.stored) +
                        " %; write the adhesion in percent, such as 90",
                    position);
                break;
            case StoredValue::Gradient:
                add(Warning::GradientNarrowed, r.document, r.line,
                    "gradient " + std::to_string(n.value) + " per mille is outside " + std::to_string(lowestGradient) +
                        " to " + std::to_string(highestGradient) + ": its cell keeps the gradient plus " +
                        std::to_string(kGradientOffset) + " in eight bits, so " + std::to_string(n.stored) +
                        " per mille is stored; check the value",
                    position);
                break;
            default:
                add(Warning::ValueNarrowed, r.document, r.line,
                    std::string(feature_name(r.kind)) + ": " + stored_name(n.what) + " is " + std::to_string(n.value) +
                        ", which does not fit its " + std::to_string(stored_bits(n.what)) +
                        "-bit field; its low bits are stored, " + std::to_string(n.stored) +
                        "; check the record's values",
                    position);
        }
    }
}

void Finder::repeated_general_records() {
    const std::pair<RecordKind, const char*> kinds[] = {{RecordKind::Cars, "number of cars"},
                                                        {RecordKind::BrakedMass, "braked mass"},
                                                        {RecordKind::Sand, "sand"},
                                                        {RecordKind::Clock, "clock"}};
    for (const auto& [kind, name] : kinds) {
        const TracedRecord* earlier = nullptr;
        for (const TracedRecord* r : records(kind)) {
            if (earlier != nullptr)
                add(Warning::GeneralRepeated, r->document, r->line,
                    std::string("the ") + name + " is given again (first at " + line_ref(earlier->line) +
                        "); the last one read wins, so " + line_ref(earlier->line) +
                        " has no effect; keep one of the two");
            if (earlier != nullptr) relate(*earlier, std::nullopt, std::string("the ") + name + " given first");
            earlier = r;
        }
    }
}

// Scheduled times along the route: backwards, faster than the speed limit
// allows, or before the clock starts.
void Finder::timetable() {
    struct Scheduled {
        const TracedRecord* record;
        int64_t position;
        int64_t time;
    };
    std::vector<Scheduled> stops;
    for (const TracedRecord* r : records(RecordKind::Station)) {
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
            add(Warning::TimesBackwards, b.record->document, b.record->line,
                "the scheduled time " + clock_text(b.time) + " at " + name(b.record) + " is earlier than " +
                    clock_text(a.time) + " at " + name(a.record) + " (" + line_ref(a.record->line) +
                    "), which comes before it along the route; correct one of the two times",
                b.position);
            relate(*a.record, kTimeField, "the scheduled time at " + name(a.record));
            continue;
        }
        // The shortest time at the speed limit, cell by cell, from one to the other.
        if (!form_.grid.sized()) continue;
        const int64_t from = std::max<int64_t>(0, profile_cell_index(static_cast<double>(a.position)));
        const int64_t to = std::min<int64_t>(form_.grid.upper(), profile_cell_index(static_cast<double>(b.position)));
        double seconds = 0.0;
        bool stopped = false;
        for (int64_t c = from; c < to; ++c) {
            const int step = form_.grid[c].aux1;
            if (step == 0) {
                stopped = true;
                break;
            }
            seconds += static_cast<double>(kCellMetres) / (static_cast<double>(speed_of_step(step)) / 3.6);
        }
        const int64_t allowed = b.time - a.time;
        if (stopped || to <= from || seconds <= static_cast<double>(allowed)) continue;
        add(Warning::TimeTooShort, b.record->document, b.record->line,
            name(b.record) + " is scheduled " + duration_text(static_cast<double>(allowed)) + " after " +
                name(a.record) + " (" + line_ref(a.record->line) + "), but even at the speed limit all the way the "
                "train needs " + duration_text(seconds) + "; give it a later time or raise the limits",
            b.position);
        relate(*a.record, kTimeField, "the scheduled time at " + name(a.record));
    }
    const auto clocks = records(RecordKind::Clock);
    if (!clocks.empty() && complete(*clocks.back()) && !stops.empty()) {
        const TracedRecord* clock = clocks.back();
        const int64_t start =
            (clock->fields[0].value * 60 + clock->fields[1].value) * 60 + clock->fields[2].value;
        if (start > stops.front().time) {
            add(Warning::ClockAfterDeparture, clock->document, clock->line,
                "the clock starts at " + clock_text(start) + ", after the first scheduled time, " +
                    clock_text(stops.front().time) + " at " + name(stops.front().record) + " (" +
                    line_ref(stops.front().record->line) + "): the train is late before it moves; start the clock "
                    "before that time");
            relate(*stops.front().record, kTimeField, "the first scheduled time, at " + name(stops.front().record));
        }
    }
}

void Finder::limits_without_boards() {
    std::vector<int64_t> boards;
    for (const TracedRecord* r : records(RecordKind::SpeedBoard)) {
        if (!r->fields.empty()) boards.push_back(r->fields[0].value);
    }
    bool first = true;
    int64_t previous = 0;
    for (const TracedRecord* r : records(RecordKind::SpeedLimit)) {
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
        add(Warning::LimitWithoutBoard, r->document, r->line,
            "the speed limit changes to " + std::to_string(v) + " km/h at " + metres(p) +
                ", but the line description has no speed board there or up to " + metres(kBoardReach) +
                " before it, so the driver is not told; add an indicatori_vmax row or move the change to a board",
            p);
    }
}

void Finder::station_names() {
    std::map<std::string, const TracedRecord*> seen;
    for (const TracedRecord* r : records(RecordKind::Station)) {
        if (!complete(*r)) continue;
        const std::string& name = r->fields[kStationNameField].text;
        auto [it, fresh] = seen.emplace(name, r);
        if (fresh) continue;
        add(Warning::StationNameRepeated, r->document, r->line,
            "a station named " + quoted(name) + " already stands at " + metres(it->second->fields[0].value) + " (" +
                line_ref(it->second->line) + "); the timetable and the simulator cannot tell them apart; rename one",
            r->fields[0].value);
        relate(*it->second, static_cast<int>(kStationNameField) + 1, "the first station named " + quoted(name));
    }
}

// Station stop cells are written without the free-cell test: a feature placed
// on that cell before the station is read disappears.
void Finder::stop_cells_over_features() {
    const auto& cells = form_.trace.cells;
    for (size_t i = 0; i < cells.size(); ++i) {
        if (cells[i].role != CellRole::StationStop || cells[i].record < 0) continue;
        const TracedRecord* station = &form_.trace.records[static_cast<size_t>(cells[i].record)];
        const FeatureCell* holder = last_holder(form_.trace, cells[i].cell, i);
        if (holder == nullptr || holder->record < 0 || !complete(*station)) continue;
        const TracedRecord* lost = &form_.trace.records[static_cast<size_t>(holder->record)];
        const std::string where = lost->document == station->document
                                      ? line_ref(lost->line)
                                      : line_ref(lost->line) + " of the line description";
        add(Warning::StopCellOverFeature, station->document, station->line,
            "the stop cell of station " + quoted(station->fields[kStationNameField].text) + " is grid cell " +
                std::to_string(cells[i].cell) + ", which already holds the " + feature_name(lost->kind) + " at " +
                metres(lost->fields[0].value) + " (" + where + "); stop cells are written without a test, so the " +
                feature_name(lost->kind) + " disappears; move one of the two",
            station->fields[0].value, cells[i].cell);
        relate(*lost, 1, std::string("the ") + feature_name(lost->kind) + " at " + metres(lost->fields[0].value));
    }
}

void Finder::empty_numbers() {
    for (const TracedRecord& r : form_.trace.records) {
        for (size_t i = 0; i < r.fields.size(); ++i) {
            if (!r.fields[i].number || !r.fields[i].empty) continue;
            // A speed board's right-hand speeds stay empty in the built-in boards on purpose.
            const bool rightSpeed = i >= kBoardRightSpeedFields.first && i <= kBoardRightSpeedFields.last;
            if (r.kind == RecordKind::SpeedBoard && rightSpeed) continue;
            add(Warning::EmptyNumber, r.document, r.fields[i].line,
                "value " + std::to_string(i + 1) + " of the " + feature_name(r.kind) + " (" + line_ref(r.line) +
                    ") is empty and read as 0; write the value, or 0 if 0 is meant");
            // The record's own line, named when the value stands on a later one.
            if (r.fields[i].line != r.line) relate(r, 0, std::string("the ") + feature_name(r.kind) + " row");
        }
    }
}

// Profile rows fill cells from where the last row left off, at least one cell
// each: the reader records a row whose own cell was already filled, which
// takes effect further on.
void Finder::rows_out_of_order(RecordKind kind, const char* what) {
    for (const MovedPosition& m : form_.trace.moved) {
        if (m.record < 0) continue;
        const TracedRecord& r = form_.trace.records[static_cast<size_t>(m.record)];
        if (r.kind != kind) continue;
        // The row read before it, whose cells it falls among.
        const TracedRecord* previous = nullptr;
        for (const TracedRecord* earlier : records(kind)) {
            if (earlier == &r) break;
            if (complete(*earlier)) previous = earlier;
        }
        if (previous == nullptr) continue;
        add(Warning::RowsOutOfOrder, r.document, r.line,
            std::string("the ") + what + " row at " + metres(m.position) + " comes after the row at " +
                metres(previous->fields[0].value) + ", further along the route; rows must increase, and this one "
                "takes effect from " + metres(m.landed) + ", not where it is written; put the rows in order",
            m.position);
        relate(*previous, 1, std::string("the ") + what + " row at " + metres(previous->fields[0].value));
    }
}

// Features placed on the nearest cell to a position that is not a cell's own.
void Finder::moved_positions() {
    for (const MovedPosition& m : form_.trace.moved) {
        if (m.record < 0) continue;
        const TracedRecord& r = form_.trace.records[static_cast<size_t>(m.record)];
        const bool feature = r.kind == RecordKind::Signal || r.kind == RecordKind::SpeedBoard ||
                             r.kind == RecordKind::IndicationBoard || r.kind == RecordKind::SlowDown ||
                             r.kind == RecordKind::Abbattimento;
        if (!feature) continue;
        add(Warning::PositionMoved, r.document, r.line,
            std::string(feature_name(r.kind)) + " at " + metres(m.position) + " is not on a multiple of " +
                metres(kCellMetres) + "; it lands on grid cell " + std::to_string(m.cell) + ", the cell of " +
                metres(m.landed) + "; write " + std::to_string(m.landed) + " or the multiple of " +
                std::to_string(kCellMetres) + " you mean",
            m.position, m.cell);
        found_.back().diagnostic.field = 1;
        found_.back().diagnostic.fix = Fix{1, std::to_string(m.landed)};
    }
}

void Finder::split_numbers() {
    for (const TracedRecord& r : form_.trace.records) {
        if (r.kind == RecordKind::Clock) continue;  // its numbers stand apart by blanks alone
        for (const TracedField& f : r.fields) {
            if (!f.number || !f.runsOn) continue;
            // Text rather than digits after the blank: a unit, told as a field passed over.
            const auto after = passed_over_after(r.document, f.line, f.endColumn - 1);
            if (!after.empty() && after.front()->reason == SkipReason::NoRecord && !is_number_text(after.front()->text))
                break;
            add(Warning::NumberSplit, r.document, f.line,
                "the number " + std::to_string(f.value) + " is followed by more of its field after a blank: the "
                "number ends at the blank and the rest is read as the next field (\"106 000\" reads as 106); "
                "write the number without blanks");
            break;  // the rest of the record is shifted: once is enough
        }
    }
}

void Finder::utf8_text(Document document, const CheckSource& source) {
    if (!source.text) return;
    const int32_t from = form_.trace.generalLine[static_cast<int>(document)];
    if (from == 0) return;
    const auto lines = document_lines(*source.text);
    for (size_t i = static_cast<size_t>(from); i < lines.size(); ++i) {
        if (!has_utf8_sequence(lines[i])) continue;
        const std::string text = trimmed(lines[i]);
        add(Warning::Utf8Text, document, static_cast<int32_t>(i + 1),
            "this line looks like UTF-8 text (\"" + text + "\"), but the documents are Windows-1252: the simulator "
            "shows it as " + quoted(text) + "; save the document in Windows-1252");
    }
}

void Finder::train_without_general() {
    if (!train_.text || form_.trace.generalLine[static_cast<int>(Document::Train)] != 0 || !train_read()) return;
    add(Warning::NoGeneralSection, Document::Train, 0,
        "no field contains \"[generale]\", so the reader reads nothing of the train description: no speed "
        "limits, stations or signals; open its general section with a line \"[generale]\"");
}

void Finder::profiles_starting_late() {
    const int32_t general = form_.trace.generalLine[static_cast<int>(Document::Train)];
    if (general == 0 || !train_read()) return;
    const std::pair<RecordKind, const char*> profiles[] = {{RecordKind::SpeedLimit, "speed limit"},
                                                           {RecordKind::Adhesion, "adhesion"}};
    for (const auto& [kind, what] : profiles) {
        const auto rows = records(kind);
        if (rows.empty()) {
            add(Warning::ProfileStartsLate, Document::Train, general,
                std::string("the train description has no ") + what + " row, so the " + what +
                    " is 0 along the whole route; add a row at 0 m");
        } else if (!rows.front()->fields.empty() &&
                   profile_cell_index(static_cast<double>(rows.front()->fields[0].value)) > 0) {
            add(Warning::ProfileStartsLate, Document::Train, rows.front()->line,
                std::string("the first ") + what + " row stands at " + metres(rows.front()->fields[0].value) +
                    ", so the " + what + " is 0 from the start of the route up to it; add a row at 0 m",
                rows.front()->fields[0].value);
        }
    }
}

// The last complete record of a general kind: the one whose values are stored.
const TracedRecord* Finder::last_complete(RecordKind kind) const {
    const auto rows = records(kind);
    if (rows.empty() || !complete(*rows.back())) return nullptr;
    return rows.back();
}

// The station records fill the station slots in order, from slot 1; a
// record is paired with its slot only when the slot holds its position and name.
std::vector<Finder::StoredStation> Finder::stored_stations() const {
    std::vector<StoredStation> out;
    size_t slot = 1;
    for (const TracedRecord* r : records(RecordKind::Station)) {
        if (!complete(*r) || slot > static_cast<size_t>(kFirstBoardSlot)) break;
        const ScenarioSlot& stored = form_.scenario[slot++];
        if (stored.long3 != r->fields[0].value || stored.label != r->fields[kStationNameField].text) break;
        out.push_back({r, &stored});
    }
    return out;
}

void Finder::scheduled_times() {
    for (const auto& [r, slot] : stored_stations()) {
        const ScenarioSlot& stored = *slot;
        const int64_t hours = r->fields[kStationTimeFields.first].value;
        const int64_t minutes = r->fields[kStationTimeFields.first + 1].value;
        const int64_t seconds = r->fields[kStationTimeFields.first + 2].value;
        if (minutes >= 0 && minutes < 60 && seconds >= 0 && seconds < 60) continue;
        if (stored.long4 < 0) continue;  // told as a value too wide elsewhere
        add(Warning::TimeCarried, r->document, r->line,
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
void Finder::clock_values() {
    const TracedRecord* r = last_complete(RecordKind::Clock);
    if (r == nullptr) return;
    const ScenarioSlot& train = form_.scenario[kSlotTrain];
    const bool hoursOut = train.int3 < 0 || train.int3 >= 24;
    const bool restOut = train.int4 < 0 || train.int4 >= 60 || train.int5 < 0 || train.int5 >= 60;
    if (!hoursOut && !restOut) return;
    add(Warning::ClockOutOfRange, r->document, r->line,
        "the clock is set to " + std::to_string(train.int3) + " h " + std::to_string(train.int4) + " min " +
            std::to_string(train.int5) + " s and stored so, but " +
            (hoursOut ? "hours run from 0 to 23" : "minutes and seconds run from 0 to 59") +
            " and nothing is carried over; write the time of day the run starts, such as 9 37 0");
}

void Finder::number_of_cars() {
    const TracedRecord* r = last_complete(RecordKind::Cars);
    if (r == nullptr) return;
    const int32_t cars = form_.scenario[kSlotGeneral].long3;
    if (cars > 0) return;
    add(Warning::NoCars, r->document, r->line,
        "the number of cars is " + std::to_string(cars) + " and is stored so: the train has no cars; "
        "write how many cars it has, such as 8");
}

// Montagna stretches as the placement stored them: the cells they cover and their type.
void Finder::montagna_stretches() {
    for (const MontagnaStretch& m : form_.trace.stretches) {
        if (m.record < 0) continue;
        const TracedRecord& r = form_.trace.records[static_cast<size_t>(m.record)];
        if (!complete(r)) continue;
        const int64_t start = r.fields[0].value;
        const int64_t end = r.fields[1].value;
        const int64_t type = r.fields[2].value;
        if (m.first > m.last) {
            add(Warning::StretchVanishes, r.document, r.line,
                "the montagna stretch from " + metres(start) + " to " + metres(end) + " ends " +
                    (end < start ? "before it starts" : "too close after its start") +
                    ", so it covers no grid cell and nothing of it is stored; write its end after its start",
                start);
            continue;
        }
        const bool narrowed = std::any_of(form_.trace.narrowed.begin(), form_.trace.narrowed.end(),
                                          [&](const NarrowedValue& n) { return n.record == m.record; });
        if ((type >= 1 && type <= 2 * kMontagnaMarkerTypes) || narrowed) continue;
        add(Warning::MontagnaTypeUnknown, r.document, r.line,
            "montagna type " + std::to_string(type) + " is outside 1 to " + std::to_string(2 * kMontagnaMarkerTypes) +
                " (1 to " + std::to_string(kMontagnaMarkerTypes) + ", or " +
                std::to_string(kMontagnaMarkerTypes + 1) + " to " + std::to_string(2 * kMontagnaMarkerTypes) +
                " with markers); type " + std::to_string(m.type) + " is stored in its cells; write the type you mean",
            start);
    }
}

void Finder::empty_station_names() {
    for (const auto& [r, stored] : stored_stations()) {
        if (!stored->label.empty()) continue;
        add(Warning::StationNameEmpty, r->document, r->line,
            "the station at " + metres(r->fields[0].value) + " has an empty name: the timetable and the "
            "simulator show no name for it; write its name after the last number",
            r->fields[0].value);
    }
}

// Curves turn the line from the column where the previous one left off: a
// curve that starts inside the one before it turns only from that one's end.
void Finder::overlapping_curves() {
    const TracedRecord* previous = nullptr;
    for (const TracedRecord* r : records(RecordKind::Curve)) {
        if (!complete(*r)) continue;
        if (previous != nullptr) {
            const int64_t before = previous->fields[0].value + previous->fields[1].value;
            const int64_t start = r->fields[0].value;
            const int64_t end = start + r->fields[1].value;
            if (start < before) {
                add(Warning::CurvesOverlap, r->document, r->line,
                    "the curve from " + metres(start) + " starts before the curve before it (" +
                        line_ref(previous->line) + ") ends at " + metres(before) + "; the line turns by this curve " +
                        (end > before ? "only from " + metres(before) + " to " + metres(end)
                                      : std::string("nowhere")) +
                        "; start it at " + metres(before) + " or later",
                    start);
                relate(*previous, std::nullopt, "the curve before it");
            }
        }
        if (previous == nullptr || r->fields[0].value + r->fields[1].value > previous->fields[0].value +
                                                                               previous->fields[1].value)
            previous = r;
    }
}

void Finder::rows_out_of_order() {
    rows_out_of_order(RecordKind::SpeedLimit, "speed-limit");
    rows_out_of_order(RecordKind::Adhesion, "adhesion");
    rows_out_of_order(RecordKind::Gradient, "gradient");
}

void Finder::utf8_text() {
    utf8_text(Document::Line, line_);
    utf8_text(Document::Train, train_);
}

std::vector<FoundWarning> Finder::run() {
    // The rule of every warning, as the warning table names it; a rule that
    // finds several warnings stands on their consecutive rows and runs once.
    using Rule = void (Finder::*)();
    static constexpr Rule kRules[] = {
#define WARNING_CODE(name, number, rule, title) &Finder::rule,
#include "tools/codes/warning_codes.def"
    };
    const Rule* previous = nullptr;
    for (const Rule& rule : kRules) {
        if (previous == nullptr || rule != *previous) (this->*rule)();
        previous = &rule;
    }
    return std::move(found_);
}

}  // namespace

size_t keyword_distance(std::string_view field, std::string_view keyword) {
    return distance(ascii_lowered(field.substr(0, 200)), keyword);
}


std::vector<FoundWarning> find_warnings(const Form1& form, const CheckSource& line, const CheckSource& train) {
    return Finder(form, line, train).run();
}
