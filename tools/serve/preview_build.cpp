#include "tools/serve/preview_build.h"

#include <exception>
#include <new>
#include <thread>

#include "core/form1.h"
#include "core/run_end.h"
#include "platform/platform.h"
#include "tools/compiled/compiled_set.h"
#include "tools/pass/compile_pass.h"
#include "tools/places/finding_places.h"

namespace {

// Errors past this many are not listed (as check's own default).
constexpr int kMaxErrors = 50;

// The slow-downs and montagna stretches as the pass placed them: a
// slow-down from its start cell's first metre to its end cell's last, a
// montagna stretch as its row gave it.
void place_stretches(const Form1& form, PreviewBuild& build) {
    for (const PlacedSlowDown& s : placed_slow_downs(form))
        build.slowDowns.push_back({profile_cell_start(s.startCell), profile_cell_start(s.endCell + 1), s.speedKmh});
    for (int32_t n = 1; n <= form.montagnaCount && n < Form1::kMontagnaEntries; ++n)
        build.montagna.push_back({form.montagnaStarts[n], form.montagnaEnds[n], 0});
}

}  // namespace

bool PreviewBuild::has_errors() const {
    for (const Diagnostic& d : diagnostics)
        if (d.severity() == Severity::Error) return true;
    return false;
}

Diagnostic preview_error(const std::string& file, const std::string& message) {
    Diagnostic d;
    d.file = file;
    d.message = message;
    d.code = kNoError;  // a failure of the preview's own run, with no code of its own
    return d;
}

PreviewBuild build_preview(const PreviewSources& sources, CentreLineCache& cache) {
    PreviewBuild build;
    const AuthorDocument lineRead = read_author_document(sources.lineDocument);
    const AuthorDocument trainRead = read_author_document(sources.trainDocument);
    build.line = {sources.lineDocument, lineRead.text.value_or(""), lineRead.text.has_value(), lineRead.absence};
    build.train = {sources.trainDocument, trainRead.text.value_or(""), trainRead.text.has_value(), trainRead.absence};

    // The drawing: the compile pass as `compile` runs it, from the very bytes
    // being checked, with the readers' trace kept. It runs beside the check
    // (the two share nothing but those bytes) and is used only when the check
    // finds no error.
    CompilePass drawing({.names = sources.names, .trace = true, .lineTable = true, .compiledFiles = true});
    RunEnd drawingEnd;
    std::thread compiling([&] {
        drawingEnd = run_to_end([&] {
            drawing.run({lineRead.text, trainRead.text});
            return kExitClean;
        });
    });
    try {
        ReadTrace trace;
        CheckResult checked = check_sources(lineRead, trainRead, sources.names, kMaxErrors, &trace);
        const FindingPlaces places(sources.lineDocument, sources.trainDocument, trace, checked.refused);
        for (const Diagnostic& d : checked.diagnostics) build.relatedSpans.push_back(places.related_spans(d));
        build.diagnostics = std::move(checked.diagnostics);
    } catch (const platform::RunTimeFailure& f) {
        build.diagnostics.push_back(preview_error(
            sources.lineDocument, "the compile pass failed: cannot " + f.operation + " " + f.path + ": " + f.reason));
    } catch (const std::bad_alloc&) {
        build.diagnostics.push_back(preview_error(sources.lineDocument, "out of memory while checking"));
    }
    compiling.join();
    if (build.has_errors()) return build;
    if (drawingEnd.failure) throw *drawingEnd.failure;  // memory ran out
    // The check ran the same pass on the same bytes and found nothing, so
    // this pass went through as cleanly; it is still told, should it not.
    const PassEnd& end = drawing.end();
    const Form1& form = drawing.form();
    if (!end.files || form.errorCode > 0) {
        const std::string what = form.errorCode > 0 ? diagnostic(form, build.line, build.train)
                                 : end.errore        ? " Errore n. " + form.erroreNumber
                                 : end.failure       ? "cannot " + end.failure->operation + " " + end.failure->path +
                                                     ": " + end.failure->reason
                                                     : "no compiled files";
        build.diagnostics.push_back(
            preview_error(sources.lineDocument, "the compile pass did not end cleanly: " + what.substr(0, 400)));
        return build;
    }
    // The fastest run, from the pass's form, beside the decoding of the
    // compiled bytes: the two share nothing but the form, which neither changes.
    RunEnd runEnd;
    std::thread running([&] {
        runEnd = run_to_end([&] {
            RunRoute route = run_route_of(form);
            build.run = fastest_run(route, sources.train);
            build.runStations = std::move(route.stations);
            return kExitClean;
        });
    });
    try {
        const CompiledPaths names{form.line_data_name(), form.scenario_file_name(), form.grid_file_name()};
        build.model = compiled_route(*end.files, names, &cache);
        build.sources = feature_sources(form.trace, build.line, build.train);
        place_stretches(form, build);
        build.trainModelName = sources.trainModelName;
    } catch (const Unusable& u) {
        build.diagnostics.push_back(preview_error(u.path, "the compiled file cannot be read back: " + u.reason));
    } catch (...) {
        running.join();  // then the failure goes on, as it would without the thread
        throw;
    }
    running.join();
    if (runEnd.failure) throw *runEnd.failure;  // memory ran out
    return build;
}
