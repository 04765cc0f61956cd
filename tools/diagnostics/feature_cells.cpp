#include "tools/diagnostics/feature_cells.h"

#include "core/rounding.h"
#include "core/track_grid.h"

namespace {

// Slow-downs starting beyond this have a warning cell 1200 m before their start.
constexpr int64_t kWarningFrom = 1500;
constexpr double kWarningDistance = 1200.0;

}  // namespace

std::vector<int64_t> feature_cells(const TracedRecord& r) {
    const size_t wanted = static_cast<size_t>(traced_field_count(r.kind));
    if (r.fields.size() < wanted && r.kind != RecordKind::IndicationBoard) return {};
    if (r.fields.empty()) return {};
    const int64_t p = r.fields[0].value;
    const auto at = [](double metres) { return cell_index(metres); };
    switch (r.kind) {
        case RecordKind::SpeedBoard:
        case RecordKind::IndicationBoard:
        case RecordKind::Signal: return {at(static_cast<double>(p))};
        case RecordKind::Abbattimento: return {round_half_even(static_cast<double>(p) / 50.0)};
        case RecordKind::SlowDown: {
            const double x = static_cast<double>(p);
            std::vector<int64_t> cells = {at(x), at(x + static_cast<double>(r.fields[2].value))};
            if (p > kWarningFrom) {
                cells.push_back(at(x - kWarningDistance));
                if (r.fields[4].value != 0) {
                    const int64_t h = round_half_even((x - kWarningDistance) / 50.0);
                    for (int64_t i = 0; i < 4; ++i) cells.push_back(h - i);
                }
            }
            return cells;
        }
        default: return {};
    }
}

const char* feature_name(RecordKind kind) {
    switch (kind) {
        case RecordKind::SpeedBoard: return "speed board";
        case RecordKind::IndicationBoard: return "indication board";
        case RecordKind::Signal: return "signal";
        case RecordKind::SlowDown: return "slow-down";
        case RecordKind::Abbattimento: return "abbattimento mark";
        case RecordKind::Station: return "station";
        case RecordKind::Montagna: return "montagna stretch";
        case RecordKind::Gradient: return "gradient row";
        case RecordKind::Curve: return "curve";
        case RecordKind::SpeedLimit: return "speed limit";
        case RecordKind::Adhesion: return "adhesion";
        default: return "record";
    }
}
