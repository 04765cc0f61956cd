// The field stream shared by both description readers: the one open document.
// Fields end at a comma or a line end (CR, LF or CR LF), which is consumed
// with them; blanks before a field are skipped. Numbers end at the first blank,
// comma or line end after their digits; an empty number field reads 0.
// A number that does not fit its width, text where a number belongs, and a
// read past the end of the file are read failures (platform::RunTimeFailure).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct ReadTrace;
struct TracedField;

class FieldStream {
public:
    // Opens a file for reading from its start; a run-time failure when missing.
    void open(const std::string& path);
    // Opens text held in memory (tests, fuzzing); `name` stands for the path in reports.
    void open_text(std::string text, std::string name = "<memory>");
    // Reads text held by the caller in place, without a copy; the text must
    // stay as it is until the stream is closed or opened again.
    void view_text(std::string_view text, std::string name);
    void close();
    bool is_open() const { return open_; }

    // True when nothing is left to read.
    bool eof() const;

    std::string read_text();
    int32_t read_int32();
    int16_t read_int16();
    uint8_t read_uint8();

    // Line (from 1) on which the last field read began; 0 before any read.
    int32_t line() const { return fieldLine_; }

    // When set, every field read is also handed to this trace.
    ReadTrace* trace = nullptr;

    // What the last read that failed met, for the authoring tool's
    // diagnostics; cleared when a document is opened.
    struct Failure {
        enum class What { None, NotANumber, OutOfRange, PastEnd };
        What what = What::None;
        int32_t line = 0;           // line of the field (PastEnd: where the reading stood)
        std::string text;           // the field as written (NotANumber, OutOfRange)
        int64_t low = 0, high = 0;  // OutOfRange: what the field holds
    };
    const Failure& last_failure() const { return failure_; }

private:
    int64_t read_number(int64_t low, int64_t high, const char* width);
    void skip_blanks();
    void begin_field();
    [[noreturn, gnu::cold, gnu::noinline]] void refuse_read();
    bool consume_field_end();  // blanks, then one comma or line end if present; false when other text follows
    TracedField placed_field(size_t start, size_t end, size_t lineStart) const;
    [[noreturn]] void failure(const std::string& why) const;

    std::string owned_;       // the text when the stream holds it itself
    std::string_view text_;  // what is read: owned_, or the caller's text
    size_t pos_ = 0;
    int32_t currentLine_ = 1;
    size_t lineStart_ = 0;  // offset of the current line's first byte
    int32_t fieldLine_ = 0;
    std::string path_;
    bool open_ = false;
    Failure failure_;
};

// Keyword tests: records are recognised by what their keyword field contains.
// contiene ignores letter case (A to Z); contiene_esatto compares letters exactly.
bool contiene(std::string_view field, std::string_view word);
bool contiene_esatto(std::string_view field, std::string_view word);

// The lines of a document as the field stream counts them: a line end is CR LF,
// CR or LF, and line n (from 1) is element n - 1. Text after the last line end
// is a line of its own.
std::vector<std::string_view> document_lines(std::string_view text);

// The fields of one line as the field stream reads them as text: split at
// commas, blanks around each field dropped.
std::vector<std::string> line_fields(std::string_view line);
