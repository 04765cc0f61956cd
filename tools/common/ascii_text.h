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

// Blanks are spaces and tabs, which separate the documents' fields.
std::string_view without_leading_blanks(std::string_view text);
// Without the blanks at both ends, as a view into `text`.
std::string_view blanks_trimmed(std::string_view text);
// The same, as a text of its own.
std::string trimmed(std::string_view text);

// Without the spaces at both ends, tabs kept: the comma-separated lists of the
// explanation files are written with spaces only, and a tab there is a fault
// of the file that its reader reports.
std::string_view spaces_trimmed(std::string_view text);
