// Fuzz target: the field stream. The first byte chooses how the fields are
// read (two bits per read: text, 32, 16 or 8 bits, in turn); the rest is the
// document. Every read must consume text or fail, fields never hold their
// separators, and reading only text gives back every character but the
// blanks and separators, in order.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_harness.h"
#include "core/field_stream.h"
#include "platform/platform.h"

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t'; }
bool is_separator(char c) { return c == ',' || c == '\r' || c == '\n'; }

std::string without_blanks(std::string_view s, bool alsoSeparators) {
    std::string out;
    for (char c : s) {
        if (!is_blank(c) && !(alsoSeparators && is_separator(c))) out += c;
    }
    return out;
}

int32_t line_ends(std::string_view s) {
    int32_t n = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\n' || (s[i] == '\r' && (i + 1 >= s.size() || s[i + 1] != '\n'))) ++n;
    }
    return n;
}

// Every line end (CR LF, CR or LF) written as a comma: fields end alike at both.
std::string commas_for_line_ends(std::string_view s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') ++i;
        out += (s[i] == '\r' || s[i] == '\n') ? ',' : s[i];
    }
    return out;
}

// The fields of a text read as text only, to its end or a read failure.
std::vector<std::string> text_fields(std::string text) {
    const size_t bound = text.size() + 1;  // every read consumes at least one byte
    FieldStream stream;
    stream.open_text(std::move(text), "fuzz");
    std::vector<std::string> fields;
    try {
        for (size_t reads = 0; reads < bound && !stream.eof(); ++reads) fields.push_back(stream.read_text());
    } catch (const platform::RunTimeFailure&) {
        fields.push_back("<read failure>");
    }
    return fields;
}

}  // namespace

std::vector<std::string> fuzz_field_stream(std::string_view input) {
    std::vector<std::string> out;
    if (input.empty()) return out;
    const unsigned pattern = static_cast<unsigned char>(input[0]);
    const std::string_view text = input.substr(1);
    const bool textOnly = pattern == 0;

    FieldStream stream;
    stream.open_text(std::string(text), "fuzz");
    std::string joined;
    int32_t lastLine = 0;
    const size_t bound = text.size() + 1;  // every read consumes at least one byte
    size_t reads = 0;
    bool failed = false;
    for (; reads < bound && !stream.eof(); ++reads) {
        try {
            switch ((pattern >> (2 * (reads % 4))) & 3u) {
                case 0: {
                    std::string field = stream.read_text();
                    if (field.find_first_of(",\r\n") != std::string::npos) out.push_back("a text field holds a separator");
                    if (!field.empty() && (is_blank(field.front()) || is_blank(field.back())))
                        out.push_back("a text field keeps blanks at its ends");
                    joined += field;
                    break;
                }
                case 1: stream.read_int32(); break;
                case 2: stream.read_int16(); break;
                default: stream.read_uint8(); break;
            }
        } catch (const platform::RunTimeFailure& failure) {
            if (failure.operation != "read") out.push_back("a read failed as '" + failure.operation + "'");
            failed = true;
            break;
        }
        if (stream.line() < lastLine) out.push_back("the line number went back");
        lastLine = stream.line();
    }
    if (!failed && !stream.eof()) out.push_back("reads did not come to the end of the text");
    if (lastLine > line_ends(text) + 1) out.push_back("line " + std::to_string(lastLine) + " beyond the text");
    if (!failed) {
        bool refused = false;
        try {
            stream.read_text();
        } catch (const platform::RunTimeFailure&) {
            refused = true;
        }
        if (!refused) out.push_back("a read past the end of the text did not fail");
    }
    if (textOnly && without_blanks(joined, false) != without_blanks(text, true))
        out.push_back("the text fields do not give back the text");
    if (textOnly && text_fields(std::string(text)) != text_fields(commas_for_line_ends(text)))
        out.push_back("line ends and commas end the fields differently");
    return out;
}

#ifdef SCENARIO_FUZZER
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz_verdict(fuzz_field_stream(std::string_view(reinterpret_cast<const char*>(data), size)));
    return 0;
}
#endif
