// The scenario table: 87 slots of stations, board captions and header values.
#pragma once

#include <array>
#include <cstdint>
#include <string>

struct ScenarioSlot {
    uint8_t tag = 0;
    int32_t long1 = 0;
    int32_t long2 = 0;
    int32_t long3 = 0;
    uint8_t flag = 0;
    std::string label;  // Windows-1252 bytes
    int16_t int1 = 0;
    int16_t int2 = 0;
    int16_t int3 = 0;
    int16_t int4 = 0;
    int16_t int5 = 0;
    uint8_t byte1 = 0;
    uint8_t byte2 = 0;
    uint8_t byte3 = 0;
    uint8_t byte4 = 0;
    int32_t long4 = 0;
};

constexpr int kScenarioSlots = 87;
using ScenarioTable = std::array<ScenarioSlot, kScenarioSlots>;

// Header slots.
constexpr int kSlotProgressive3 = 81;
constexpr int kSlotProgressive2 = 82;
constexpr int kSlotProgressive1 = 83;
constexpr int kSlotGeneral = 84;
constexpr int kSlotRoute = 85;
constexpr int kSlotTrain = 86;
constexpr int kFirstBoardSlot = 80;

// The route header's int1 holds this marker value in every compiled scenario;
// its long4 holds the weighted check code.
constexpr int16_t kRouteMarker = 610;
