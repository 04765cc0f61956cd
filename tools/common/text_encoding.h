// Windows-1252, the one text encoding of the documents and compiled files, to
// and from the UTF-8 of terminals and browsers.
#pragma once

#include <string>
#include <string_view>

std::string cp1252_to_utf8(std::string_view bytes);

// Text typed by a user as its Windows-1252 bytes. UTF-8 text is converted;
// text that is not UTF-8 is taken as Windows-1252 bytes already (what a
// Windows console passes). `missing` is the first character (as UTF-8) that
// Windows-1252 cannot hold, or the first byte it leaves undefined (a single
// byte of 0x80 or more); empty when none.
struct Cp1252Text {
    std::string bytes;
    std::string missing;
};
Cp1252Text typed_to_cp1252(std::string_view typed);
