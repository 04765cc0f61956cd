// The keyword tests of the readers, by the format's table of record kinds.
#include "core/format.h"

#include <array>
#include <iterator>

namespace {

constexpr bool rows_in_kind_order() {
    for (size_t i = 0; i < std::size(kRecordFormats); ++i) {
        if (static_cast<size_t>(kRecordFormats[i].kind) != i) return false;
    }
    return std::size(kRecordFormats) == static_cast<size_t>(RecordKind::Station) + 1;
}
static_assert(rows_in_kind_order(), "kRecordFormats holds one row per record kind, in the kinds' order");

}  // namespace

namespace {

constexpr uint32_t letter_bit(char c) { return c >= 'a' && c <= 'z' ? uint32_t{1} << (c - 'a') : 0; }

constexpr uint32_t letters_of(std::string_view word) {
    uint32_t letters = 0;
    for (char c : word) letters |= letter_bit(c);
    return letters;
}

// The letters of each kind's words, in the table's order.
constexpr auto kWordLetters = [] {
    std::array<std::array<uint32_t, 2>, std::size(kRecordFormats)> letters{};
    for (size_t k = 0; k < std::size(kRecordFormats); ++k) {
        for (size_t w = 0; w < 2; ++w) letters[k][w] = letters_of(kRecordFormats[k].words[w]);
    }
    return letters;
}();

}  // namespace

KeywordText::KeywordText(std::string_view field) : written(field), lowered(field) {
    for (char& c : lowered) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        letters |= letter_bit(c);
    }
}

bool names_record(RecordKind kind, const KeywordText& keyword) {
    const size_t k = static_cast<size_t>(kind);
    const RecordFormat& format = kRecordFormats[k];
    const std::string_view field = format.exactCase ? keyword.written : std::string_view(keyword.lowered);
    for (size_t w = 0; w < 2; ++w) {
        const std::string_view word = format.words[w];
        if (word.empty()) continue;
        // A lower-case word is only in a field whose lowered form holds each of its letters.
        if ((kWordLetters[k][w] & ~keyword.letters) != 0 || field.find(word) == std::string_view::npos) return false;
    }
    return true;
}

bool names_record(RecordKind kind, std::string_view field) { return names_record(kind, KeywordText(field)); }

bool is_section_header(std::string_view field) {
    const size_t first = field.find_first_not_of(" \t");
    const bool dashFirst = first != std::string_view::npos && field[first] == '-';
    return !dashFirst && field.find('[') != std::string_view::npos && field.find(']') != std::string_view::npos;
}

bool is_dash_field(std::string_view field) { return field.find('-') != std::string_view::npos; }
