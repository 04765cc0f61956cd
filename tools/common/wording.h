// Small pieces of the wording the commands' one-line summaries share.
#pragma once

#include <string>
#include <vector>

// "a", "a and b", "a, b and c".
std::string listed(const std::vector<std::string>& names);

// A folder as the author gave it; "." for the current one.
std::string shown_folder(const std::string& folder);
