#include "tools/serve/serve.h"

#include <CLI/CLI.hpp>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>

#include "platform/platform.h"
#include "tools/common/exit_status.h"
#include "tools/serve/preview_server.h"
#include "tools/serve/recompiler.h"
#include "tools/running_time/train_model.h"

namespace {

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
    const std::function<bool()> stopRequested = o.stopRequested ? o.stopRequested : platform::stop_requested;
    auto server = std::make_shared<PreviewServer>(o.host);
    const int port = server->bind(o.port);
    if (port < 0) {
        err << "scenario_tool: cannot listen on " << o.host << " port " << o.port
            << " (in use, or not an address of this machine)\n";
        return kExitRunTimeFailure;
    }
    const std::string url = "http://" + url_host(o.host) + ":" + std::to_string(port) + "/";
    out << "Preview at " << url << std::endl;
    if (o.openBrowser && !platform::open_in_browser(url)) out << "Open " << url << " in your browser." << std::endl;
    // Connections wait to be answered until the first compile is there.
    Recompiler compiles(sources, server);
    bool started = false;
    while (!stopRequested()) {
        if (!started && compiles.published()) {
            server->start();
            started = true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(kPollMilliseconds));
    }
    server->stop();
    // A compile still running would hold the end back as long as it takes
    // (a second on a long route): the process ends at once instead, as the
    // compile writes nothing.
    if (!compiles.stop()) platform::end_process(kExitClean);
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
