// What an author needs to know about each record kind while typing it: its
// keyword as written, the section it belongs in, and every field with its
// width, unit and range, in the words of docs/authoring.md (a test holds the
// page to this table). Hover, completion and the outline read it.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "core/read_trace.h"
#include "tools/common/section_headers.h"

struct FieldReference {
    std::string_view name;   // "position", "gradient", "vas"
    std::string_view width;  // "32-bit", "16-bit", "8-bit", "text"
    std::string_view unit;   // "m", "km/h", "per mille", "" when none
    std::string_view range;  // what the compiler accepts, as the reference states it (see reference_text)
};

struct RecordReference {
    RecordKind kind;
    std::string_view keyword;  // as the built-in documents write it
    std::string_view title;    // "Gradient"
    std::string_view summary;  // one sentence: what the row is for (see reference_text)
    std::span<const FieldReference> fields;
};

// Every record kind, in the order the readers test them.
std::span<const RecordReference> record_references();
const RecordReference& record_reference(RecordKind kind);

// A range or summary as the author reads it: the names of the format's
// numbers in it ({cell}: the cell length; {half_cell}: half of it) replaced by
// their values, which live in core/ alone.
std::string reference_text(std::string_view text);

// A curve class: the digit in the keyword and the turn rate it stands for.
struct CurveClass {
    int number;
    std::string_view turnRate;  // radians per metre
    std::string_view radius;    // about
};
std::span<const CurveClass> curve_classes();
