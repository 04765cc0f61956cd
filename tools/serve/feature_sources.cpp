#include "tools/serve/feature_sources.h"

#include <string_view>
#include <vector>

#include "core/field_stream.h"
#include "core/track_grid.h"
#include "tools/common/text_encoding.h"

FeatureSources feature_sources(const ReadTrace& trace, const SourceDocument& line, const SourceDocument& train) {
    FeatureSources out;
    // Each document split into its lines once: a long route has thousands of records.
    const std::vector<std::string_view> lineRows = document_lines(line.text);
    const std::vector<std::string_view> trainRows = document_lines(train.text);
    int station = 0;
    for (const TracedRecord& r : trace.records) {
        const bool inLine = r.document == Document::Line;
        const std::vector<std::string_view>& rows = inLine ? lineRows : trainRows;
        const std::string_view row =
            r.line >= 1 && static_cast<size_t>(r.line) <= rows.size() ? rows[static_cast<size_t>(r.line) - 1] : "";
        const FeatureSource source{inLine ? line.path : train.path, r.line, cp1252_to_utf8(row)};
        const bool placed = !r.fields.empty() && r.fields.front().number;
        const int64_t cell = placed ? cell_index(static_cast<double>(r.fields.front().value)) : -1;
        switch (r.kind) {
            case RecordKind::Signal:
                if (placed) out.signals.emplace(cell, source);
                break;
            case RecordKind::SpeedBoard:
                if (placed) out.speedBoards.emplace(cell, source);
                break;
            case RecordKind::IndicationBoard:
                if (placed) out.boards.emplace(cell, source);
                break;
            case RecordKind::Station:
                out.stations.emplace(++station, source);
                break;
            default:
                break;
        }
    }
    return out;
}
