#include "tools/diagnostics/warning_finder.h"

#include <cstdio>

#include "core/error_codes.h"
#include "tools/common/text_encoding.h"

namespace warning_rules {

WarningFinder::WarningFinder(const Form1& form, const AuthorDocument& line, const AuthorDocument& train)
    : form(form), lineDocument(line), trainDocument(train) {
    for (const SkippedField& f : form.trace.skipped) passedOver_[{f.document, f.line}].push_back(&f);
}

bool complete(const TracedRecord& r) { return static_cast<int>(r.fields.size()) == traced_field_count(r.kind); }

std::string quoted(std::string_view bytes) { return "\"" + cp1252_to_utf8(bytes) + "\""; }
std::string metres(int64_t m) { return std::to_string(m) + " m"; }
std::string line_ref(int32_t line) { return "line " + std::to_string(line); }

void WarningFinder::add(Warning w, Document document, int32_t line, std::string message,
                        std::optional<int64_t> position, std::optional<int32_t> cell) {
    Diagnostic d;
    d.file = document == Document::Train ? trainDocument.path : lineDocument.path;
    d.line = line;
    d.code = w;
    d.message = std::move(message);
    d.position = position;
    d.cell = cell;
    found_.push_back({document, std::move(d)});
}

void WarningFinder::relate(Document document, int32_t line, std::optional<int> field, std::string label) {
    Diagnostic& d = found_.back().diagnostic;
    const std::string& file = document == Document::Train ? trainDocument.path : lineDocument.path;
    for (const RelatedPlace& named : d.related) {
        if (named.file == file && named.line == line) return;
    }
    d.related.push_back({file, line, field, std::move(label)});
}

std::vector<const TracedRecord*> WarningFinder::records(RecordKind kind) const {
    std::vector<const TracedRecord*> out;
    for (const TracedRecord& r : form.trace.records) {
        if (r.kind == kind) out.push_back(&r);
    }
    return out;
}

// The train description is read unless the line reader stopped before it.
bool WarningFinder::train_read() const {
    return form.errorReported == kNoError || form.errorDocument != Document::Line ||
           form.errorReported == kNoRoomOnGrid;
}

// The last complete record of a general kind: the one whose values are stored.
const TracedRecord* WarningFinder::last_complete(RecordKind kind) const {
    const auto rows = records(kind);
    if (rows.empty() || !complete(*rows.back())) return nullptr;
    return rows.back();
}

std::vector<const SkippedField*> WarningFinder::passed_over_after(Document document, int32_t line,
                                                                  int32_t column) const {
    std::vector<const SkippedField*> out;
    const auto at = passedOver_.find({document, line});
    if (at == passedOver_.end()) return out;
    for (const SkippedField* f : at->second) {
        if (f->column > column) out.push_back(f);
    }
    return out;
}

std::vector<std::string> WarningFinder::values_after(Document document, int32_t line, int32_t column) const {
    std::vector<std::string> values;
    for (const SkippedField* f : passed_over_after(document, line, column)) values.push_back(f->text);
    return values;
}

// The station records fill the station slots in order, from slot 1; a
// record is paired with its slot only when the slot holds its position and name.
std::vector<WarningFinder::StoredStation> WarningFinder::stored_stations() const {
    std::vector<StoredStation> out;
    size_t slot = 1;
    for (const TracedRecord* r : records(RecordKind::Station)) {
        if (!complete(*r) || slot > static_cast<size_t>(kFirstBoardSlot)) break;
        const ScenarioSlot& stored = form.scenario[slot++];
        if (stored.long3 != r->fields[0].value || stored.label != r->fields[kStationNameField].text) break;
        out.push_back({r, &stored});
    }
    return out;
}

std::string clock_text(int64_t seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", static_cast<long long>(seconds / 3600),
                  static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
    return text;
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

}  // namespace warning_rules
