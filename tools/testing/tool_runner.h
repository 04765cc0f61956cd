// Runs the built executables from tests: they sit beside the test binary.
#pragma once

#include <string>
#include <vector>

struct RunResult {
    int status = -1;
    std::string out;
    std::string err;
};

// The folder of the running test binary (build/bin).
std::string binary_folder();

// The shell command that starts scenario_tool: the program beside the test
// binary, or the one SCENARIO_TOOL names (the Windows program, for instance),
// started by SCENARIO_TOOL_RUNNER (wine) when that is set.
std::string tool_command();
// The same as a program and its first arguments, for exec.
std::vector<std::string> tool_argv();

// Whether the tool under test is the Windows program (a .exe, under Wine).
bool tool_is_windows();

// A path as the tool under test joins it: the folder, the separator of the
// system it was built for (a backslash for a .exe) and the name.
std::string tool_join(const std::string& folder, const std::string& name);

// Runs a command line in `folder` with no standard input; captures its output.
RunResult run_command(const std::string& commandLine, const std::string& folder);

// Lines joined with CR LF, the last one too.
std::string crlf(std::initializer_list<std::string> lines);
