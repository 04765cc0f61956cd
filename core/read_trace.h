// What the description readers, the placement and the completion pass read
// and decided, kept only when a tool asks for it (`on`): the authoring tool's
// check and diagnostics, its pictures and the language server read these
// facts instead of working the rules out again. The compile pass leaves it
// off and pays one test per hook.
//
// Facts point at records by their index in `records` (-1: no traced record)
// and at fields by their index after the keyword field (from 0).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/format.h"

class TrackGrid;

// How many fields a record of the kind reads after its keyword field (the
// caption and the station name included).
int traced_field_count(RecordKind kind);

// One field a record read after its keyword field.
struct TracedField {
    int32_t line = 0;
    // Its place in its line: the byte offset of its first byte (from 0) and
    // one past its last, blanks around it excluded; a number that runs on past
    // a blank ends at the blank. An empty field has column == endColumn.
    int32_t column = 0;
    int32_t endColumn = 0;
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
    int32_t keywordColumn = 0;  // the keyword text's span in its line, as TracedField's
    int32_t keywordEndColumn = 0;
    std::string keyword;
    std::vector<TracedField> fields;  // fewer than the kind reads when the reading stopped inside it
};

// A keyword field as the reader took it, after any dash fields it skipped.
struct KeywordField {
    Document document = Document::None;
    DocumentPart part = DocumentPart::LineGeneral;  // the loop that read it, which tests that part's kinds
    int32_t line = 0;
    int32_t column = 0;
    int32_t endColumn = 0;
    std::string text;
    int records = 0;  // record tests it passed; 0: passed over (see SkippedField)
};

// A field the reader passed over: a dash field before a keyword field, or a
// keyword field that named no record kind (its record is lost, and the
// fields after it are read as further keyword fields).
enum class SkipReason : int { DashField, NoRecord };
struct SkippedField {
    Document document = Document::None;
    DocumentPart part = DocumentPart::LineGeneral;  // as the keyword field's
    int32_t line = 0;
    int32_t column = 0;
    int32_t endColumn = 0;
    SkipReason reason = SkipReason::NoRecord;
    std::string text;
};

// A row the reader refused, with the error code it recorded. The first
// refusal of a pass is the error the pass reports; a pass may refuse more
// rows (a train description row after a line description row without room).
struct RefusedRow {
    int32_t code = 0;
    Document document = Document::None;
    int32_t line = 0;     // the row's keyword line; without a row, the line where the reading stood (0: none)
    int32_t record = -1;  // the refused record
    int32_t field = -1;   // the field that decided it; -1: the row as a whole (its keyword, its place in the list)
    int32_t cell = -1;    // the grid cell found taken or outside the grid; -1: none
    // For a feature of one cell refused on a taken cell: the nearest free
    // cell of the grid as the refusal found it (the later of two as near),
    // and the position that puts the feature there; -1: none.
    int32_t freeCell = -1;
    int64_t freePosition = -1;
    bool operator==(const RefusedRow&) const = default;
};

// Values stored in a field that cannot hold them (the field keeps their low
// bits), or, for a speed limit, rounded to the grid's steps.
enum class StoredValue : int {
    SpeedLimit,          // km/h, stored in steps of kSpeedStepKmh
    Adhesion,            // percent, eight bits
    Gradient,            // per mille, eight bits plus kGradientOffset
    SignalAspect1,       // s1 * 10 + d1, 16 bits
    SignalAspect2,       // s2 * 10 + d2
    SignalAspect3,       // s3 * 10 + d3
    SignalRepetition,    // rapp * 10 + sx * 3 + dx
    SignalApproachCode,  // (sx * 3 + dx) * 10 + 4, eight bits
    SignalTimeCode,      // tempo, eight bits
    SlowDownSpeed,       // 16 bits
    SlowDownTime,        // f_tt
    SlowDownValue,       // d_v
    AbbattimentoValue,   // 16 bits
    BoardStripes,        // strisces * 10 + strisced
    MontagnaType,        // the stretch's type as stored, eight bits
};
// The width in bits of the field a value is stored in.
constexpr int stored_bits(StoredValue what) {
    switch (what) {
        case StoredValue::Adhesion:
        case StoredValue::Gradient:
        case StoredValue::SignalApproachCode:
        case StoredValue::SignalTimeCode:
        case StoredValue::MontagnaType: return 8;
        case StoredValue::SpeedLimit: return 8;  // as steps
        default: return 16;
    }
}
struct NarrowedValue {
    int32_t record = -1;
    StoredValue what = StoredValue::SpeedLimit;
    int64_t value = 0;   // as the row gives it (computed where the field holds a computed value)
    int64_t stored = 0;  // what the grid holds, in the same unit
};

// A feature whose position is not a cell's own, placed on the nearest cell;
// or a profile row (gradient, speed limit, adhesion) whose own cell the rows
// before it have already filled, so that it takes effect from a later cell.
struct MovedPosition {
    int32_t record = -1;
    int64_t position = 0;  // metres, as written
    int32_t cell = 0;
    int64_t landed = 0;    // the position of the cell, metres
};

// A cell a feature holds, written by the reader or the placement.
enum class CellRole : int {
    Signal,
    SignalApproach,   // an approach code before a signal (the cell's kind unchanged)
    SpeedBoard,
    IndicationBoard,
    SlowDownStart,
    SlowDownEnd,
    SlowDownWarning,
    WarningApproach,  // one of the slow-down's warning approach cells
    Abbattimento,
    StationStop,      // written without a test for what the cell held
    StationApproach,  // an approach code before a stop cell (the cell's kind unchanged)
    MontagnaMarker,
};
struct FeatureCell {
    int32_t record = -1;
    int32_t cell = 0;
    CellRole role = CellRole::Signal;
};

// Whether a role makes the cell the feature's own (its kind); approach codes do not.
constexpr bool takes_cell(CellRole role) {
    return role != CellRole::SignalApproach && role != CellRole::StationApproach;
}

// A montagna stretch as the placement stored it: the cells it covers (none
// when first > last) and the type its cells' scenery holds.
struct MontagnaStretch {
    int32_t record = -1;
    int64_t first = 0;
    int64_t last = 0;
    int64_t type = 0;  // as stored, after the marker and join rules, eight bits
};

// An abbattimento cap of the completion pass, placed for the slow-down whose
// warning or start cell is `from`; a cap already there lowered rather than placed.
struct CapCell {
    int32_t cell = 0;
    int32_t from = 0;
    bool lowered = false;
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
    std::vector<SkippedField> skipped;
    std::vector<RefusedRow> refusals;
    std::vector<NarrowedValue> narrowed;
    std::vector<MovedPosition> moved;
    std::vector<FeatureCell> cells;
    std::vector<MontagnaStretch> stretches;
    std::vector<CapCell> caps;
    std::vector<CompletionFault> completionFaults;
    // The field a read failure stopped at (not a number, or out of its
    // width), as written; line 0 when the reading stopped at none.
    TracedField unreadField;
    // Line of the field that opened the general section, 0 when none did.
    int32_t generalLine[3] = {0, 0, 0};
    // The record whose values each kilometric progressive slot (81 to 83)
    // holds after the ordering, -1 when none.
    int32_t progressiveRecords[3] = {-1, -1, -1};

    void clear();
    // The grid the readers place on, for the free cells a refusal names;
    // nullptr once the reading is over.
    void watch(const TrackGrid* grid) { grid_ = on ? grid : nullptr; }

    // The record being read (the last one opened), -1 when none or off.
    int32_t current() const { return on ? static_cast<int32_t>(records.size()) - 1 : -1; }

    // Hooks of the readers, the placement and the completion pass; each does
    // nothing while the trace is off.
    void general(Document document, int32_t line) {
        if (on) generalLine[static_cast<int>(document)] = line;
    }
    void keyword(DocumentPart part, int32_t line, const std::string& text) {
        if (on) add_keyword(part, line, text);
    }
    void record(RecordKind kind) {
        if (on) add_record(kind);
    }
    void field(const TracedField& f) {
        if (on) add_field(f);
    }
    // The field a read failure stopped at.
    void unread(const TracedField& f) {
        if (on) unreadField = f;
    }
    // The field just read is a dash field, passed over.
    void dash(DocumentPart part) {
        if (on) add_skipped(part, SkipReason::DashField, lastField_);
    }
    // The record tests on the keyword field are done: one that passed none lost its record.
    void tested() {
        if (on && !keywords.empty() && keywords.back().records == 0) add_skipped_keyword();
    }
    void refuse(const RefusedRow& row) {
        if (on) add_refusal(row);
    }
    // A read failure of the document: the record in hand, when the reading
    // stopped inside one, else the line where it stood. A refusal the reader
    // recorded for this failure itself (a value the grid cannot hold) stands.
    void read_failure(Document document, int32_t line) {
        if (on) add_read_failure(document, line);
    }
    void narrow(StoredValue what, int64_t value, int64_t stored) {
        if (on && value != stored) narrowed.push_back({current(), what, value, stored});
    }
    void move(int64_t position, int64_t cell, int64_t landed) {
        if (on && landed != position) moved.push_back({current(), position, static_cast<int32_t>(cell), landed});
    }
    void hold(int64_t cell, CellRole role) {
        if (on) cells.push_back({current(), static_cast<int32_t>(cell), role});
    }
    void stretch(int64_t first, int64_t last, int64_t type) {
        if (on) stretches.push_back({current(), first, last, type});
    }
    void cap(int64_t cell, int64_t from, bool lowered) {
        if (on) caps.push_back({static_cast<int32_t>(cell), static_cast<int32_t>(from), lowered});
    }
    void completion(int32_t code, int64_t cell) {
        if (on) completionFaults.push_back({code, static_cast<int32_t>(cell)});
    }
    void progressive(int slot, int32_t record) {
        if (on) progressiveRecords[slot] = record;
    }

private:
    void add_keyword(DocumentPart part, int32_t line, const std::string& text);
    void add_record(RecordKind kind);
    void add_field(const TracedField& f);
    void add_skipped(DocumentPart part, SkipReason reason, const TracedField& f);
    void add_skipped_keyword();
    void add_refusal(RefusedRow row);
    void add_read_failure(Document document, int32_t line);
    void add_free_cell(RefusedRow& row) const;
    const TrackGrid* grid_ = nullptr;
    bool recordOpen_ = false;  // fields read now belong to records.back()
    TracedField lastField_;    // the last field read, whatever it was
};
