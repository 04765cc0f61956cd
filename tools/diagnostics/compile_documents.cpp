// The compile pass run for the tool on copies of an author's documents, with
// its first error written as a diagnostic: the compile command, and the
// preview's drawing, run it.
#include "tools/diagnostics/compile_documents.h"

#include <filesystem>
#include <tuple>
#include <vector>

#include "core/error_codes.h"
#include "core/run_end.h"
#include "platform/platform.h"
#include "tools/codes/explanations.h"
#include "tools/common/exit_status.h"
#include "tools/common/text_encoding.h"
#include "tools/common/wording.h"
#include "tools/compiled/compiled_set.h"
#include "tools/compiled/route_model.h"
#include "tools/diagnostics/author_document.h"
#include "tools/diagnostics/diagnostics.h"
#include "tools/diagnostics/label_lengths.h"

namespace {

bool same_file(const std::string& a, const std::string& b) {
    std::error_code error;
    return std::filesystem::equivalent(a, b, error) && !error;
}

}  // namespace

int compile_documents(const CompileOptions& options, std::ostream& out, std::ostream& err, ReadTrace* trace) {
    return reported_status(run_to_end([&]() -> int {
        // Both documents are read before anything is written. A document that
        // is there but cannot be read (a folder, a file without permission)
        // is a fault of the file system, not of the scenario: nothing is
        // compiled, and it is said as check says it.
        const AuthorDocument lineRead = read_author_document(options.lineDocument);
        const AuthorDocument trainRead = read_author_document(options.trainDocument);
        for (const auto& [read, which, code] : {std::tuple{&lineRead, "line", kLineDocumentMissing},
                                                std::tuple{&trainRead, "train", kReadFailure}}) {
            if (!read->unreadable()) continue;
            err << diagnostic_text(read->path, 0, "error", std::to_string(code),
                                   unreadable_document_message(which, read->absence))
                << '\n'
                << explain_hint({{CodeRef::Error, code}}) << '\n';
            return kExitRunTimeFailure;
        }
        platform::make_folders(options.outFolder);
        Form1 form = named_form(options.outFolder, options.names);
        SourceDocument line{options.lineDocument, lineRead.text.value_or(""), lineRead.text.has_value(),
                            lineRead.absence};
        SourceDocument train{options.trainDocument, trainRead.text.value_or(""), trainRead.text.has_value(),
                             trainRead.absence};
        const std::string lineCopy = form.file_path(form.line_document_name());
        const std::string trainCopy = form.file_path(form.train_document_name());
        const CompiledPaths compiled = compiled_paths(options.outFolder, options.names);
        // The compile pass consumes its documents and replaces the compiled
        // files: it must only ever see copies, and never an author's file.
        for (const SourceDocument* source : {&line, &train}) {
            for (const std::string& taken : {lineCopy, trainCopy}) {
                if (!same_file(source->path, taken)) continue;
                err << "scenario_tool: " << source->path << " is the file the compile pass would consume; "
                    << "choose another --out folder\n";
                return kExitUsage;
            }
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
        for (const auto& [source, copy] : {std::pair{&line, lineCopy}, std::pair{&train, trainCopy}}) {
            if (source->exists) {
                platform::write_file(copy, source->text);
            } else if (platform::file_exists(copy)) {
                platform::delete_file(copy);  // a stale copy must not stand in for a missing document
            }
        }
        form.trace.on = trace != nullptr;
        try {
            // The read trace lets the diagnostics name the row and field an error comes from.
            form.trace.on = true;
            form.memorizza_percorso(options.lineTable ? 1 : 0);
            if (trace != nullptr) *trace = form.trace;
        } catch (const platform::RunTimeFailure& failure) {
            // A reader error that left the grid unsized ends in a run-time
            // failure; the author still wants to know which row caused it.
            // A label too long for the scenario file fails its encoding
            // before any compiled file is touched: the row is named instead.
            const std::vector<LongLabel> longLabels = labels_too_long(form);
            if (form.errorCode <= 0 && longLabels.empty()) throw;
            std::vector<CodeRef> printed;
            if (form.errorCode > 0) {
                err << diagnostic(form, line, train) << '\n';
                printed.push_back({CodeRef::Error, reported_error(form)});
            }
            for (const LongLabel& label : longLabels) err << label_too_long_diagnostic(label, line, train) << '\n';
            if (!longLabels.empty()) {
                printed.push_back({CodeRef::Error, kLabelTooLong});
                err << explain_hint(printed) << '\n';
                return kExitScenarioError;
            }
            // A grid that was never sized is the consequence of the error just
            // reported (no route length read); anything else is news.
            if (form.grid.sized()) platform::report_failure(failure);
            err << explain_hint(printed) << '\n';
            return kExitRunTimeFailure;
        } catch (const ProgramEnd&) {
            // The reserved-field check ended the pass after its message; an
            // error the readers met before it is still the first one.
            std::vector<CodeRef> printed;
            if (form.errorCode > 0) {
                err << diagnostic(form, line, train) << '\n';
                printed.push_back({CodeRef::Error, reported_error(form)});
            }
            // The compiler's own message box text came first; this says where.
            if (std::optional<CodeRef> reserved = parse_code(form.erroreNumber)) {
                err << reserved_field_diagnostic(form, reserved->number, line, train) << '\n';
                printed.push_back(*reserved);
            }
            if (!printed.empty()) err << explain_hint(printed) << '\n';
            throw;
        }
        std::vector<std::string> written;
        // Named as the author typed the names (the files hold Windows-1252 bytes).
        if (options.lineTable) written.push_back(cp1252_to_utf8(form.line_data_name()));
        written.push_back(cp1252_to_utf8(form.scenario_file_name()));
        written.push_back(cp1252_to_utf8(form.grid_file_name()));
        const std::string counts = scenario_counts(build_route_model(form.grid.cells(), form.scenario, nullptr));
        if (form.errorCode > 0) {
            err << diagnostic(form, line, train) << '\n'
                << explain_hint({{CodeRef::Error, reported_error(form)}}) << '\n';
            out << "compiled what was read before error " << reported_error(form) << " into "
                << shown_folder(options.outFolder) << ": " << listed(written) << " (" << counts << ")\n";
            return kExitScenarioError;
        }
        out << "compiled into " << shown_folder(options.outFolder) << ": " << listed(written) << " (" << counts
            << ")\n";
        return kExitClean;
    }));
}
