#include "tools/testing/tool_runner.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
std::string slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
}  // namespace

std::string binary_folder() { return fs::read_symlink("/proc/self/exe").parent_path().string(); }

std::vector<std::string> tool_argv() {
    const char* tool = std::getenv("SCENARIO_TOOL");
    const char* runner = std::getenv("SCENARIO_TOOL_RUNNER");
    std::vector<std::string> argv;
    if (runner != nullptr && *runner != '\0') argv.push_back(runner);
    argv.push_back(tool != nullptr && *tool != '\0' ? tool : binary_folder() + "/scenario_tool");
    return argv;
}

bool tool_is_windows() {
    const std::string tool = tool_argv().back();
    return tool.size() >= 4 && tool.compare(tool.size() - 4, 4, ".exe") == 0;
}

std::string tool_join(const std::string& folder, const std::string& name) {
    return folder + (tool_is_windows() ? "\\" : "/") + name;
}

std::string tool_command() {
    std::string command;
    for (const std::string& word : tool_argv()) command += (command.empty() ? "'" : " '") + word + "'";
    return command;
}

RunResult run_command(const std::string& commandLine, const std::string& folder) {
    const fs::path out = fs::temp_directory_path() / ("run-" + std::to_string(::getpid()) + ".out");
    const fs::path err = fs::temp_directory_path() / ("run-" + std::to_string(::getpid()) + ".err");
    std::string full = "cd '" + folder + "' && " + commandLine + " >'" + out.string() + "' 2>'" + err.string() +
                       "' </dev/null";
    int raw = std::system(full.c_str());
    RunResult r;
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.out = slurp(out);
    r.err = slurp(err);
    fs::remove(out);
    fs::remove(err);
    return r;
}

std::string crlf(std::initializer_list<std::string> lines) {
    std::string text;
    for (const auto& l : lines) text += l + "\r\n";
    return text;
}
