// The train description reader, second half of memorizza_dati: general values
// of the train, speed-limit and adhesion profiles, stations, signals,
// slow-downs and abbattimento marks.
#include <cstdint>
#include <string>
#include <string_view>

#include "core/error_codes.h"
#include "core/form1.h"
#include "core/rounding.h"
#include "platform/platform.h"

namespace {

// The working values of one reading.
struct TrainReading {
    int32_t N = 0;              // last cell of the grid
    int64_t speedFill = 0;      // first cell whose speed limit is not written yet
    int64_t adhesionFill = 0;   // the same for adhesion
    int32_t station = 1;        // slot of the next station
    int32_t previousSpeed = 0;  // km/h of the latest speed-limit record
    int32_t speedRecord = -1;   // its traced record
    int32_t previousAdhesion = 0;
    int32_t recordLine = 0;     // line of the keyword field in hand
    int32_t code = 0;           // code of an abort, or kNoRoomOnGrid from a room check
    bool codeIsNew = false;     // whether the code was set during this reading
};

// What follows a record: the next keyword field, the normal end, or an abort.
enum class Next { Record, NormalEnd, Abort };

[[noreturn]] void failure(const Form1& form, const std::string& why) {
    throw platform::RunTimeFailure("read", form.file_path(form.train_document_name()), why);
}

// A computed value that leaves 32 bits is a run-time failure, like a number too
// wide for its field; `field` is the field of the record in hand that gave it.
int32_t fit32(Form1& form, int64_t v, int32_t field) {
    if (v < INT32_MIN || v > INT32_MAX) {
        form.trace.refuse({kReadFailure, Document::Train, 0, form.trace.current(), field, -1});
        failure(form, "it gives " + std::to_string(v) + ", beyond the whole numbers -2147483648 to 2147483647 that "
                      "the compiled files hold");
    }
    return static_cast<int32_t>(v);
}

// The speed step of a speed in km/h: round(v / 5), which must fit an unsigned
// byte; `record` is the speed-limit record that gave the speed.
uint8_t speed_step(Form1& form, int32_t v, int32_t record) {
    if (!speed_step_fits(v)) {
        form.trace.refuse({kReadFailure, Document::Train, 0, record, 1, -1});
        failure(form, "speed " + std::to_string(v) + " gives a step outside 0 to 255");
    }
    return static_cast<uint8_t>(speed_step_of(v));
}

// Refuses the record in hand (`field` decided it, -1: the row as a whole; `cell`
// the cell found taken) and ends the reading.
Next abort_with(Form1& form, TrainReading& r, int32_t code, int32_t field = -1, int64_t cell = -1) {
    form.trace.refuse({code, Document::Train, r.recordLine, form.trace.current(), field, static_cast<int32_t>(cell)});
    r.code = code;
    r.codeIsNew = true;
    return Next::Abort;
}

// The checks every positioned record passes first: a negative position is
// refused before anything is placed, and the position must leave room on the
// grid ((p + reach) / 50 at most N), else the reading ends normally with kNoRoomOnGrid.
Next check_position(Form1& form, TrainReading& r, int32_t p, int32_t reach) {
    if (p < 0) return abort_with(form, r, kNegativePosition, 0);
    if (!room_on_grid(r.N, p, reach)) {
        form.trace.refuse({kNoRoomOnGrid, Document::Train, r.recordLine, form.trace.current(), 0, -1});
        r.code = kNoRoomOnGrid;
        r.codeIsNew = true;
        return Next::NormalEnd;
    }
    return Next::Record;
}

// After a placement call any pending code ends the reading; only a code the
// call itself left is new (the placement recorded its refusal).
Next after_placement(const Form1& form, TrainReading& r, int32_t before) {
    if (form.errorCode <= 0) return Next::Record;
    r.code = form.errorCode;
    r.codeIsNew = form.errorCode != before;
    return Next::Abort;
}

// Speed limits from the speed fill index up to cell round(p / 50), at least
// one cell when that index is positive, never cell N or beyond.
void speed_record(Form1& form, TrainReading& r, int32_t p, int32_t v) {
    int64_t e = profile_cell_index(static_cast<double>(p));
    if (e > 0) {
        const int64_t before = r.speedFill;
        r.speedFill = carry_profile(form.grid, r.speedFill, e, r.N, &TrackCell::aux1,
                                    [&] { return speed_step(form, r.previousSpeed, r.speedRecord); });
        if (e <= before) form.trace.move(p, r.speedFill, profile_cell_start(r.speedFill));
    }
    r.previousSpeed = v;
    r.speedRecord = form.trace.current();
    if (speed_step_fits(v)) form.trace.narrow(StoredValue::SpeedLimit, v, speed_of_step(speed_step_of(v)));
}

void adhesion_record(Form1& form, TrainReading& r, int32_t p, int32_t a) {
    int64_t e = profile_cell_index(static_cast<double>(p));
    if (e > 0) {
        const int64_t before = r.adhesionFill;
        r.adhesionFill = carry_profile(form.grid, r.adhesionFill, e, r.N, &TrackCell::aux3,
                                       [&] { return low8(r.previousAdhesion); });
        if (e <= before) form.trace.move(p, r.adhesionFill, profile_cell_start(r.adhesionFill));
    }
    r.previousAdhesion = a;
    form.trace.narrow(StoredValue::Adhesion, a, low8(a));
}

// One station record into the slot of the station slot counter.
Next station_record(Form1& form, TrainReading& r) {
    const int32_t s = r.station;
    // A station never takes a slot that holds a board caption.
    if (s < 1 || s > form.boardSlot || s > kFirstBoardSlot) return abort_with(form, r, kStationSlotsUsedUp);
    ScenarioSlot& slot = form.scenario[static_cast<size_t>(s)];

    int32_t position = form.file1.read_int32();
    if (position < 0) return abort_with(form, r, kNegativePosition, 0);
    slot.long3 = position;
    if (Next room = check_position(form, r, position, kStationReach); room != Next::Record) return room;
    if (slot.long3 % kCellMetres != 0) return abort_with(form, r, kStationNotOnCell, 0);

    slot.tag = form.file1.read_uint8();
    int32_t length = form.file1.read_int32();
    if (length % kStationLengthStep != 0) return abort_with(form, r, kStationLengthOdd, 2);

    slot.flag = form.file1.read_uint8();
    slot.byte4 = form.file1.read_uint8();
    slot.byte3 = form.file1.read_uint8();
    slot.int1 = form.file1.read_int16();
    slot.int2 = form.file1.read_int16();
    slot.byte1 = form.file1.read_uint8();
    slot.int3 = form.file1.read_int16();
    slot.int4 = form.file1.read_int16();
    slot.int5 = form.file1.read_int16();
    slot.byte2 = form.file1.read_uint8();
    int64_t hours = form.file1.read_int32();
    int64_t minutes = form.file1.read_int32();
    int64_t seconds = form.file1.read_int32();
    slot.long4 = fit32(form, (hours * 60 + minutes) * 60 + seconds, 13);
    form.currentField = form.file1.read_text();
    slot.label = form.currentField;

    // Extent of the station by its type code.
    const int64_t at = slot.long3;
    if (slot.tag == 5 || slot.tag == 6) {
        slot.long1 = fit32(form, at - length, 2);
        slot.long2 = fit32(form, at + 150, 0);
        slot.byte3 = 0;
    } else if (slot.tag == 7 || slot.tag == 8) {
        slot.long1 = fit32(form, at - length, 2);
        slot.long2 = fit32(form, at + length, 2);
        slot.byte3 = 0;
    } else {
        double half = static_cast<double>(length) / 2.0;
        slot.long1 = fit32(form, round_half_even(static_cast<double>(at) - half), 2);
        double end = static_cast<double>(at) + half + (slot.byte3 != 0 ? 50.0 : 0.0);
        slot.long2 = fit32(form, round_half_even(end), 2);
    }
    if (length < 600) slot.byte4 = 0;
    if (s == 1) {  // after the extent: the first station's flag still lengthens it
        slot.byte3 = 0;
        slot.byte4 = 0;
    }

    // Station stop cell and the four approach codes before it; none for 25 and above.
    if (slot.tag < kStationTypesWithoutStop) {
        const double stop = static_cast<double>(slot.long2) / kCellMetres - 1.0;
        if (stop > 1.0 && round_half_even(stop) > r.N)
            return abort_with(form, r, kStationBeyondGrid, 0, round_half_even(stop));
        if (slot.tag != 5 && slot.tag != 6) {
            for (int k = 1; k <= kStationApproachCells; ++k) {
                double x = stop - k;
                if (!(x > 1.0)) continue;
                form.trace.hold(round_half_even(x), CellRole::StationApproach);
                form.grid[round_half_even(x)].approachCode = static_cast<uint8_t>(80 + k);
            }
        }
        if (!(stop > 1.0)) return abort_with(form, r, kStationTooEarly, 0);
        form.trace.hold(round_half_even(stop), CellRole::StationStop);
        TrackCell& cell = form.grid[round_half_even(stop)];
        cell.kind = kStationStop;
        cell.value1 = low16(s);
    }

    if (s > 1 && static_cast<int64_t>(slot.long1) - kStationSpacing < form.scenario[static_cast<size_t>(s - 1)].long2)
        return abort_with(form, r, kStationsTooClose, 0);

    ++r.station;
    if (r.station >= form.boardSlot) return abort_with(form, r, kStationSlotsUsedUp);
    return Next::Record;
}

Next signal_record(Form1& form, TrainReading& r) {
    int32_t v[11];
    for (int32_t& x : v) x = form.file1.read_int32();
    if (Next room = check_position(form, r, v[0], kRowReach); room != Next::Record) return room;
    const int32_t before = form.errorCode;
    form.memo_segnale(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], v[10]);
    return after_placement(form, r, before);
}

Next slowdown_record(Form1& form, TrainReading& r) {
    int32_t v[6];
    for (int32_t& x : v) x = form.file1.read_int32();
    if (Next room = check_position(form, r, v[0], kRowReach); room != Next::Record) return room;
    const int32_t before = form.errorCode;
    form.memo_rallentamento(v[0], v[1], v[2], v[3], v[4], v[5]);
    return after_placement(form, r, before);
}

// An abbattimento mark in cell round(p / 50): kind 12 with a positive value, else 13.
Next abbattimento_record(Form1& form, TrainReading& r) {
    int32_t p = form.file1.read_int32();
    int32_t v = form.file1.read_int32();
    if (Next room = check_position(form, r, p, kRowReach); room != Next::Record) return room;
    int64_t c = profile_cell_index(static_cast<double>(p));
    form.trace.move(p, c, profile_cell_start(c));
    if (!form.grid.is_free(c)) return abort_with(form, r, kAbbattimentoCellTaken, 0, c);
    form.trace.hold(c, CellRole::Abbattimento);
    if (v > 0) form.trace.narrow(StoredValue::AbbattimentoValue, v, low16(v));
    TrackCell& cell = form.grid[c];
    if (v > 0) {
        cell.kind = kAbbattimento;
        cell.value1 = low16(v);
    } else {
        cell.kind = kOpenAbbattimento;
    }
    return Next::Record;
}

// Every record test on one keyword field, in the order the document format gives them;
// several may pass, each reading its own values.
Next records(Form1& form, TrainReading& r, const std::string& keyword) {
    ScenarioSlot& general = form.scenario[kSlotGeneral];
    ScenarioSlot& train = form.scenario[kSlotTrain];
    ReadTrace& trace = form.trace;
    const KeywordText tested(keyword);
    if (names_record(RecordKind::BrakedMass, tested)) {
        trace.record(RecordKind::BrakedMass);
        general.long1 = form.file1.read_int32();
    }
    if (names_record(RecordKind::Cars, tested)) {
        trace.record(RecordKind::Cars);
        general.long3 = form.file1.read_int32();
    }
    if (names_record(RecordKind::SpeedLimit, tested)) {
        trace.record(RecordKind::SpeedLimit);
        int32_t p = form.file1.read_int32();
        int32_t v = form.file1.read_int32();
        if (Next room = check_position(form, r, p, kRowReach); room != Next::Record) return room;
        speed_record(form, r, p, v);
    }
    if (names_record(RecordKind::Adhesion, tested)) {
        trace.record(RecordKind::Adhesion);
        int32_t p = form.file1.read_int32();
        int32_t a = form.file1.read_int32();
        if (Next room = check_position(form, r, p, kRowReach); room != Next::Record) return room;
        adhesion_record(form, r, p, a);
    }
    if (names_record(RecordKind::Clock, tested)) {
        trace.record(RecordKind::Clock);
        train.int3 = form.file1.read_int16();
        train.int4 = form.file1.read_int16();
        train.int5 = form.file1.read_int16();
    }
    if (names_record(RecordKind::Sand, tested)) {
        trace.record(RecordKind::Sand);
        train.int1 = form.file1.read_int16();
    }
    if (names_record(RecordKind::Signal, tested)) {
        trace.record(RecordKind::Signal);
        if (Next next = signal_record(form, r); next != Next::Record) return next;
    }
    if (names_record(RecordKind::SlowDown, tested)) {
        trace.record(RecordKind::SlowDown);
        if (Next next = slowdown_record(form, r); next != Next::Record) return next;
    }
    if (names_record(RecordKind::Abbattimento, tested)) {
        trace.record(RecordKind::Abbattimento);
        if (Next next = abbattimento_record(form, r); next != Next::Record) return next;
    }
    if (names_record(RecordKind::Station, tested)) {
        trace.record(RecordKind::Station);
        return station_record(form, r);
    }
    return Next::Record;
}

// Reads the next keyword field, passing over up to two dash fields; false when
// the end of the document is reached first (that field is never examined).
bool next_keyword(Form1& form) {
    form.currentField = form.file1.read_text();
    if (form.file1.eof()) return false;
    for (int skipped = 0; skipped < 2 && is_dash_field(form.currentField); ++skipped) {
        form.trace.dash(DocumentPart::Train);
        form.currentField = form.file1.read_text();
        if (form.file1.eof()) return false;
    }
    return true;
}

}  // namespace

void Form1::leggi_treno() {
    TrainReading r;
    try {
        // No existence test: a missing document is a read failure like any other.
        apri_documento(Document::Train);
        r.N = grid.upper();

        // Preamble: everything up to the first field that names the general section.
        while (!file1.eof()) {
            currentField = file1.read_text();
            if (contiene(currentField, kGeneralSection)) {
                trace.general(Document::Train, file1.line());
                break;
            }
        }

        // Body: one keyword field per pass. Every read consumes text, so the
        // end of the document bounds the loop.
        Next next = Next::Record;
        while (next == Next::Record && !file1.eof() && next_keyword(*this)) {
            const std::string keyword = currentField;
            r.recordLine = file1.line();
            trace.keyword(DocumentPart::Train, r.recordLine, keyword);
            next = records(*this, r, keyword);
            trace.tested();
        }

        chiudi_documento(Document::Train);
        if (r.codeIsNew) {
            errorCode = r.code;
            locate_error(r.code, Document::Train, r.recordLine);
        }
        if (next == Next::Abort) return;

        // Normal end: the profiles reach cell N - 3 (at least one cell each),
        // then the progressive definitions must stand on whole cells.
        const int64_t beyondGrid = int64_t{r.N} + 1;
        r.speedFill = carry_profile(grid, r.speedFill, int64_t{r.N} - 2, beyondGrid, &TrackCell::aux1,
                                    [&] { return speed_step(*this, r.previousSpeed, r.speedRecord); });
        r.adhesionFill = carry_profile(grid, r.adhesionFill, int64_t{r.N} - 2, beyondGrid, &TrackCell::aux3,
                                       [&] { return low8(r.previousAdhesion); });
        for (int s = kSlotProgressive3; s <= kSlotProgressive1; ++s) {
            const bool firstOff = scenario[s].long1 % kCellMetres != 0;
            if (firstOff || scenario[s].long2 % kCellMetres != 0) {
                trace.refuse({kProgressiveNotOnCell, Document::Line, 0, trace.progressiveRecords[s - kSlotProgressive3],
                              firstOff ? 0 : 1, -1});
                errorCode = kProgressiveNotOnCell;
                locate_error(kProgressiveNotOnCell, Document::Train, 0);
            }
        }
    } catch (const platform::RunTimeFailure& failure) {
        recupera_lettura(Document::Train, failure.reason);
    }
}
