// The field stream of the description readers: one field per read, ended by a
// comma or a line end, read as text or as a whole number of a given width.
#include "core/field_stream.h"

#include <utility>

#include "core/read_trace.h"
#include "platform/platform.h"

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t'; }
bool is_line_end(char c) { return c == '\r' || c == '\n'; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }

// The length of the line end at `pos` (2 for CR LF), 0 when none stands there.
size_t line_end_length(std::string_view text, size_t pos) {
    if (pos >= text.size() || !is_line_end(text[pos])) return 0;
    return text[pos] == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n' ? 2 : 1;
}

// Digits beyond this are still consumed but no longer change the value, so a
// number of any length is refused by its width check without overflowing.
constexpr int64_t kSaturation = int64_t{1} << 40;

}  // namespace

void FieldStream::open(const std::string& path) { open_text(platform::read_file(path), path); }

void FieldStream::open_text(std::string text, std::string name) {
    owned_ = std::move(text);
    view_text(owned_, std::move(name));
}

void FieldStream::view_text(std::string_view text, std::string name) {
    if (text.data() != owned_.data()) owned_.clear();
    text_ = text;
    path_ = std::move(name);
    pos_ = 0;
    currentLine_ = 1;
    lineStart_ = 0;
    fieldLine_ = 0;
    open_ = true;
    failure_ = Failure();
}

void FieldStream::close() {
    open_ = false;
    owned_.clear();
    text_ = {};
    pos_ = 0;
}

bool FieldStream::eof() const { return pos_ >= text_.size(); }

void FieldStream::skip_blanks() {
    while (pos_ < text_.size() && is_blank(text_[pos_])) ++pos_;
}

// Consumes one comma or one line end (CR LF counts as one) if it stands next.
bool FieldStream::consume_field_end() {
    skip_blanks();
    if (pos_ >= text_.size()) return true;
    if (text_[pos_] == ',') {
        ++pos_;
    } else if (size_t end = line_end_length(text_, pos_); end > 0) {
        pos_ += end;
        ++currentLine_;
        lineStart_ = pos_;
    } else {
        return false;
    }
    return true;
}

// Every read starts here: a field must be left to read; its line is noted
// once the blanks before it are skipped.
inline void FieldStream::begin_field() {
    if (!open_ || pos_ >= text_.size()) refuse_read();
    skip_blanks();
    fieldLine_ = currentLine_;
}

// Why no field can be read: kept out of the way of every field's read.
void FieldStream::refuse_read() {
    if (!open_) failure("the file is not open");
    failure_ = {Failure::What::PastEnd, currentLine_, "", 0, 0};
    failure("read past the end of the file");
}

// A traced field's place: its line, and its first and end byte in that line.
TracedField FieldStream::placed_field(size_t start, size_t end, size_t lineStart) const {
    TracedField f;
    f.line = fieldLine_;
    f.column = static_cast<int32_t>(start - lineStart);
    f.endColumn = static_cast<int32_t>(end - lineStart);
    return f;
}

std::string FieldStream::read_text() {
    begin_field();
    size_t start = pos_;
    while (pos_ < text_.size() && text_[pos_] != ',' && !is_line_end(text_[pos_])) ++pos_;
    size_t end = pos_;
    while (end > start && is_blank(text_[end - 1])) --end;
    std::string field(text_.substr(start, end - start));
    const size_t lineStart = lineStart_;
    consume_field_end();
    if (trace) {
        TracedField f = placed_field(start, end, lineStart);
        f.text = field;
        trace->field(f);
    }
    return field;
}

int64_t FieldStream::read_number(int64_t low, int64_t high, const char* width) {
    begin_field();
    const size_t fieldStart = pos_;
    const size_t fieldLineStart = lineStart_;
    // The field as written, for the report of a number that is refused.
    auto as_written = [&] {
        size_t end = fieldStart;
        while (end < text_.size() && text_[end] != ',' && !is_line_end(text_[end])) ++end;
        while (end > fieldStart && is_blank(text_[end - 1])) --end;
        return std::string(text_.substr(fieldStart, end - fieldStart));
    };
    // The refused field's place, for the read trace.
    auto trace_unread = [&](const std::string& written) {
        if (!trace) return;
        TracedField f = placed_field(fieldStart, fieldStart + written.size(), fieldLineStart);
        f.text = written;
        trace->unread(f);
    };
    bool negative = false;
    if (pos_ < text_.size() && text_[pos_] == '-') {
        negative = true;
        ++pos_;
    }
    size_t digitsStart = pos_;
    int64_t value = 0;
    while (pos_ < text_.size() && is_digit(text_[pos_])) {
        if (value < kSaturation) value = value * 10 + (text_[pos_] - '0');
        ++pos_;
    }
    bool noDigits = pos_ == digitsStart;
    bool endsHere = pos_ >= text_.size() || is_blank(text_[pos_]) || text_[pos_] == ',' ||
                    is_line_end(text_[pos_]);
    if (!endsHere || (noDigits && negative)) {
        failure_ = {Failure::What::NotANumber, fieldLine_, as_written(), 0, 0};
        trace_unread(failure_.text);
        failure("number expected");
    }
    // No digits and nothing but blanks up to the field's end: an empty field, 0.
    const size_t numberEnd = pos_;
    const size_t lineStart = lineStart_;
    const bool fieldEnds = consume_field_end();
    if (negative) value = -value;
    if (value < low || value > high) {
        failure_ = {Failure::What::OutOfRange, fieldLine_, std::string(text_.substr(fieldStart, numberEnd - fieldStart)), low, high};
        trace_unread(failure_.text);
        failure(std::string("number does not fit ") + width);
    }
    if (trace) {
        TracedField f = placed_field(fieldStart, numberEnd, lineStart);
        f.number = true;
        f.value = value;
        f.empty = noDigits;
        f.runsOn = !fieldEnds;
        trace->field(f);
    }
    return value;
}

int32_t FieldStream::read_int32() {
    return static_cast<int32_t>(read_number(INT32_MIN, INT32_MAX, "32 bits"));
}

int16_t FieldStream::read_int16() {
    return static_cast<int16_t>(read_number(INT16_MIN, INT16_MAX, "16 bits"));
}

uint8_t FieldStream::read_uint8() { return static_cast<uint8_t>(read_number(0, UINT8_MAX, "8 bits")); }

bool contiene(std::string_view field, std::string_view word) {
    auto fold = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    if (word.size() > field.size()) return false;
    for (size_t start = 0; start + word.size() <= field.size(); ++start) {
        size_t k = 0;
        while (k < word.size() && fold(field[start + k]) == fold(word[k])) ++k;
        if (k == word.size()) return true;
    }
    return false;
}

bool contiene_esatto(std::string_view field, std::string_view word) {
    return field.find(word) != std::string_view::npos;
}

std::vector<std::string_view> document_lines(std::string_view text) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    size_t pos = 0;
    while (pos < text.size()) {
        if (size_t end = line_end_length(text, pos); end > 0) {
            lines.push_back(text.substr(start, pos - start));
            pos += end;
            start = pos;
        } else {
            ++pos;
        }
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

std::vector<std::string> line_fields(std::string_view line) {
    FieldStream stream;
    stream.open_text(std::string(line));
    std::vector<std::string> fields;
    while (!stream.eof()) fields.push_back(stream.read_text());  // every read consumes text
    return fields;
}

void FieldStream::failure(const std::string& why) const { throw platform::RunTimeFailure("read", path_, why); }
