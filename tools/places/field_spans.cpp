#include "tools/places/field_spans.h"

std::optional<TextSpan> keyword_span(const TracedRecord& record) {
    if (record.line < 1) return std::nullopt;
    return TextSpan{record.line - 1, record.keywordColumn, record.keywordEndColumn};
}

std::optional<TextSpan> field_span(const TracedRecord& record, int n) {
    if (n < 1 || static_cast<size_t>(n) > record.fields.size()) return std::nullopt;
    const TracedField& field = record.fields[static_cast<size_t>(n) - 1];
    if (field.line < 1) return std::nullopt;
    return TextSpan{field.line - 1, field.column, field.endColumn};
}

TextSpan keyword_field_span(const KeywordField& keyword) {
    return {keyword.line - 1, keyword.column, keyword.endColumn};
}
