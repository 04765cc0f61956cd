// The compiler's limits and constants that authors meet, named once: the turn
// rate of each curve class, the highest speeds the grid's fields can hold and
// how many stations, boards and stretches the scenario table has room for.
// The readers and the placement work by these; every text of the tool that
// states one of them is built from it.
#pragma once

#include <cstdint>
#include <iterator>

#include "core/format.h"
#include "core/scenario_table.h"

// --- Curves ------------------------------------------------------------------

// The turn rate of each curve class, radians per metre of curve, by the class
// digit of the keyword (entry 0 unused), as the line description's format
// gives them (docs/authoring.md lists them for authors).
inline constexpr double kCurveTurnRates[] = {0.0, 0.0001, 0.0002, 0.0004, 0.001, 0.002, 0.003};
// The classes, 1 to this.
inline constexpr int kCurveClassCount = static_cast<int>(std::size(kCurveTurnRates)) - 1;
static_assert(kCurveClassCount == static_cast<int>(kCurveClassDigits.size()), "one class per class digit");

// --- Speeds --------------------------------------------------------------------

// A speed board stores each of its three values in 16 bits as
// round(vad / kSpeedStepKmh + vas * kBoardSpeedFactor) (vbd and vbs, vcd and vcs likewise).
inline constexpr int32_t kBoardSpeedFactor = 20;
// The highest vas, vbs or vcs whose board value fits 16 bits (with vad 0): 1638 km/h.
inline constexpr int32_t kHighestBoardSpeedKmh = INT16_MAX / kBoardSpeedFactor;

// A speed limit is stored as its step, round(speed / kSpeedStepKmh) (halves to
// even), in one byte; a speed whose step does not fit is a read failure.
inline constexpr int32_t kHighestSpeedStep = UINT8_MAX;
// The highest speed limit whose step fits that byte: 255 steps and the part of
// a step that still rounds down, 1277 km/h.
inline constexpr int32_t kHighestSpeedLimitKmh = kHighestSpeedStep * kSpeedStepKmh + (kSpeedStepKmh - 1) / 2;

// --- Slots of the scenario table ------------------------------------------------

// Indication board captions take the slots from kFirstBoardSlot down, so there
// is room for this many boards.
inline constexpr int kMostIndicationBoards = kFirstBoardSlot;
// The montagna stretch list holds this many stretches.
inline constexpr int kMostMontagnaStretches = 80;
// Stations take the slots from 1 up; the reader stops when the slot after the
// station it stored reaches the first slot a caption holds, so with `boards`
// indication boards at most kFirstBoardSlot - 2 - boards stations fit (78 - S).
constexpr int most_stations(int boards) { return kFirstBoardSlot - 2 - boards; }
inline constexpr int kMostStations = most_stations(0);
// The slot of the three background values (the route's header slot, 85).
inline constexpr int kBackgroundSlot = kSlotRoute;
