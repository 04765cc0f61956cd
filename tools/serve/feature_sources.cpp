#include "tools/serve/feature_sources.h"

#include <string_view>
#include <vector>

#include "core/field_stream.h"
#include "tools/common/text_encoding.h"

FeatureSources feature_sources(const ReadTrace& trace, const SourceDocument& line, const SourceDocument& train) {
    FeatureSources out;
    // Each document split into its lines once: a long route has thousands of records.
    const std::vector<std::string_view> lineRows = document_lines(line.text);
    const std::vector<std::string_view> trainRows = document_lines(train.text);
    const auto source_of = [&](const TracedRecord& r) {
        const bool inLine = r.document == Document::Line;
        const std::vector<std::string_view>& rows = inLine ? lineRows : trainRows;
        const std::string_view row =
            r.line >= 1 && static_cast<size_t>(r.line) <= rows.size() ? rows[static_cast<size_t>(r.line) - 1] : "";
        return FeatureSource{inLine ? line.path : train.path, r.line, cp1252_to_utf8(row)};
    };
    // Signals and boards by the cell the placement gave them.
    for (const FeatureCell& f : trace.cells) {
        if (f.record < 0) continue;
        const TracedRecord& r = trace.records[static_cast<size_t>(f.record)];
        switch (f.role) {
            case CellRole::Signal: out.signals.emplace(f.cell, source_of(r)); break;
            case CellRole::SpeedBoard: out.speedBoards.emplace(f.cell, source_of(r)); break;
            case CellRole::IndicationBoard: out.boards.emplace(f.cell, source_of(r)); break;
            default: break;
        }
    }
    int station = 0;
    for (const TracedRecord& r : trace.records) {
        if (r.kind == RecordKind::Station) out.stations.emplace(++station, source_of(r));
    }
    return out;
}
