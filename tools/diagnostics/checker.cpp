// The check runs the compile pass again and again, from memory, on copies of
// the documents' texts: after each error it reports the error exactly as
// compile does, blanks the record that caused it in the copy (its lines kept,
// emptied, so every later line keeps its number) and compiles again, until
// the readers go through. No reader is written twice: each pass is the
// compile pass itself, and no file is written.
#include "tools/diagnostics/checker.h"

#include <algorithm>
#include <climits>
#include <iterator>

#include "core/error_codes.h"
#include "core/field_stream.h"
#include "core/form1.h"
#include "core/record_fields.h"
#include "core/run_end.h"
#include "core/rounding.h"
#include "platform/platform.h"
#include "tools/diagnostics/diagnostics.h"
#include "tools/diagnostics/feature_cells.h"
#include "tools/diagnostics/label_lengths.h"
#include "tools/diagnostics/misplaced_documents.h"
#include "tools/diagnostics/short_route_length.h"
#include "tools/diagnostics/warnings.h"
#include "tools/pass/compile_pass.h"

namespace {

// Empties lines first to last (from 1, as the field stream counts them) and
// keeps their line ends. Returns whether anything was removed.
bool blank_lines(std::string& text, int32_t first, int32_t last) {
    const auto lines = document_lines(text);
    std::string out;
    out.reserve(text.size());
    size_t cursor = 0;  // end of the last line copied
    bool changed = false;
    for (size_t i = 0; i < lines.size(); ++i) {
        const size_t start = static_cast<size_t>(lines[i].data() - text.data());
        out.append(text, cursor, start - cursor);  // the line end before it
        const auto number = static_cast<int32_t>(i + 1);
        if (number >= first && number <= last) {
            changed = changed || !lines[i].empty();
        } else {
            out.append(lines[i]);
        }
        cursor = start + lines[i].size();
    }
    out.append(text, cursor, std::string::npos);
    if (changed) text = std::move(out);
    return changed;
}

const TracedRecord* record_at(const Form1& form, Document document, int32_t line) {
    const auto& records = form.trace.records;
    for (auto it = records.rbegin(); it != records.rend(); ++it) {
        if (it->document == document && it->line == line) return &*it;
    }
    return nullptr;
}

// The record the reader had in hand when it stopped: the last one of the document.
const TracedRecord* last_record(const Form1& form, Document document) {
    const auto& records = form.trace.records;
    for (auto it = records.rbegin(); it != records.rend(); ++it) {
        if (it->document == document) return &*it;
    }
    return nullptr;
}

int32_t last_line(const TracedRecord& record) {
    int32_t last = record.line;
    for (const TracedField& f : record.fields) last = std::max(last, f.line);
    return last;
}

// The record's position on the route, for the kinds whose first value is one.
std::optional<int64_t> position_of(const TracedRecord* record) {
    if (record == nullptr || record->fields.empty() || !record->fields[0].number) return std::nullopt;
    if (!starts_with_position(record->kind)) return std::nullopt;
    return record->fields[0].value;
}

// Where a diagnostic sorts: the line description, the train description, then
// the checks made after both are read (progressive definitions, completion
// pass, reserved fields) in the order they are met.
struct Ranked {
    int rank;
    int32_t line;
    Diagnostic diagnostic;
};

int rank_of(Document document) { return document == Document::Line ? 1 : 2; }
constexpr int kAfterReading = 3;

class Checker {
public:
    Checker(const AuthorDocument& line, const AuthorDocument& train, const ScenarioNames& names, int maxErrors)
        : line_(line),
          train_(train),
          maxErrors_(std::max(maxErrors, 1)),
          names_(names),
          pass_({.names = names, .trace = true, .lineTable = true, .compiledFiles = false, .messageBox = false}),
          form_(pass_.form()) {
        lineText_ = line.text.value_or("");
        trainText_ = train.text.value_or("");
    }

    CheckResult run();
    const ReadTrace& trace() const { return form_.trace; }

private:
    void add_error(int rank, Document document, int32_t line, Code code, ErrorText text, std::optional<int32_t> cell,
                   std::optional<int64_t> position);
    bool full() const { return errors_ >= maxErrors_; }
    // Takes the pass's reader error; false when the check cannot go past it.
    bool take_reader_error();
    // Leaves the record out of the next pass; false when nothing was left to remove.
    bool blank_record(const TracedRecord& record, int32_t errorLine);
    void keep_refusal(Diagnostic& d);
    void keep_length_refusal(Diagnostic& d, const ShortRouteLength& length);
    // Whether a warning still says something sound after the check ended early.
    bool kept_warning(const FoundWarning& w) const;
    // Runs the pass on the documents as they now stand; an unreadable document has no text.
    const PassEnd& run_pass();
    void take_checks_after_reading(const PassEnd& end);
    // The check of a pair with a document in the other's place; nothing when each stands in its own.
    std::optional<CheckResult> misplaced_check();
    // Each label too long for the scenario file, at its line.
    void take_long_labels(const std::vector<LongLabel>& labels);
    std::string& text_of(Document d) { return d == Document::Line ? lineText_ : trainText_; }
    const AuthorDocument& source_of(Document d) const { return d == Document::Line ? line_ : train_; }

    const AuthorDocument& line_;
    const AuthorDocument& train_;
    int maxErrors_;
    ScenarioNames names_;
    CompilePass pass_;
    Form1& form_;
    std::string lineText_;
    std::string trainText_;
    std::vector<Ranked> found_;
    std::vector<Ranked> longLabels_;  // at their lines, apart from found_, which keeps the passes' order
    std::vector<RefusedRecord> refused_;
    int errors_ = 0;
    bool unreadable_ = false;
    int32_t shortLengthLine_ = 0;  // the line of a route length row read short, 0: none
    int32_t refusedLine_ = 0;      // the first row it left off the grid
};

// After a length row read short, only the line description's warnings
// before the first row it left off the grid stand, the length row's own
// (its empty or cut value, which the error tells) aside: the rest of both
// documents was read against a grid of the wrong length, or not at all.
bool Checker::kept_warning(const FoundWarning& w) const {
    if (shortLengthLine_ == 0) return true;
    const int32_t at = w.diagnostic.line;
    return w.document == Document::Line && at > 0 && at < refusedLine_ && at != shortLengthLine_;
}

const PassEnd& Checker::run_pass() {
    PassDocuments documents;
    if (line_.text) documents.line = lineText_;
    if (train_.text) documents.train = trainText_;
    return pass_.run(documents);
}

void Checker::add_error(int rank, Document document, int32_t line, Code code, ErrorText text,
                        std::optional<int32_t> cell, std::optional<int64_t> position) {
    Diagnostic d;
    d.file = source_of(document == Document::Train ? Document::Train : Document::Line).path;
    d.line = line;
    d.code = code;
    d.message = std::move(text.message);
    d.cell = cell;
    d.position = position;
    for (NamedRow& row : text.related) {
        d.related.push_back({source_of(row.document == Document::Train ? Document::Train : Document::Line).path,
                             row.line, row.field, std::move(row.label)});
    }
    // An error of no one line comes at the end of its document's part.
    found_.push_back({rank, rank == kAfterReading || line == 0 ? INT32_MAX : line, std::move(d)});
    ++errors_;
}

bool Checker::take_reader_error() {
    const ErrorCode code = reported_error(form_);
    const SourceDocument line{line_.path, lineText_, line_.text.has_value(), line_.absence};
    const SourceDocument train{train_.path, trainText_, train_.text.has_value(), train_.absence};
    const ErrorPlace place = error_place(form_, line, train);
    const Document document = place.document == &line ? Document::Line : Document::Train;
    // The refused row the pass recorded; a read failure outside any row (no
    // route length read) leaves out the last record read.
    const TracedRecord* record = refused_record(form_);
    if (record == nullptr && place.line > 0) record = record_at(form_, document, place.line);
    if (code == kReadFailure && record == nullptr) record = last_record(form_, document);
    const bool afterReading = code == kProgressiveNotOnCell;
    if (const std::optional<ShortRouteLength> length = short_route_length(form_)) {
        // A length row read short leaves every later row off the grid: it is
        // said once, at its line, and nothing measured against that grid is.
        add_error(rank_of(Document::Line), Document::Line, place.line, code, reported_error_text(form_, line, train),
                  std::nullopt, std::nullopt);
        keep_length_refusal(found_.back().diagnostic, *length);
        shortLengthLine_ = length->record->line;
        refusedLine_ = form_.errorDocument == Document::Line ? form_.errorLine : INT32_MAX;
        return false;
    }
    add_error(afterReading ? kAfterReading : rank_of(document), document, place.line, code,
              reported_error_text(form_, line, train), std::nullopt, position_of(record));
    keep_refusal(found_.back().diagnostic);

    // A document that cannot be read at all ends the check.
    const bool lineUnreadable = code == kLineDocumentMissing || code == kNoGeneralSection;
    const bool trainUnreadable = document == Document::Train && !train_.text;
    if (lineUnreadable || trainUnreadable) {
        unreadable_ = true;
        return false;
    }
    if (!form_.grid.sized()) return false;  // no route length: nothing further can be read
    if (place.line <= 0) return false;
    if (record == nullptr) return blank_lines(text_of(document), place.line, place.line);
    return blank_record(*record, place.line);
}

// The reported row as this pass traced it, and the field at fault on the diagnostic.
void Checker::keep_refusal(Diagnostic& d) {
    const RefusedRow* row = reported_refusal(form_);
    if (row == nullptr) return;
    RefusedRecord kept{*row, std::nullopt, std::nullopt};
    kept.row.record = -1;
    if (const TracedRecord* record = refused_record(form_)) {
        kept.record = *record;
        d.field = row->field >= 0 ? row->field + 1 : 0;
    }
    if (row->code == kReadFailure && form_.trace.unreadField.line > 0) kept.unread = form_.trace.unreadField;
    refused_.push_back(std::move(kept));
}

// The length row as the refused row: its value is the field at fault.
void Checker::keep_length_refusal(Diagnostic& d, const ShortRouteLength& length) {
    RefusedRecord kept{RefusedRow{.code = kNoRoomOnGrid, .document = Document::Line, .line = length.record->line,
                                  .field = 0},
                       *length.record, std::nullopt};
    d.field = 1;
    refused_.push_back(std::move(kept));
}

bool Checker::blank_record(const TracedRecord& record, int32_t errorLine) {
    const int32_t first = std::min(errorLine, record.line);
    const int32_t last = std::max(errorLine, last_line(record));
    return blank_lines(text_of(record.document), first, last);
}

// A document in the other's place is the only thing the check says: every
// other finding would come from rows read by the wrong reader.
std::optional<CheckResult> Checker::misplaced_check() {
    PassDocuments documents;
    if (line_.text) documents.line = lineText_;
    if (train_.text) documents.train = trainText_;
    const std::optional<MisplacedDocument> misplaced = misplaced_document(form_, documents, names_);
    if (!misplaced) return std::nullopt;
    Diagnostic d;
    d.file = source_of(misplaced->place).path;
    d.line = 1;
    d.code = kDocumentMisplaced;
    d.message = misplaced->message;
    CheckResult result;
    result.diagnostics.push_back(std::move(d));
    result.errors = 1;
    return result;
}

void Checker::take_long_labels(const std::vector<LongLabel>& labels) {
    for (const LongLabel& label : labels) {
        if (full()) return;
        const Document document = label.record->document;
        Diagnostic d;
        d.file = source_of(document).path;
        d.line = label.line;
        d.code = kLabelTooLong;
        d.message = label_too_long_message(label);
        d.position = position_of(label.record);
        longLabels_.push_back({rank_of(document), label.line, std::move(d)});
        ++errors_;
    }
}

void Checker::take_checks_after_reading(const PassEnd& end) {
    for (const CompletionFault& fault : form_.trace.completionFaults) {
        if (full()) return;
        form_.errorCell = fault.cell;  // the message names this fault's cell
        add_error(kAfterReading, Document::Train, 0, static_cast<ErrorCode>(fault.code), error_text(form_, fault.code),
                  fault.cell, cell_position(fault.cell));
    }
    if (end.errore && !full()) {
        const TracedRecord* holder = holder_of_cell_1(form_);
        const Document document = holder != nullptr ? holder->document : Document::Train;
        const int32_t line = holder != nullptr ? holder->line : 0;
        const std::optional<int64_t> position = position_of(holder);
        const std::optional<ReservedFieldMessage> stop = reserved_field_stop(form_);
        // A message of no code table: told as it is, as a failure with no code of its own.
        std::string message = stop ? reserved_field_message(*stop, position.value_or(0))
                                   : "the compile pass stops with \" Errore n. " + form_.erroreNumber + "\"";
        add_error(kAfterReading, document, line, stop ? Code(*stop) : Code(kNoError), {std::move(message), {}}, 1,
                  position);
    }
}

CheckResult Checker::run() {
    PassEnd end = run_pass();
    if (std::optional<CheckResult> misplaced = misplaced_check()) return std::move(*misplaced);
    // Every pass but the last blanks at least one line, so the passes are
    // bounded by the lines of the documents and by maxErrors.
    for (bool first = true;; first = false) {
        if (!first) end = run_pass();
        const int32_t code = reported_error(form_);
        const bool readerError = code > 0 && !is_completion_error(code);
        if (!readerError) break;
        if (!take_reader_error() || full()) {
            end = PassEnd{};  // the reading stopped early: its later checks say nothing sound
            form_.trace.completionFaults.clear();
            break;
        }
    }
    // The compiled files could not be encoded: a label too long for the
    // scenario file is named at its line, as compile names it; any other
    // failure ends compile, and so the check.
    if (end.failure) {
        const std::vector<LongLabel> longLabels = labels_too_long(form_);
        if (longLabels.empty()) throw *end.failure;
        end.failure.reset();
        take_long_labels(longLabels);
    }
    if (!full()) take_checks_after_reading(end);

    CheckResult result;
    result.unreadable = unreadable_;
    result.stoppedAtMaxErrors = full();
    result.refused = std::move(refused_);
    // Errors stay in the order the passes met them, which is the order of the
    // documents; the warnings, sorted the same way, go in among them.
    std::vector<Ranked> warnings;
    if (!unreadable_) {
        for (FoundWarning& w : find_warnings(form_, line_, train_))
            if (kept_warning(w)) warnings.push_back({rank_of(w.document), w.diagnostic.line, std::move(w.diagnostic)});
    }
    const auto before = [](const Ranked& a, const Ranked& b) {
        return a.rank != b.rank ? a.rank < b.rank : a.line < b.line;
    };
    std::stable_sort(warnings.begin(), warnings.end(), before);
    std::vector<Ranked> atLines;
    std::merge(longLabels_.begin(), longLabels_.end(), warnings.begin(), warnings.end(), std::back_inserter(atLines),
               before);
    std::vector<Ranked> all;
    std::merge(found_.begin(), found_.end(), atLines.begin(), atLines.end(), std::back_inserter(all), before);
    for (Ranked& r : all) {
        if (r.diagnostic.severity() == Severity::Error) ++result.errors;
        else ++result.warnings;
        result.diagnostics.push_back(std::move(r.diagnostic));
    }
    return result;
}

}  // namespace

CheckResult check_sources(const AuthorDocument& line, const AuthorDocument& train, const ScenarioNames& names,
                          int maxErrors, ReadTrace* trace) {
    Checker checker(line, train, names, maxErrors);
    CheckResult result = checker.run();
    if (trace != nullptr) *trace = checker.trace();
    return result;
}

int check_status(const CheckResult& result, bool werror) {
    if (result.unreadable) return kExitErrore;
    if (result.errors > 0 || (werror && result.warnings > 0)) return kExitScenarioError;
    return kExitClean;
}
