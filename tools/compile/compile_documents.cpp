// The compile command's work on the files: it reads the author's documents,
// clears the compiled files an earlier compile left, runs the pass from memory
// and writes the three compiled files; the diagnostics room words what went wrong.
#include "tools/compile/compile_documents.h"

#include <filesystem>
#include <optional>
#include <sstream>
#include <tuple>
#include <utility>
#include <vector>

#include "core/error_codes.h"
#include "core/output_files.h"
#include "core/run_end.h"
#include "platform/platform.h"
#include "tools/codes/explanations.h"
#include "tools/common/exit_status.h"
#include "tools/common/text_encoding.h"
#include "tools/common/wording.h"
#include "tools/compiled/compiled_names.h"
#include "tools/compiled/compiled_set.h"
#include "tools/compiled/route_model.h"
#include "tools/diagnostics/author_document.h"
#include "tools/diagnostics/diagnostics.h"
#include "tools/diagnostics/label_lengths.h"
#include "tools/diagnostics/misplaced_documents.h"
#include "tools/diagnostics/reported_error_line.h"
#include "tools/pass/compile_pass.h"

namespace {

bool same_file(const std::string& a, const std::string& b) {
    std::error_code error;
    return std::filesystem::equivalent(a, b, error) && !error;
}

}  // namespace

int compile_documents(const CompileOptions& options, std::ostream& out, std::ostream& err) {
    return reported_status(run_to_end([&]() -> int {
        // Both documents are read before anything is written. A document that
        // is there but cannot be read (a folder, a file without permission)
        // is a fault of the file system, not of the scenario: nothing is
        // compiled, and it is said as check says it.
        AuthorDocument lineRead = read_author_document(options.lineDocument);
        AuthorDocument trainRead = read_author_document(options.trainDocument);
        for (const auto& [read, which, code] : {std::tuple{&lineRead, "line", kLineDocumentMissing},
                                                std::tuple{&trainRead, "train", kReadFailure}}) {
            if (!read->unreadable()) continue;
            err << diagnostic_text(read->path, 0, code, unreadable_document_message(which, read->absence)) << '\n'
                << explain_hint({code}) << '\n';
            return kExitRunTimeFailure;
        }
        platform::make_folders(options.outFolder);
        SourceDocument line{options.lineDocument, "", true, lineRead.absence};
        SourceDocument train{options.trainDocument, "", true, trainRead.absence};
        const CompiledPaths compiled = compiled_paths(options.outFolder, options.names);
        // The pass runs from memory and leaves the documents alone wherever
        // they are; only a compiled file this compile replaces cannot be one.
        for (const SourceDocument* source : {&line, &train}) {
            for (const std::string& taken : {compiled.line, compiled.scenario, compiled.grid}) {
                if (!same_file(source->path, taken)) continue;
                err << "scenario_tool: " << source->path << " is a compiled file that this compile replaces; "
                    << "choose another --out folder\n";
                return kExitUsage;
            }
        }
        // What an earlier compile of this route and train left goes first, so
        // that the folder holds exactly what this compile produces (nothing
        // after a run-time failure, no line data file with --no-line-table).
        for (const std::string& path : {compiled.line, compiled.scenario, compiled.grid}) {
            if (platform::file_exists(path)) platform::delete_file(path);
        }
        PassDocuments documents{std::move(lineRead.text), std::move(trainRead.text)};
        // The read trace and the message box serve only an error's report: a
        // pass that went through without one needs neither, and one that did
        // not is run again with both (the pass gives the same bytes each time).
        // The line data and grid files go from their tables into their files
        // piece by piece, never built whole.
        CompilePass pass({.names = options.names,
                          .trace = false,
                          .lineTable = options.lineTable,
                          .compiledFiles = true,
                          .lineDataBytes = false,
                          .gridBytes = false,
                          .messageBox = false});
        // A pass that read no station may have read a document in the other's
        // place, which only the trace tells: it is run again with it too.
        const PassEnd* ran = &pass.run(documents);
        if (!ran->went_through() || pass.form().errorCode > 0 || slot_role(pass.form().scenario, 1) != "station") {
            pass.set_trace(true);
            pass.set_message_box(true);
            ran = &pass.run(documents);
        }
        const std::optional<MisplacedDocument> misplaced = misplaced_document(pass.form(), documents, options.names);
        // Writes the files the pass gave and says how it ended; the status.
        auto write_and_report = [&](std::ostream& err, std::ostream& out) -> int {
            const PassEnd& end = *ran;
            // The diagnostics quote the documents' lines; the texts move there, uncopied.
            for (auto [source, text] : {std::pair{&line, &documents.line}, std::pair{&train, &documents.train}}) {
                source->exists = text->has_value();
                if (text->has_value()) source->text = std::move(**text);
            }
            const Form1& form = pass.form();
            std::optional<platform::RunTimeFailure> failure = end.failure;
            if (end.files) {
                try {
                    if (options.lineTable) write_line_table(form.line, compiled.line);
                    platform::write_file(compiled.scenario, end.files->scenario);
                    write_grid(form.grid, compiled.grid);
                } catch (const platform::RunTimeFailure& writing) {
                    failure = writing;
                }
            }
            if (failure) {
                // A reader error that left the grid unsized ends in a run-time
                // failure; the author still wants to know which row caused it.
                // A label too long for the scenario file fails its encoding
                // before any compiled file is touched: the row is named instead.
                const std::vector<LongLabel> longLabels = labels_too_long(form);
                if (form.errorCode <= 0 && longLabels.empty()) throw *failure;
                std::vector<Code> printed = write_reported_error(form, line, train, err);
                for (const LongLabel& label : longLabels) err << label_too_long_diagnostic(label, line, train) << '\n';
                if (!longLabels.empty()) {
                    printed.push_back(kLabelTooLong);
                    err << explain_hint(printed) << '\n';
                    return kExitScenarioError;
                }
                // A grid that was never sized is the consequence of the error just
                // reported (no route length read); anything else is news.
                if (form.grid.sized() && !misplaced) platform::report_failure(*failure);
                err << explain_hint(printed) << '\n';
                return kExitRunTimeFailure;
            }
            if (end.errore) {
                // The reserved-field check ended the pass after its message; an
                // error the readers met before it is still the first one.
                std::vector<Code> printed = write_reported_error(form, line, train, err);
                // The compiler's own message box text came first; this says where, as check does.
                if (std::optional<ReservedFieldMessage> stop = reserved_field_stop(form)) {
                    err << reserved_field_diagnostic(form, *stop, line, train) << '\n';
                    printed.push_back(*stop);
                }
                if (!printed.empty()) err << explain_hint(printed) << '\n';
                return kExitErrore;
            }
            std::vector<std::string> written;
            // Named as the author typed the names (the files hold Windows-1252 bytes).
            if (options.lineTable) written.push_back(cp1252_to_utf8(form.line_data_name()));
            written.push_back(cp1252_to_utf8(form.scenario_file_name()));
            written.push_back(cp1252_to_utf8(form.grid_file_name()));
            const std::string counts = scenario_counts(form.grid.cells(), form.scenario);
            if (form.errorCode > 0) {
                const std::vector<Code> printed = write_reported_error(form, line, train, err);
                err << explain_hint(printed) << '\n';
                out << "compiled what was read before error " << reported_error(form) << " into "
                    << shown_folder(options.outFolder) << ": " << listed(written) << " (" << counts << ")\n";
                return kExitScenarioError;
            }
            out << "compiled into " << shown_folder(options.outFolder) << ": " << listed(written) << " (" << counts
                << ")\n";
            return kExitClean;
        };
        // A document in the other's place is the one thing said: what the
        // pass met follows from it. The files the pass gives are written as
        // ever, and the compile ends with the error's status.
        std::ostringstream unsaid;
        if (misplaced) {
            const std::string& path = misplaced->place == Document::Line ? line.path : train.path;
            err << diagnostic_text(path, 1, kDocumentMisplaced, misplaced->message) << '\n'
                << explain_hint({kDocumentMisplaced}) << '\n';
        }
        std::ostream& said = misplaced ? unsaid : err;
        std::ostream& told = misplaced ? unsaid : out;
        int status = kExitClean;
        try {
            status = write_and_report(said, told);
        } catch (const platform::RunTimeFailure&) {
            if (!misplaced) throw;
        }
        return misplaced ? kExitScenarioError : status;
    }));
}
