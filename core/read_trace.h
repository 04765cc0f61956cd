// What the description readers took from their documents, kept only when a
// tool asks for it (`on`): the authoring tool's check finds the records it
// warns about by their lines, and its pictures link each feature to the line
// that made it. The compile pass leaves it off and pays one test per field.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Which description document a record or a diagnostic points into.
enum class Document : int { None = 0, Line = 1, Train = 2 };

// Every record kind of both documents, in the order their readers test them.
enum class RecordKind : int {
    // line description, general section
    RouteLength,
    Progressive3,
    Progressive2,
    Progressive1,
    Background1,
    Background2,
    Background3,
    SignalRepetition,
    // line description, record section
    Gradient,
    Curve,
    Montagna,
    SpeedBoard,
    IndicationBoard,
    // train description
    BrakedMass,
    Cars,
    SpeedLimit,
    Adhesion,
    Clock,
    Sand,
    Signal,
    SlowDown,
    Abbattimento,
    Station,
};

// How many fields a record of the kind reads after its keyword field (the
// caption and the station name included).
int traced_field_count(RecordKind kind);

// One field a record read after its keyword field.
struct TracedField {
    int32_t line = 0;
    bool number = false;
    int64_t value = 0;     // a number field's value
    std::string text;      // a text field (caption, station name)
    bool empty = false;    // a number field with no digits, read as 0
    bool runsOn = false;   // a number that ended at a blank with more of its field after it
};

struct TracedRecord {
    Document document = Document::None;
    RecordKind kind = RecordKind::RouteLength;
    int32_t line = 0;  // line of the keyword field
    std::string keyword;
    std::vector<TracedField> fields;  // fewer than the kind reads when the reading stopped inside it
};

// A keyword field as the reader took it, after any dash fields it skipped.
struct KeywordField {
    Document document = Document::None;
    int32_t line = 0;
    std::string text;
    int records = 0;  // record tests it passed; 0: passed over
};

// An error the completion pass met (it goes on after each), with its cell.
struct CompletionFault {
    int32_t code = 0;
    int32_t cell = 0;
};

struct ReadTrace {
    bool on = false;

    std::vector<KeywordField> keywords;
    std::vector<TracedRecord> records;
    std::vector<CompletionFault> completionFaults;
    // Line of the field that opened the general section, 0 when none did.
    int32_t generalLine[3] = {0, 0, 0};

    void clear();

    // Hooks of the readers; each does nothing while the trace is off.
    void general(Document document, int32_t line) {
        if (on) generalLine[static_cast<int>(document)] = line;
    }
    void keyword(Document document, int32_t line, const std::string& text) {
        if (on) add_keyword(document, line, text);
    }
    void record(RecordKind kind) {
        if (on) add_record(kind);
    }
    void field(const TracedField& f) {
        if (on) add_field(f);
    }
    void completion(int32_t code, int64_t cell) {
        if (on) completionFaults.push_back({code, static_cast<int32_t>(cell)});
    }

private:
    void add_keyword(Document document, int32_t line, const std::string& text);
    void add_record(RecordKind kind);
    void add_field(const TracedField& f);
    bool recordOpen_ = false;  // fields read now belong to records.back()
};
