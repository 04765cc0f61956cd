#include "tools/common/ascii_text.h"

#include <algorithm>

namespace {

char ascii_lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string_view trimmed_of(std::string_view text, std::string_view cut) {
    const size_t first = text.find_first_not_of(cut);
    if (first == std::string_view::npos) return text.substr(text.size());
    return text.substr(first, text.find_last_not_of(cut) - first + 1);
}

constexpr std::string_view kBlanks = " \t";

}  // namespace

std::string ascii_lowered(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), ascii_lower);
    return out;
}

bool equal_ignoring_ascii_case(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return ascii_lower(x) == ascii_lower(y); });
}

std::string_view without_leading_blanks(std::string_view text) {
    const size_t first = text.find_first_not_of(kBlanks);
    return text.substr(first == std::string_view::npos ? text.size() : first);
}

std::string_view blanks_trimmed(std::string_view text) { return trimmed_of(text, kBlanks); }

std::string trimmed(std::string_view text) { return std::string(blanks_trimmed(text)); }

std::string_view spaces_trimmed(std::string_view text) { return trimmed_of(text, " "); }
