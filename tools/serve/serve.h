// scenario_tool serve: a live preview of an author's route in the browser,
// compiled again whenever either document changes on disk.
#pragma once

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
    std::string trainModelFile;  // empty: the default train
};

// How often the two documents are looked at.
constexpr int kPollMilliseconds = 50;

// Serves until an interrupt or a termination request, then returns 0. The
// first line on `out` is "Preview at URL". Returns 3 when the address cannot
// be listened on, 64 when the train-model file is faulty (said on `err`,
// before listening). Every compile runs from memory: no file is written.
int serve_preview(const ServeOptions& options, std::ostream& out, std::ostream& err);

extern const Command kServeCommand;
