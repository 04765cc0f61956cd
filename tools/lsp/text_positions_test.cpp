// Positions as the protocol counts them (UTF-16 code units) on documents the
// server holds as Windows-1252: a field after "À" or after a character
// outside the Basic Multilingual Plane is still found at its column.
#include "tools/lsp/text_positions.h"

#include <gtest/gtest.h>

#include "tools/lsp/field_spans.h"
#include "tools/common/text_encoding.h"

namespace {

// UTF-16 code units of UTF-8 text, counted on the UTF-8 itself: one per
// character, two for one of four bytes.
int32_t utf16_units(std::string_view utf8) {
    int32_t units = 0;
    for (char ch : utf8) {
        const auto b = static_cast<unsigned char>(ch);
        if ((b & 0xC0) != 0x80) units += b >= 0xF0 ? 2 : 1;
    }
    return units;
}

// Where `needle` stands in line `line` of UTF-8 text, in UTF-16 code units.
TextSpan utf16_span(std::string_view utf8, int32_t line, std::string_view needle) {
    size_t start = 0;
    for (int32_t n = 0; n < line; ++n) start = utf8.find('\n', start) + 1;
    const size_t end = utf8.find('\n', start);
    const std::string_view text = utf8.substr(start, end == std::string_view::npos ? end : end - start);
    const size_t at = text.find(needle);
    return {line, utf16_units(text.substr(0, at)), utf16_units(text.substr(0, at + needle.size()))};
}

TracedField number_field(int32_t line, int64_t value) {
    TracedField f;
    f.line = line;
    f.number = true;
    f.value = value;
    return f;
}

TracedRecord speed_row(int32_t line, int64_t position, int64_t speed) {
    TracedRecord r;
    r.document = Document::Train;
    r.kind = RecordKind::SpeedLimit;
    r.line = line;
    r.keyword = "velocita";
    r.fields = {number_field(line, position), number_field(line, speed)};
    return r;
}

}  // namespace

TEST(TextPositions, FieldsAreFoundAtTheirUtf16ColumnsAfterAnyCharacter) {
    struct Case {
        const char* name;
        std::string utf8;  // line 2 (from 1) holds "KEYWORD, 6350, 112"
        std::string keyword;
    } cases[] = {
        {"ASCII", "[generale]\r\nvelocita,  6350,  112\r\n", "velocita"},
        {"an accented letter in the keyword", "[generale]\r\nvelocit\xC3\xA0,  6350,  112\r\n", "velocit\xC3\xA0"},
        {"two of them, LF line ends", "[generale]\nVELOCIT\xC3\x80 \xC3\x88,\t6350,  112\n", "VELOCIT\xC3\x80 \xC3\x88"},
        {"a character outside the BMP", "[generale]\r\nvelocita\xF0\x9F\x9A\x86,  6350,  112\r\n",
         "velocita\xF0\x9F\x9A\x86"},
        {"a euro sign", "x\rvelocita \xE2\x82\xAC,  6350,  112", "velocita \xE2\x82\xAC"},
    };
    for (const Case& c : cases) {
        const Cp1252Text held = utf8_to_cp1252(c.utf8);
        const TextLines lines(held.bytes);
        const TracedRecord row = speed_row(2, 6350, 112);
        const std::string plain = [&] {  // the text with the protocol's line ends, for utf16_span
            std::string s = c.utf8;
            for (size_t at; (at = s.find("\r\n")) != std::string::npos;) s.replace(at, 2, "\n");
            for (char& ch : s) ch = ch == '\r' ? '\n' : ch;
            return s;
        }();
        EXPECT_EQ(keyword_span(row, lines), utf16_span(plain, 1, c.keyword)) << c.name;
        EXPECT_EQ(field_span(row, 1, lines), utf16_span(plain, 1, "6350")) << c.name;
        EXPECT_EQ(field_span(row, 2, lines), utf16_span(plain, 1, "112")) << c.name;
    }
}

TEST(TextPositions, UnrepresentableCharactersAreMarkedWhereTheEditorHasThem) {
    const std::string utf8 = "[generale]\r\nstazione, 0 \xF0\x9F\x9A\x86 \xCE\xA9 x\r\n";
    const Cp1252Text held = utf8_to_cp1252(utf8);
    const TextLines lines(held.bytes);
    ASSERT_EQ(held.unrepresentable.size(), 2u);
    EXPECT_EQ(lines.span_at(held.unrepresentable[0].offset, held.unrepresentable[0].length),
              utf16_span("[generale]\nstazione, 0 \xF0\x9F\x9A\x86 \xCE\xA9 x\n", 1, "\xF0\x9F\x9A\x86"));
    EXPECT_EQ(lines.span_at(held.unrepresentable[1].offset, held.unrepresentable[1].length),
              utf16_span("[generale]\nstazione, 0 \xF0\x9F\x9A\x86 \xCE\xA9 x\n", 1, "\xCE\xA9"));
}

TEST(TextPositions, FieldsOfARowSplitOverLinesAndNumbersApartByBlanks) {
    const TextLines lines("orologio,    9     37   0\r\nsegnale, 1550,\r\n  1, 4\r\n");
    TracedRecord clock;
    clock.kind = RecordKind::Clock;
    clock.line = 1;
    clock.fields = {number_field(1, 9), number_field(1, 37),
                    number_field(1, 0)};
    EXPECT_EQ(field_span(clock, 2, lines), (TextSpan{0, 19, 21}));
    EXPECT_EQ(field_span(clock, 3, lines), (TextSpan{0, 24, 25}));
    TracedRecord signal;
    signal.kind = RecordKind::Signal;
    signal.line = 2;
    signal.fields = {number_field(2, 1550), number_field(3, 1),
                     number_field(3, 4)};
    EXPECT_EQ(field_span(signal, 1, lines), (TextSpan{1, 9, 13}));
    EXPECT_EQ(field_span(signal, 3, lines), (TextSpan{2, 5, 6}));
    EXPECT_EQ(keyword_span(signal, lines), (TextSpan{1, 0, 7}));
}
