#include "tools/commands.h"

#include <filesystem>
#include <new>
#include <optional>
#include <vector>

#include "core/form1.h"
#include "core/output_files.h"
#include "core/run_end.h"
#include "platform/platform.h"
#include "tools/compiled_files.h"
#include "tools/compiled_set.h"
#include "tools/diagnostics.h"
#include "tools/dump.h"
#include "tools/explanations.h"
#include "tools/pass/compile_pass.h"
#include "tools/route_model.h"

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

std::string shown_folder(const std::string& folder) { return folder.empty() ? "." : folder; }

// "a", "a and b", "a, b and c".
std::string listed(const std::vector<std::string>& names) {
    std::string text;
    for (size_t i = 0; i < names.size(); ++i) {
        if (i > 0) text += i + 1 == names.size() ? " and " : ", ";
        text += names[i];
    }
    return text;
}

// What the documents just written compile to, as the summary's counts: the
// pass run from memory on their texts; empty when that cannot be done.
std::string document_counts(const Form1& written, const ScenarioNames& names) {
    try {
        const PassDocuments documents{platform::read_file(written.file_path(written.line_document_name())),
                                      platform::read_file(written.file_path(written.train_document_name()))};
        // The counts need no line table.
        CompilePass pass({.names = names, .trace = false, .lineTable = false, .compiledFiles = false});
        if (!pass.run(documents).went_through()) return "";
        return scenario_counts(build_route_model(pass.form().grid.cells(), pass.form().scenario, nullptr));
    } catch (const platform::RunTimeFailure&) {
    } catch (const std::bad_alloc&) {
    }
    return "";
}

}  // namespace

int write_documents(const WriteOptions& options, std::ostream& out, std::ostream& err) {
    return reported_status(run_to_end([&] {
        Form1 form = make_form(options.folder, options.names);
        const std::vector<std::string> names = {form.line_document_name(), form.train_document_name(),
                                                form.notes_document_name(), form.slowdown_order_name(),
                                                form.timetable_sheet_name()};
        if (!options.force) {
            // The author may have edited them: nothing is overwritten unasked.
            std::vector<std::string> present;
            for (const std::string& name : names) {
                if (platform::file_exists(form.file_path(name))) present.push_back(name);
            }
            if (!present.empty()) {
                err << "scenario_tool: " << shown_folder(options.folder) << " already holds " << listed(present)
                    << "; nothing was written (give --force to overwrite "
                    << (present.size() == 1 ? "it" : "them") << ")\n";
                return kExitWouldOverwrite;
            }
        }
        platform::make_folders(options.folder);
        form.scrivi_documenti();
        out << "wrote 5 documents into " << shown_folder(options.folder) << ": " << names[0]
            << " (line description) and " << names[1] << " (train description) to edit and compile; "
            << listed({names[2], names[3], names[4]}) << " for the simulator's user";
        if (const std::string counts = document_counts(form, options.names); !counts.empty()) out << " (" << counts << ")";
        out << '\n';
        return kExitClean;
    }));
}

int compile_documents(const CompileOptions& options, std::ostream& out, std::ostream& err) {
    return reported_status(run_to_end([&]() -> int {
        platform::make_folders(options.outFolder);
        SourceDocument line{options.lineDocument, ""};
        SourceDocument train{options.trainDocument, ""};
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
        PassDocuments documents;
        for (auto [path, text] : {std::pair{&line.path, &documents.line}, std::pair{&train.path, &documents.train}}) {
            if (platform::file_exists(*path)) *text = platform::read_file(*path);
        }
        // The read trace and the message box serve only an error's report: a
        // pass that went through without one needs neither, and one that did
        // not is run again with both (the pass gives the same bytes each time).
        CompilePass pass({.names = options.names,
                          .trace = false,
                          .lineTable = options.lineTable,
                          .compiledFiles = true,
                          .lineDataBytes = false,
                          .messageBox = false});
        const PassEnd* ran = &pass.run(documents);
        if (!ran->went_through() || pass.form().errorCode > 0) {
            pass.set_trace(true);
            pass.set_message_box(true);
            ran = &pass.run(documents);
        }
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
                // Straight from the table into its file: no 20 MB copy of it in memory.
                if (options.lineTable) write_line_table_file(form.line, compiled.line);
                platform::write_file(compiled.scenario, end.files->scenario);
                platform::write_file(compiled.grid, end.files->grid);
            } catch (const platform::RunTimeFailure& writing) {
                failure = writing;
            }
        }
        if (failure) {
            // A reader error that left the grid unsized ends in a run-time
            // failure; the author still wants to know which row caused it.
            if (form.errorCode <= 0) throw *failure;
            err << diagnostic(form, line, train) << '\n';
            // A grid that was never sized is the consequence of the error just
            // reported (no route length read); anything else is news.
            if (form.grid.sized()) platform::report_failure(*failure);
            err << explain_hint({{CodeRef::Error, reported_error(form)}}) << '\n';
            return kExitRunTimeFailure;
        }
        if (end.errore) {
            // The reserved-field check ended the pass after its message; an
            // error the readers met before it is still the first one.
            std::vector<CodeRef> printed;
            if (form.errorCode > 0) {
                err << diagnostic(form, line, train) << '\n';
                printed.push_back({CodeRef::Error, reported_error(form)});
            }
            if (std::optional<CodeRef> reserved = parse_code(form.erroreNumber)) printed.push_back(*reserved);
            if (!printed.empty()) err << explain_hint(printed) << '\n';
            return kExitErrore;
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

int dump_file(const DumpOptions& options, std::ostream& out, std::ostream& err) {
    DumpFormat format = options.format == "json" ? DumpFormat::Json
                        : options.format == "csv" ? DumpFormat::Csv
                                                  : DumpFormat::Text;
    const std::string kind = compiled_kind_by_name(options.file);
    if (!kind.empty() && kind != options.what) {
        auto file = [](const std::string& k) { return k == "line" ? "a line data file" : "a " + k + " file"; };
        err << "scenario_tool: " << options.file << " is named as " << file(kind) << ", not " << file(options.what)
            << "; run: scenario_tool dump " << kind << " " << options.file << '\n';
        return kExitUsage;
    }
    if (!platform::file_exists(options.file)) {
        const size_t slash = options.file.find_last_of("/\\");
        const std::string folder = slash == std::string::npos ? "" : options.file.substr(0, slash);
        err << "scenario_tool: " << options.file << " does not exist";
        const std::vector<ScenarioNames> there = compiled_scenarios_in(folder);
        if (!there.empty()) {
            std::vector<std::string> files;
            for (const ScenarioNames& names : there) {
                const CompiledPaths paths = compiled_paths(folder, names);
                const std::string& mine = options.what == "grid"       ? paths.grid
                                          : options.what == "scenario" ? paths.scenario
                                                                       : paths.line;
                if (platform::file_exists(mine)) files.push_back(mine);
            }
            if (!files.empty()) err << "; the " << options.what << " files there: " << listed(files);
        }
        err << '\n';
        return kExitUnreadableFile;
    }
    try {
        std::string bytes = platform::read_file(options.file);
        if (options.what == "grid") dump_grid(out, decode_grid(bytes), options.all, options.raw, format);
        else if (options.what == "scenario") dump_scenario(out, decode_scenario(bytes), options.all, options.raw, format);
        else dump_line_table(out, decode_line_table(bytes), options.all, format);
        return kExitClean;
    } catch (const DecodeError& e) {
        err << "scenario_tool: " << options.file << ": " << e.what() << '\n';
    } catch (const platform::RunTimeFailure& f) {
        err << "scenario_tool: " << f.path << ": cannot " << f.operation << ": " << f.reason << '\n';
    } catch (const std::bad_alloc&) {
        err << "scenario_tool: " << options.file << ": too large to decode\n";
    }
    return kExitUnreadableFile;
}
