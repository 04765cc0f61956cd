// Test support: the five built-in documents as written by the form, split
// into lines, and strict parsers for the rows of the two description
// documents and of the timetable sheet. A row that departs from its format
// fails the calling test with its line number.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// A document's bytes and its lines (without their CR LF).
struct WrittenDocument {
    std::string bytes;
    std::vector<std::string> lines;
};

struct WrittenDocuments {
    WrittenDocument linea, treno, note, rallentamenti, scheda;
};

// Writes all five documents into a fresh folder through a form with the given
// names and reads them back under the names the form gives them.
WrittenDocuments write_documents(const std::string& routeName, const std::string& trainCode);

// The built-in documents, written once per test program.
const WrittenDocuments& built_in_documents();

// Splits document bytes at CR LF; a stray CR or LF, or bytes after the last
// CR LF, fail the calling test.
std::vector<std::string> split_crlf(const std::string& bytes);

// A decimal whole number without leading zeros, "-" for negatives; nothing else.
std::optional<int64_t> strict_number(const std::string& text);

// The text between commas: the key first, then every value field as written.
std::vector<std::string> split_commas(const std::string& line);

// A number right-aligned in exactly `width` characters.
std::optional<int64_t> right_aligned_number(const std::string& field, int width);

// Line n of a document, numbered from 1; empty when there is no such line.
std::string line_at(const std::vector<std::string>& lines, int n);

// --- line description ---------------------------------------------------------

struct CurveRow { int line; char hand; int64_t klass, start, length; };
struct GradientRow { int line; int64_t position, gradient; };
struct MontagnaRow { int line; int64_t start, end, type; };
struct BoardRow { int line; int64_t position, a, b, c, count; };
struct IndicationRow { int line; int64_t position; std::string caption; };

struct LineDescription {
    int64_t routeLength = -1;
    std::vector<CurveRow> curves;
    std::vector<GradientRow> gradients;
    std::vector<MontagnaRow> montagne;
    std::vector<BoardRow> boards;
    std::vector<IndicationRow> indications;
};

// Parses the record sections at their lines (curves 11-64, gradients 66-82,
// montagna 84-96, speed boards 98-129, indication boards 131-134).
LineDescription parse_line_description(const std::vector<std::string>& lines);

// --- train description ----------------------------------------------------------

struct SpeedRow { int line; int64_t position, speed; };
struct StationRow {
    int line;
    int64_t number[16];  // fields 1 to 16
    std::string name;
    int64_t position() const { return number[0]; }
    int64_t type() const { return number[1]; }
    int64_t length() const { return number[2]; }
};
struct SignalRow { int line; int64_t number[11]; };

struct TrainDescription {
    std::vector<SpeedRow> speeds;
    std::vector<StationRow> stations;
    std::vector<SignalRow> signals;
};

// Parses the speed-limit rows (18-34), station rows (36-59) and signal rows (62-105).
TrainDescription parse_train_description(const std::vector<std::string>& lines);

// --- timetable sheet ------------------------------------------------------------

enum class SheetKind { Place, Board, Post };
enum class TimeKind { None, Departure, Stop, Passing, Arrival };

struct SheetRow {
    int line;
    SheetKind kind;
    std::optional<int64_t> lim, marc;  // the two speed cells
    int64_t progressive;               // in metres
    std::string name;
    TimeKind time;
    std::string first, second;         // arrival or passing or departure; departure of a stop
    std::string rec;                   // last cell as written, empty when the row has none
};

// Parses the 39 body rows (lines 17-55) by their fixed columns.
std::vector<SheetRow> parse_sheet_body(const std::vector<std::string>& lines);

// Minutes after midnight of a sheet time "H.MM".
int64_t sheet_minutes(const std::string& time);
