// The section headers as the built-in documents write them, with the record
// kinds they list: how the tool names the section a record belongs in.
#pragma once

#include <span>
#include <string_view>

#include "core/format.h"

// A section header with the record kind the documents list under it (none
// for "[generale]", "[codici]" and "[fine]").
struct SectionHeader {
    std::string_view text;  // "[pendenze]"
    Document document;
    std::span<const RecordKind> kinds;
};
std::span<const SectionHeader> section_headers();

// The header a record of the kind is written under: the header that lists
// it, "[generale]" for the line description's general records, else empty.
std::string_view section_of(RecordKind kind);

// Whether the editor takes a line of a document for a section header, for
// its outline and to know which section the cursor stands in: a '[' first
// after the blanks, and a ']' after it.
bool looks_like_section_header(std::string_view line);
