// The read trace: keyword fields, the records they opened and the fields each read.
#include "core/read_trace.h"

int traced_field_count(RecordKind kind) {
    switch (kind) {
        case RecordKind::RouteLength: return 1;
        case RecordKind::Progressive3:
        case RecordKind::Progressive2:
        case RecordKind::Progressive1: return 3;
        case RecordKind::Background1:
        case RecordKind::Background2:
        case RecordKind::Background3: return 1;
        case RecordKind::SignalRepetition: return 2;
        case RecordKind::Gradient:
        case RecordKind::Curve: return 2;
        case RecordKind::Montagna: return 3;
        case RecordKind::SpeedBoard: return 9;
        case RecordKind::IndicationBoard: return 2;
        case RecordKind::BrakedMass:
        case RecordKind::Cars: return 1;
        case RecordKind::SpeedLimit:
        case RecordKind::Adhesion: return 2;
        case RecordKind::Clock: return 3;
        case RecordKind::Sand: return 1;
        case RecordKind::Signal: return 11;
        case RecordKind::SlowDown: return 6;
        case RecordKind::Abbattimento: return 2;
        case RecordKind::Station: return 17;
    }
    return 0;
}

void ReadTrace::clear() {
    keywords.clear();
    records.clear();
    completionFaults.clear();
    for (int32_t& line : generalLine) line = 0;
    recordOpen_ = false;
}

void ReadTrace::add_keyword(Document document, int32_t line, const std::string& text) {
    keywords.push_back({document, line, text, 0});
    recordOpen_ = false;
}

void ReadTrace::add_record(RecordKind kind) {
    if (keywords.empty()) return;
    KeywordField& key = keywords.back();
    ++key.records;
    records.push_back({key.document, kind, key.line, key.text, {}});
    recordOpen_ = true;
}

// The next keyword field is read before its hook runs: a record takes no more
// fields than its kind reads.
void ReadTrace::add_field(const TracedField& f) {
    if (!recordOpen_) return;
    TracedRecord& r = records.back();
    if (static_cast<int>(r.fields.size()) >= traced_field_count(r.kind)) {
        recordOpen_ = false;
        return;
    }
    r.fields.push_back(f);
}
