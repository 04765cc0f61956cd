#include "tools/serve/serve.h"

#include <CLI/CLI.hpp>
#include <chrono>
#include <optional>
#include <thread>

#include "core/form1.h"
#include "core/run_end.h"
#include "platform/platform.h"
#include "tools/common/exit_status.h"
#include "tools/serve/preview_build.h"
#include "tools/serve/preview_server.h"
#include "tools/serve/scenario_json.h"

namespace {

struct Stamps {
    platform::FileStamp line, train;
    bool operator==(const Stamps&) const = default;
};

Stamps stamps_of(const ServeOptions& o) {
    return {platform::file_stamp(o.lineDocument), platform::file_stamp(o.trainDocument)};
}

// One compile; a failure of the preview itself (memory running out) becomes
// a diagnostic, so that the server goes on and tries again at the next change.
PreviewBuild compile_once(const PreviewSources& sources, CentreLineCache& cache) {
    PreviewBuild built;
    const RunEnd end = run_to_end([&] {
        built = build_preview(sources, cache);
        return kExitClean;
    });
    if (!end.failure) return built;
    const platform::RunTimeFailure& f = *end.failure;
    PreviewBuild failed;
    failed.diagnostics.push_back(preview_error(sources.lineDocument, "the preview failed: cannot " + f.operation +
                                                                         " " + f.path + ": " + f.reason));
    return failed;
}

std::string url_host(const std::string& host) {
    return host.find(':') != std::string::npos ? "[" + host + "]" : host;
}

}  // namespace

int serve_preview(const ServeOptions& o, std::ostream& out, std::ostream& err) {
    PreviewSources sources{o.lineDocument, o.trainDocument, o.names};
    if (!o.trainModelFile.empty()) {
        const TrainModelRead read = read_train_model_file(o.trainModelFile);
        if (!read.model) {
            err << "scenario_tool: train-model file " << read.error << '\n';
            return kExitUsage;
        }
        sources.train = *read.model;
        sources.trainModelName = o.trainModelFile;
    }
    platform::catch_stop_signals();
    PreviewServer server(o.host);
    const int port = server.bind(o.port);
    if (port < 0) {
        err << "scenario_tool: cannot listen on " << o.host << " port " << o.port
            << " (in use, or not an address of this machine)\n";
        return kExitRunTimeFailure;
    }
    const std::string url = "http://" + url_host(o.host) + ":" + std::to_string(port) + "/";
    out << "Preview at " << url << std::endl;
    if (o.openBrowser && !platform::open_in_browser(url)) out << "Open " << url << " in your browser." << std::endl;
    uint64_t version = 0;
    std::optional<PreviewBuild> lastGood;
    CentreLineCache lineCache;
    Stamps seen = stamps_of(o);
    // The drawing is the latest compile without errors; one with errors
    // brings its diagnostics and marks that drawing stale.
    auto recompile = [&] {
        PreviewBuild current = compile_once(sources, lineCache);
        ++version;
        if (!current.has_errors() && current.model) {
            lastGood = std::move(current);
            server.publish(scenario_json(*lastGood, &*lastGood, version), version);
        } else {
            server.publish(scenario_json(current, lastGood ? &*lastGood : nullptr, version), version);
        }
    };
    recompile();
    server.start();
    while (!platform::stop_requested()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(kPollMilliseconds));
        const Stamps now = stamps_of(o);
        if (now == seen) continue;
        seen = now;
        recompile();
    }
    server.stop();
    return kExitClean;
}

namespace {

CommandRun setup(CLI::App& command) {
    auto options = std::make_shared<ServeOptions>();
    command.add_option("LINE_DOC", options->lineDocument, "Line description document")->required();
    command.add_option("TRAIN_DOC", options->trainDocument, "Train description document")->required();
    command.add_option("--port", options->port, "Port to listen on (0: any free port)")
        ->capture_default_str()
        ->check(CLI::Range(0, 65535));
    command.add_option("--host", options->host, "Address to listen on")->capture_default_str();
    command.add_option("--train-model", options->trainModelFile,
                       "Train-model file for the fastest run (JSON; default: a four-car regional electric unit)");
    command.add_flag("--open", options->openBrowser, "Open the page in the default browser");
    auto names = std::make_shared<NameOptions>();
    add_scenario_names(command, *names, NameSource::DocumentsOrBuiltIn);
    return [options, names](std::ostream& out, std::ostream& err) {
        const std::optional<ScenarioNames> chosen =
            chosen_names(*names, options->lineDocument, options->trainDocument, err);
        if (!chosen) return kExitUsage;
        options->names = *chosen;
        return serve_preview(*options, out, err);
    };
}

}  // namespace

const Command kServeCommand = {"serve", "Preview the route in the browser, compiled again on every save", setup};
