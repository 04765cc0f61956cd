// Positions as the protocol counts them (UTF-16 code units) on documents the
// server holds as Windows-1252: a field after "À" or after a character
// outside the Basic Multilingual Plane is still found at its column.
#include "tools/lsp/text_positions.h"

#include <gtest/gtest.h>

#include "tools/diagnostics/checker.h"
#include "tools/places/field_spans.h"
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

// The records the reader took from a train description holding `rows`, as
// the check's last pass traced them.
std::vector<TracedRecord> traced_train(const std::string& rows) {
    ReadTrace trace;
    check_sources({"line.txt", std::string("[generale]\r\nlunghezza percorso, 10000\r\n[x]\r\n[fine]\r\n")},
                  {"train.txt", "[generale]\r\n" + rows + "[fine]\r\n"}, ScenarioNames{}, 10, &trace);
    std::vector<TracedRecord> records;
    for (const TracedRecord& r : trace.records) {
        if (r.document == Document::Train) records.push_back(r);
    }
    return records;
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
        const std::string plain = [&] {  // the text with the protocol's line ends, for utf16_span
            std::string t = c.utf8;
            for (size_t at; (at = t.find("\r\n")) != std::string::npos;) t.replace(at, 2, "\n");
            for (char& ch : t) ch = ch == '\r' ? '\n' : ch;
            return t;
        }();
        // The editor's line 2 (from 1) as a row of a train description, read by the compiler.
        const std::string row(TextLines(held.bytes).line(1));
        const std::vector<TracedRecord> records = traced_train(row + "\r\n");
        ASSERT_EQ(records.size(), 1u) << c.name;
        const TracedRecord& r = records[0];  // on line 2 in both texts
        EXPECT_EQ(keyword_span(r), utf16_span(plain, 1, c.keyword)) << c.name;
        EXPECT_EQ(field_span(r, 1), utf16_span(plain, 1, "6350")) << c.name;
        EXPECT_EQ(field_span(r, 2), utf16_span(plain, 1, "112")) << c.name;
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
    // Lines 2 to 4 of the train description (from 1); the protocol counts from 0.
    const std::vector<TracedRecord> records =
        traced_train("orologio,    9     37   0\r\nsegnale, 1550,\r\n  1, 4, 1,  0, 0,    1,  3,1,0, 0\r\n");
    ASSERT_EQ(records.size(), 2u);
    const TracedRecord& clock = records[0];
    EXPECT_EQ(field_span(clock, 2), (TextSpan{1, 19, 21}));
    EXPECT_EQ(field_span(clock, 3), (TextSpan{1, 24, 25}));
    const TracedRecord& signal = records[1];
    EXPECT_EQ(keyword_span(signal), (TextSpan{2, 0, 7}));
    EXPECT_EQ(field_span(signal, 1), (TextSpan{2, 9, 13}));
    // The comma at the end of line 3 ends an empty number field: the second value.
    EXPECT_EQ(field_span(signal, 2), (TextSpan{2, 14, 14}));
    EXPECT_EQ(field_span(signal, 3), (TextSpan{3, 2, 3}));
}
