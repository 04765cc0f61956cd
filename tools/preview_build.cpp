#include "tools/preview_build.h"

#include <cstdlib>
#include <sstream>

#include "core/form1.h"
#include "platform/platform.h"

namespace {

std::string text_of(const std::string& path) {
    try {
        return platform::file_exists(path) ? platform::read_file(path) : std::string();
    } catch (const platform::RunTimeFailure&) {
        return "";
    }
}

// One line of `compile`'s report, "FILE[:LINE]: error N: MESSAGE", as a record.
PreviewDiagnostic parse_report_line(const std::string& report, const PreviewSources& s) {
    PreviewDiagnostic d{"", 0, "error", 0, report};
    std::string rest;
    for (const std::string* file : {&s.lineDocument, &s.trainDocument}) {
        if (report.rfind(*file + ":", 0) == 0) {
            d.file = *file;
            rest = report.substr(file->size() + 1);
            break;
        }
    }
    if (d.file.empty()) return d;
    char* end = nullptr;
    const long line = std::strtol(rest.c_str(), &end, 10);
    if (end != rest.c_str() && *end == ':') {
        d.line = static_cast<int32_t>(line);
        rest = std::string(end + 1);
    }
    if (rest.rfind(" error ", 0) == 0) {
        const long code = std::strtol(rest.c_str() + 7, &end, 10);
        d.code = static_cast<int32_t>(code);
        if (end[0] == ':' && end[1] == ' ') d.message = std::string(end + 2);
    }
    return d;
}

}  // namespace

bool PreviewBuild::has_errors() const {
    for (const PreviewDiagnostic& d : diagnostics)
        if (d.severity == "error") return true;
    return false;
}

PreviewBuild build_preview(const PreviewSources& sources, const std::string& workFolder, CentreLineCache& cache) {
    PreviewBuild build;
    platform::remove_folder_tree(workFolder);
    platform::make_folders(workFolder);
    std::ostringstream said, report;
    CompileOptions options{sources.lineDocument, sources.trainDocument, workFolder, sources.names, true};
    build.status = compile_documents(options, said, report);
    build.line = {sources.lineDocument, text_of(sources.lineDocument)};
    build.train = {sources.trainDocument, text_of(sources.trainDocument)};

    std::istringstream lines(report.str());
    for (std::string line; std::getline(lines, line);) {
        // Only the diagnostic lines, which name a document; not the hints after them.
        PreviewDiagnostic d = parse_report_line(line, sources);
        if (!d.file.empty()) build.diagnostics.push_back(d);
    }
    if (build.status == kExitErrore)
        build.diagnostics.push_back({sources.lineDocument, 0, "error", 0,
                                     "a reserved field is in use (the compile pass stopped with its error box); "
                                     "no compiled file was written"});
    else if (build.status == kExitRunTimeFailure && build.diagnostics.empty())
        build.diagnostics.push_back({sources.lineDocument, 0, "error", 0,
                                     "the compile pass failed (was the route length read?); no compiled file was written"});
    else if (build.status != kExitClean && build.diagnostics.empty())
        build.diagnostics.push_back({sources.lineDocument, 0, "error", 0, "the compile pass failed"});
    if (build.has_errors()) return build;
    try {
        build.model = read_compiled_route(workFolder, sources.names, &cache);
    } catch (const Unusable& u) {
        build.diagnostics.push_back({u.path, 0, "error", 0, "the compiled file cannot be read back: " + u.reason});
    }
    return build;
}
