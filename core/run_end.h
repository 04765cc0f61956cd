// How a run ends, in one place for the compiler, the tool, the tests and the
// fuzz targets: the exit statuses, errore's ProgramEnd, and the turning of a
// run-time failure or exhausted memory into a status and its report.
#pragma once

#include <new>
#include <optional>

#include "platform/platform.h"

// Exit statuses of the programs.
constexpr int kExitClean = 0;
constexpr int kExitScenarioError = 1;
constexpr int kExitErrore = 2;
constexpr int kExitRunTimeFailure = 3;

// Thrown by errore after its message: the program ends with this status.
struct ProgramEnd {
    int status;
};

// The end of a run: its exit status and, for kExitRunTimeFailure, what failed.
struct RunEnd {
    int status = kExitClean;
    std::optional<platform::RunTimeFailure> failure;
};

// Runs `work`, which returns an exit status, and catches what ends a run early:
// errore's ProgramEnd keeps its status; a run-time failure, and memory running
// out, give kExitRunTimeFailure with the failure. Nothing is reported here.
template <typename Work>
RunEnd run_to_end(Work&& work) {
    try {
        return RunEnd{work(), std::nullopt};
    } catch (const ProgramEnd& end) {
        return RunEnd{end.status, std::nullopt};
    } catch (const platform::RunTimeFailure& failure) {
        return RunEnd{kExitRunTimeFailure, failure};
    } catch (const std::bad_alloc&) {
        return RunEnd{kExitRunTimeFailure, platform::RunTimeFailure("allocate", "memory", "out of memory")};
    }
}

// The exit status of a run, after the platform's standard report of its failure if it has one.
inline int reported_status(const RunEnd& end) {
    if (end.failure) platform::report_failure(*end.failure);
    return end.status;
}
