#include "tools/common/record_names.h"

#include <iterator>

#include "core/record_fields.h"

namespace {

const char* kOrdinals[] = {"first",   "second",  "third",      "fourth",     "fifth",     "sixth",
                           "seventh", "eighth",  "ninth",      "tenth",      "eleventh",  "twelfth",
                           "thirteenth", "fourteenth", "fifteenth", "sixteenth", "seventeenth"};
static_assert(std::size(kOrdinals) >= fields_in_table(RecordKind::Station), "an ordinal for every field of the longest row");

std::string count(size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

// The text field that ends the row (a caption, a station name), if any.
const RecordField* text_field(RecordKind kind) {
    const RecordField& last = record_fields(kind).back();
    return last.index > 0 && last.width == FieldWidth::Text ? &last : nullptr;
}

}  // namespace

std::string row_name(RecordKind kind) { return std::string(record_keyword_field(kind).said); }

bool ends_in_text(RecordKind kind) { return text_field(kind) != nullptr; }

std::string row_contents(RecordKind kind) {
    const RecordField* text = text_field(kind);
    std::string out = count(static_cast<size_t>(value_count(kind) - (text ? 1 : 0)), "number", "numbers");
    if (text) out += " and a " + std::string(text->name);
    return out;
}

std::string field_name(RecordKind kind, int n) {
    const std::string row = "this " + row_name(kind);
    const RecordField* field = n >= 1 ? find_record_field(kind, n) : nullptr;
    if (field == nullptr) return "a value of " + row;
    if (field->width == FieldWidth::Text) return "the " + std::string(field->name) + " of " + row;
    std::string out = std::string("the ") + kOrdinals[n - 1] + " number of " + row;
    if (!field->said.empty()) out += " (" + std::string(field->said) + ")";
    return out;
}
