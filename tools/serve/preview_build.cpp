#include "tools/serve/preview_build.h"

#include <new>
#include <sstream>
#include <thread>

#include "core/form1.h"
#include "core/run_end.h"
#include "platform/platform.h"

namespace {

// Errors past this many are not listed (as check's own default).
constexpr int kMaxErrors = 50;

}  // namespace

bool PreviewBuild::has_errors() const {
    for (const Diagnostic& d : diagnostics)
        if (d.severity == Severity::Error) return true;
    return false;
}

Diagnostic preview_error(const std::string& file, const std::string& message) {
    Diagnostic d;
    d.file = file;
    d.message = message;
    d.code = "0";
    return d;
}

PreviewBuild build_preview(const PreviewSources& sources, const std::string& workFolder, CentreLineCache& cache) {
    PreviewBuild build;
    const AuthorDocument lineRead = read_author_document(sources.lineDocument);
    const AuthorDocument trainRead = read_author_document(sources.trainDocument);
    build.line = {sources.lineDocument, lineRead.text.value_or(""), lineRead.text.has_value(), lineRead.absence};
    build.train = {sources.trainDocument, trainRead.text.value_or(""), trainRead.text.has_value(), trainRead.absence};

    // The drawing: the compile pass as `compile` runs it, on copies of the
    // very bytes being checked, with the readers' trace kept. It runs beside
    // the check (the two share nothing but those bytes) and is used only
    // when the check finds no error.
    const std::string copies = platform::join(workFolder, "documents");
    const std::string compiled = platform::join(workFolder, "compiled");
    const CompileOptions options{platform::join(copies, "line.txt"), platform::join(copies, "train.txt"), compiled,
                                 sources.names, true};
    ReadTrace trace;
    std::string compileReport;
    RunEnd compileEnd;
    std::thread compiling([&] {
        compileEnd = run_to_end([&] {
            platform::remove_folder_tree(workFolder);
            platform::make_folders(copies);
            platform::write_file(options.lineDocument, build.line.text);
            platform::write_file(options.trainDocument, build.train.text);
            std::ostringstream said, report;
            const int status = compile_documents(options, said, report, &trace);
            compileReport = report.str();
            return status;
        });
    });
    try {
        build.diagnostics = check_sources(lineRead, trainRead, sources.names, kMaxErrors)
                                .diagnostics;
    } catch (const platform::RunTimeFailure& f) {
        build.diagnostics.push_back(preview_error(
            sources.lineDocument, "the compile pass failed: cannot " + f.operation + " " + f.path + ": " + f.reason));
    } catch (const std::bad_alloc&) {
        build.diagnostics.push_back(preview_error(sources.lineDocument, "out of memory while checking"));
    }
    compiling.join();
    if (build.has_errors()) return build;
    if (compileEnd.failure) throw *compileEnd.failure;
    if (compileEnd.status != kExitClean) {
        build.diagnostics.push_back(preview_error(
            sources.lineDocument, "the compile pass did not end cleanly: " + compileReport.substr(0, 400)));
        return build;
    }
    try {
        build.model = read_compiled_route(compiled, sources.names, &cache);
        build.sources = feature_sources(trace, build.line, build.train);
    } catch (const Unusable& u) {
        build.diagnostics.push_back(preview_error(u.path, "the compiled file cannot be read back: " + u.reason));
    }
    return build;
}
