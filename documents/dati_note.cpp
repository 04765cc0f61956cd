// The notes document: a blank page of 46 lines for the simulator's user.
#include "core/form1.h"
#include "documents/document_writer.h"

namespace {

constexpr int kNoteLines = 46;

}  // namespace

void Form1::dati_note() {
    LineList list;
    list[kNoteLines] = kEndMarker;
    scrivi_documento(programFolder, notes_document_name(), list);
}
