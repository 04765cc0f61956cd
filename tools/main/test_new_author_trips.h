// The new author's trips: one row per mistake an author makes, with the files
// the row writes, the command it runs and the exact line it gives. The table
// is in test_new_author_trips.cpp; new_author_test.cpp runs each row.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "tools/testing/test_folder.h"

namespace new_author {

// The files of out/ after the run, sorted; not looked at when absent.
using Listing = std::optional<std::vector<std::string>>;

struct File {
    std::string name;
    std::string bytes;
};

struct Trip {
    const char* name;
    std::vector<File> files{};
    std::string args;  // after "scenario_tool"
    int status;
    std::string line;                // a whole line of standard error (or output), exactly
    Listing out{};                   // exactly the files of out/ afterwards; kNoOut: no out/ at all
    std::string folder{};            // a folder made before the run
    std::string unreadable{};        // a file made unreadable before the run
    std::function<void(const TestFolder&)> then{};
};

// The files of out/ when the run must make no out/ folder at all.
extern const Listing kNoOut;

std::vector<Trip> trips();

}  // namespace new_author
