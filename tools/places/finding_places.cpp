#include "tools/places/finding_places.h"

#include <algorithm>

#include "tools/places/field_spans.h"

FindingPlaces::FindingPlaces(std::string linePath, std::string trainPath, const ReadTrace& trace,
                             const std::vector<RefusedRecord>& refused)
    : linePath_(std::move(linePath)), trainPath_(std::move(trainPath)), trace_(trace), refused_(refused) {
    byLine_.reserve(trace.records.size());
    for (size_t i = 0; i < trace.records.size(); ++i)
        byLine_.push_back({{trace.records[i].document, trace.records[i].line}, i});
    // Stable: of the records at one line, the last read stays last.
    std::stable_sort(byLine_.begin(), byLine_.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
}

Document FindingPlaces::document_of(const std::string& path) const {
    if (path == linePath_) return Document::Line;
    if (path == trainPath_) return Document::Train;
    return Document::None;
}

const TracedRecord* FindingPlaces::traced_at(Document document, int32_t line) const {
    const std::pair<Document, int32_t> key{document, line};
    const auto past = std::upper_bound(byLine_.begin(), byLine_.end(), key,
                                       [](const auto& k, const auto& entry) { return k < entry.first; });
    if (past != byLine_.begin() && std::prev(past)->first == key) return &trace_.records[std::prev(past)->second];
    return nullptr;
}

const TracedRecord* FindingPlaces::record_at(Document document, int32_t line) const {
    if (const TracedRecord* traced = traced_at(document, line)) return traced;
    // A row refused by an earlier pass is left out of the last one.
    for (const RefusedRecord& r : refused_) {
        if (r.row.document == document && r.record && r.record->line == line) return &*r.record;
    }
    return nullptr;
}

const RefusedRecord* FindingPlaces::refusal(const Diagnostic& d) const {
    if (d.severity() != Severity::Error) return nullptr;
    const Document document = document_of(d.file);
    for (const RefusedRecord& r : refused_) {
        const bool atLine = r.row.line == d.line || (r.unread && r.unread->line == d.line);
        if (r.row.document == document && r.row.code == d.code.number() && atLine) return &r;
    }
    return nullptr;
}

std::optional<FindingMark> FindingPlaces::mark(const Diagnostic& d) const {
    if (d.line < 1) return std::nullopt;
    const Document document = document_of(d.file);
    const TracedRecord* record = nullptr;
    std::optional<TextSpan> span;
    if (const RefusedRecord* refused = refusal(d)) {
        // An error's row is left out of the passes after it: its record is the refusing pass's.
        if (refused->record) record = &*refused->record;
        if (refused->unread) span = TextSpan{refused->unread->line - 1, refused->unread->column, refused->unread->endColumn};
    } else {
        record = traced_at(document, d.line);
    }
    if (span) {
        // The field a read failure stopped at.
    } else if (d.field && *d.field == 0 && record != nullptr) {
        span = keyword_span(*record);
    } else if (d.field && *d.field == 0) {  // a keyword that named no record
        for (const KeywordField& k : trace_.keywords) {
            if (k.document != document || k.line != d.line || k.records != 0) continue;
            span = keyword_field_span(k);  // the first: the values after it are read as keyword fields too
            break;
        }
    } else if (d.field && record != nullptr) {
        span = field_span(*record, *d.field);
    }
    if (span) return FindingMark{*span, true};
    if (record != nullptr) {
        if (const std::optional<TextSpan> keyword = keyword_span(*record)) return FindingMark{*keyword, false};
    }
    return std::nullopt;
}

std::optional<TextSpan> FindingPlaces::related(const RelatedPlace& place) const {
    const Document document = document_of(place.file);
    if (!place.field || document == Document::None) return std::nullopt;
    const TracedRecord* record = record_at(document, place.line);
    if (record == nullptr) return std::nullopt;
    return *place.field == 0 ? keyword_span(*record) : field_span(*record, *place.field);
}

std::vector<std::optional<TextSpan>> FindingPlaces::related_spans(const Diagnostic& d) const {
    std::vector<std::optional<TextSpan>> spans;
    for (const RelatedPlace& place : d.related) spans.push_back(related(place));
    return spans;
}

std::optional<std::pair<int32_t, int32_t>> columns_on(const std::optional<TextSpan>& span, int32_t line) {
    if (!span || span->line != line - 1) return std::nullopt;
    return std::pair{span->begin + 1, span->end + 1};
}
