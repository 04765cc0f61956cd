// The compile pass run for the tool on copies of an author's documents, with
// its first error written as a diagnostic: the compile command, and the
// preview's drawing, run it.
#include "tools/diagnostics/compile_documents.h"

#include <filesystem>
#include <vector>

#include "core/run_end.h"
#include "platform/platform.h"
#include "tools/codes/explanations.h"
#include "tools/common/exit_status.h"
#include "tools/common/wording.h"
#include "tools/compiled/compiled_set.h"
#include "tools/compiled/route_model.h"
#include "tools/diagnostics/diagnostics.h"

namespace {

bool same_file(const std::string& a, const std::string& b) {
    std::error_code error;
    return std::filesystem::equivalent(a, b, error) && !error;
}

}  // namespace

int compile_documents(const CompileOptions& options, std::ostream& out, std::ostream& err, ReadTrace* trace) {
    return reported_status(run_to_end([&]() -> int {
        platform::make_folders(options.outFolder);
        Form1 form = named_form(options.outFolder, options.names);
        SourceDocument line{options.lineDocument, ""};
        SourceDocument train{options.trainDocument, ""};
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
            source->exists = platform::file_exists(source->path);
            if (source->exists) {
                source->text = platform::read_file(source->path);
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
            if (form.errorCode <= 0) throw;
            err << diagnostic(form, line, train) << '\n';
            // A grid that was never sized is the consequence of the error just
            // reported (no route length read); anything else is news.
            if (form.grid.sized()) platform::report_failure(failure);
            err << explain_hint({{CodeRef::Error, reported_error(form)}}) << '\n';
            return kExitRunTimeFailure;
        } catch (const ProgramEnd&) {
            // The reserved-field check ended the pass after its message; an
            // error the readers met before it is still the first one.
            std::vector<CodeRef> printed;
            if (form.errorCode > 0) {
                err << diagnostic(form, line, train) << '\n';
                printed.push_back({CodeRef::Error, reported_error(form)});
            }
            if (std::optional<CodeRef> reserved = parse_code(form.erroreNumber)) printed.push_back(*reserved);
            if (!printed.empty()) err << explain_hint(printed) << '\n';
            throw;
        }
        std::vector<std::string> written;
        if (options.lineTable) written.push_back(form.line_data_name());
        written.push_back(form.scenario_file_name());
        written.push_back(form.grid_file_name());
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
