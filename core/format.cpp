// The keyword tests of the readers, by the format's table of record kinds.
#include "core/format.h"

#include <iterator>

#include "core/field_stream.h"

namespace {

constexpr bool rows_in_kind_order() {
    for (size_t i = 0; i < std::size(kRecordFormats); ++i) {
        if (static_cast<size_t>(kRecordFormats[i].kind) != i) return false;
    }
    return std::size(kRecordFormats) == static_cast<size_t>(RecordKind::Station) + 1;
}
static_assert(rows_in_kind_order(), "kRecordFormats holds one row per record kind, in the kinds' order");

}  // namespace

bool names_record(RecordKind kind, std::string_view field) {
    const RecordFormat& format = record_format(kind);
    for (std::string_view word : format.words) {
        if (word.empty()) continue;
        if (!(format.exactCase ? contiene_esatto(field, word) : contiene(field, word))) return false;
    }
    return true;
}

bool is_section_header(std::string_view field) {
    const size_t first = field.find_first_not_of(" \t");
    const bool dashFirst = first != std::string_view::npos && field[first] == '-';
    return !dashFirst && contiene(field, "[") && contiene(field, "]");
}

bool is_dash_field(std::string_view field) { return contiene(field, "-"); }
