#include "tools/diagnostics/misplaced_documents.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "tools/common/ascii_text.h"
#include "tools/common/text_encoding.h"

namespace {

// Rows and sections a message names before "...".
constexpr size_t kNamedInMessage = 3;

Document other_of(Document d) { return d == Document::Line ? Document::Train : Document::Line; }

// What one reader found in the document in its place.
struct Reading {
    std::vector<RecordKind> ownKinds;    // kinds of its own document it read, each once
    std::vector<RecordKind> otherKinds;  // kinds of the other document its passed-over keyword fields name, each once
    std::vector<std::string> rows;       // the first keyword field of each of those kinds, as written
    std::vector<std::string> sections;   // the section headers that open such rows, each once
};

Reading reading_of(const ReadTrace& trace, Document place) {
    Reading reading;
    for (const TracedRecord& r : trace.records) {
        if (r.document == place && std::find(reading.ownKinds.begin(), reading.ownKinds.end(), r.kind) ==
                                       reading.ownKinds.end())
            reading.ownKinds.push_back(r.kind);
    }
    std::string section;  // the section header just passed over, until the next keyword field
    for (const KeywordField& k : trace.keywords) {
        if (k.document != place) continue;
        const std::string text = trimmed(k.text);
        const std::string opened = std::exchange(section, "");
        if (k.records != 0) continue;
        if (is_section_header(text)) {
            section = text;
            continue;
        }
        bool other = false;
        for (const RecordFormat& format : kRecordFormats) {
            if (format.document != other_of(place) || !names_record(format.kind, k.text)) continue;
            other = true;
            if (std::find(reading.otherKinds.begin(), reading.otherKinds.end(), format.kind) != reading.otherKinds.end())
                continue;
            reading.otherKinds.push_back(format.kind);
            reading.rows.push_back(text);
        }
        // A section named only where it opens rows of the other document (not "[fine]", which both end with).
        if (other && !opened.empty() &&
            std::find(reading.sections.begin(), reading.sections.end(), opened) == reading.sections.end())
            reading.sections.push_back(opened);
    }
    return reading;
}

// A document reads as the other one when its reader found none of its own
// records in it and its keyword fields name records of the other document.
bool reads_as_other(const Reading& r) { return r.ownKinds.empty() && !r.otherKinds.empty(); }

std::string listed(const std::vector<std::string>& items, bool quoted) {
    std::string out;
    for (size_t i = 0; i < items.size() && i < kNamedInMessage; ++i) {
        if (i > 0) out += ", ";
        out += quoted ? "\"" + cp1252_to_utf8(items[i]) + "\"" : cp1252_to_utf8(items[i]);
    }
    if (items.size() > kNamedInMessage) out += " ...";
    return out;
}

const char* document_name(Document d) { return d == Document::Line ? "line description" : "train description"; }

// "this is a train description (its rows ... and its sections ...), given in the line description's place"
std::string what_it_is(const Reading& r, Document place) {
    std::string evidence = "its rows " + listed(r.rows, true);
    if (!r.sections.empty()) evidence += " and its sections " + listed(r.sections, false);
    return "this is a " + std::string(document_name(other_of(place))) + " (" + evidence + "), given in the " +
           document_name(place) + "'s place";
}

// Whether the document in the train description's place reads as a line
// description of its own when given first.
bool line_description_in_train_place(const PassDocuments& documents, const ScenarioNames& names) {
    CompilePass pass({.names = names, .trace = true, .lineTable = false, .compiledFiles = false, .messageBox = false});
    pass.run(PassDocuments{documents.train, documents.line});
    return !reading_of(pass.form().trace, Document::Line).ownKinds.empty();
}

}  // namespace

std::optional<MisplacedDocument> misplaced_document(const Form1& form, const PassDocuments& documents,
                                                    const ScenarioNames& names) {
    const Reading line = reading_of(form.trace, Document::Line);
    const Reading train = reading_of(form.trace, Document::Train);
    const bool lineMisplaced = reads_as_other(line);
    const bool trainMisplaced = reads_as_other(train);
    if (!lineMisplaced && !trainMisplaced) return std::nullopt;
    if (!lineMisplaced) {
        return MisplacedDocument{Document::Train, false,
                                 what_it_is(train, Document::Train) +
                                     "; give the line description first and the train description second"};
    }
    const bool swapped = trainMisplaced || (documents.train && line_description_in_train_place(documents, names));
    if (swapped) {
        return MisplacedDocument{Document::Line, true,
                                 what_it_is(line, Document::Line) + ", and the document in the train description's "
                                 "place is the line description: give the two documents the other way round"};
    }
    return MisplacedDocument{Document::Line, false,
                             what_it_is(line, Document::Line) +
                                 "; give the line description first and the train description second"};
}
