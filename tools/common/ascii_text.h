// Letter case and blanks as the tool compares and cuts its own texts (a
// protocol header, a host name, a file name, a field it reads again): ASCII
// only, so a byte of 0x80 or more, a Windows-1252 letter or a piece of a UTF-8
// character, is never changed or cut. The compiler's readers keep their own
// rules in core/.
#pragma once

#include <string>
#include <string_view>

// The text with 'A' to 'Z' as 'a' to 'z'; every other byte as it is.
std::string ascii_lowered(std::string_view text);

// Whether the two texts are the same, 'A' to 'Z' taken as 'a' to 'z'.
bool equal_ignoring_ascii_case(std::string_view a, std::string_view b);
