// The fields of every record kind of both description documents, from the
// rows of core/record_fields.def: each field's name, width, unit and the limit
// the compiler holds it to. The readers' field counts, the tool's record and
// field names, hover, completion and the authors' reference read this table.
#pragma once

#include <cstdint>
#include <iterator>
#include <span>
#include <string>
#include <string_view>

#include "core/compiler_limits.h"
#include "core/format.h"

// The width a reader reads a field with.
enum class FieldWidth : int { Text, Bits32, Bits16, Bits8 };

// The unit of a field's value.
enum class FieldUnit : int { None, Metres, Kmh, PerMille, Percent, Count, Code, Switch, Hours, Minutes, Seconds };

// What the compiler refuses of a field's value (see the column `limit` of
// core/record_fields.def); a field with none of these has no limit.
struct FieldLimit {
    static constexpr int64_t kUnbounded = INT64_MAX;
    int64_t lowest = -kUnbounded;  // refused below this
    int64_t highest = kUnbounded;  // refused above this
    int32_t reach = 0;             // a position on the grid: (value + reach) / kCellMetres at most N; 0: not a position
    int32_t step = 0;              // a multiple of this; 0: any value
    bool withinLine = false;       // at most L + kRunOnMetres (a curve's length: start + length)

    constexpr FieldLimit multiple(int32_t of) const {
        FieldLimit out = *this;
        out.step = of;
        return out;
    }
    constexpr bool any() const {
        return lowest != -kUnbounded || highest != kUnbounded || reach != 0 || step != 0 || withinLine;
    }
    constexpr bool operator==(const FieldLimit&) const = default;
};

// One row of core/record_fields.def.
struct RecordField {
    RecordKind kind;
    int index;               // 0: the keyword field; n: the n-th value after it
    std::string_view name;   // the reference's name; the kind's title for the keyword field
    std::string_view said;   // the diagnostics' words; the row's name ("signal row") for the keyword field
    FieldWidth width;
    FieldUnit unit;
    FieldLimit limit;
    std::string_view note;   // the reference's range, or the kind's summary (see field_note)
};

// Every row of the table, in its order.
inline constexpr RecordField kRecordFields[] = {
#define NO_LIMIT FieldLimit{}
#define RANGE(lo, hi) FieldLimit{.lowest = (lo), .highest = (hi)}
#define POSITION(lo, reach_) FieldLimit{.lowest = (lo), .reach = (reach_)}
#define MULTIPLE(of) FieldLimit{.step = (of)}
#define WITHIN_LINE FieldLimit{.withinLine = true}
#define RECORD_FIELD(kind, index, name, said, width, unit, limit, note) \
    {RecordKind::kind, index, name, said, FieldWidth::width, FieldUnit::unit, limit, note},
#include "core/record_fields.def"
#undef RECORD_FIELD
#undef NO_LIMIT
#undef RANGE
#undef POSITION
#undef MULTIPLE
#undef WITHIN_LINE
};

namespace record_fields_detail {

inline constexpr int kKinds = static_cast<int>(RecordKind::Station) + 1;

// Where each kind's rows begin in kRecordFields, and one past the last kind's.
struct KindStarts {
    size_t at[kKinds + 1] = {};
};
constexpr KindStarts kind_starts() {
    KindStarts s;
    size_t row = 0;
    for (int k = 0; k < kKinds; ++k) {
        s.at[k] = row;
        while (row < std::size(kRecordFields) && static_cast<int>(kRecordFields[row].kind) == k) ++row;
    }
    s.at[kKinds] = row;
    return s;
}
inline constexpr KindStarts kStarts = kind_starts();

// Every kind has its keyword field and then its values 1, 2, ..., with no row
// out of the kinds' order.
constexpr bool rows_in_order() {
    if (kStarts.at[kKinds] != std::size(kRecordFields)) return false;
    for (int k = 0; k < kKinds; ++k) {
        if (kStarts.at[k + 1] == kStarts.at[k]) return false;
        for (size_t row = kStarts.at[k]; row < kStarts.at[k + 1]; ++row) {
            if (kRecordFields[row].index != static_cast<int>(row - kStarts.at[k])) return false;
        }
    }
    return true;
}
static_assert(rows_in_order(), "record_fields.def: one keyword row and then values 1, 2, ... per kind, in RecordKind's order");

}  // namespace record_fields_detail

// The rows of a kind: its keyword field first, then its values in order.
constexpr std::span<const RecordField> record_fields(RecordKind kind) {
    const auto k = static_cast<size_t>(kind);
    const size_t first = record_fields_detail::kStarts.at[k];
    return std::span<const RecordField>(kRecordFields).subspan(first, record_fields_detail::kStarts.at[k + 1] - first);
}

// How many fields a record of the kind reads after its keyword field.
constexpr int value_count(RecordKind kind) { return static_cast<int>(record_fields(kind).size()) - 1; }

// Field `index` of the kind (0: the keyword field), or nullptr when the kind has none such.
constexpr const RecordField* find_record_field(RecordKind kind, int index) {
    const auto fields = record_fields(kind);
    return index >= 0 && static_cast<size_t>(index) < fields.size() ? &fields[static_cast<size_t>(index)] : nullptr;
}

// The keyword field's row: the kind's title, row name and summary.
constexpr const RecordField& record_keyword_field(RecordKind kind) { return record_fields(kind).front(); }

// Whether the kind's first value is a position on the grid (it must leave
// room on the grid after it): the position the diagnostics sort and place by.
constexpr bool starts_with_position(RecordKind kind) {
    const RecordField* first = find_record_field(kind, 1);
    return first != nullptr && first->limit.reach > 0;
}

// The fields core/format.h names by their place (counted from 0 after the keyword field).
static_assert(find_record_field(RecordKind::Station, kStationNameField + 1)->name == "name");
static_assert(find_record_field(RecordKind::Station, kStationTimeFields.first + 1)->unit == FieldUnit::Hours);
static_assert(find_record_field(RecordKind::Station, kStationTimeFields.last + 1)->unit == FieldUnit::Seconds);
static_assert(find_record_field(RecordKind::SpeedBoard, kBoardRightSpeedFields.first + 1)->name == "vad");
static_assert(find_record_field(RecordKind::SpeedBoard, kBoardRightSpeedFields.last + 1)->name == "vcd");

// "32-bit", "16-bit", "8-bit", "text".
std::string_view width_text(FieldWidth width);
// "m", "km/h", "per mille", ...; "" for None.
std::string_view unit_text(FieldUnit unit);

// A field's note as the author reads it: the names in braces replaced by the
// numbers they stand for ({lowest}, {highest}, {reach} and {multiple} by the
// field's limit; {cell}, {run_on}, ... by the format's constants). A name
// nobody knows stays in its braces (the table's test finds none).
std::string field_note(const RecordField& field);
// The same for any text for authors (a summary, an explanation), by the
// format's constants alone: {cell}, {run_on}, {most_stations}, ... (the list
// is in core/record_fields.cpp).
std::string format_text(std::string_view text);

// A curve class's turn rate as the reference writes it, radians per metre
// ("0.0001"), and the radius it stands for, in whole metres (about).
std::string turn_rate_text(int curveClass);
int64_t curve_radius(int curveClass);
