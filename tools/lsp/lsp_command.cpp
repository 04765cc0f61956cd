// The server's loop. A thread reads standard input and cuts it into frames;
// the main thread answers each in turn and checks the documents once the
// editor has been quiet for a moment, so that a burst of keystrokes costs
// one check and not one per key.
#include "tools/lsp/lsp_command.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/platform.h"
#include "tools/lsp/dispatch.h"

namespace {

using Clock = std::chrono::steady_clock;
// How long the editor must be quiet before the documents are checked again.
constexpr auto kQuiet = std::chrono::milliseconds(150);

// Frames read off standard input, waiting for the main thread.
class Inbox {
public:
    void push(Frame frame) {
        std::lock_guard lock(mutex_);
        frames_.push_back(std::move(frame));
        ready_.notify_one();
    }
    void end(std::string failure) {
        std::lock_guard lock(mutex_);
        ended_ = true;
        failure_ = std::move(failure);
        ready_.notify_one();
    }
    enum class Wait { Frame, Ended, TimedOut };
    // The next frame, waiting until `until` at the latest.
    Wait next(Frame& frame, std::optional<Clock::time_point> until) {
        std::unique_lock lock(mutex_);
        const auto arrived = [this] { return !frames_.empty() || ended_; };
        if (until) {
            if (!ready_.wait_until(lock, *until, arrived)) return Wait::TimedOut;
        } else {
            ready_.wait(lock, arrived);
        }
        if (frames_.empty()) return Wait::Ended;
        frame = std::move(frames_.front());
        frames_.pop_front();
        return Wait::Frame;
    }
    std::string failure() {
        std::lock_guard lock(mutex_);
        return failure_;
    }

private:
    std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<Frame> frames_;
    bool ended_ = false;
    std::string failure_;
};

void read_frames(const std::shared_ptr<Inbox>& inbox) {
    FrameReader reader;
    std::string failure;
    try {
        char buffer[1 << 16];
        for (;;) {
            const size_t n = platform::read_standard_input(buffer, sizeof buffer);
            if (n == 0) break;
            reader.feed(std::string_view(buffer, n));
            for (Frame frame; reader.next(frame);) inbox->push(std::move(frame));
        }
    } catch (const platform::RunTimeFailure& e) {
        failure = e.what();
    }
    inbox->end(failure);
}

}  // namespace

int run_language_server(std::ostream& err) {
    platform::use_binary_standard_streams();
    // The reader thread may outlive this function, blocked in a read, until the process ends.
    const auto inbox = std::make_shared<Inbox>();
    std::thread([inbox] { read_frames(inbox); }).detach();

    LanguageServer server;
    std::optional<Clock::time_point> checkAt;
    try {
        for (;;) {
            Frame frame;
            const Inbox::Wait got = inbox->next(frame, checkAt);
            if (got == Inbox::Wait::TimedOut) {
                checkAt.reset();
                for (const Json& notification : server.publish_diagnostics())
                    platform::write_standard_output(framed(notification));
                continue;
            }
            if (got == Inbox::Wait::Ended) {
                const std::string failure = inbox->failure();
                if (!failure.empty()) err << "scenario_tool: " << failure << '\n';
                return failure.empty() ? server.exit_status() : 1;
            }
            const uint64_t changes = server.changes();
            if (const std::optional<Json> reply = dispatch(server, frame))
                platform::write_standard_output(framed(*reply));
            if (server.stage() == LanguageServer::Stage::Exited) return server.exit_status();
            // Each change puts the check off again; a request in between does not.
            if (server.changes() != changes) checkAt = Clock::now() + kQuiet;
        }
    } catch (const platform::RunTimeFailure& e) {
        err << "scenario_tool: " << e.what() << '\n';
        return 1;
    }
}

const Command kLspCommand = {
    "lsp", "Diagnostics, hover and completion in an editor as you type (Language Server Protocol)",
    [](CLI::App&) -> CommandRun { return [](std::ostream&, std::ostream& err) { return run_language_server(err); }; }};
