// The compiled files of one route and train in a folder, and which routes and
// trains a folder holds compiled files of, for commands given the wrong names.
#pragma once

#include <string>
#include <vector>

#include "tools/common/scenario_names.h"

// The paths the compile pass gives the three compiled files of these names.
struct CompiledPaths {
    std::string line;      // line data file (route only)
    std::string scenario;  // scenario file
    std::string grid;      // grid file
};
CompiledPaths compiled_paths(const std::string& folder, const ScenarioNames& names);

// The route and train of every scenario file in the folder that is one the
// compile pass wrote and carries the names its file name is made of.
std::vector<ScenarioNames> compiled_scenarios_in(const std::string& folder);

// "FOLDER holds the compiled files of route R, train T (R_T.sim, R_T.dat,
// R_linea.dat): give --route R --train-code T and of ...": these scenarios of
// the folder with their files and the options that choose each.
std::string compiled_scenarios_listed(const std::string& folder, const std::vector<ScenarioNames>& scenarios);

// For an author who named files that are not there: which compiled files the
// folder holds instead and which --route and --train-code to give ("the
// folder holds those of route ..."), or "compile the scenario first".
std::string other_compiled_files(const std::string& folder, const ScenarioNames& wanted);

// "line" for a name that ends as a line data file's ("_linea.dat"),
// "scenario" for one that ends as a scenario file's (".sim"), else empty: a
// grid file's ".dat" alone does not tell it from a renamed line data file.
std::string compiled_kind_by_name(const std::string& fileName);
