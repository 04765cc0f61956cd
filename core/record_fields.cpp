// The words of the record field table: widths, units and the notes with the
// format's numbers written in.
#include "core/record_fields.h"

#include <charconv>
#include <cmath>
#include <utility>

namespace {

// The format's numbers a note, or any text for authors, may name, by name.
const std::pair<std::string_view, int64_t> kFormatNumbers[] = {
    {"{cell}", kCellMetres},
    {"{half_cell}", kCellMetres / 2},
    {"{run_on}", kRunOnMetres},
    {"{speed_step}", kSpeedStepKmh},
    {"{lowest_gradient}", -kGradientOffset},
    {"{highest_gradient}", UINT8_MAX - kGradientOffset},
    {"{curve_classes}", kCurveClassCount},
    {"{marker_types}", kMontagnaMarkerTypes},
    {"{background_slot}", kBackgroundSlot},
    {"{shortest_time_code}", kShortestTimeCode},
    {"{below_time_code}", kShortestTimeCode - 1},
    {"{warning_distance}", kWarningDistance},
    {"{types_without_stop}", kStationTypesWithoutStop},
    {"{longest_route}", kLongestRoute},
    {"{highest_board_speed}", kHighestBoardSpeedKmh},
    {"{highest_board_value}", INT16_MAX},
    {"{board_speed_factor}", kBoardSpeedFactor},
    {"{board_speed_too_high}", kHighestBoardSpeedKmh + 1},
    {"{highest_speed_limit}", kHighestSpeedLimitKmh},
    {"{speed_limit_too_high}", kHighestSpeedLimitKmh + 1},
    {"{first_board_slot}", kFirstBoardSlot},
    {"{most_boards}", kMostIndicationBoards},
    {"{most_stretches}", kMostMontagnaStretches},
    {"{most_stations}", kMostStations},
};

void replace_all(std::string& text, std::string_view name, int64_t value) {
    const std::string number = std::to_string(value);
    for (size_t at = text.find(name); at != std::string::npos; at = text.find(name, at + number.size()))
        text.replace(at, name.size(), number);
}

}  // namespace

std::string_view width_text(FieldWidth width) {
    switch (width) {
        case FieldWidth::Text: return "text";
        case FieldWidth::Bits32: return "32-bit";
        case FieldWidth::Bits16: return "16-bit";
        case FieldWidth::Bits8: return "8-bit";
    }
    return "";
}

std::string_view unit_text(FieldUnit unit) {
    switch (unit) {
        case FieldUnit::None: return "";
        case FieldUnit::Metres: return "m";
        case FieldUnit::Kmh: return "km/h";
        case FieldUnit::PerMille: return "per mille";
        case FieldUnit::Percent: return "percent";
        case FieldUnit::Count: return "count";
        case FieldUnit::Code: return "code";
        case FieldUnit::Switch: return "switch";
        case FieldUnit::Hours: return "h";
        case FieldUnit::Minutes: return "min";
        case FieldUnit::Seconds: return "s";
    }
    return "";
}

std::string format_text(std::string_view text) {
    std::string out(text);
    for (const auto& [name, value] : kFormatNumbers) replace_all(out, name, value);
    return out;
}

std::string field_note(const RecordField& field) {
    std::string out(field.note);
    const FieldLimit& limit = field.limit;
    if (limit.lowest != -FieldLimit::kUnbounded) replace_all(out, "{lowest}", limit.lowest);
    if (limit.highest != FieldLimit::kUnbounded) replace_all(out, "{highest}", limit.highest);
    if (limit.reach != 0) replace_all(out, "{reach}", limit.reach);
    if (limit.step != 0) replace_all(out, "{multiple}", limit.step);
    return format_text(out);
}

std::string turn_rate_text(int curveClass) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, kCurveTurnRates[curveClass], std::chars_format::fixed).ptr;
    return std::string(text, end);
}

int64_t curve_radius(int curveClass) { return std::lround(1.0 / kCurveTurnRates[curveClass]); }
