#include "tools/lsp/record_reference.h"

#include <array>
#include <string>

#include "core/format.h"

namespace {

constexpr std::string_view kPosition = "0 to {cell} × N - 100";
constexpr std::string_view kFeaturePosition = "{half_cell} to {cell} × N - 100";

constexpr std::string_view kSignalValue4 = "`value4` = `rapp` × 10 + `sx` × 3 + `dx`; `timeCode` only when `sx` is 2";
constexpr std::string_view kSignalValues =
    "`value1` = `s1` × 10 + `d1`, `value2` = `s2` × 10 + `d2`, `value3` = `s3` × 10 + `d3`";

constexpr FieldReference kRouteLength[] = {{"length L", "32-bit", "m", "0 to 1000000"}};
constexpr FieldReference kProgressive[] = {
    {"first value", "32-bit", "", "a multiple of {cell}"},
    {"second value", "32-bit", "", "a multiple of {cell}"},
    {"third value", "32-bit", "", "exactly 1 adds 100 to the second value"},
};
constexpr FieldReference kBackground[] = {{"value", "32-bit", "", "stored as read"}};
constexpr FieldReference kSignalRepetition[] = {
    {"start", "32-bit", "m", "both multiples of {cell} (errors 3, 4)"},
    {"end", "32-bit", "m", "end 0 means none"},
};
constexpr FieldReference kGradient[] = {
    {"position p", "32-bit", "m", kPosition},
    {"gradient g", "32-bit", "per mille", "-100 to 155"},
};
constexpr FieldReference kCurve[] = {
    {"start s", "32-bit", "m", kPosition},
    {"length n", "32-bit", "m", "s + n at most L + 7000"},
};
constexpr FieldReference kMontagna[] = {
    {"start", "32-bit", "m", kPosition},
    {"end", "32-bit", "m", "at most L + 7000"},
    {"type", "32-bit", "code", "1 to 10 for scenery alone; 11 to 20 for the same scenery with markers"},
};
constexpr FieldReference kSpeedBoard[] = {
    {"position", "32-bit", "m", kFeaturePosition},
    {"vas", "32-bit", "km/h", "0 to 1638"},
    {"vbs", "32-bit", "km/h", "0 to 1638"},
    {"vcs", "32-bit", "km/h", "0 to 1638"},
    {"strisces (stripes)", "32-bit", "count", "0, 1 or 2 in the built-in boards"},
    {"vad", "32-bit", "km/h", "usually empty (0)"},
    {"vbd", "32-bit", "km/h", "usually empty (0)"},
    {"vcd", "32-bit", "km/h", "usually empty (0)"},
    {"strisced (stripes)", "32-bit", "count", "0 in the built-in boards"},
};
constexpr FieldReference kIndicationBoard[] = {
    {"position q", "32-bit", "m", kFeaturePosition},
    {"caption", "text", "", "no comma; Windows-1252"},
};
constexpr FieldReference kBrakedMass[] = {{"percentage", "32-bit", "percent", "stored as read"}};
constexpr FieldReference kCars[] = {{"number of cars", "32-bit", "count", "stored as read"}};
constexpr FieldReference kSpeedLimit[] = {
    {"position", "32-bit", "m", "the first row at 0 (up to {half_cell} m counts as 0), then increasing"},
    {"speed", "32-bit", "km/h", "0 to 1277; stored in steps of 5 km/h"},
};
constexpr FieldReference kAdhesion[] = {
    {"position", "32-bit", "m", "the first row at 0 (up to {half_cell} m counts as 0), then increasing"},
    {"adhesion", "32-bit", "percent", "0 to 255 (the built-in values are 90 to 100)"},
};
constexpr FieldReference kClock[] = {
    {"hours", "16-bit", "h", "the time of day the simulation starts"},
    {"minutes", "16-bit", "min", "-32768 to 32767"},
    {"seconds", "16-bit", "s", "-32768 to 32767"},
};
constexpr FieldReference kSand[] = {{"sand supply", "16-bit", "", "-32768 to 32767"}};
constexpr FieldReference kSignal[] = {
    {"position", "32-bit", "m", kFeaturePosition},
    {"sx", "32-bit", "", kSignalValue4},
    {"s1", "32-bit", "", kSignalValues},
    {"s2", "32-bit", "", kSignalValues},
    {"s3", "32-bit", "", kSignalValues},
    {"rapp", "32-bit", "", "in `value4`"},
    {"dx", "32-bit", "", "in `value4` and the approach codes"},
    {"d1", "32-bit", "", "in `value1` to `value3`"},
    {"d2", "32-bit", "", "in `value1` to `value3`"},
    {"d3", "32-bit", "", "in `value1` to `value3`"},
    {"tempo", "32-bit", "", "`timeCode` when `sx` is 2; 1 to 100 become 101"},
};
constexpr FieldReference kSlowDown[] = {
    {"x", "32-bit", "m", "start of the slow-down"},
    {"v", "32-bit", "km/h", "speed through it"},
    {"l", "32-bit", "m", "its length"},
    {"f_tt", "32-bit", "", "stored with the start and end cells"},
    {"f_ta", "32-bit", "switch", "non-zero: place the four warning approach cells"},
    {"d_v", "32-bit", "", "when non-zero, stored with the start, end and warning cells"},
};
constexpr FieldReference kAbbattimento[] = {
    {"position", "32-bit", "m", kPosition},
    {"value", "32-bit", "", "above 0: a mark with that value; 0 or less: an open mark"},
};
constexpr FieldReference kStation[] = {
    {"position", "32-bit", "m", "a multiple of {cell} (error 8); 0 to {cell} × N - 800"},
    {"type code", "8-bit", "code", "5 and 6 end 150 m after the position, 7 and 8 reach a station length both ways, "
                                   "25 and above have no stop cell; any other is centred on the position"},
    {"station length", "32-bit", "m", "a multiple of 100"},
    {"flag", "8-bit", "", "stored unchanged"},
    {"byte4", "8-bit", "", "0 for a station shorter than 600 m and for the first station"},
    {"extension", "8-bit", "switch", "non-zero lengthens the station's end by {cell} m (not for types 5 to 8)"},
    {"int1", "16-bit", "", "stored unchanged"},
    {"int2", "16-bit", "", "stored unchanged"},
    {"byte1", "8-bit", "", "stored unchanged"},
    {"int3", "16-bit", "", "stored unchanged"},
    {"int4", "16-bit", "", "stored unchanged"},
    {"int5", "16-bit", "", "stored unchanged"},
    {"byte2", "8-bit", "", "stored unchanged"},
    {"hours", "32-bit", "h", "0, 0, 0 where the train passes without a scheduled time"},
    {"minutes", "32-bit", "min", "scheduled hours, minutes, seconds"},
    {"seconds", "32-bit", "s", "scheduled hours, minutes, seconds"},
    {"name", "text", "", "to the end of the line; no comma"},
};

constexpr RecordReference kRecords[] = {
    {RecordKind::RouteLength, "lunghezza percorso", "Route length",
     "The length L of the route; sizes the grid (cells 0 to N, N = (L + 7000) / {cell}) and the line table.",
     kRouteLength},
    {RecordKind::Progressive3, "progressiva chilometrica tre", "Progressive definition 3",
     "The third kilometric progressive definition (letters compared exactly).", kProgressive},
    {RecordKind::Progressive2, "progressiva chilometrica due", "Progressive definition 2",
     "The second kilometric progressive definition (letters compared exactly).", kProgressive},
    {RecordKind::Progressive1, "progressiva chilometrica uno", "Progressive definition 1",
     "The first kilometric progressive definition (letters compared exactly).", kProgressive},
    {RecordKind::Background1, "sfondo uno", "Background 1",
     "A background value, stored as read in scenario slot 85.", kBackground},
    {RecordKind::Background2, "sfondo due", "Background 2",
     "A background value, stored as read in scenario slot 85.", kBackground},
    {RecordKind::Background3, "sfondo tre", "Background 3",
     "A background value, stored as read in scenario slot 85.", kBackground},
    {RecordKind::SignalRepetition, "ripetizione segnali 4 codici", "Signal repetition",
     "The stretch with continuous signal repetition; the keyword names 4 or 9 codes.", kSignalRepetition},
    {RecordKind::Gradient, "pendenza", "Gradient",
     "The gradient from the position up to the next gradient row.", kGradient},
    {RecordKind::Curve, "curvad5", "Curve",
     "A curve: the keyword carries the hand (curvas left, curvad right) and the class 1 to 6.", kCurve},
    {RecordKind::Montagna, "montagna", "Montagna stretch",
     "A stretch of scenery, with markers for a type above 10.", kMontagna},
    {RecordKind::SpeedBoard, "indicatori_vmax", "Speed board",
     "A speed indicator board showing three speeds.", kSpeedBoard},
    {RecordKind::IndicationBoard, "cartello_indicatore", "Indication board",
     "A board with a caption.", kIndicationBoard},
    {RecordKind::BrakedMass, "percentuale massa frenata", "Braked mass",
     "The train's braked-mass percentage.", kBrakedMass},
    {RecordKind::Cars, "numero vetture", "Cars", "The number of cars of the train.", kCars},
    {RecordKind::SpeedLimit, "velocita", "Speed limit",
     "The train's speed limit from the position to the next speed-limit row.", kSpeedLimit},
    {RecordKind::Adhesion, "aderenza", "Adhesion",
     "The adhesion from the position to the next adhesion row.", kAdhesion},
    {RecordKind::Clock, "orologio", "Clock",
     "The time of day the simulation starts; the numbers may stand apart by blanks alone.", kClock},
    {RecordKind::Sand, "sabbia", "Sand", "The train's sand supply.", kSand},
    {RecordKind::Signal, "segnale", "Signal", "A signal with its aspects and approach codes.",
     kSignal},
    {RecordKind::SlowDown, "rallentamento", "Slow-down",
     "A slow-down with its warning cell 1200 m before the start.", kSlowDown},
    {RecordKind::Abbattimento, "abbattimento", "Abbattimento mark",
     "An abbattimento mark one cell before the cell a signal at the same position takes.", kAbbattimento},
    {RecordKind::Station, "stazione", "Station",
     "A station with its type, length and scheduled time; the name ends the row.", kStation},
};

constexpr CurveClass kCurveClasses[] = {
    {1, "0.0001", "10000 m"}, {2, "0.0002", "5000 m"}, {3, "0.0004", "2500 m"},
    {4, "0.001", "1000 m"},   {5, "0.002", "500 m"},   {6, "0.003", "333 m"},
};

}  // namespace

std::span<const RecordReference> record_references() { return kRecords; }

const RecordReference& record_reference(RecordKind kind) {
    for (const RecordReference& r : kRecords) {
        if (r.kind == kind) return r;
    }
    return kRecords[0];  // every kind is in the table; the test of the table holds it so
}

std::span<const CurveClass> curve_classes() { return kCurveClasses; }

std::string reference_text(std::string_view text) {
    const std::pair<std::string_view, int32_t> values[] = {{"{cell}", kCellMetres}, {"{half_cell}", kCellMetres / 2}};
    std::string out(text);
    for (const auto& [name, value] : values) {
        for (size_t at = out.find(name); at != std::string::npos; at = out.find(name, at))
            out.replace(at, name.size(), std::to_string(value));
    }
    return out;
}
