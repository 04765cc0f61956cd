#include "tools/compiled/compiled_names.h"

#include "core/track_grid.h"

bool slot_is_reset(const ScenarioSlot& s) {
    return s.tag == 0 && s.long1 == 0 && s.long2 == 0 && s.long3 == 0 && s.flag == 0 && s.label.empty() &&
           s.int1 == 0 && s.int2 == 0 && s.int3 == 0 && s.int4 == 0 && s.int5 == 0 && s.byte1 == 0 &&
           s.byte2 == 0 && s.byte3 == 0 && s.byte4 == 0 && s.long4 == 0;
}

std::string cell_kind_name(int kind) {
    switch (kind) {
        case kEmpty: return "empty";
        case kSignal: return "signal";
        case kSlowDownEnd: return "slow-down end";
        case kSlowDownStart: return "slow-down start";
        case kSlowDownWarning: return "slow-down warning";
        case kWarningApproach: return "warning approach";
        case kSpeedBoard: return "speed board";
        case kStationStop: return "station stop";
        case kMontagnaMarker: return "montagna marker";
        case kAbbattimento: return "abbattimento";
        case kOpenAbbattimento: return "open abbattimento";
        case kSign: return "indication board";
        default: return "unknown kind " + std::to_string(kind);
    }
}

std::string slot_role(const ScenarioTable& table, int slot) {
    const ScenarioSlot& s = table[static_cast<size_t>(slot)];
    switch (slot) {
        case kSlotProgressive3: return "progressive definition 81";
        case kSlotProgressive2: return "progressive definition 82";
        case kSlotProgressive1: return "progressive definition 83";
        case kSlotGeneral: return "general header";
        case kSlotRoute: return "route header";
        case kSlotTrain: return "train header";
        default: break;
    }
    if (slot_is_reset(s)) return "unused";
    if (slot == 0) return "unexpected";
    // A caption slot carries its label only; a station always has numbers.
    ScenarioSlot numbersOnly = s;
    numbersOnly.label.clear();
    return slot_is_reset(numbersOnly) ? "board caption" : "station";
}
