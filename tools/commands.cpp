#include "tools/commands.h"

#include <filesystem>
#include <new>

#include "core/form1.h"
#include "platform/platform.h"
#include "tools/compiled_files.h"
#include "tools/diagnostics.h"
#include "tools/dump.h"
#include "tools/explanations.h"

namespace {

Form1 make_form(const std::string& folder, const ScenarioNames& names) {
    Form1 form(folder);
    form.routeName = names.route;
    form.trainCode = names.train;
    return form;
}

bool same_file(const std::string& a, const std::string& b) {
    std::error_code error;
    return std::filesystem::equivalent(a, b, error) && !error;
}

// Runs one piece of work, turning the ends of a run into exit statuses.
template <typename Work>
int guarded(std::ostream& err, Work work) {
    try {
        return work();
    } catch (const ProgramEnd& end) {
        return end.status;
    } catch (const platform::RunTimeFailure& failure) {
        platform::report_failure(failure);
        return kExitRunTimeFailure;
    } catch (const std::bad_alloc&) {
        err << "scenario_tool: out of memory\n";
        return kExitRunTimeFailure;
    }
}

}  // namespace

int write_documents(const std::string& folder, const ScenarioNames& names, std::ostream& err) {
    return guarded(err, [&] {
        platform::make_folders(folder);
        Form1 form = make_form(folder, names);
        form.dati_linea();
        form.dati_treno();
        form.dati_note();
        form.dati_rallentamenti();
        form.dati_scheda();
        return kExitClean;
    });
}

int compile_documents(const CompileOptions& options, std::ostream& err) {
    return guarded(err, [&]() -> int {
        platform::make_folders(options.outFolder);
        Form1 form = make_form(options.outFolder, options.names);
        SourceDocument line{options.lineDocument, ""};
        SourceDocument train{options.trainDocument, ""};
        const std::string lineCopy = form.file_path(form.line_document_name());
        const std::string trainCopy = form.file_path(form.train_document_name());
        // The compile pass consumes its documents: it must only ever see copies.
        for (const auto& [source, copy] : {std::pair{&line, lineCopy}, std::pair{&train, trainCopy}}) {
            if (same_file(source->path, copy)) {
                err << "scenario_tool: " << source->path << " is the file the compile pass would consume; "
                    << "choose another --out folder\n";
                return kExitUsage;
            }
        }
        for (const auto& [source, copy] : {std::pair{&line, lineCopy}, std::pair{&train, trainCopy}}) {
            if (platform::file_exists(source->path)) {
                source->text = platform::read_file(source->path);
                platform::write_file(copy, source->text);
            } else if (platform::file_exists(copy)) {
                platform::delete_file(copy);  // a stale copy must not stand in for a missing document
            }
        }
        try {
            form.memorizza_percorso(options.lineTable ? 1 : 0);
        } catch (const platform::RunTimeFailure& failure) {
            // A reader error that left the grid unsized ends in a run-time
            // failure; the author still wants to know which row caused it.
            if (form.errorCode <= 0) throw;
            err << diagnostic(form, line, train) << '\n';
            platform::report_failure(failure);
            err << explain_hint({{CodeRef::Error, form.errorCode}}) << '\n';
            return kExitRunTimeFailure;
        }
        if (form.errorCode > 0) {
            err << diagnostic(form, line, train) << '\n' << explain_hint({{CodeRef::Error, form.errorCode}}) << '\n';
            return kExitScenarioError;
        }
        return kExitClean;
    });
}

int dump_file(const DumpOptions& options, std::ostream& out, std::ostream& err) {
    DumpFormat format = options.format == "json" ? DumpFormat::Json
                        : options.format == "csv" ? DumpFormat::Csv
                                                  : DumpFormat::Text;
    try {
        std::string bytes = platform::read_file(options.file);
        if (options.what == "grid") dump_grid(out, decode_grid(bytes), options.all, format);
        else if (options.what == "scenario") dump_scenario(out, decode_scenario(bytes), options.all, format);
        else dump_line_table(out, decode_line_table(bytes), options.all, format);
        return kExitClean;
    } catch (const DecodeError& e) {
        err << "scenario_tool: " << options.file << ": " << e.what() << '\n';
    } catch (const platform::RunTimeFailure& f) {
        err << "scenario_tool: " << f.path << ": cannot " << f.operation << ": " << f.reason << '\n';
    } catch (const std::bad_alloc&) {
        err << "scenario_tool: " << options.file << ": too large to decode\n";
    }
    return kExitErrore;
}
