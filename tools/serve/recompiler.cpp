#include "tools/serve/recompiler.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>

#include "core/run_end.h"
#include "platform/platform.h"
#include "tools/common/exit_status.h"
#include "tools/serve/scenario_json.h"

namespace {

struct Stamps {
    platform::FileStamp line, train;
    bool operator==(const Stamps&) const = default;
};

Stamps stamps_of(const PreviewSources& s) {
    return {platform::file_stamp(s.lineDocument), platform::file_stamp(s.trainDocument)};
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

}  // namespace

// What the compiles need, shared with a thread that may outlive the owner.
struct Recompiler::State {
    PreviewSources sources;
    std::shared_ptr<PreviewServer> server;
    CentreLineCache lineCache;
    uint64_t version = 0;
    std::optional<PreviewBuild> lastGood;
    std::atomic<bool> published{false};

    std::mutex mutex;
    std::condition_variable stopped;
    bool stopping = false;
    bool compiling = false;

    // The drawing is the latest compile without errors; one with errors
    // brings its diagnostics and marks that drawing stale.
    void recompile() {
        PreviewBuild current = compile_once(sources, lineCache);
        ++version;
        if (!current.has_errors() && current.model) {
            lastGood = std::move(current);
            server->publish(scenario_json(*lastGood, &*lastGood, version), version);
        } else {
            server->publish(scenario_json(current, lastGood ? &*lastGood : nullptr, version), version);
        }
        published = true;
    }

    // Compiles unless stopping; false once stopping.
    bool compile_unless_stopping() {
        {
            std::lock_guard<std::mutex> lock(mutex);
            if (stopping) return false;
            compiling = true;
        }
        recompile();
        std::lock_guard<std::mutex> lock(mutex);
        compiling = false;
        return !stopping;
    }

    void run() {
        Stamps seen = stamps_of(sources);
        if (!compile_unless_stopping()) return;
        for (;;) {
            {
                std::unique_lock<std::mutex> lock(mutex);
                if (stopped.wait_for(lock, std::chrono::milliseconds(kPollMilliseconds), [this] { return stopping; }))
                    return;
            }
            const Stamps now = stamps_of(sources);
            if (now == seen) continue;
            seen = now;
            if (!compile_unless_stopping()) return;
        }
    }
};

Recompiler::Recompiler(PreviewSources sources, std::shared_ptr<PreviewServer> server)
    : state_(std::make_shared<State>()) {
    state_->sources = std::move(sources);
    state_->server = std::move(server);
    thread_ = std::thread([state = state_] { state->run(); });
}

Recompiler::~Recompiler() { stop(); }

bool Recompiler::published() const { return state_->published; }

bool Recompiler::stop() {
    if (!thread_.joinable()) return true;
    bool running = false;
    {
        std::lock_guard<std::mutex> lock(state_->mutex);
        state_->stopping = true;
        running = state_->compiling;
    }
    state_->stopped.notify_all();
    if (running) {
        thread_.detach();
        return false;
    }
    thread_.join();
    return true;
}
