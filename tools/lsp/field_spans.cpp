// Until the read trace records each field's bytes, the fields of a line are
// found again here from the line's text: its pieces between commas, a piece
// of digits split further at blanks (numbers end at a blank). This covers
// every row written one to a line, as the documents write them.
#include "tools/lsp/field_spans.h"

#include <vector>

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t'; }

bool is_number_piece(std::string_view piece) {
    bool digit = false;
    for (char c : piece) {
        if (c >= '0' && c <= '9') digit = true;
        else if (c != '-' && !is_blank(c)) return false;
    }
    return digit;
}

// The fields of a line, the keyword field first when it opens the line.
std::vector<TextSpan> line_field_spans(int32_t n, std::string_view line, bool keywordFirst) {
    std::vector<TextSpan> spans;
    size_t start = 0;
    for (;;) {
        size_t stop = line.find(',', start);
        if (stop == std::string_view::npos) stop = line.size();
        size_t begin = start, end = stop;
        while (begin < end && is_blank(line[begin])) ++begin;
        while (end > begin && is_blank(line[end - 1])) --end;
        const std::string_view piece = line.substr(begin, end - begin);
        if ((!spans.empty() || !keywordFirst) && is_number_piece(piece)) {
            for (size_t at = begin; at < end;) {
                size_t last = at;
                while (last < end && !is_blank(line[last])) ++last;
                spans.push_back({n, static_cast<int32_t>(at), static_cast<int32_t>(last)});
                at = last;
                while (at < end && is_blank(line[at])) ++at;
            }
        } else {
            spans.push_back({n, static_cast<int32_t>(begin), static_cast<int32_t>(end)});
        }
        if (stop == line.size()) break;
        start = stop + 1;
    }
    return spans;
}

}  // namespace

std::optional<TextSpan> keyword_span(const TracedRecord& record, const TextLines& lines) {
    if (record.line < 1) return std::nullopt;
    return lost_keyword_span(record.line, lines);
}

std::optional<TextSpan> field_span(const TracedRecord& record, int n, const TextLines& lines) {
    if (n < 1 || static_cast<size_t>(n) > record.fields.size()) return std::nullopt;
    const TracedField& field = record.fields[static_cast<size_t>(n) - 1];
    if (field.line < 1) return std::nullopt;
    // The field's place among the fields of its line: after the keyword on
    // the keyword's line, from the first on a later line.
    size_t index = field.line == record.line ? 1 : 0;
    for (int i = 1; i < n; ++i) {
        if (record.fields[static_cast<size_t>(i) - 1].line == field.line) ++index;
    }
    const std::vector<TextSpan> spans =
        line_field_spans(field.line - 1, lines.line(static_cast<size_t>(field.line) - 1), field.line == record.line);
    if (index >= spans.size()) return std::nullopt;
    return spans[index];
}

TextSpan lost_keyword_span(int32_t line, const TextLines& lines) {
    if (line < 1) return {};
    return line_field_spans(line - 1, lines.line(static_cast<size_t>(line) - 1), true).front();
}
