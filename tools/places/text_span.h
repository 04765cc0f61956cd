// A stretch of one line of a document, as the documents hold it: Windows-1252
// bytes, one character each (and one UTF-16 code unit, as every character of
// the code page is in the Basic Multilingual Plane).
#pragma once

#include <cstdint>

// Bytes [begin, end) of line `line` (from 0).
struct TextSpan {
    int32_t line = 0;
    int32_t begin = 0;
    int32_t end = 0;
    bool operator==(const TextSpan&) const = default;
};
