#include "tools/write_documents/write_documents.h"

#include <CLI/CLI.hpp>
#include <new>
#include <vector>

#include "core/run_end.h"
#include "platform/platform.h"
#include "tools/common/exit_status.h"
#include "tools/common/wording.h"
#include "tools/compiled/route_model.h"
#include "tools/pass/compile_pass.h"

namespace {

// What the documents just written compile to, as the summary's counts: the
// pass run from memory on their texts; empty when that cannot be done.
std::string document_counts(const Form1& written, const ScenarioNames& names) {
    try {
        const PassDocuments documents{platform::read_file(written.file_path(written.line_document_name())),
                                      platform::read_file(written.file_path(written.train_document_name()))};
        // The counts need no line table.
        CompilePass pass({.names = names, .trace = false, .lineTable = false, .compiledFiles = false});
        if (!pass.run(documents).went_through()) return "";
        return scenario_counts(pass.form().grid.cells(), pass.form().scenario);
    } catch (const platform::RunTimeFailure&) {
    } catch (const std::bad_alloc&) {
    }
    return "";
}

CommandRun setup(CLI::App& command) {
    auto options = std::make_shared<WriteOptions>();
    command.add_option("DIR", options->folder, "Folder to write into (created if missing)")->required();
    auto names = std::make_shared<NameOptions>();
    add_scenario_names(command, *names, NameSource::BuiltIn);
    command.add_flag("--force", options->force, "Overwrite documents that are already in the folder");
    return [options, names](std::ostream& out, std::ostream& err) {
        const std::optional<ScenarioNames> chosen = chosen_names(*names, "", "", err);
        if (!chosen) return kExitUsage;
        options->names = *chosen;
        return write_documents(*options, out, err);
    };
}

}  // namespace

int write_documents(const WriteOptions& options, std::ostream& out, std::ostream& err) {
    return reported_status(run_to_end([&] {
        Form1 form = named_form(options.folder, options.names);
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

const Command kWriteDocumentsCommand = {"write-documents", "Write the five built-in documents into a folder", setup};
