// The compiler's pass as the tool runs it: from two documents held in memory
// to the form the pass leaves (its error fields and read trace) and the
// compiled files as bytes. A pass run here opens, writes and deletes no file,
// so the author's documents are never touched; check, compile and serve all
// run it, and only compile writes anything (its three files, itself).
#pragma once

#include <optional>
#include <string>

#include "core/form1.h"
#include "core/output_files.h"
#include "platform/platform.h"
#include "tools/common/scenario_names.h"

// The two description documents' bytes; none when a document could not be
// read, which the pass meets as a missing file.
struct PassDocuments {
    std::optional<std::string> line;
    std::optional<std::string> train;
};

struct PassSettings {
    ScenarioNames names;
    bool trace = true;          // keep what the readers took in the form's read trace
    bool lineTable = true;      // build the line table and give the line data file
    bool compiledFiles = true;  // give the compiled files' bytes; off, only what would stop their writing is tried
    bool lineDataBytes = true;  // with them the line data file's; off, it is never built whole (write_line_table)
    bool gridBytes = true;      // and the grid file's; off, write_grid streams it
    bool messageBox = false;    // errore shows its message box, as the compiler's does
};

// How the pass ended.
struct PassEnd {
    bool errore = false;  // the reserved-field check stopped it (form().erroreNumber says which)
    std::optional<platform::RunTimeFailure> failure;  // a run-time failure stopped it
    std::optional<CompiledFiles> files;              // when it went through and the bytes were asked for
    bool went_through() const { return !errore && !failure; }
};

class CompilePass {
public:
    explicit CompilePass(const PassSettings& settings);

    // Runs the whole pass on the documents; each run starts afresh on the
    // same form. Memory running out is not caught.
    const PassEnd& run(const PassDocuments& documents);

    // Changes what the next runs keep and show: a caller that needs the read
    // trace only to report an error runs once without it, and again with it
    // when there is an error to report (the pass gives the same bytes either way).
    void set_trace(bool on);
    void set_message_box(bool on);

    const PassEnd& end() const { return end_; }
    // The form after the last run: error fields, read trace, grid and tables.
    Form1& form() { return form_; }
    const Form1& form() const { return form_; }

private:
    PassSettings settings_;
    Form1 form_;
    PassEnd end_;
};
