// The form: all state of one run and every operation of the compiler.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/compiler_limits.h"
#include "core/track_grid.h"
#include "core/field_stream.h"
#include "core/line_table.h"
#include "core/read_trace.h"
#include "core/run_end.h"
#include "core/scenario_table.h"

class Form1 {
public:
    explicit Form1(std::string programFolder);

    // --- state ------------------------------------------------------------
    std::string programFolder;
    std::string routeName;
    std::string trainCode;
    int32_t j = 0;          // line-table switch of the compile pass
    int32_t errorCode = 0;  // pending error, 0 for none
    std::string currentField;

    TrackGrid grid;
    ScenarioTable scenario;
    LineTable line;

    // Montagna stretch list: entries 1 to kMostMontagnaStretches used, entry 0 never.
    static constexpr int kMontagnaEntries = kMostMontagnaStretches + 1;
    int32_t montagnaStarts[kMontagnaEntries] = {};
    int32_t montagnaEnds[kMontagnaEntries] = {};
    int32_t montagnaCount = 0;

    // Board slot counter left by the line description reader.
    int32_t boardSlot = kFirstBoardSlot;

    FieldStream file1;  // the one open document

    // The two description documents held in memory, for a pass that must
    // leave every file alone (the authoring tool). With `on` set the readers
    // take their documents from here instead of the program folder, a missing
    // text standing for a missing file, and open, write and delete no file;
    // the caller takes the compiled files as bytes (encode_compiled_files)
    // instead of having scrivi_file_compilati write them.
    struct DocumentsInMemory {
        bool on = false;
        const std::string* line = nullptr;  // the caller's text, read in place; none: a missing file
        const std::string* train = nullptr;
    };
    DocumentsInMemory inMemory;

    // The first error met in the pass, for diagnostics: its code, the
    // document and the line of the record in hand, or the grid cell for
    // completion errors. Later codes that replace it in errorCode (a train
    // reader error after a line row without room, a completion error on a
    // grid a reader left part-filled) do not replace it here.
    int32_t errorReported = 0;
    Document errorDocument = Document::None;
    int32_t errorLine = 0;
    int32_t errorCell = -1;
    std::string errorDetail;  // what a read failure said (kReadFailure)

    // What the readers took from the documents; kept only when trace.on.
    ReadTrace trace;
    // Off: errore ends the pass without its message box, keeping the number
    // in erroreNumber (the authoring tool's check reports it as a diagnostic).
    bool erroreBox = true;
    std::string erroreNumber;

    // --- run sequence -------------------------------------------------------
    void Form_Load();
    void memorizza_percorso(int32_t j);
    // The compile pass up to the compiled files: read, complete, check codes.
    // The authoring tool's check stops here; memorizza_percorso goes on to write.
    void prepara_percorso(int32_t j);
    void memorizza_dati();
    [[noreturn]] void errore(const std::string& a);

    // --- documents ------------------------------------------------------------
    void scrivi_documenti();  // the five documents: line, train, notes, slow-down order, timetable sheet
    void dati_linea();
    void dati_treno();
    void dati_note();
    void dati_rallentamenti();
    void dati_scheda();

    // --- feature placement ----------------------------------------------------
    // Parameters the operations write back are taken by reference: tipo
    // (montagna type, less 10 for markers) and tempo (1 to 100 become 101).
    void memo_montagna(int32_t inizio, int32_t fine, int32_t& tipo);
    void memo_indicatori_v_max(int32_t posizione, int32_t vas, int32_t vbs, int32_t vcs, int32_t strisces,
                               int32_t vad, int32_t vbd, int32_t vcd, int32_t strisced);
    void memo_segnale(int32_t posizione, int32_t sx, int32_t s1, int32_t s2, int32_t s3, int32_t rapp,
                      int32_t dx, int32_t d1, int32_t d2, int32_t d3, int32_t& tempo);
    void memo_rallentamento(int32_t x, int32_t v, int32_t l, int32_t f_tt, int32_t f_ta, int32_t d_v);

    // --- line description -------------------------------------------------------
    void progressive_ordina();

    // --- completion, check codes, output ------------------------------------------
    void azzera_tabella();          // reset of the scenario table
    void completa_griglia();        // abbattimento caps around slow-downs
    void verifica_riservati();      // reserved fields, marker values and check codes
    int32_t codice_gara_st();
    int32_t codice_gara_og();
    void scrivi_file_compilati();   // the three compiled files

    // --- file names -------------------------------------------------------------
    std::string file_path(const std::string& name) const;
    std::string line_document_name() const;    // routeName_linea.txt
    std::string train_document_name() const;   // routeName_trainCode-.txt
    std::string document_name(Document which) const;  // one of the two above
    std::string notes_document_name() const;
    std::string slowdown_order_name() const;
    std::string timetable_sheet_name() const;
    std::string line_data_name() const;        // routeName_linea.dat
    std::string scenario_file_name() const;    // routeName_trainCode.sim
    std::string grid_file_name() const;        // routeName_trainCode.dat

private:
    friend struct LineReaderAccess;  // the line description reader's tests

    // The two halves of memorizza_dati. The line half returns whether the
    // train half follows (it does not after any error but kNoRoomOnGrid).
    bool leggi_linea();
    void leggi_treno();
    // Recovery path of the readers: close, delete both documents where present, 25.
    void recupera_lettura(Document where, const std::string& detail = "");

public:
    // The description document being read, from the program folder or from
    // memory: whether it is there, opening it as file1, and closing it when
    // its reader has finished with it (which deletes a file, never a text
    // held in memory).
    bool documento_presente(Document which) const;
    void apri_documento(Document which);
    void chiudi_documento(Document which);

    // Records where an error was met, unless an earlier one of the pass was.
    void locate_error(int32_t code, Document where, int32_t line, int32_t cell = -1, const std::string& detail = "");
};
