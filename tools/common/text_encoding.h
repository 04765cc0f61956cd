// Windows-1252, the documents' code page, to and from UTF-8.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

std::string cp1252_to_utf8(std::string_view bytes);

// A code point (at most 0x10FFFF, no surrogate) as its one to four bytes of UTF-8.
std::string utf8_of(uint32_t codePoint);

// The code point of the UTF-8 sequence at `at` and its length; length 0 for a
// byte that begins no well-formed sequence (overlong forms, surrogates and
// sequences cut short included).
std::pair<uint32_t, size_t> decode_utf8(std::string_view s, size_t at);

// A character of UTF-8 text that Windows-1252 cannot hold, or a byte that is
// not UTF-8 at all (code point 0 then), and where its "?" stands.
struct Unrepresentable {
    size_t offset = 0;  // in the Windows-1252 text
    size_t length = 0;  // its "?" bytes: 2 for a character outside the Basic Multilingual Plane, else 1
    uint32_t codePoint = 0;
};

struct Cp1252Text {
    std::string bytes;
    std::vector<Unrepresentable> unrepresentable;
};

// UTF-8 text as Windows-1252. A character the code page cannot hold becomes
// "?", written twice for a character outside the Basic Multilingual Plane, so
// that every byte of the result stands for one UTF-16 code unit of the input.
Cp1252Text utf8_to_cp1252(std::string_view utf8);

// Text typed by a user (a name on the command line) as its Windows-1252
// bytes. UTF-8 text is converted; text that is not UTF-8 is taken as
// Windows-1252 bytes already (what a Windows console passes). `missing` is
// the first character (as UTF-8) that Windows-1252 cannot hold, or the first
// byte it leaves undefined (a single byte of 0x80 or more); empty when none.
struct TypedText {
    std::string bytes;
    std::string missing;
};
TypedText typed_to_cp1252(std::string_view typed);
