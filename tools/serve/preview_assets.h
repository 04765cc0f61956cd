// The files of the preview page, embedded into the program when it is built.
#pragma once

#include <cstddef>
#include <string_view>

struct PreviewAsset {
    const char* path;  // as requested: "/" or "/assets/NAME"
    const char* contentType;
    const unsigned char* bytes;
    size_t size;
};

// The embedded file served at exactly this path, or nullptr.
const PreviewAsset* find_preview_asset(std::string_view path);
