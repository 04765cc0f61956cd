#include "tools/diagnostics/feature_cells.h"

#include "core/track_grid.h"

const FeatureCell* first_holder(const ReadTrace& trace, int64_t cell, CellRole role) {
    for (const FeatureCell& f : trace.cells) {
        if (f.cell == cell && f.role == role) return &f;
    }
    return nullptr;
}

const FeatureCell* last_holder(const ReadTrace& trace, int64_t cell, size_t before) {
    const FeatureCell* found = nullptr;
    for (size_t i = 0; i < before && i < trace.cells.size(); ++i) {
        const FeatureCell& f = trace.cells[i];
        if (f.cell == cell && takes_cell(f.role) && f.role != CellRole::MontagnaMarker) found = &f;
    }
    return found;
}

bool role_of_kind(uint8_t kind, CellRole& role) {
    switch (kind) {
        case kSignal: role = CellRole::Signal; return true;
        case kSpeedBoard: role = CellRole::SpeedBoard; return true;
        case kSign: role = CellRole::IndicationBoard; return true;
        case kAbbattimento:
        case kOpenAbbattimento: role = CellRole::Abbattimento; return true;
        case kSlowDownStart: role = CellRole::SlowDownStart; return true;
        case kSlowDownEnd: role = CellRole::SlowDownEnd; return true;
        case kSlowDownWarning: role = CellRole::SlowDownWarning; return true;
        case kWarningApproach: role = CellRole::WarningApproach; return true;
        case kStationStop: role = CellRole::StationStop; return true;
        case kMontagnaMarker: role = CellRole::MontagnaMarker; return true;
        default: return false;
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
