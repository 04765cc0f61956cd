// The preview's compiles on a thread of their own, so that neither the server
// nor its end ever waits for one: the documents are compiled at once, then
// again whenever either one's modification time or size changes, and each
// compile is published to the server.
#pragma once

#include <memory>
#include <thread>

#include "tools/serve/preview_build.h"
#include "tools/serve/preview_server.h"

// How often the two documents are looked at.
constexpr int kPollMilliseconds = 50;

class Recompiler {
public:
    Recompiler(PreviewSources sources, std::shared_ptr<PreviewServer> server);
    ~Recompiler();
    Recompiler(const Recompiler&) = delete;
    Recompiler& operator=(const Recompiler&) = delete;

    // Whether the first compile has been published.
    bool published() const;
    // Ends the compiles. True when none was running: the thread has ended.
    // False when one was: it is left to finish on its own (it owns what it
    // uses, the server included) and publishes nothing that anyone reads.
    bool stop();

private:
    struct State;
    std::shared_ptr<State> state_;
    std::thread thread_;
};
