// Runs the built executables from tests: they sit beside the test binary.
#pragma once

#include <string>

struct RunResult {
    int status = -1;
    std::string out;
    std::string err;
};

// The folder of the running test binary (build/bin).
std::string binary_folder();

// Runs a command line in `folder` with no standard input; captures its output.
RunResult run_command(const std::string& commandLine, const std::string& folder);

// Lines joined with CR LF, the last one too.
std::string crlf(std::initializer_list<std::string> lines);
