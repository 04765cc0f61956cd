// The line description reader, first half of memorizza_dati: sizes the grid
// and the line table from the route length, fills the route's header slots,
// writes gradients and indication boards into the grid, hands montagna
// stretches and speed boards to their placement and builds the line geometry.
#include <algorithm>
#include <cstdint>
#include <string>

#include "core/compiler_limits.h"
#include "core/error_codes.h"
#include "core/form1.h"
#include "core/rounding.h"
#include "platform/platform.h"

namespace {

// How a part of the reading ends: go on, jump to the completion (end of the
// file or no room on the grid), or stop (document closed, and deleted when a file).
enum class Next { Go, Completion, Stop };

// Working values of one reading.
struct LineReading {
    int32_t lastCell = 0;          // N, the grid's upper index
    int32_t lastColumn = 0;        // E, the line table's last column
    int64_t fill = 0;              // next cell to receive a gradient
    int32_t previousGradient = 0;  // gradient of the last gradient row
    int64_t column = 2;            // next line table column to compute
    int32_t recordLine = 0;        // line of the keyword field in hand
    int32_t lengthToSize = -1;     // route length whose grid and line table are still to be made
};

void note_error(Form1& f, int32_t code, int32_t line) {
    f.errorCode = code;
    f.locate_error(code, Document::Line, line);
}

// Closes (and deletes) the document and records the code: the reading ends here.
Next stop(Form1& f, int32_t code, int32_t line) {
    f.chiudi_documento(Document::Line);
    note_error(f, code, line);
    return Next::Stop;
}

// Refuses the record in hand (`field` decided it, -1: the row as a whole) and stops.
Next refuse(Form1& f, int32_t code, int32_t line, int32_t field = -1) {
    f.trace.refuse({code, Document::Line, line, f.trace.current(), field, -1});
    return stop(f, code, line);
}

// A row whose position leaves no room on the grid: the reading goes on to its completion.
Next no_room(Form1& f, int32_t line) {
    f.trace.refuse({kNoRoomOnGrid, Document::Line, line, f.trace.current(), 0, -1});
    note_error(f, kNoRoomOnGrid, line);
    return Next::Completion;
}

// Reads fields until one contains "[generale]"; false when the file ended first.
bool find_general(Form1& f) {
    for (;;) {
        if (f.file1.eof()) {  // an empty document
            refuse(f, kNoGeneralSection, f.file1.line());
            return false;
        }
        f.currentField = f.file1.read_text();
        if (f.file1.eof()) {
            refuse(f, kNoGeneralSection, f.file1.line());
            return false;
        }
        if (contiene(f.currentField, kGeneralSection)) {
            f.trace.general(Document::Line, f.file1.line());
            return true;
        }
    }
}

// A kilometric progressive definition into its slot (81 to 83), which the trace ties to the record.
void read_triple(Form1& f, int slotIndex) {
    f.trace.progressive(slotIndex - kSlotProgressive3, f.trace.current());
    ScenarioSlot& slot = f.scenario[slotIndex];
    slot.long1 = f.file1.read_int32();
    slot.long2 = f.file1.read_int32();
    slot.long3 = f.file1.read_int32();
}

Next route_length(Form1& f, LineReading& r) {
    int32_t length = f.file1.read_int32();
    f.scenario[kSlotGeneral].long2 = length;
    if (length > kLongestRoute) return refuse(f, kRouteTooLong, r.recordLine, 0);
    if (length < 0) return refuse(f, kNegativeRouteLength, r.recordLine, 0);
    r.lengthToSize = length;
    return Next::Go;
}

// The grid and the line table of the last route length row read, new and
// empty. Nothing in the general section reads or writes them, so they are
// made once it is left, on every path: a document that repeats its length
// row thousands of times does not rebuild a million-metre table for each.
void size_tables(Form1& f, LineReading& r) {
    if (r.lengthToSize < 0) return;
    f.grid.dimension(r.lengthToSize);
    if (f.j != 0) {
        f.line.create(r.lengthToSize + kRunOnMetres);
    } else {
        f.line.destroy();
    }
    r.lengthToSize = -1;
}

Next signal_repetition(Form1& f, LineReading& r, const std::string& key) {
    ScenarioSlot& train = f.scenario[kSlotTrain];
    train.long1 = f.file1.read_int32();
    train.long2 = f.file1.read_int32();
    if (train.long1 % kCellMetres != 0) return refuse(f, kRepetitionStartNotOnCell, r.recordLine, 0);
    if (train.long2 % kCellMetres != 0) return refuse(f, kRepetitionEndNotOnCell, r.recordLine, 1);
    if (contiene(key, kRepetitionCodes[0])) {
        train.long3 = 4;
    } else if (contiene(key, kRepetitionCodes[1])) {
        train.long3 = 9;
    } else {
        return refuse(f, kRepetitionCodesUnnamed, r.recordLine);
    }
    if (train.long2 == 0) train.long3 = 0;
    return Next::Go;
}

// The general section, from the field after "[generale]" to the first field
// that holds "[" and "]" and does not begin with "-", or the end of the file.
Next general_section(Form1& f, LineReading& r) {
    for (;;) {
        if (f.file1.eof()) return Next::Go;
        f.currentField = f.file1.read_text();
        if (f.file1.eof()) return Next::Go;
        for (int skipped = 0; skipped < 10 && is_dash_field(f.currentField); ++skipped) {
            f.trace.dash(DocumentPart::LineGeneral);
            f.currentField = f.file1.read_text();
        }
        r.recordLine = f.file1.line();
        const std::string key = f.currentField;
        f.trace.keyword(DocumentPart::LineGeneral, r.recordLine, key);
        const KeywordText tested(key);

        if (names_record(RecordKind::RouteLength, tested)) {
            f.trace.record(RecordKind::RouteLength);
            if (route_length(f, r) == Next::Stop) return Next::Stop;
        }
        // These keywords compare letters exactly.
        if (names_record(RecordKind::Progressive3, tested)) {
            f.trace.record(RecordKind::Progressive3);
            read_triple(f, kSlotProgressive3);
        }
        if (names_record(RecordKind::Progressive2, tested)) {
            f.trace.record(RecordKind::Progressive2);
            read_triple(f, kSlotProgressive2);
        }
        if (names_record(RecordKind::Progressive1, tested)) {
            f.trace.record(RecordKind::Progressive1);
            read_triple(f, kSlotProgressive1);
        }
        if (names_record(RecordKind::Background1, tested)) {
            f.trace.record(RecordKind::Background1);
            f.scenario[kSlotRoute].long1 = f.file1.read_int32();
        }
        if (names_record(RecordKind::Background2, tested)) {
            f.trace.record(RecordKind::Background2);
            f.scenario[kSlotRoute].long3 = f.file1.read_int32();
        }
        if (names_record(RecordKind::Background3, tested)) {
            f.trace.record(RecordKind::Background3);
            f.scenario[kSlotRoute].long2 = f.file1.read_int32();
        }
        if (names_record(RecordKind::SignalRepetition, tested)) {
            f.trace.record(RecordKind::SignalRepetition);
            if (signal_repetition(f, r, key) == Next::Stop) return Next::Stop;
        }
        f.trace.tested();

        if (is_section_header(key)) return Next::Go;
    }
}

// Both tables must exist by now: a document without a route length row fails here.
void set_up_records(Form1& f, LineReading& r) {
    f.montagnaCount = 0;
    f.boardSlot = kFirstBoardSlot;
    r.fill = 0;
    r.previousGradient = 0;
    r.column = 2;
    r.lastCell = f.grid.upper();
    if (f.j != 0) {
        r.lastColumn = f.line.last_column();
        f.line.seed();
    }
}

Next gradient_row(Form1& f, LineReading& r) {
    int32_t p = f.file1.read_int32();
    int32_t g = f.file1.read_int32();
    if (p < 0) return refuse(f, kNegativePosition, r.recordLine, 0);
    if (!room_on_grid(r.lastCell, p, kRowReach)) return no_room(f, r.recordLine);
    f.trace.narrow(StoredValue::Gradient, g, gradient_of_byte(gradient_byte(g)));
    int64_t n = profile_cell_index(static_cast<double>(p));
    if (n > 0) {
        // Rows crowded in the last cells would carry the fill past the grid.
        if (r.fill > r.lastCell) return refuse(f, kGradientsCrowded, r.recordLine);
        const int64_t before = r.fill;
        r.fill = carry_profile(f.grid, r.fill, n, int64_t{r.lastCell} + 1, &TrackCell::aux2,
                               [&] { return gradient_byte(r.previousGradient); });
        // Its own cell already filled: the row takes effect from the next one free.
        if (n <= before) f.trace.move(p, r.fill, profile_cell_start(r.fill));
    }
    r.previousGradient = g;
    return Next::Go;
}

enum class Step { Straight, Curve };

// Computes the line columns from the next one up to `to`, straight or turned
// by k. The column may not pass kLastLineColumn: the walk stops after that
// column and the row is refused.
Next walk_to(Form1& f, LineReading& r, int64_t to, Step step, double k) {
    if (r.column > to) return Next::Go;
    const int64_t last = std::min(to, kLastLineColumn);
    if (step == Step::Straight) {
        f.line.straight_steps(r.column, last);
    } else {
        f.line.curve_steps(r.column, last, k);
    }
    r.column = last + 1;
    if (r.column > kLastLineColumn) return refuse(f, kBadCurve, r.recordLine, 1);
    return Next::Go;
}

Next curve_row(Form1& f, LineReading& r, const std::string& key) {
    int32_t s = f.file1.read_int32();
    int32_t len = f.file1.read_int32();
    if (s < 0) return refuse(f, kNegativePosition, r.recordLine, 0);
    if (!room_on_grid(r.lastCell, s, kRowReach)) return no_room(f, r.recordLine);
    int curveClass = 0;
    for (int d = 1; d <= static_cast<int>(kCurveClassDigits.size()) && curveClass == 0; ++d) {
        if (contiene(key, kCurveClassDigits.substr(static_cast<size_t>(d - 1), 1))) curveClass = d;
    }
    if (curveClass == 0) return refuse(f, kBadCurve, r.recordLine);
    double k = kCurveTurnRates[curveClass];
    if (contiene(key, kLeftCurveLetter)) k = -k;  // left-hand curve
    const int64_t end = int64_t{s} + len;
    if (end > r.lastColumn) return refuse(f, kCurveBeyondLine, r.recordLine, 1);
    if (walk_to(f, r, s, Step::Straight, k) == Next::Stop) return Next::Stop;
    return walk_to(f, r, end, Step::Curve, k);
}

Next montagna_row(Form1& f, LineReading& r) {
    int32_t inizio = f.file1.read_int32();
    int32_t fine = f.file1.read_int32();
    int32_t tipo = f.file1.read_int32();
    if (inizio < 0 || fine < 0) return refuse(f, kNegativePosition, r.recordLine, inizio < 0 ? 0 : 1);
    if (!room_on_grid(r.lastCell, inizio, kRowReach)) return no_room(f, r.recordLine);
    f.memo_montagna(inizio, fine, tipo);
    if (f.errorCode > 0) return stop(f, f.errorCode, r.recordLine);  // the placement recorded its refusal
    return Next::Go;
}

Next speed_board_row(Form1& f, LineReading& r) {
    int32_t posizione = f.file1.read_int32();
    int32_t vas = f.file1.read_int32();
    int32_t vbs = f.file1.read_int32();
    int32_t vcs = f.file1.read_int32();
    int32_t strisces = f.file1.read_int32();
    int32_t vad = f.file1.read_int32();
    int32_t vbd = f.file1.read_int32();
    int32_t vcd = f.file1.read_int32();
    int32_t strisced = f.file1.read_int32();
    if (posizione < 0) return refuse(f, kNegativePosition, r.recordLine, 0);
    if (!room_on_grid(r.lastCell, posizione, kRowReach)) return no_room(f, r.recordLine);
    f.memo_indicatori_v_max(posizione, vas, vbs, vcs, strisces, vad, vbd, vcd, strisced);
    if (f.errorCode > 0) return stop(f, f.errorCode, r.recordLine);  // the placement recorded its refusal
    return Next::Go;
}

Next indication_board_row(Form1& f, LineReading& r) {
    int32_t q = f.file1.read_int32();
    f.currentField = f.file1.read_text();  // the caption
    if (q < 0) return refuse(f, kNegativePosition, r.recordLine, 0);
    if (!room_on_grid(r.lastCell, q, kRowReach)) return no_room(f, r.recordLine);
    int64_t c = cell_index(static_cast<double>(q));
    f.trace.move(q, c, cell_position(c));
    if (!f.grid.is_free(c)) {
        f.trace.refuse({kIndicationBoardCellTaken, Document::Line, r.recordLine, f.trace.current(), 0,
                        static_cast<int32_t>(c)});
        return stop(f, kIndicationBoardCellTaken, r.recordLine);
    }
    // Slots 80 down to 1 hold captions; slot 0 stays empty.
    if (f.boardSlot < 1) return refuse(f, kBoardListFull, r.recordLine);
    f.trace.hold(c, CellRole::IndicationBoard);
    f.grid[c].kind = kSign;
    f.grid[c].value1 = low16(f.boardSlot);
    f.scenario[static_cast<size_t>(f.boardSlot)].label = f.currentField;
    --f.boardSlot;
    return Next::Go;
}

// One keyword field per pass, to the end of the file or a row without room.
Next record_section(Form1& f, LineReading& r) {
    for (;;) {
        if (f.file1.eof()) return Next::Completion;
        f.currentField = f.file1.read_text();
        if (f.file1.eof()) return Next::Completion;
        for (int skipped = 0; skipped < 2 && is_dash_field(f.currentField); ++skipped) {
            f.trace.dash(DocumentPart::LineRecords);
            f.currentField = f.file1.read_text();
            if (f.file1.eof()) return Next::Completion;
        }
        r.recordLine = f.file1.line();
        const std::string key = f.currentField;
        f.trace.keyword(DocumentPart::LineRecords, r.recordLine, key);
        const KeywordText tested(key);

        Next next = Next::Go;
        if (names_record(RecordKind::Gradient, tested)) {
            f.trace.record(RecordKind::Gradient);
            next = gradient_row(f, r);
        }
        if (next == Next::Go && f.j != 0 && names_record(RecordKind::Curve, tested)) {
            f.trace.record(RecordKind::Curve);
            next = curve_row(f, r, key);
        }
        if (next == Next::Go && names_record(RecordKind::Montagna, tested)) {
            f.trace.record(RecordKind::Montagna);
            next = montagna_row(f, r);
        }
        if (next == Next::Go && names_record(RecordKind::SpeedBoard, tested)) {
            f.trace.record(RecordKind::SpeedBoard);
            next = speed_board_row(f, r);
        }
        if (next == Next::Go && names_record(RecordKind::IndicationBoard, tested)) {
            f.trace.record(RecordKind::IndicationBoard);
            next = indication_board_row(f, r);
        }
        f.trace.tested();
        if (next != Next::Go) return next;
    }
}

// Carries the last gradient to cell N - 3 and the geometry to column E - 2.
void complete(Form1& f, LineReading& r) {
    f.chiudi_documento(Document::Line);
    // Crowded rows may already have reached the last cell.
    r.fill = carry_profile(f.grid, r.fill, int64_t{r.lastCell} - 2, int64_t{r.lastCell} + 1, &TrackCell::aux2,
                           [&] { return gradient_byte(r.previousGradient); });
    if (f.j != 0) {
        if (r.column <= int64_t{r.lastColumn} - 2) {
            f.line.straight_steps(r.column, int64_t{r.lastColumn} - 2);
            r.column = int64_t{r.lastColumn} - 1;
        }
    }
}

}  // namespace

bool Form1::leggi_linea() {
    // The two names go into the scenario table first, whatever the reading finds.
    scenario[kSlotRoute].label = routeName;
    scenario[kSlotTrain].label = trainCode;
    if (!documento_presente(Document::Line)) {
        trace.refuse({kLineDocumentMissing, Document::Line, 0, -1, -1, -1});
        note_error(*this, kLineDocumentMissing, 0);
        return false;
    }
    LineReading r;
    try {
        apri_documento(Document::Line);
        if (!find_general(*this)) return false;
        const Next general = general_section(*this, r);
        size_tables(*this, r);
        if (general == Next::Stop) return false;
        progressive_ordina();
        set_up_records(*this, r);
        if (record_section(*this, r) == Next::Stop) return false;
        complete(*this, r);
        return true;
    } catch (const platform::RunTimeFailure& failure) {
        size_tables(*this, r);  // a length row read before the failure still sizes them
        recupera_lettura(Document::Line, failure.reason);
        return false;
    }
}
