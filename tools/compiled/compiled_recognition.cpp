#include "tools/compiled/compiled_recognition.h"

#include <cstdint>
#include <new>

#include "core/form1.h"
#include "core/format.h"
#include "core/rounding.h"
#include "tools/common/text_encoding.h"
#include "tools/compiled/compiled_files.h"

namespace {

using std::to_string;

// The check codes that the compile pass stamps for the names a scenario
// carries, worked out by the compiler's own functions.
struct CheckCodes {
    int32_t weighted;  // the route header's long4
    int16_t plain;     // cell 1's value2
};

CheckCodes check_codes_of(const ScenarioTable& table) {
    Form1 form("");
    form.scenario[kSlotRoute].label = table[kSlotRoute].label;
    form.scenario[kSlotTrain].label = table[kSlotTrain].label;
    return {form.codice_gara_st(), low16(form.codice_gara_og())};
}

std::string names_of(const ScenarioTable& table) {
    return "route \"" + cp1252_to_utf8(table[kSlotRoute].label) + "\", train \"" +
           cp1252_to_utf8(table[kSlotTrain].label) + "\"";
}

bool written_kind(uint8_t kind) {
    switch (kind) {
        case kEmpty:
        case kSignal:
        case kSlowDownEnd:
        case kSlowDownStart:
        case kSlowDownWarning:
        case kWarningApproach:
        case kSpeedBoard:
        case kStationStop:
        case kMontagnaMarker:
        case kAbbattimento:
        case kOpenAbbattimento:
        case kSign: return true;
        default: return false;
    }
}

// The line table as the line description reader leaves it: the start seeded
// as the 16-bit points (0, 0) and (0, 1), then floating-point points computed
// metre by metre from metre 2 on, then nothing; or nothing at all when the
// reading stopped before the start was seeded. x and y always alike.
void recognise_line(const LineTable& table) {
    const int64_t last = table.last_column();
    if (last < kRunOnMetres || last > int64_t{kLongestRoute} + kRunOnMetres)
        throw DecodeError("the line ends at metre " + to_string(last) + ", where a compiled line ends " +
                          to_string(kRunOnMetres) + " m after a route of 0 to " + to_string(kLongestRoute) + " m");
    const bool seeded = table.type(0, 0) != LineTable::kEmpty;
    const auto at = [&](int64_t m, int row) { return table.value(m, row); };
    const bool start = seeded ? table.type(0, 0) == LineTable::kInt16 && table.type(1, 0) == LineTable::kInt16 &&
                                    table.type(0, 1) == LineTable::kInt16 && table.type(1, 1) == LineTable::kInt16 &&
                                    at(0, 0) == 0 && at(0, 1) == 0 && at(1, 0) == 0 && at(1, 1) == 1
                              : table.type(1, 0) == LineTable::kEmpty && table.type(0, 1) == LineTable::kEmpty &&
                                    table.type(1, 1) == LineTable::kEmpty;
    if (!start)
        throw DecodeError("metres 0 and 1 are not the points (0, 0) and (0, 1) that every compiled line starts with");
    int64_t firstEmpty = seeded ? -1 : 0;
    for (int64_t m = 2; m <= last; ++m) {
        const uint16_t type = table.type(m, 0);
        if (type != table.type(m, 1))
            throw DecodeError("the x and the y of metre " + to_string(m) + " are not of one type");
        if (type == LineTable::kInt16)
            throw DecodeError("metre " + to_string(m) +
                              " holds a 16-bit whole number, where a compiled line holds a floating-point one");
        if (type == LineTable::kEmpty) {
            if (firstEmpty < 0) firstEmpty = m;
        } else if (firstEmpty >= 0) {
            throw DecodeError("metre " + to_string(m) + " holds a point after the empty metre " +
                              to_string(firstEmpty) + ", where a compiled line is computed metre by metre");
        }
    }
}

}  // namespace

std::vector<TrackCell> read_grid_file(std::string_view bytes) {
    std::vector<TrackCell> cells = decode_grid(bytes);
    const auto fewest = static_cast<size_t>(grid_upper_bound(0)) + 1;
    const auto most = static_cast<size_t>(grid_upper_bound(kLongestRoute)) + 1;
    if (cells.size() < fewest || cells.size() > most)
        throw DecodeError(to_string(cells.size()) + " cells, where a compiled grid has " + to_string(fewest) + " to " +
                          to_string(most) + " (a route of 0 to " + to_string(kLongestRoute) + " m)");
    const TrackCell& marked = cells[static_cast<size_t>(kMarkerCell)];
    if (marked.value1 != kGridMarker)
        throw DecodeError("cell " + to_string(kMarkerCell) + " holds " + to_string(marked.value1) +
                          " where a compiled grid holds the marker " + to_string(kGridMarker));
    for (size_t i = 0; i < cells.size(); ++i) {
        if (!written_kind(cells[i].kind))
            throw DecodeError("cell " + to_string(i) + " has kind " + to_string(cells[i].kind) +
                              ", which the compiler never writes");
    }
    return cells;
}

ScenarioTable read_scenario_file(std::string_view bytes) {
    ScenarioTable table = decode_scenario(bytes);
    const ScenarioSlot& route = table[kSlotRoute];
    if (route.int1 != kRouteMarker)
        throw DecodeError("the route header (slot " + to_string(kSlotRoute) + ") holds " + to_string(route.int1) +
                          " where a compiled scenario holds the marker " + to_string(kRouteMarker));
    const int32_t weighted = check_codes_of(table).weighted;
    if (route.long4 != weighted)
        throw DecodeError("the route header's check code is " + to_string(route.long4) +
                          ", but the names it carries, " + names_of(table) + ", give " + to_string(weighted));
    return table;
}

LineTable read_line_data_file(std::string_view bytes) {
    LineTable table = decode_line_table(bytes);
    recognise_line(table);
    return table;
}

std::string compiled_kind_of(std::string_view bytes) {
    const auto is = [&](auto read) {
        try {
            read(bytes);
            return true;
        } catch (const DecodeError&) {
            return false;
        } catch (const std::bad_alloc&) {
            return false;
        }
    };
    if (is(read_grid_file)) return "grid";
    if (is(read_scenario_file)) return "scenario";
    if (is(read_line_data_file)) return "line";
    return "";
}

std::string check_code_mismatch(const std::vector<TrackCell>& grid, const ScenarioTable& table) {
    const int16_t plain = check_codes_of(table).plain;
    const auto cell = static_cast<size_t>(kMarkerCell);
    const int16_t stamped = grid.size() > cell ? grid[cell].value2 : 0;
    if (stamped == plain) return "";
    return "cell " + to_string(kMarkerCell) + " holds the check code " + to_string(stamped) + ", but the " +
           names_of(table) + " of the scenario file give " + to_string(plain) + ": the two are not of one compile";
}
