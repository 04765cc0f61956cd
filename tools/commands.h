// The commands of scenario_tool. Each returns the process exit status.
#pragma once

#include <ostream>
#include <string>

struct ScenarioNames {
    std::string route = "Bresta_Vilcar";
    std::string train = "RX907";
};

struct CompileOptions {
    std::string lineDocument;
    std::string trainDocument;
    std::string outFolder;
    ScenarioNames names;
    bool lineTable = true;
};

struct DumpOptions {
    std::string what;  // grid, scenario or line
    std::string file;
    bool all = false;
    std::string format = "text";
};

// Exit status for a bad command line.
constexpr int kExitUsage = 64;

int write_documents(const std::string& folder, const ScenarioNames& names, std::ostream& err);
int compile_documents(const CompileOptions& options, std::ostream& err);
int dump_file(const DumpOptions& options, std::ostream& out, std::ostream& err);
