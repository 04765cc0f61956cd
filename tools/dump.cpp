#include "tools/dump.h"

#include <cstdio>
#include <nlohmann/json.hpp>
#include <utility>

#include "tools/text_encoding.h"

namespace {

using Fields = std::vector<std::pair<std::string, nlohmann::json>>;

bool is_reset(const ScenarioSlot& s) {
    return s.tag == 0 && s.long1 == 0 && s.long2 == 0 && s.long3 == 0 && s.flag == 0 && s.label.empty() &&
           s.int1 == 0 && s.int2 == 0 && s.int3 == 0 && s.int4 == 0 && s.int5 == 0 && s.byte1 == 0 &&
           s.byte2 == 0 && s.byte3 == 0 && s.byte4 == 0 && s.long4 == 0;
}

// Every row of a dump is a list of named values; the three formats lay them out.
class Table {
public:
    Table(std::ostream& out, DumpFormat format) : out_(out), format_(format) {}
    void row(const Fields& fields) {
        if (format_ == DumpFormat::Json) {
            nlohmann::json object = nlohmann::json::object();
            for (const auto& [name, value] : fields) object[name] = value;
            rows_.push_back(std::move(object));
        } else if (format_ == DumpFormat::Csv) {
            if (!headerDone_) {
                line(fields, true);
                headerDone_ = true;
            }
            line(fields, false);
        } else {
            std::string text;
            for (const auto& [name, value] : fields) {
                if (!text.empty()) text += "  ";
                text += name + "=" + plain(value);
            }
            out_ << text << '\n';
        }
    }
    void finish() {
        if (format_ == DumpFormat::Json) out_ << rows_.dump(2) << '\n';
    }

private:
    static std::string plain(const nlohmann::json& v) {
        if (v.is_string()) return v.get<std::string>();
        if (v.is_number_float()) {
            char buffer[40];
            std::snprintf(buffer, sizeof buffer, "%.17g", v.get<double>());
            return buffer;
        }
        return v.dump();
    }
    void line(const Fields& fields, bool header) {
        std::string text;
        for (size_t i = 0; i < fields.size(); ++i) {
            if (i) text += ',';
            std::string cell = header ? fields[i].first : plain(fields[i].second);
            if (cell.find_first_of(",\"\n") != std::string::npos) {
                std::string quoted = "\"";
                for (char c : cell) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
                cell = quoted + "\"";
            }
            text += cell;
        }
        out_ << text << '\n';
    }
    std::ostream& out_;
    DumpFormat format_;
    bool headerDone_ = false;
    nlohmann::json rows_ = nlohmann::json::array();
};

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

Fields station_fields(const ScenarioSlot& s) {
    return {{"name", cp1252_to_utf8(s.label)}, {"position_m", s.long3}, {"type", s.tag},
            {"extent_start_m", s.long1}, {"extent_end_m", s.long2}, {"scheduled_s", s.long4},
            {"flag", s.flag}, {"int1", s.int1}, {"int2", s.int2}, {"int3", s.int3}, {"int4", s.int4},
            {"int5", s.int5}, {"byte1", s.byte1}, {"byte2", s.byte2}, {"byte3", s.byte3}, {"byte4", s.byte4}};
}

}  // namespace

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
    if (is_reset(s)) return "unused";
    if (slot == 0) return "unexpected";
    // A caption slot carries its label only; a station always has numbers.
    ScenarioSlot numbersOnly = s;
    numbersOnly.label.clear();
    return is_reset(numbersOnly) ? "board caption" : "station";
}

void dump_grid(std::ostream& out, const std::vector<TrackCell>& cells, bool all, DumpFormat format) {
    Table table(out, format);
    for (size_t i = 0; i < cells.size(); ++i) {
        const TrackCell& c = cells[i];
        if (!all && c.kind == kEmpty) continue;
        table.row({{"cell", i}, {"position_m", cell_position(static_cast<int64_t>(i))}, {"kind", cell_kind_name(c.kind)},
                   {"value1", c.value1}, {"value2", c.value2}, {"value3", c.value3}, {"value4", c.value4},
                   {"time_code", c.timeCode}, {"approach_code", c.approachCode}, {"scenery", c.scenery},
                   {"speed_kmh", c.aux1 * 5}, {"gradient_permille", c.aux2 - 100}, {"adhesion_percent", c.aux3}});
    }
    table.finish();
}

void dump_scenario(std::ostream& out, const ScenarioTable& scenario, bool all, DumpFormat format) {
    if (format == DumpFormat::Csv) {
        // One column set for every slot, so that the CSV stays rectangular.
        Table table(out, format);
        for (int i = 0; i < kScenarioSlots; ++i) {
            const ScenarioSlot& s = scenario[static_cast<size_t>(i)];
            if (!all && is_reset(s)) continue;
            table.row({{"slot", i}, {"role", slot_role(scenario, i)}, {"label", cp1252_to_utf8(s.label)},
                       {"tag", s.tag}, {"long1", s.long1}, {"long2", s.long2}, {"long3", s.long3},
                       {"flag", s.flag}, {"int1", s.int1}, {"int2", s.int2}, {"int3", s.int3}, {"int4", s.int4},
                       {"int5", s.int5}, {"byte1", s.byte1}, {"byte2", s.byte2}, {"byte3", s.byte3},
                       {"byte4", s.byte4}, {"long4", s.long4}});
        }
        table.finish();
        return;
    }
    Table table(out, format);
    for (int i = 0; i < kScenarioSlots; ++i) {
        const ScenarioSlot& s = scenario[static_cast<size_t>(i)];
        if (!all && is_reset(s)) continue;
        std::string role = slot_role(scenario, i);
        Fields fields = {{"slot", i}, {"role", role}};
        Fields more;
        if (i >= kSlotProgressive3) more = header_fields(s, i);
        else if (role == "station") more = station_fields(s);
        else if (role == "board caption") more = {{"caption", cp1252_to_utf8(s.label)}};
        fields.insert(fields.end(), more.begin(), more.end());
        table.row(fields);
    }
    table.finish();
}

void dump_line_table(std::ostream& out, const LineTable& line, bool all, DumpFormat format) {
    Table table(out, format);
    const int32_t last = line.last_column();
    const int32_t step = all ? 1 : 100;
    for (int64_t m = 0; m <= last; m += step) {
        auto entry = [&](int row) -> nlohmann::json {
            if (line.type(m, row) == LineTable::kEmpty) return nullptr;
            return line.value(m, row);
        };
        table.row({{"metre", m}, {"x", entry(0)}, {"y", entry(1)}});
    }
    table.finish();
}
