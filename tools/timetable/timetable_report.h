// The timetable written out: a table of text or one JSON document, a row per
// station; and a check's findings, for documents that do not compile.
#pragma once

#include <ostream>
#include <string>

#include "tools/diagnostics/checker.h"
#include "tools/running_time/fastest_run.h"

// What the rows are of: the route, its run, and the train model's name
// ("default" or the file's).
struct TimetableView {
    const RunRoute& route;
    const RunningTimes& times;
    std::string trainModel;
};

void write_timetable_text(std::ostream& out, const TimetableView& view);
void write_timetable_json(std::ostream& out, const TimetableView& view);

// The findings of a check whose documents do not compile, each as check
// writes it, then the counts; in JSON a `diagnostics` array and no `stations`.
void write_document_errors(std::ostream& out, const CheckResult& result, const std::string& format);
