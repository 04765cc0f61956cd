// The format of the description documents and of the grid, named once: the
// keywords, limits and offsets the readers, the placement and the completion
// pass work by. The authoring tool and the documentation test name these
// too, so that a rule written here is never written a second time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// --- The grid ----------------------------------------------------------------

// Metres of line per cell.
constexpr int32_t kCellMetres = 50;
// The grid and the line table run this far past the route length.
constexpr int32_t kRunOnMetres = 7000;
// The longest route length a line description may give.
constexpr int32_t kLongestRoute = 1000000;
// The line geometry is never computed past this column (metre).
constexpr int64_t kLastLineColumn = 1000000;
// How far past its position a row must find grid: a station 800 m, any other row 100 m.
constexpr int32_t kRowReach = 100;
constexpr int32_t kStationReach = 800;

// --- Profiles (speed limit, gradient, adhesion) -------------------------------

// The grid holds speed limits in steps of this many km/h, in one byte.
constexpr int32_t kSpeedStepKmh = 5;
// A gradient is stored plus this offset in one byte.
constexpr int32_t kGradientOffset = 100;

// --- Slow-downs ----------------------------------------------------------------

// Slow-downs starting beyond this position have a warning cell this far before their start.
constexpr int32_t kWarningFrom = 1500;
constexpr int32_t kWarningDistance = 1200;
// Warning approach cells: this many, from the cell of the warning position counted back.
constexpr int32_t kWarningApproachCells = 4;

// --- Signals ---------------------------------------------------------------------

// Approach codes stand every kSignalApproachSpacing cells before a signal, kSignalApproachCells of them.
constexpr int32_t kSignalApproachCells = 4;
constexpr int32_t kSignalApproachSpacing = 2;
// A time code of 1 to kShortestTimeCode - 1 is stored as kShortestTimeCode.
constexpr int32_t kShortestTimeCode = 101;

// --- Stations ----------------------------------------------------------------------

// Positions on whole cells, lengths in steps of 100 m.
constexpr int32_t kStationLengthStep = 100;
// A station's extent must begin this far after the previous one ends.
constexpr int32_t kStationSpacing = 350;
// Station types from this one up have no stop cell.
constexpr int32_t kStationTypesWithoutStop = 25;
// Station approach cells: this many before the stop cell.
constexpr int32_t kStationApproachCells = 4;

// --- Montagna stretches and boards ------------------------------------------------

// Stretches that begin this close after the previous one ends take type 3.
constexpr int32_t kMontagnaJoinMetres = 150;
// A type above this many draws markers and is stored less this many.
constexpr int32_t kMontagnaMarkerTypes = 10;

// --- The documents ----------------------------------------------------------------

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

// The parts of the documents, each read by its own loop that tests its own
// record kinds: the line description's general section (from "[generale]" to
// the first section header after it), the line description after that header
// (whatever headers follow, which the reader passes over), and the train
// description after "[generale]". A keyword of one part met in another is
// passed over with its record.
enum class DocumentPart : int { LineGeneral, LineRecords, Train };

// The part whose loop tests the record kind, by the groups of RecordKind.
constexpr DocumentPart part_of(RecordKind kind) {
    if (kind <= RecordKind::SignalRepetition) return DocumentPart::LineGeneral;
    if (kind <= RecordKind::IndicationBoard) return DocumentPart::LineRecords;
    return DocumentPart::Train;
}

constexpr Document document_of(DocumentPart part) {
    return part == DocumentPart::Train ? Document::Train : Document::Line;
}

// The field that opens the general section of both documents.
constexpr std::string_view kGeneralSection = "[generale]";

// How many fields a record of the kind reads after its keyword field (a
// caption and a station name included): its rows in core/record_fields.def,
// the keyword field's aside.
constexpr int fields_in_table(RecordKind kind) {
    int count = 0;
#define RECORD_FIELD(row_kind, index, ...) count += RecordKind::row_kind == kind && (index) > 0;
#include "core/record_fields.def"
#undef RECORD_FIELD
    return count;
}

// How a reader recognises a record kind in a keyword field: the field
// contains every word (letter case ignored unless `exactCase`); `written` is
// the keyword as an author writes it; `fields` how many fields the record
// reads after its keyword field (fields_in_table).
struct RecordFormat {
    RecordKind kind;
    Document document;
    std::string_view words[2];  // the second empty when one word decides
    bool exactCase;
    std::string_view written;
    int fields = fields_in_table(kind);
};

// One row per record kind, in the order of RecordKind.
inline constexpr RecordFormat kRecordFormats[] = {
    {RecordKind::RouteLength, Document::Line, {"lunghezza", "percorso"}, false, "lunghezza percorso"},
    {RecordKind::Progressive3, Document::Line, {"tre", "progressiva"}, true, "progressiva chilometrica tre"},
    {RecordKind::Progressive2, Document::Line, {"due", "progressiva"}, true, "progressiva chilometrica due"},
    {RecordKind::Progressive1, Document::Line, {"uno", "progressiva"}, true, "progressiva chilometrica uno"},
    {RecordKind::Background1, Document::Line, {"sfondo", "uno"}, true, "sfondo uno"},
    {RecordKind::Background2, Document::Line, {"sfondo", "due"}, true, "sfondo due"},
    {RecordKind::Background3, Document::Line, {"sfondo", "tre"}, true, "sfondo tre"},
    {RecordKind::SignalRepetition, Document::Line, {"segnali", "ripetizione"}, true, "ripetizione segnali 4 codici"},
    {RecordKind::Gradient, Document::Line, {"pendenza", ""}, false, "pendenza"},
    {RecordKind::Curve, Document::Line, {"curva", ""}, false, "curvad1"},
    {RecordKind::Montagna, Document::Line, {"montagna", ""}, false, "montagna"},
    {RecordKind::SpeedBoard, Document::Line, {"indicatori_v", ""}, false, "indicatori_vmax"},
    {RecordKind::IndicationBoard, Document::Line, {"cartello", "indicat"}, false, "cartello_indicatore"},
    {RecordKind::BrakedMass, Document::Train, {"frenata", "massa"}, false, "percentuale massa frenata"},
    {RecordKind::Cars, Document::Train, {"vetture", ""}, false, "numero vetture"},
    {RecordKind::SpeedLimit, Document::Train, {"velocit", ""}, false, "velocita"},
    {RecordKind::Adhesion, Document::Train, {"aderenza", ""}, false, "aderenza"},
    {RecordKind::Clock, Document::Train, {"orologio", ""}, false, "orologio"},
    {RecordKind::Sand, Document::Train, {"sabbia", ""}, false, "sabbia"},
    {RecordKind::Signal, Document::Train, {"segnale", ""}, false, "segnale"},
    {RecordKind::SlowDown, Document::Train, {"rallentamento", ""}, false, "rallentamento"},
    {RecordKind::Abbattimento, Document::Train, {"abbattimento", ""}, false, "abbattimento"},
    {RecordKind::Station, Document::Train, {"stazione", ""}, false, "stazione"},
};

constexpr const RecordFormat& record_format(RecordKind kind) { return kRecordFormats[static_cast<int>(kind)]; }

// Fields that messages and the outline name, by their place after the keyword
// field: a station's name and its scheduled hour, minute and second; a speed
// board's right-hand speeds vad, vbd and vcd.
struct FieldRange { size_t first, last; };
inline constexpr size_t kStationNameField = 16;
inline constexpr FieldRange kStationTimeFields{13, 15};
inline constexpr FieldRange kBoardRightSpeedFields{5, 7};

// The line description's record kinds in the order its documents write them
// (the kilometric progressive definitions "uno", "due", "tre"; the reader
// tests them the other way round): the order a keyword is suggested in.
inline constexpr RecordKind kLineKindsAsWritten[] = {
    RecordKind::RouteLength,  RecordKind::Progressive1, RecordKind::Progressive2, RecordKind::Progressive3,
    RecordKind::Background1,  RecordKind::Background2,  RecordKind::Background3,  RecordKind::SignalRepetition,
    RecordKind::Gradient,     RecordKind::Curve,        RecordKind::Montagna,     RecordKind::SpeedBoard,
    RecordKind::IndicationBoard,
};

// The curve keyword names its class by one of these digits (the first found
// from 1 up) and a left-hand curve by this letter; the documents write "curvad"
// and "curvas" (right and left) before the digit.
constexpr std::string_view kCurveClassDigits = "123456";
constexpr std::string_view kLeftCurveLetter = "s";
inline constexpr std::string_view kCurveForms[] = {"curvad", "curvas"};
// The signal repetition keyword names how many codes by one of these.
inline constexpr std::string_view kRepetitionCodes[] = {"4", "9"};

// A keyword field as the record tests read it: as written, for the tests that
// compare letters exactly, and with its letters A-Z lowered once for the rest
// (the kinds' words are written in lower case), so that a field tested for
// every kind is lowered only once.
struct KeywordText {
    explicit KeywordText(std::string_view field);
    std::string_view written;
    std::string lowered;
    // The letters a-z the lowered field holds (bit 0: a): a word with a
    // letter the field lacks is not in it, without a search.
    uint32_t letters = 0;
};

// Whether a keyword field names the record kind, by the kind's words.
bool names_record(RecordKind kind, const KeywordText& keyword);
bool names_record(RecordKind kind, std::string_view field);

// A field that closes the line description's general section: it holds "["
// and "]" and does not begin with "-" (blanks before it aside).
bool is_section_header(std::string_view field);

// A field the readers pass over before a keyword field (up to their limit).
bool is_dash_field(std::string_view field);
