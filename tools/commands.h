// The commands of scenario_tool. Each returns the process exit status; what
// a command did goes to `out`, what went wrong to `err`.
#pragma once

#include <ostream>
#include <string>

struct ScenarioNames {
    std::string route = "Bresta_Vilcar";
    std::string train = "RX907";
};

struct WriteOptions {
    std::string folder;
    ScenarioNames names;
    bool force = false;  // overwrite documents already in the folder
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
    bool raw = false;  // the stored fields instead of their meanings
    std::string format = "text";
};

// Exit status for a bad command line.
constexpr int kExitUsage = 64;
// Exit status of write-documents when the folder already holds documents.
constexpr int kExitWouldOverwrite = 1;

// Exit status of dump and plot for a compiled file that is missing, cannot be read or cannot be decoded.
constexpr int kExitUnreadableFile = 2;

int write_documents(const WriteOptions& options, std::ostream& out, std::ostream& err);
// The documents are read whole and compiled from memory; only the three
// compiled files are written into the out folder.
int compile_documents(const CompileOptions& options, std::ostream& out, std::ostream& err);
int dump_file(const DumpOptions& options, std::ostream& out, std::ostream& err);
