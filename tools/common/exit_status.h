// The exit statuses of scenario_tool that several commands share; the
// compiler's own (clean, scenario error, run-time failure) are in core/run_end.h.
#pragma once

// A bad command line.
constexpr int kExitUsage = 64;

// Dump and plot: a compiled file that is missing, cannot be read or cannot be decoded.
constexpr int kExitUnreadableFile = 2;
