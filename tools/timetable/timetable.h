// scenario_tool timetable: the fastest run of a train over an author's
// route, each scheduled time set against it: the earliest arrival and
// departure at every station, the running time and slack of every leg.
#pragma once

#include <ostream>
#include <string>

#include "tools/common/command.h"

struct TimetableOptions {
    std::string lineDocument;
    std::string trainDocument;
    ScenarioNames names;
    std::string trainModelFile;   // empty: the default train
    std::string format = "text";  // text or json
    bool printTrainModel = false; // write the default train as a train-model file, and nothing else
};

// The command: 0 when every scheduled time can be kept, 1 when one cannot
// (or the documents have an error, said as check says it), 2 when a
// document cannot be read, 64 for a bad command line or train-model file.
int timetable_documents(const TimetableOptions& options, std::ostream& out, std::ostream& err);

extern const Command kTimetableCommand;
