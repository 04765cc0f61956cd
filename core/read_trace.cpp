// The read trace: keyword fields, the records they opened, the fields each
// read, and what the readers, the placement and the completion pass decided.
#include "core/read_trace.h"

#include "core/error_codes.h"

int traced_field_count(RecordKind kind) { return record_format(kind).fields; }

void ReadTrace::clear() {
    keywords.clear();
    records.clear();
    skipped.clear();
    refusals.clear();
    narrowed.clear();
    moved.clear();
    cells.clear();
    stretches.clear();
    caps.clear();
    completionFaults.clear();
    for (int32_t& line : generalLine) line = 0;
    for (int32_t& record : progressiveRecords) record = -1;
    recordOpen_ = false;
    lastField_ = TracedField();
}

// The keyword field is the last field read.
void ReadTrace::add_keyword(Document document, int32_t line, const std::string& text) {
    const bool spanKnown = lastField_.line == line && !lastField_.number;
    keywords.push_back({document, line, spanKnown ? lastField_.column : 0, spanKnown ? lastField_.endColumn : 0,
                        text, 0});
    recordOpen_ = false;
}

void ReadTrace::add_record(RecordKind kind) {
    if (keywords.empty()) return;
    KeywordField& key = keywords.back();
    ++key.records;
    records.push_back({key.document, kind, key.line, key.column, key.endColumn, key.text, {}});
    recordOpen_ = true;
}

// The next keyword field is read before its hook runs: a record takes no more
// fields than its kind reads.
void ReadTrace::add_field(const TracedField& f) {
    lastField_ = f;
    if (!recordOpen_) return;
    TracedRecord& r = records.back();
    if (static_cast<int>(r.fields.size()) >= traced_field_count(r.kind)) {
        recordOpen_ = false;
        return;
    }
    r.fields.push_back(f);
}

void ReadTrace::add_skipped(Document document, SkipReason reason, const TracedField& f) {
    skipped.push_back({document, f.line, f.column, f.endColumn, reason, f.text});
}

void ReadTrace::add_skipped_keyword() {
    const KeywordField& k = keywords.back();
    skipped.push_back({k.document, k.line, k.column, k.endColumn, SkipReason::NoRecord, k.text});
}

void ReadTrace::add_refusal(RefusedRow row) {
    if (row.record >= 0 && static_cast<size_t>(row.record) < records.size()) {
        const TracedRecord& r = records[static_cast<size_t>(row.record)];
        if (row.document == Document::None) row.document = r.document;
        row.line = r.line;
    } else {
        row.record = -1;
    }
    refusals.push_back(row);
}

void ReadTrace::add_read_failure(Document document, int32_t line) {
    for (const RefusedRow& r : refusals) {
        if (r.code == kReadFailure && r.document == document) return;
    }
    RefusedRow row{kReadFailure, document, line, -1, -1, -1};
    if (!records.empty()) {
        const TracedRecord& r = records.back();
        const int read = static_cast<int>(r.fields.size());
        if (r.document == document && read < traced_field_count(r.kind)) {
            row.record = static_cast<int32_t>(records.size()) - 1;
            row.field = read;
        }
    }
    add_refusal(row);
}
