// The document writer shared by the five built-in documents.
#include "documents/document_writer.h"

#include <cstddef>

#include "platform/platform.h"

void riempi_lista(LineList& list, std::span<const char* const> lines) {
    size_t index = 0;
    for (const char* line : lines) {
        if (index >= list.size()) return;
        list[index] = line;
        ++index;
    }
    if (index < list.size()) list[index] = kEndMarker;
}

std::string testo_documento(const LineList& list) {
    std::string bytes;
    for (const std::string& entry : list) {
        if (entry == kEndMarker) break;
        bytes += entry;
        bytes += "\r\n";
    }
    return bytes;
}

void scrivi_documento(const std::string& folder, const std::string& name, const LineList& list) {
    std::string bytes = testo_documento(list);
    // The path is joined afresh for every step, as for every file of the system.
    platform::touch_file(platform::join(folder, name));
    platform::delete_file(platform::join(folder, name));
    platform::write_file(platform::join(folder, name), bytes);
}
