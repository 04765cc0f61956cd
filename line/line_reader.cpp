// The line description reader, first half of memorizza_dati: sizes the grid
// and the line table from the route length, fills the route's header slots,
// writes gradients and indication boards into the grid, hands montagna
// stretches and speed boards to their placement and builds the line geometry.
#include <algorithm>
#include <cstdint>
#include <string>

#include "core/error_codes.h"
#include "core/form1.h"
#include "core/rounding.h"
#include "platform/platform.h"

namespace {

// How a part of the reading ends: go on, jump to the completion (end of the
// file or no room on the grid), or stop (document closed and deleted).
enum class Next { Go, Completion, Stop };

constexpr int32_t kLongestRoute = 1000000;
constexpr int64_t kLastLineColumn = 1000000;

// Turn rates of the curve classes 1 to 6, radians per metre.
constexpr double kTurnRate[7] = {0.0, 0.0001, 0.0002, 0.0004, 0.001, 0.002, 0.003};

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

// The byte of a gradient on the grid: the gradient + 100, low eight bits.
uint8_t gradient_byte(int32_t gradient) { return low8(int64_t{gradient} + 100); }

void note_error(Form1& f, int32_t code, int32_t line, const std::string& detail = "") {
    f.errorCode = code;
    f.locate_error(code, Document::Line, line, -1, detail);
}

void close_and_delete(Form1& f) {
    f.file1.close();
    platform::delete_file(f.file_path(f.line_document_name()));
}

// Closes and deletes the document and records the code: the reading ends here.
Next refuse(Form1& f, int32_t code, int32_t line, const std::string& detail = "") {
    close_and_delete(f);
    note_error(f, code, line, detail);
    return Next::Stop;
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
        if (contiene(f.currentField, "[generale]")) {
            f.trace.general(Document::Line, f.file1.line());
            return true;
        }
    }
}

void read_triple(Form1& f, ScenarioSlot& slot) {
    slot.long1 = f.file1.read_int32();
    slot.long2 = f.file1.read_int32();
    slot.long3 = f.file1.read_int32();
}

Next route_length(Form1& f, LineReading& r) {
    int32_t length = f.file1.read_int32();
    f.scenario[kSlotGeneral].long2 = length;
    if (length > kLongestRoute) return refuse(f, kRouteTooLong, r.recordLine);
    if (length < 0) return refuse(f, kNegativeRouteLength, r.recordLine);
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
        f.line.create(r.lengthToSize + 7000);
    } else {
        f.line.destroy();
    }
    r.lengthToSize = -1;
}

Next signal_repetition(Form1& f, LineReading& r, const std::string& key) {
    ScenarioSlot& train = f.scenario[kSlotTrain];
    train.long1 = f.file1.read_int32();
    train.long2 = f.file1.read_int32();
    if (train.long1 % 50 != 0) return refuse(f, kRepetitionStartNotOnCell, r.recordLine);
    if (train.long2 % 50 != 0) return refuse(f, kRepetitionEndNotOnCell, r.recordLine);
    if (contiene(key, "4")) {
        train.long3 = 4;
    } else if (contiene(key, "9")) {
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
        for (int skipped = 0; skipped < 10 && contiene(f.currentField, "-"); ++skipped) {
            f.currentField = f.file1.read_text();
        }
        r.recordLine = f.file1.line();
        const std::string key = f.currentField;
        f.trace.keyword(Document::Line, r.recordLine, key);

        if (contiene(key, "lunghezza") && contiene(key, "percorso")) {
            f.trace.record(RecordKind::RouteLength);
            if (route_length(f, r) == Next::Stop) return Next::Stop;
        }
        // These keywords compare letters exactly.
        if (contiene_esatto(key, "tre") && contiene_esatto(key, "progressiva")) {
            f.trace.record(RecordKind::Progressive3);
            read_triple(f, f.scenario[kSlotProgressive3]);
        }
        if (contiene_esatto(key, "due") && contiene_esatto(key, "progressiva")) {
            f.trace.record(RecordKind::Progressive2);
            read_triple(f, f.scenario[kSlotProgressive2]);
        }
        if (contiene_esatto(key, "uno") && contiene_esatto(key, "progressiva")) {
            f.trace.record(RecordKind::Progressive1);
            read_triple(f, f.scenario[kSlotProgressive1]);
        }
        if (contiene_esatto(key, "sfondo") && contiene_esatto(key, "uno")) {
            f.trace.record(RecordKind::Background1);
            f.scenario[kSlotRoute].long1 = f.file1.read_int32();
        }
        if (contiene_esatto(key, "sfondo") && contiene_esatto(key, "due")) {
            f.trace.record(RecordKind::Background2);
            f.scenario[kSlotRoute].long3 = f.file1.read_int32();
        }
        if (contiene_esatto(key, "sfondo") && contiene_esatto(key, "tre")) {
            f.trace.record(RecordKind::Background3);
            f.scenario[kSlotRoute].long2 = f.file1.read_int32();
        }
        if (contiene_esatto(key, "segnali") && contiene_esatto(key, "ripetizione")) {
            f.trace.record(RecordKind::SignalRepetition);
            if (signal_repetition(f, r, key) == Next::Stop) return Next::Stop;
        }

        size_t first = key.find_first_not_of(" \t");
        bool dashFirst = first != std::string::npos && key[first] == '-';
        if (!dashFirst && contiene(key, "[") && contiene(key, "]")) return Next::Go;
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
    if (p < 0) return refuse(f, kNegativePosition, r.recordLine);
    if (!room_on_grid(r.lastCell, p, kRowReach)) {
        note_error(f, kNoRoomOnGrid, r.recordLine);
        return Next::Completion;
    }
    int64_t n = profile_cell_index(static_cast<double>(p));
    if (n > 0) {
        // Rows crowded in the last cells would carry the fill past the grid.
        if (r.fill > r.lastCell) return refuse(f, kGradientsCrowded, r.recordLine);
        r.fill = carry_profile(f.grid, r.fill, n, int64_t{r.lastCell} + 1, &TrackCell::aux2,
                               [&] { return gradient_byte(r.previousGradient); });
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
    if (r.column > kLastLineColumn) return refuse(f, kBadCurve, r.recordLine, kCurvesPastLastColumn);
    return Next::Go;
}

Next curve_row(Form1& f, LineReading& r, const std::string& key) {
    int32_t s = f.file1.read_int32();
    int32_t len = f.file1.read_int32();
    if (s < 0) return refuse(f, kNegativePosition, r.recordLine);
    if (!room_on_grid(r.lastCell, s, kRowReach)) {
        note_error(f, kNoRoomOnGrid, r.recordLine);
        return Next::Completion;
    }
    int curveClass = 0;
    for (int d = 1; d <= 6 && curveClass == 0; ++d) {
        if (contiene(key, std::string(1, static_cast<char>('0' + d)))) curveClass = d;
    }
    if (curveClass == 0) return refuse(f, kBadCurve, r.recordLine);
    double k = kTurnRate[curveClass];
    if (contiene(key, "s")) k = -k;  // left-hand curve
    const int64_t end = int64_t{s} + len;
    if (end > r.lastColumn) return refuse(f, kCurveBeyondLine, r.recordLine);
    if (walk_to(f, r, s, Step::Straight, k) == Next::Stop) return Next::Stop;
    return walk_to(f, r, end, Step::Curve, k);
}

Next montagna_row(Form1& f, LineReading& r) {
    int32_t inizio = f.file1.read_int32();
    int32_t fine = f.file1.read_int32();
    int32_t tipo = f.file1.read_int32();
    if (inizio < 0 || fine < 0) return refuse(f, kNegativePosition, r.recordLine);
    if (!room_on_grid(r.lastCell, inizio, kRowReach)) {
        note_error(f, kNoRoomOnGrid, r.recordLine);
        return Next::Completion;
    }
    f.memo_montagna(inizio, fine, tipo);
    if (f.errorCode > 0) return refuse(f, f.errorCode, r.recordLine);
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
    if (posizione < 0) return refuse(f, kNegativePosition, r.recordLine);
    if (!room_on_grid(r.lastCell, posizione, kRowReach)) {
        note_error(f, kNoRoomOnGrid, r.recordLine);
        return Next::Completion;
    }
    f.memo_indicatori_v_max(posizione, vas, vbs, vcs, strisces, vad, vbd, vcd, strisced);
    if (f.errorCode > 0) return refuse(f, f.errorCode, r.recordLine);
    return Next::Go;
}

Next indication_board_row(Form1& f, LineReading& r) {
    int32_t q = f.file1.read_int32();
    f.currentField = f.file1.read_text();  // the caption
    if (q < 0) return refuse(f, kNegativePosition, r.recordLine);
    if (!room_on_grid(r.lastCell, q, kRowReach)) {
        note_error(f, kNoRoomOnGrid, r.recordLine);
        return Next::Completion;
    }
    int64_t c = cell_index(static_cast<double>(q));
    if (!f.grid.is_free(c)) return refuse(f, kIndicationBoardCellTaken, r.recordLine);
    // Slots 80 down to 1 hold captions; slot 0 stays empty.
    if (f.boardSlot < 1) return refuse(f, kBoardListFull, r.recordLine);
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
        for (int skipped = 0; skipped < 2 && contiene(f.currentField, "-"); ++skipped) {
            f.currentField = f.file1.read_text();
            if (f.file1.eof()) return Next::Completion;
        }
        r.recordLine = f.file1.line();
        const std::string key = f.currentField;
        f.trace.keyword(Document::Line, r.recordLine, key);

        Next next = Next::Go;
        if (contiene(key, "pendenza")) {
            f.trace.record(RecordKind::Gradient);
            next = gradient_row(f, r);
        }
        if (next == Next::Go && f.j != 0 && contiene(key, "curva")) {
            f.trace.record(RecordKind::Curve);
            next = curve_row(f, r, key);
        }
        if (next == Next::Go && contiene(key, "montagna")) {
            f.trace.record(RecordKind::Montagna);
            next = montagna_row(f, r);
        }
        if (next == Next::Go && contiene(key, "indicatori_v")) {
            f.trace.record(RecordKind::SpeedBoard);
            next = speed_board_row(f, r);
        }
        if (next == Next::Go && contiene(key, "cartello") && contiene(key, "indicat")) {
            f.trace.record(RecordKind::IndicationBoard);
            next = indication_board_row(f, r);
        }
        if (next != Next::Go) return next;
    }
}

// Carries the last gradient to cell N - 3 and the geometry to column E - 2.
void complete(Form1& f, LineReading& r) {
    close_and_delete(f);
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
    if (!platform::file_exists(file_path(line_document_name()))) {
        note_error(*this, kLineDocumentMissing, 0);
        return false;
    }
    LineReading r;
    try {
        file1.open(file_path(line_document_name()));
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
