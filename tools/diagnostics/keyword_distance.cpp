#include "tools/diagnostics/keyword_distance.h"

#include <algorithm>
#include <string>

#include "tools/common/ascii_text.h"

namespace {

// Fields compared with the keywords are cut to this many characters: the
// longest keyword has 28, and a longer field is far from all of them anyway.
constexpr size_t kComparedLength = 40;

// Edit distance of two texts of at most kComparedLength characters.
size_t distance(std::string_view a, std::string_view b) {
    a = a.substr(0, kComparedLength);
    b = b.substr(0, kComparedLength);
    size_t row[kComparedLength + 1];
    for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        size_t diagonal = row[0];
        row[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            const size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

}  // namespace

size_t keyword_distance(std::string_view field, std::string_view keyword) {
    return distance(ascii_lowered(field.substr(0, 200)), keyword);
}
