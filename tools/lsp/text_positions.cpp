#include "tools/lsp/text_positions.h"

#include "core/field_stream.h"
#include "tools/common/ascii_text.h"

TextLines::TextLines(std::string_view text) : text_(text), lines_(document_lines(text)) {}

std::string_view TextLines::line(size_t n) const { return n < lines_.size() ? lines_[n] : std::string_view(); }

TextSpan TextLines::span_at(size_t offset, size_t length) const {
    for (size_t n = 0; n < lines_.size(); ++n) {
        const size_t start = static_cast<size_t>(lines_[n].data() - text_.data());
        const size_t next = n + 1 < lines_.size() ? static_cast<size_t>(lines_[n + 1].data() - text_.data())
                                                  : text_.size() + 1;
        if (offset >= start && offset < next) {
            const auto begin = static_cast<int32_t>(offset - start);
            return {static_cast<int32_t>(n), begin, begin + static_cast<int32_t>(length)};
        }
    }
    return {};
}

TextSpan TextLines::trimmed_line(size_t n) const {
    const std::string_view text = line(n);
    const std::string_view kept = blanks_trimmed(text);
    const auto begin = static_cast<int32_t>(text.size() - without_leading_blanks(text).size());
    return {static_cast<int32_t>(n), begin, begin + static_cast<int32_t>(kept.size())};
}

nlohmann::json range_json(const TextSpan& span) {
    return {{"start", {{"line", span.line}, {"character", span.begin}}},
            {"end", {{"line", span.line}, {"character", span.end}}}};
}

bool span_holds(const TextSpan& span, int64_t line, int64_t character) {
    return line == span.line && character >= span.begin && character <= span.end;
}
