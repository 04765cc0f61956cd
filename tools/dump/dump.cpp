#include "tools/dump/dump.h"

#include <algorithm>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <utility>

#include "core/rounding.h"
#include "tools/common/text_encoding.h"
#include "tools/compiled/compiled_names.h"

namespace {

using Json = nlohmann::ordered_json;
using Fields = std::vector<std::pair<std::string, Json>>;

// Every row of a dump is a list of named values taken from one set of column
// names; the three formats lay them out. The columns of a dump are those of
// the set that some row has, in the set's order. A table whose rows all have
// every column is written as it goes; any other is held until `finish`, when
// its columns are known.
class Table {
public:
    Table(std::ostream& out, DumpFormat format, std::vector<std::string> columns, bool everyRowComplete)
        : out_(out), format_(format), columns_(std::move(columns)), streaming_(everyRowComplete) {
        if (streaming_) used_.assign(columns_.size(), true);
        else used_.assign(columns_.size(), false);
    }
    void row(const Fields& fields) {
        std::vector<const Json*> values(columns_.size(), nullptr);
        for (const auto& [name, value] : fields) {
            const auto at = std::find(columns_.begin(), columns_.end(), name) - columns_.begin();
            values[static_cast<size_t>(at)] = &value;  // every name is one of the columns
            used_[static_cast<size_t>(at)] = true;
        }
        if (streaming_) {
            write(values);
            return;
        }
        std::vector<Json> kept;
        std::vector<bool> present;
        for (const Json* v : values) {
            kept.push_back(v ? *v : Json());
            present.push_back(v != nullptr);
        }
        held_.push_back({std::move(kept), std::move(present)});
    }
    void finish() {
        for (const auto& [kept, present] : held_) {
            std::vector<const Json*> values;
            for (size_t i = 0; i < kept.size(); ++i) values.push_back(present[i] ? &kept[i] : nullptr);
            write(values);
        }
        if (format_ == DumpFormat::Json) out_ << (rows_ == 0 ? "[]" : "\n]") << '\n';
        if (format_ == DumpFormat::Csv && rows_ == 0) out_ << csv_line(header()) << '\n';
    }

private:
    static std::string plain(const Json& v) {
        if (v.is_string()) return v.get<std::string>();
        if (v.is_number_float()) {
            char buffer[40];
            std::snprintf(buffer, sizeof buffer, "%.17g", v.get<double>());
            return buffer;
        }
        return v.dump();
    }
    static std::string csv_line(const std::vector<std::string>& cells) {
        std::string text;
        for (size_t i = 0; i < cells.size(); ++i) {
            if (i) text += ',';
            std::string cell = cells[i];
            if (cell.find_first_of(",\"\r\n") != std::string::npos) {
                std::string quoted = "\"";
                for (char c : cell) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
                cell = quoted + "\"";
            }
            text += cell;
        }
        return text;
    }
    std::vector<std::string> header() const {
        std::vector<std::string> names;
        for (size_t i = 0; i < columns_.size(); ++i) {
            if (used_[i]) names.push_back(columns_[i]);
        }
        return names;
    }
    void write(const std::vector<const Json*>& values) {
        if (format_ == DumpFormat::Json) {
            Json object = Json::object();
            for (size_t i = 0; i < values.size(); ++i) {
                if (values[i]) object[columns_[i]] = *values[i];
            }
            std::string text = object.dump(2);
            std::string indented = "  ";
            for (char c : text) indented += c == '\n' ? std::string("\n  ") : std::string(1, c);
            out_ << (rows_ == 0 ? "[\n" : ",\n") << indented;
        } else if (format_ == DumpFormat::Csv) {
            if (rows_ == 0) out_ << csv_line(header()) << '\n';
            std::vector<std::string> cells;
            for (size_t i = 0; i < values.size(); ++i) {
                if (used_[i]) cells.push_back(values[i] ? plain(*values[i]) : "");
            }
            out_ << csv_line(cells) << '\n';
        } else {
            std::string text;
            for (size_t i = 0; i < values.size(); ++i) {
                if (!values[i]) continue;
                if (!text.empty()) text += "  ";
                text += columns_[i] + "=" + plain(*values[i]);
            }
            out_ << text << '\n';
        }
        ++rows_;
    }

    std::ostream& out_;
    DumpFormat format_;
    std::vector<std::string> columns_;
    std::vector<bool> used_;
    bool streaming_;
    std::vector<std::pair<std::vector<Json>, std::vector<bool>>> held_;
    size_t rows_ = 0;
};

// --- grid ----------------------------------------------------------------

// The columns of the grid dump. A feature sits in the cell of its position,
// round(x / 50 + 1), so "at_m" is the point the cell stands for (features up
// to 25 m either side land there); the profile values are filled per 50 m
// span from round(x / 50), so a cell carries those of "span_from_m" to
// "span_to_m", 50 m further on.
const std::vector<std::string> kGridColumns = {
    "cell", "at_m", "kind",
    // signal: the values of its row, as the placement encoded them
    "sx", "s1", "s2", "s3", "rapp", "dx", "d1", "d2", "d3", "tempo",
    // speed board: the values of its row
    "vas", "vbs", "vcs", "strisces", "vad", "vbd", "vcd", "strisced",
    // slow-down cells
    "slowdown_kmh", "d_v", "f_tt", "warning_step", "d_v_step",
    // station stop, abbattimento, indication board
    "station_slot", "abbattimento_value", "caption_slot",
    // raw fields
    "value1", "value2", "value3", "value4", "timeCode", "approachCode", "scenery", "aux1", "aux2", "aux3",
    // what every cell carries
    "approach_code", "span_from_m", "span_to_m", "speed_kmh", "gradient_permille", "adhesion_percent",
    "montagna_type"};

// A signal cell holds value1 = s1 x 10 + d1 (likewise value2, value3) and
// value4 = rapp x 10 + sx x 3 + dx; read back as digits, with dx below 3.
Fields signal_fields(const TrackCell& c) {
    const int q = c.value4 % 10;
    return {{"sx", q / 3}, {"s1", c.value1 / 10}, {"s2", c.value2 / 10}, {"s3", c.value3 / 10},
            {"rapp", c.value4 / 10}, {"dx", q % 3}, {"d1", c.value1 % 10}, {"d2", c.value2 % 10},
            {"d3", c.value3 % 10}, {"tempo", c.timeCode}};
}

// A speed board holds value1 = vas x 20 + vad / 5 (likewise b and c) and
// value4 = strisces x 10 + strisced.
Fields speed_board_fields(const TrackCell& c) {
    return {{"vas", c.value1 / 20}, {"vbs", c.value2 / 20}, {"vcs", c.value3 / 20}, {"strisces", c.value4 / 10},
            {"vad", c.value1 % 20 * kSpeedStepKmh}, {"vbd", c.value2 % 20 * kSpeedStepKmh}, {"vcd", c.value3 % 20 * kSpeedStepKmh},
            {"strisced", c.value4 % 10}};
}

Fields feature_fields(const TrackCell& c) {
    switch (c.kind) {
        case kSignal: return signal_fields(c);
        case kSpeedBoard: return speed_board_fields(c);
        case kSlowDownEnd:
        case kSlowDownStart: return {{"slowdown_kmh", c.value1}, {"d_v", c.value2}, {"f_tt", c.value3}};
        case kSlowDownWarning: return {{"slowdown_kmh", c.value1}, {"d_v", c.value2}};
        // value2 repeats the step when the slow-down has a d_v, else stays 0
        case kWarningApproach: return {{"warning_step", c.value1}, {"d_v_step", c.value2}};
        case kStationStop: return {{"station_slot", c.value1}};
        case kAbbattimento: return {{"abbattimento_value", c.value1}};
        case kSign: return {{"caption_slot", c.value1}};
        default: return {};
    }
}

// --- scenario ------------------------------------------------------------

const std::vector<std::string> kScenarioColumns = {
    "slot", "role",
    // station: its row's numbers by name or by their place in the row
    "name", "position_m", "type", "extent_from_m", "extent_to_m", "scheduled", "number_4", "number_5", "number_6",
    "number_7", "number_8", "number_9", "number_10", "number_11", "number_12", "number_13",
    // indication board
    "caption",
    // header slots
    "progressive_first", "progressive_second", "progressive_third", "braked_mass_percent", "route_length_m",
    "cars", "route", "background_1", "background_3", "background_2", "marker", "check_code", "train",
    "repetition_start_m", "repetition_end_m", "repetition_codes", "sand", "clock_hours", "clock_minutes",
    "clock_seconds",
    // raw fields
    "label", "tag", "long1", "long2", "long3", "flag", "int1", "int2", "int3", "int4", "int5", "byte1", "byte2",
    "byte3", "byte4", "long4"};

Fields header_fields(const ScenarioSlot& s, int slot) {
    switch (slot) {
        case kSlotProgressive3:
        case kSlotProgressive2:
        case kSlotProgressive1:
            return {{"progressive_first", s.long1}, {"progressive_second", s.long2}, {"progressive_third", s.long3}};
        case kSlotGeneral:
            return {{"braked_mass_percent", s.long1}, {"route_length_m", s.long2}, {"cars", s.long3}};
        case kSlotRoute:
            return {{"route", cp1252_to_utf8(s.label)}, {"background_1", s.long1}, {"background_3", s.long2},
                    {"background_2", s.long3}, {"marker", s.int1}, {"check_code", s.long4}};
        default:
            return {{"train", cp1252_to_utf8(s.label)}, {"repetition_start_m", s.long1},
                    {"repetition_end_m", s.long2}, {"repetition_codes", s.long3}, {"sand", s.int1},
                    {"clock_hours", s.int3}, {"clock_minutes", s.int4}, {"clock_seconds", s.int5}};
    }
}

// Seconds after midnight as h:mm:ss.
std::string time_of_day(int32_t seconds) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%d:%02d:%02d", seconds / 3600, seconds / 60 % 60, seconds % 60);
    return buffer;
}

// The station row's numbers 4 to 13 as stored (5 and 6 cleared where the
// reader clears them); 6 is the flag that lengthens the station by 50 m.
Fields station_fields(const ScenarioSlot& s) {
    Fields fields = {{"name", cp1252_to_utf8(s.label)}, {"position_m", s.long3}, {"type", s.tag},
                     {"extent_from_m", s.long1}, {"extent_to_m", s.long2}};
    if (s.long4 != 0) fields.push_back({"scheduled", time_of_day(s.long4)});
    Fields numbers = {{"number_4", s.flag},  {"number_5", s.byte4},  {"number_6", s.byte3},  {"number_7", s.int1},
                      {"number_8", s.int2},  {"number_9", s.byte1},  {"number_10", s.int3}, {"number_11", s.int4},
                      {"number_12", s.int5}, {"number_13", s.byte2}};
    fields.insert(fields.end(), numbers.begin(), numbers.end());
    return fields;
}

Fields raw_slot_fields(const ScenarioSlot& s) {
    return {{"label", cp1252_to_utf8(s.label)}, {"tag", s.tag}, {"long1", s.long1}, {"long2", s.long2},
            {"long3", s.long3}, {"flag", s.flag}, {"int1", s.int1}, {"int2", s.int2}, {"int3", s.int3},
            {"int4", s.int4}, {"int5", s.int5}, {"byte1", s.byte1}, {"byte2", s.byte2}, {"byte3", s.byte3},
            {"byte4", s.byte4}, {"long4", s.long4}};
}

}  // namespace

void dump_grid(std::ostream& out, const std::vector<TrackCell>& cells, bool all, bool raw, DumpFormat format) {
    Table table(out, format, kGridColumns, false);
    for (size_t i = 0; i < cells.size(); ++i) {
        const TrackCell& c = cells[i];
        if (!all && c.kind == kEmpty) continue;
        const auto cell = static_cast<int64_t>(i);
        Fields fields = {{"cell", cell}, {"at_m", cell_position(cell)}, {"kind", cell_kind_name(c.kind)}};
        Fields more;
        if (raw) {
            more = {{"value1", c.value1},   {"value2", c.value2},   {"value3", c.value3},
                    {"value4", c.value4},   {"timeCode", c.timeCode}, {"approachCode", c.approachCode},
                    {"scenery", c.scenery}, {"aux1", c.aux1},       {"aux2", c.aux2},
                    {"aux3", c.aux3}};
        } else {
            more = feature_fields(c);
            Fields everyCell = {{"approach_code", c.approachCode}, {"span_from_m", profile_cell_start(cell)},
                                {"span_to_m", profile_cell_start(cell + 1)},     {"speed_kmh", speed_of_step(c.aux1)},
                                {"gradient_permille", gradient_of_byte(c.aux2)}, {"adhesion_percent", c.aux3},
                                {"montagna_type", c.scenery}};
            more.insert(more.end(), everyCell.begin(), everyCell.end());
        }
        fields.insert(fields.end(), more.begin(), more.end());
        table.row(fields);
    }
    table.finish();
}

void dump_scenario(std::ostream& out, const ScenarioTable& scenario, bool all, bool raw, DumpFormat format) {
    Table table(out, format, kScenarioColumns, false);
    for (int i = 0; i < kScenarioSlots; ++i) {
        const ScenarioSlot& s = scenario[static_cast<size_t>(i)];
        if (!all && slot_is_reset(s)) continue;
        std::string role = slot_role(scenario, i);
        Fields fields = {{"slot", i}, {"role", role}};
        Fields more;
        if (raw) more = raw_slot_fields(s);
        else if (i >= kSlotProgressive3) more = header_fields(s, i);
        else if (role == "station") more = station_fields(s);
        else if (role == "board caption") more = {{"caption", cp1252_to_utf8(s.label)}};
        fields.insert(fields.end(), more.begin(), more.end());
        table.row(fields);
    }
    table.finish();
}

void dump_line_table(std::ostream& out, const LineTable& line, bool all, DumpFormat format) {
    Table table(out, format, {"metre", "x", "y"}, true);
    const int32_t last = line.last_column();
    const int32_t step = all ? 1 : 100;
    for (int64_t m = 0; m <= last; m += step) {
        // The walk computes both coordinates of a metre or neither.
        if (line.type(m, 0) == LineTable::kEmpty || line.type(m, 1) == LineTable::kEmpty) continue;
        table.row({{"metre", m}, {"x", line.value(m, 0)}, {"y", line.value(m, 1)}});
    }
    table.finish();
}
