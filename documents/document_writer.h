// The document writer: every built-in document is a list of lines, closed by
// an end marker, that replaces the document file of the same name whole.
#pragma once

#include <array>
#include <span>
#include <string>

// Entries 0 to 1000; every entry starts empty.
constexpr int kLineListEntries = 1001;
using LineList = std::array<std::string, kLineListEntries>;

// Marks where a document ends; never written into it. Only an entry with
// exactly these characters matches.
inline constexpr const char* kEndMarker = "riferimento fine del file";

// Puts the lines into the entries from 0 on and the end marker into the entry
// after the last line. Lines beyond the list's capacity are left out, and the
// marker too when no entry is left for it.
void riempi_lista(LineList& list, std::span<const char* const> lines);

// The bytes of the document: every entry before the end marker (or up to the
// list's last entry when there is none), each followed by CR LF.
std::string testo_documento(const LineList& list);

// Replaces the document `name` in `folder` by the lines of the list: makes sure
// the file exists, deletes it and writes it anew. A failing file step is a
// platform::RunTimeFailure.
void scrivi_documento(const std::string& folder, const std::string& name, const LineList& list);
