// Places in a document as the protocol counts them. The server holds every
// document as Windows-1252 bytes, one byte for each UTF-16 code unit of the
// text the editor has (utf8_to_cp1252 keeps it so), so a byte column is the
// protocol's character and only lines need counting. Lines end at CR LF, CR
// or LF, as they do for the field stream and for the protocol alike.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "tools/places/text_span.h"

class TextLines {
public:
    explicit TextLines(std::string_view text);

    size_t count() const { return lines_.size(); }
    // Line n from 0, without its line end; empty beyond the last line.
    std::string_view line(size_t n) const;
    // The span of a byte offset's line holding `length` bytes from it.
    TextSpan span_at(size_t offset, size_t length) const;
    // The span of line n's text without its leading and trailing blanks.
    TextSpan trimmed_line(size_t n) const;

private:
    std::string_view text_;
    std::vector<std::string_view> lines_;
};

// {"start": {...}, "end": {...}} of the protocol.
nlohmann::json range_json(const TextSpan& span);
// Whether the protocol position (line, character) lies within the span, its end included.
bool span_holds(const TextSpan& span, int64_t line, int64_t character);
