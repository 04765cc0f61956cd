// How near a field is to a record's keyword: the check's "did you mean" and
// the search for the row that meant the route length both measure it so.
#pragma once

#include <cstddef>
#include <string_view>

// How far a field is, letter case ignored, from being spelt as a keyword:
// the edits that turn one into the other.
size_t keyword_distance(std::string_view field, std::string_view keyword);
