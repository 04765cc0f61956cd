// What the check's warning rules share: the pass they look in, the documents
// it read, where a rule puts what it finds, and the look-ups of the read trace
// more than one family of rules makes. Each family is a file of rules over it.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/form1.h"
#include "tools/common/ascii_text.h"
#include "tools/codes/code.h"
#include "tools/diagnostics/author_document.h"
#include "tools/diagnostics/found_warning.h"

namespace warning_rules {

class WarningFinder {
public:
    WarningFinder(const Form1& form, const AuthorDocument& line, const AuthorDocument& train);

    const Form1& form;  // the last pass of the check
    const AuthorDocument& lineDocument;
    const AuthorDocument& trainDocument;

    void add(Warning w, Document document, int32_t line, std::string message,
             std::optional<int64_t> position = std::nullopt, std::optional<int32_t> cell = std::nullopt);
    // The last warning added, to give it its field and its fix.
    Diagnostic& last() { return found_.back().diagnostic; }
    // Keeps a row the last warning's message names as its related place, once.
    void relate(Document document, int32_t line, std::optional<int> field, std::string label);
    void relate(const TracedRecord& r, std::optional<int> field, std::string label) {
        relate(r.document, r.line, field, std::move(label));
    }
    std::vector<FoundWarning> take_found() { return std::move(found_); }

    std::vector<const TracedRecord*> records(RecordKind kind) const;
    // Whether the train description was read: unless the line reader stopped before it.
    bool train_read() const;
    // The last complete record of a general kind: the one whose values are stored.
    const TracedRecord* last_complete(RecordKind kind) const;
    // The passed-over fields after a column of a line, in reading order, and their texts.
    std::vector<const SkippedField*> passed_over_after(Document document, int32_t line, int32_t column) const;
    std::vector<std::string> values_after(Document document, int32_t line, int32_t column) const;

    // The station records fill the station slots in order, from slot 1; a
    // record is paired with its slot only when the slot holds its position and name.
    struct StoredStation {
        const TracedRecord* record;
        const ScenarioSlot* slot;
    };
    std::vector<StoredStation> stored_stations() const;

private:
    std::vector<FoundWarning> found_;
    // The fields the reader passed over, by document and line, in reading order.
    std::map<std::pair<Document, int32_t>, std::vector<const SkippedField*>> passedOver_;
};

// Whether the record holds every field its kind reads.
bool complete(const TracedRecord& r);

// Pieces of the warnings' wording.
std::string quoted(std::string_view bytes);  // a document's Windows-1252 text, in quotes
std::string metres(int64_t m);               // "1200 m"
std::string line_ref(int32_t line);          // "line 40"
std::string clock_text(int64_t seconds);     // "9:15:00"

// A field of digits (blanks allowed inside, a leading minus), as the values of a lost record are.
bool is_number_text(std::string_view s);

}  // namespace warning_rules
