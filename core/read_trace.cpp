// The read trace: keyword fields, the records they opened, the fields each
// read, and what the readers, the placement and the completion pass decided.
#include "core/read_trace.h"

#include "core/error_codes.h"
#include "core/track_grid.h"

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
    unreadField = TracedField();
    for (int32_t& line : generalLine) line = 0;
    for (int32_t& record : progressiveRecords) record = -1;
    recordOpen_ = false;
    lastField_ = TracedField();
}

// The keyword field is the last field read.
void ReadTrace::add_keyword(DocumentPart part, int32_t line, const std::string& text) {
    const bool spanKnown = lastField_.line == line && !lastField_.number;
    keywords.push_back({document_of(part), part, line, spanKnown ? lastField_.column : 0,
                        spanKnown ? lastField_.endColumn : 0, text, 0});
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

void ReadTrace::add_skipped(DocumentPart part, SkipReason reason, const TracedField& f) {
    skipped.push_back({document_of(part), part, f.line, f.column, f.endColumn, reason, f.text});
}

void ReadTrace::add_skipped_keyword() {
    const KeywordField& k = keywords.back();
    skipped.push_back({k.document, k.part, k.line, k.column, k.endColumn, SkipReason::NoRecord, k.text});
}

void ReadTrace::add_refusal(RefusedRow row) {
    if (row.record >= 0 && static_cast<size_t>(row.record) < records.size()) {
        const TracedRecord& r = records[static_cast<size_t>(row.record)];
        if (row.document == Document::None) row.document = r.document;
        row.line = r.line;
    } else {
        row.record = -1;
    }
    add_free_cell(row);
    refusals.push_back(row);
}

// The features of one cell: the position that puts one in a cell is the
// inverse of the cell the feature takes for a position.
void ReadTrace::add_free_cell(RefusedRow& row) const {
    const bool profileCell = row.code == kAbbattimentoCellTaken;
    const bool oneCell = profileCell || row.code == kSignalCellTaken || row.code == kSpeedBoardCellTaken ||
                         row.code == kIndicationBoardCellTaken;
    if (!oneCell || grid_ == nullptr || !grid_->sized() || !grid_->contains(row.cell)) return;
    const int64_t cells = static_cast<int64_t>(grid_->cells().size());
    for (int64_t k = 1; k < cells; ++k) {
        for (const int64_t c : {row.cell + k, row.cell - k}) {
            const int64_t position = profileCell ? profile_cell_start(c) : cell_position(c);
            if (!grid_->contains(c) || position < 0 || !grid_->is_free(c)) continue;
            row.freeCell = static_cast<int32_t>(c);
            row.freePosition = position;
            return;
        }
    }
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
