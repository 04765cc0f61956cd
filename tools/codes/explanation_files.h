// The explanation files of tools/codes/explanations/, embedded into the
// program when it is built (cmake/embed_explanations.cmake).
#pragma once

#include <cstddef>
#include <span>
#include <string_view>

struct ExplanationFile {
    std::string_view code;  // the file's name without ".md": "6", "W101"
    std::string_view text;
};

// Every file, in the order of their names.
std::span<const ExplanationFile> explanation_files();
