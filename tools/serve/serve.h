// scenario_tool serve: a live preview of an author's route in the browser,
// compiled again whenever either document changes on disk.
#pragma once

#include <functional>
#include <ostream>
#include <string>

#include "tools/common/command.h"

struct ServeOptions {
    std::string lineDocument;
    std::string trainDocument;
    std::string host = "127.0.0.1";
    int port = 8080;
    bool openBrowser = false;  // open the page in the default browser once listening
    ScenarioNames names;
    // What ends the server, asked every few milliseconds; when empty, an
    // interrupt or a termination request.
    std::function<bool()> stopRequested;
    std::string trainModelFile;  // empty: the default train
};

// Serves until the stop is requested, then returns 0 (a compile still
// running then is not waited for: the process ends at once with status 0).
// The first line on `out` is "Preview at URL". Returns 3 when the address
// cannot be listened on, 64 when the train-model file is faulty (said on
// `err`, before listening). Every compile runs from memory: no file is written.
int serve_preview(const ServeOptions& options, std::ostream& out, std::ostream& err);

extern const Command kServeCommand;
