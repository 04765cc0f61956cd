// The run sequence, the compile pass, the fatal report and the file names.
#include "core/form1.h"

#include <utility>

#include "core/error_codes.h"
#include "platform/platform.h"

Form1::Form1(std::string folder) : programFolder(std::move(folder)) {}

void Form1::Form_Load() {
    routeName = "Bresta_Vilcar";
    trainCode = "RX907";
    platform::show_wait_window("Attendere");
    scrivi_documenti();
    memorizza_percorso(1);
}

void Form1::scrivi_documenti() {
    dati_linea();
    dati_treno();
    dati_note();
    dati_rallentamenti();
    dati_scheda();
}

void Form1::memorizza_percorso(int32_t switchValue) {
    prepara_percorso(switchValue);
    scrivi_file_compilati();
}

void Form1::prepara_percorso(int32_t switchValue) {
    j = switchValue;
    errorCode = kNoError;
    errorReported = kNoError;
    errorDocument = Document::None;
    errorLine = 0;
    errorCell = -1;
    errorDetail.clear();
    azzera_tabella();
    memorizza_dati();
    completa_griglia();
    verifica_riservati();
}

void Form1::memorizza_dati() {
    // The line half stores the two names into the scenario table first.
    trace.clear();
    trace.watch(&grid);
    file1.trace = trace.on ? &trace : nullptr;
    if (leggi_linea()) leggi_treno();
    file1.trace = nullptr;
    trace.watch(nullptr);
}

void Form1::errore(const std::string& a) {
    erroreNumber = a;
    if (erroreBox) platform::message_box(" Errore n. " + a);
    throw ProgramEnd{kExitErrore};
}

bool Form1::documento_presente(Document which) const {
    if (inMemory.on) return (which == Document::Line ? inMemory.line : inMemory.train) != nullptr;
    return platform::file_exists(file_path(document_name(which)));
}

void Form1::apri_documento(Document which) {
    if (!inMemory.on) {
        file1.open(file_path(document_name(which)));
        return;
    }
    const std::string* text = which == Document::Line ? inMemory.line : inMemory.train;
    // A missing text fails as opening a missing file does, in the system's own words.
    if (!text) throw platform::missing_file(document_name(which));
    file1.view_text(*text, document_name(which));
}

void Form1::chiudi_documento(Document which) {
    file1.close();
    if (!inMemory.on) platform::delete_file(file_path(document_name(which)));
}

void Form1::recupera_lettura(Document where, const std::string& detail) {
    // The failing field's line, before the document is closed.
    const int32_t failedLine = file1.is_open() ? file1.line() : 0;
    file1.close();
    // Texts held in memory are left as they were.
    for (const std::string& name : {line_document_name(), train_document_name()}) {
        if (inMemory.on) continue;
        std::string path = file_path(name);
        try {
            if (platform::file_exists(path)) platform::delete_file(path);
        } catch (const platform::RunTimeFailure&) {
            // A document that cannot be removed stays; the error code says enough.
        }
    }
    errorCode = kReadFailure;
    trace.read_failure(where, failedLine);
    locate_error(kReadFailure, where, failedLine, -1, detail);
}

void Form1::locate_error(int32_t code, Document where, int32_t line, int32_t cell, const std::string& detail) {
    if (errorReported != kNoError) return;
    errorReported = code;
    errorDocument = where;
    errorLine = line;
    errorCell = cell;
    errorDetail = detail;
}

std::string Form1::file_path(const std::string& name) const { return platform::join(programFolder, name); }
std::string Form1::document_name(Document which) const {
    return which == Document::Line ? line_document_name() : train_document_name();
}
std::string Form1::line_document_name() const { return routeName + "_linea.txt"; }
std::string Form1::train_document_name() const { return routeName + "_" + trainCode + "-.txt"; }
std::string Form1::notes_document_name() const { return routeName + "_" + trainCode + "_" + "note.txt"; }
std::string Form1::slowdown_order_name() const { return routeName + "_" + trainCode + "_" + "rallentamenti.txt"; }
std::string Form1::timetable_sheet_name() const { return routeName + "_" + trainCode + "_" + "scheda_treno.txt"; }
std::string Form1::line_data_name() const { return routeName + "_linea.dat"; }
std::string Form1::scenario_file_name() const { return routeName + "_" + trainCode + ".sim"; }
std::string Form1::grid_file_name() const { return routeName + "_" + trainCode + ".dat"; }
