// The document line that made each drawn feature, found in what the readers
// took (the read trace of the compile pass): the preview shows it on hover.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "core/read_trace.h"
#include "tools/diagnostics/diagnostics.h"

struct FeatureSource {
    std::string file;  // the author's document as given
    int32_t line = 0;  // from 1
    std::string text;  // the line, UTF-8
};

struct FeatureSources {
    std::map<int64_t, FeatureSource> signals;      // by grid cell
    std::map<int64_t, FeatureSource> speedBoards;  // by grid cell
    std::map<int64_t, FeatureSource> boards;       // indication boards, by grid cell
    std::map<int, FeatureSource> stations;         // by scenario slot
};

// The records of a compile pass without errors, each linked to its feature:
// a signal or board by the cell its position falls on, the n-th station
// record by station slot n (stations fill the slots from 1 up in their order).
FeatureSources feature_sources(const ReadTrace& trace, const SourceDocument& line, const SourceDocument& train);
