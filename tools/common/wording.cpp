#include "tools/common/wording.h"

std::string listed(const std::vector<std::string>& names) {
    std::string text;
    for (size_t i = 0; i < names.size(); ++i) {
        if (i > 0) text += i + 1 == names.size() ? " and " : ", ";
        text += names[i];
    }
    return text;
}

std::string shown_folder(const std::string& folder) { return folder.empty() ? "." : folder; }
