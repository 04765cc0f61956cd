// The warnings of `scenario_tool check`: documents that compile but almost
// certainly do not say what their author meant. A code never changes meaning
// once given; a retired code is not reused.
#pragma once

#include <cstddef>
#include <string_view>

enum class Warning : int {
    MisspeltKeyword,
    SpeedNotStep,
    AdhesionNarrowed,
    ValueNarrowed,
    GeneralRepeated,
    TimesBackwards,
    TimeTooShort,
    ClockAfterDeparture,
    LimitWithoutBoard,
    StationNameRepeated,
    StopCellOverFeature,
    EmptyNumber,
    GradientNarrowed,
    RowsOutOfOrder,
    PositionMoved,
    NumberSplit,
    Utf8Text,
    NoGeneralSection,
    ProfileStartsLate,
};

struct WarningCode {
    Warning warning;
    std::string_view code;   // "W" and three digits
    std::string_view title;  // one line: what was found
};

inline constexpr WarningCode kWarningCodes[] = {
    {Warning::MisspeltKeyword, "W101", "a field where a record's keyword was expected holds no keyword"},
    {Warning::SpeedNotStep, "W102", "a speed limit that is not a multiple of 5 km/h"},
    {Warning::AdhesionNarrowed, "W103", "an adhesion outside 0 to 255, stored as its low eight bits"},
    {Warning::ValueNarrowed, "W104", "a value too wide for its field, stored as its low bits"},
    {Warning::GeneralRepeated, "W105", "a general record of the train given more than once; the last wins"},
    {Warning::TimesBackwards, "W106", "a scheduled time earlier than the one of a station before it"},
    {Warning::TimeTooShort, "W107", "a scheduled time that no train can keep even at the speed limit"},
    {Warning::ClockAfterDeparture, "W108", "the clock starts after the first scheduled departure"},
    {Warning::LimitWithoutBoard, "W109", "a speed-limit change with no speed board at it or up to 1000 m before it"},
    {Warning::StationNameRepeated, "W110", "two stations with the same name"},
    {Warning::StopCellOverFeature, "W111", "a station stop cell written over a cell that held a feature"},
    {Warning::EmptyNumber, "W112", "an empty number field, read as 0"},
    {Warning::GradientNarrowed, "W113", "a gradient outside -100 to 155 per mille, stored wrapped round"},
    {Warning::RowsOutOfOrder, "W114", "a speed-limit, adhesion or gradient row placed before an earlier one"},
    {Warning::PositionMoved, "W115", "a feature position that is not a multiple of 50, moved to the nearest cell"},
    {Warning::NumberSplit, "W116", "a number followed by more digits after a blank in the same field"},
    {Warning::Utf8Text, "W117", "text that looks like UTF-8 in a Windows-1252 document"},
    {Warning::NoGeneralSection, "W118", "a train description with no \"[generale]\": nothing of it is read"},
    {Warning::ProfileStartsLate, "W119", "a speed-limit or adhesion profile whose first row is not at 0 m"},
};

inline constexpr const WarningCode& warning_code(Warning w) { return kWarningCodes[static_cast<size_t>(w)]; }
