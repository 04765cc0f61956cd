// README.md against the program: its list of scenario_tool's commands names
// every command the tool has with every option of it, and its codes are the
// tool's. The tool's help is the command table as the program shows it.
#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tools/codes/code.h"
#include "tools/testing/test_folder.h"
#include "tools/testing/tool_runner.h"

namespace {

std::string readme() {
    std::ifstream in(README_PATH, std::ios::binary);
    EXPECT_TRUE(in) << README_PATH;
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

RunResult tool(const std::string& args) {
    static const TestFolder dir;
    return run_command(tool_command() + " " + args, dir.path());
}

// The commands as `scenario_tool help` lists them: "  NAME  description".
std::vector<std::string> tool_commands() {
    const RunResult help = tool("help");
    EXPECT_EQ(help.status, 0) << help.err;
    std::vector<std::string> names;
    const std::regex row(R"(^  (\S+) +\S.*$)");
    for (const std::string& line : lines_of(help.out)) {
        std::smatch m;
        if (std::regex_match(line, m, row)) names.push_back(m[1]);
    }
    return names;
}

// A command's long option as its help lists it: its name, and whether it takes a value.
struct Option {
    std::string name;
    bool takesValue;
};

// A command's long options as its help lists them, --help aside.
std::vector<Option> options_of(const std::string& help) {
    std::vector<Option> options;
    bool inOptions = false;
    // "  --port INT ...  Port to listen on": a value's type follows the name after one blank.
    const std::regex option(R"(^  (?:-\w,)?(--[A-Za-z0-9-]+)( \S)?.*$)");
    for (const std::string& line : lines_of(help)) {
        if (line.empty()) inOptions = false;
        if (line == "Options:") inOptions = true;
        std::smatch m;
        if (inOptions && std::regex_match(line, m, option) && m[1] != "--help")
            options.push_back({m[1], m[2].matched});
    }
    return options;
}

// Whether the line names the option itself, not just a longer one that starts like it.
bool names_option(const std::string& line, const std::string& option) {
    for (size_t at = line.find(option); at != std::string::npos; at = line.find(option, at + 1)) {
        const size_t after = at + option.size();
        if (after == line.size() || !(std::isalnum(static_cast<unsigned char>(line[after])) || line[after] == '-'))
            return true;
    }
    return false;
}

std::string usage_line(const std::string& help) {
    for (const std::string& line : lines_of(help))
        if (line.rfind("Usage: ", 0) == 0) return line;
    return "";
}

// The list of commands: the first lines "    scenario_tool COMMAND ..." of
// the section on scenario_tool, by command.
std::map<std::string, std::string> readme_command_list() {
    std::map<std::string, std::string> list;
    bool inSection = false;
    for (const std::string& line : lines_of(readme())) {
        if (line.rfind("## ", 0) == 0) inSection = line.find("The authoring tool") != std::string::npos;
        if (!inSection) continue;
        const std::string head = "    scenario_tool ";
        if (line.rfind(head, 0) == 0) {
            const std::string command = line.substr(head.size(), line.find(' ', head.size()) - head.size());
            list[command] = line.substr(4);
        } else if (!list.empty()) {
            break;  // the list ends at its first other line
        }
    }
    return list;
}

}  // namespace

// A command added to the table fails here until the README lists it; the
// message says what to add.
TEST(Readme, ItsListOfCommandsNamesEveryCommandWithEveryOption) {
    const std::vector<std::string> commands = tool_commands();
    ASSERT_GE(commands.size(), 9u);
    std::map<std::string, std::string> list = readme_command_list();
    for (const std::string& command : commands) {
        const RunResult help = tool(command + " --help");
        const std::vector<Option> options = options_of(help.out);
        // The line to add: the usage line with the options spelt out.
        std::string optionsText;
        for (const Option& option : options)
            optionsText += " [" + option.name + (option.takesValue ? " VALUE]" : "]");
        std::string usage = usage_line(help.out);
        usage = std::regex_replace(usage, std::regex(R"(^Usage: | \[OPTIONS\])"), "");
        const auto listed = list.find(command);
        if (listed == list.end()) {
            ADD_FAILURE() << "README.md, \"The authoring tool\": the list of commands lacks `" << command
                          << "`; add the line \"    " << usage << optionsText << "\"";
            continue;
        }
        for (const Option& option : options)
            EXPECT_TRUE(names_option(listed->second, option.name))
                << "README.md, \"The authoring tool\": the line of `" << command << "` lacks its option "
                << option.name << "; its options are" << optionsText;
        list.erase(listed);
    }
    for (const auto& [command, line] : list)
        ADD_FAILURE() << "README.md lists `" << command << "`, which scenario_tool does not have: " << line;
}

// `help COMMAND` and `COMMAND --help` show the same help, whose usage line
// starts with the program's name.
TEST(Readme, EachCommandsHelpIsTheSameAskedEitherWay) {
    const std::vector<std::string> commands = tool_commands();
    ASSERT_GE(commands.size(), 9u);
    for (const std::string& command : commands) {
        const RunResult asked = tool("help " + command);
        const RunResult flag = tool(command + " --help");
        EXPECT_EQ(asked.status, 0) << command;
        EXPECT_EQ(flag.status, 0) << command;
        EXPECT_EQ(asked.out, flag.out) << command;
        EXPECT_EQ(usage_line(asked.out).rfind("Usage: scenario_tool " + command + " ", 0), 0u)
            << command << ": " << usage_line(asked.out);
    }
}

// Every code the README names is one the tool has: a code renumbered or
// retired cannot stay behind in it.
TEST(Readme, NamesOnlyCodesTheToolHas) {
    std::set<std::string> known;
    for (const CodeEntry& entry : kCodes) known.insert(code_name(entry.code));
    const std::string text = readme();
    const std::regex named(R"((?:error|warning) (W?\d+))");
    size_t seen = 0;
    for (std::sregex_iterator m(text.begin(), text.end(), named), end; m != end; ++m, ++seen)
        EXPECT_TRUE(known.count((*m)[1])) << (*m)[0];
    EXPECT_GT(seen, 0u);
}
