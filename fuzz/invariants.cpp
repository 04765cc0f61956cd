// Checks of the state the compiler leaves, shared by the fuzz targets and the
// replay of their corpus in the normal test suite.
#include "fuzz/invariants.h"

#include <algorithm>
#include <filesystem>
#include <string>

#include "platform/platform.h"
#include "tools/compiled/compiled_files.h"
#include "tools/compiled/compiled_recognition.h"

namespace {

bool kind_is_produced(int kind) { return (kind >= 0 && kind <= 6) || (kind >= 10 && kind <= 14); }

// The numeric fields of a slot that are not zero, by name.
std::vector<std::string> numeric_fields_set(const ScenarioSlot& s) {
    std::vector<std::string> set;
    auto add = [&](const char* name, long long v) {
        if (v != 0) set.emplace_back(name);
    };
    add("tag", s.tag);
    add("long1", s.long1);
    add("long2", s.long2);
    add("long3", s.long3);
    add("flag", s.flag);
    add("int1", s.int1);
    add("int2", s.int2);
    add("int3", s.int3);
    add("int4", s.int4);
    add("int5", s.int5);
    add("byte1", s.byte1);
    add("byte2", s.byte2);
    add("byte3", s.byte3);
    add("byte4", s.byte4);
    add("long4", s.long4);
    return set;
}

bool is_reset(const ScenarioSlot& s) { return numeric_fields_set(s).empty() && s.label.empty(); }

void check_slot(std::vector<std::string>& out, const ScenarioSlot& slot, int index,
                std::initializer_list<const char*> writable, const std::string* label) {
    for (const std::string& field : numeric_fields_set(slot)) {
        if (std::find(writable.begin(), writable.end(), field) == writable.end())
            out.push_back("slot " + std::to_string(index) + " field " + field + " was written");
    }
    if (label == nullptr && !slot.label.empty())
        out.push_back("slot " + std::to_string(index) + " has a label");
    if (label != nullptr && slot.label != *label)
        out.push_back("slot " + std::to_string(index) + " label is '" + slot.label + "', not '" + *label + "'");
}

void check_grid(std::vector<std::string>& out, const Form1& form) {
    const ScenarioSlot& general = form.scenario[kSlotGeneral];
    const int32_t length = general.long2;
    const bool lengthRefused = form.errorCode == kRouteTooLong || form.errorCode == kNegativeRouteLength;
    if (form.errorCode == kRouteTooLong && length <= 1000000) out.push_back("code 1 for a route length of " + std::to_string(length));
    if (form.errorCode == kNegativeRouteLength && length >= 0) out.push_back("code 212 for a route length of " + std::to_string(length));
    if (!form.grid.sized()) {
        if (!form.grid.cells().empty()) out.push_back("an unsized grid holds cells");
        return;
    }
    const int32_t upper = static_cast<int32_t>(form.grid.cells().size()) - 1;
    if (!lengthRefused && upper != grid_upper_bound(length))
        out.push_back("grid upper bound " + std::to_string(upper) + " for route length " + std::to_string(length));
    if (form.j != 0 && !lengthRefused) {
        if (!form.line.exists()) {
            out.push_back("a sized grid but no line table");
        } else if (form.line.last_column() != length + 7000) {
            out.push_back("line table last column " + std::to_string(form.line.last_column()) + " for route length " +
                          std::to_string(length));
        }
    }
    for (size_t i = 0; i < form.grid.cells().size(); ++i) {
        const TrackCell& c = form.grid.cells()[i];
        const std::string where = "cell " + std::to_string(i);
        if (!kind_is_produced(c.kind)) {
            out.push_back(where + " has kind " + std::to_string(c.kind));
        } else if (c.kind == kSign && (c.value1 <= form.boardSlot || c.value1 > kFirstBoardSlot)) {
            out.push_back(where + " is a sign for slot " + std::to_string(c.value1));
        } else if (c.kind == kStationStop && (c.value1 < 1 || c.value1 >= kFirstBoardSlot ||
                                              is_reset(form.scenario[static_cast<size_t>(c.value1)]))) {
            out.push_back(where + " is a station stop for slot " + std::to_string(c.value1));
        } else if (c.kind == kWarningApproach && (c.value1 < 1 || c.value1 > 4)) {
            out.push_back(where + " is a warning approach cell counting " + std::to_string(c.value1));
        }
    }
}

void check_table(std::vector<std::string>& out, const Form1& form) {
    if (form.boardSlot < 0 || form.boardSlot > kFirstBoardSlot)
        out.push_back("board slot counter " + std::to_string(form.boardSlot));
    if (form.montagnaCount < 0 || form.montagnaCount > Form1::kMontagnaEntries - 1)
        out.push_back("montagna stretch count " + std::to_string(form.montagnaCount));
    check_slot(out, form.scenario[0], 0, {}, nullptr);
    // Stations fill the slots from 1 up without a gap.
    bool gap = false;
    for (int s = 1; s <= std::min(form.boardSlot, kFirstBoardSlot - 1); ++s) {
        const bool reset = is_reset(form.scenario[static_cast<size_t>(s)]);
        if (gap && !reset) out.push_back("station slot " + std::to_string(s) + " follows an empty slot");
        gap = gap || reset;
    }
    // Captions only above the board slot counter: nothing but the label there.
    for (int s = std::max(form.boardSlot + 1, 1); s <= kFirstBoardSlot; ++s) {
        const std::string& caption = form.scenario[static_cast<size_t>(s)].label;
        check_slot(out, form.scenario[static_cast<size_t>(s)], s, {}, &caption);
    }
    for (int s = kSlotProgressive3; s <= kSlotProgressive1; ++s)
        check_slot(out, form.scenario[static_cast<size_t>(s)], s, {"long1", "long2", "long3"}, nullptr);
    check_slot(out, form.scenario[kSlotGeneral], kSlotGeneral, {"long1", "long2", "long3"}, nullptr);
    check_slot(out, form.scenario[kSlotRoute], kSlotRoute, {"long1", "long2", "long3", "int1", "long4"}, &form.routeName);
    check_slot(out, form.scenario[kSlotTrain], kSlotTrain, {"long1", "long2", "long3", "int1", "int3", "int4", "int5"},
               &form.trainCode);
    const int32_t repetitionCodes = form.scenario[kSlotTrain].long3;
    if (repetitionCodes != 0 && repetitionCodes != 4 && repetitionCodes != 9)
        out.push_back("signal repetition codes " + std::to_string(repetitionCodes));
}

void check_diagnostics(std::vector<std::string>& out, const Form1& form) {
    // The diagnostics describe the first error met; errorCode may hold a later one.
    const int32_t code = form.errorReported != kNoError ? form.errorReported : form.errorCode;
    if (is_completion_error(code)) {
        if (!form.grid.contains(form.errorCell)) out.push_back("completion error without its cell");
    } else if (code > 0 && form.errorDocument == Document::None) {
        out.push_back("error " + std::to_string(code) + " names no document");
    }
    if (form.errorLine < 0) out.push_back("negative error line");
    // A read failure is the only run-time failure the readers may turn into 25.
    if (code == kReadFailure && form.errorDetail == "index out of range")
        out.push_back("a reader reached outside a table (error 25: " + form.errorDetail + ")");
}

bool same_cell(const TrackCell& a, const TrackCell& b) {
    return a.kind == b.kind && a.value1 == b.value1 && a.value2 == b.value2 && a.value3 == b.value3 &&
           a.value4 == b.value4 && a.timeCode == b.timeCode && a.approachCode == b.approachCode &&
           a.scenery == b.scenery && a.aux1 == b.aux1 && a.aux2 == b.aux2 && a.aux3 == b.aux3;
}

bool same_slot(const ScenarioSlot& a, const ScenarioSlot& b) {
    return a.tag == b.tag && a.long1 == b.long1 && a.long2 == b.long2 && a.long3 == b.long3 && a.flag == b.flag &&
           a.label == b.label && a.int1 == b.int1 && a.int2 == b.int2 && a.int3 == b.int3 && a.int4 == b.int4 &&
           a.int5 == b.int5 && a.byte1 == b.byte1 && a.byte2 == b.byte2 && a.byte3 == b.byte3 &&
           a.byte4 == b.byte4 && a.long4 == b.long4;
}

}  // namespace

std::vector<std::string> form_violations(const Form1& form, std::initializer_list<int32_t> allowed) {
    std::vector<std::string> out;
    if (!is_error_code(form.errorCode)) {
        out.push_back("undefined error code " + std::to_string(form.errorCode));
    } else if (form.errorCode != 0 && allowed.size() != 0 &&
               std::find(allowed.begin(), allowed.end(), form.errorCode) == allowed.end()) {
        out.push_back("error code " + std::to_string(form.errorCode) + " cannot come from this document");
    }
    check_grid(out, form);
    check_table(out, form);
    check_diagnostics(out, form);
    return out;
}

std::vector<std::string> document_violations(const Form1& form) {
    std::vector<std::string> out;
    if (platform::file_exists(form.file_path(form.line_document_name())))
        out.push_back("the line description was not deleted");
    const bool trainSkipped = form.errorDocument == Document::Line && form.errorReported != kNoRoomOnGrid &&
                              form.errorReported != kReadFailure;
    if (!trainSkipped && platform::file_exists(form.file_path(form.train_document_name())))
        out.push_back("the train description was not deleted");
    return out;
}

std::vector<std::string> compiled_file_violations(const Form1& form) {
    std::vector<std::string> out;
    try {
        if (form.grid[kMarkerCell].value1 != kGridMarker) out.push_back("cell 1 lacks the marker value");
        if (form.scenario[kSlotRoute].int1 != kRouteMarker) out.push_back("slot 85 lacks the marker value");
        // Read back as the tool reads them: every compiled file is recognised as one.
        std::vector<TrackCell> cells = read_grid_file(platform::read_file(form.file_path(form.grid_file_name())));
        if (cells.size() != form.grid.cells().size()) {
            out.push_back("grid file holds " + std::to_string(cells.size()) + " cells");
        } else {
            for (size_t i = 0; i < cells.size(); ++i) {
                if (!same_cell(cells[i], form.grid.cells()[i])) {
                    out.push_back("grid file differs at cell " + std::to_string(i));
                    break;
                }
            }
        }
        ScenarioTable table = read_scenario_file(platform::read_file(form.file_path(form.scenario_file_name())));
        const std::string mismatch = check_code_mismatch(cells, table);
        if (!mismatch.empty()) out.push_back("the grid and scenario files: " + mismatch);
        for (size_t s = 0; s < table.size(); ++s) {
            if (!same_slot(table[s], form.scenario[s])) out.push_back("scenario file differs at slot " + std::to_string(s));
        }
        // The line data file is checked by its size alone, counted from the
        // entry types. Columns are computed in increasing order from column
        // 2, so the computed ones form a run whose end a binary search finds
        // (a sample on each side confirms it): a route of 1000000 m then
        // still runs well within the time limit.
        const std::string linePath = form.file_path(form.line_data_name());
        if (form.j != 0) {
            const int64_t last = form.line.last_column();
            auto bytes = [](uint16_t type) -> uintmax_t {
                return type == LineTable::kDouble ? 10 : type == LineTable::kInt16 ? 4 : 2;
            };
            uintmax_t expected = 0;
            for (int row = 0; row < 2; ++row) {
                int64_t low = 2;
                int64_t high = last + 1;
                while (low < high) {
                    const int64_t mid = low + (high - low) / 2;
                    if (form.line.type(mid, row) == LineTable::kDouble) {
                        low = mid + 1;
                    } else {
                        high = mid;
                    }
                }
                for (int64_t c = 2; c <= last; c += 997) {
                    if ((form.line.type(c, row) == LineTable::kDouble) != (c < low))
                        out.push_back("line table column " + std::to_string(c) + " computed out of order");
                }
                expected += bytes(form.line.type(0, row)) + bytes(form.line.type(1, row)) +
                            static_cast<uintmax_t>(low - 2) * 10 + static_cast<uintmax_t>(last + 1 - low) * 2;
            }
            const uintmax_t size = std::filesystem::file_size(linePath);
            if (size != expected)
                out.push_back("line data file of " + std::to_string(size) + " bytes, not " + std::to_string(expected));
        } else if (platform::file_exists(linePath)) {
            out.push_back("a line data file without a line table");
        }
    } catch (const DecodeError& e) {
        out.push_back(std::string("a compiled file is not recognised: ") + e.what());
    } catch (const platform::RunTimeFailure& f) {
        out.push_back("a compiled file is missing: " + f.path + ": " + f.reason);
    } catch (const std::filesystem::filesystem_error& e) {
        out.push_back(std::string("a compiled file is missing: ") + e.what());
    }
    return out;
}

std::vector<std::string> trace_violations(const Form1& form) {
    std::vector<std::string> out;
    const ReadTrace& t = form.trace;
    const auto records = static_cast<int32_t>(t.records.size());
    const bool readerError = form.errorReported != kNoError && !is_completion_error(form.errorReported);
    if (readerError && (t.refusals.empty() || t.refusals.front().code != form.errorReported))
        out.push_back("error " + std::to_string(form.errorReported) + " reported, but the first refused row is " +
                      (t.refusals.empty() ? std::string("none") : std::to_string(t.refusals.front().code)));
    if (!readerError && !t.refusals.empty() && form.errorReported == kNoError)
        out.push_back("a refused row in a pass that reports no error");
    for (const RefusedRow& r : t.refusals) {
        if (r.record >= records) out.push_back("a refused row names record " + std::to_string(r.record));
        if (r.record >= 0 && r.record < records) {
            const TracedRecord& record = t.records[static_cast<size_t>(r.record)];
            if (r.field >= traced_field_count(record.kind))
                out.push_back("a refused row names field " + std::to_string(r.field) + " of a record of " +
                              std::to_string(traced_field_count(record.kind)));
            if (r.line != record.line) out.push_back("a refused row's line is not its record's");
        }
    }
    const auto outside = [&](int64_t cell) { return !form.grid.sized() || cell < 0 || cell > form.grid.upper(); };
    for (const FeatureCell& c : t.cells) {
        if (c.record < 0 || c.record >= records) out.push_back("a feature cell of no traced record");
        if (outside(c.cell)) out.push_back("a feature cell " + std::to_string(c.cell) + " outside the grid");
    }
    for (const CapCell& c : t.caps) {
        if (outside(c.cell)) out.push_back("a cap cell " + std::to_string(c.cell) + " outside the grid");
    }
    for (const NarrowedValue& n : t.narrowed) {
        if (n.record < 0 || n.record >= records) out.push_back("a narrowed value of no traced record");
        if (n.value == n.stored) out.push_back("a narrowed value stored as written");
    }
    for (const MovedPosition& m : t.moved) {
        if (m.record < 0 || m.record >= records) out.push_back("a moved position of no traced record");
        if (m.position == m.landed) out.push_back("a moved position that did not move");
    }
    for (const TracedRecord& r : t.records) {
        for (const TracedField& f : r.fields) {
            if (f.column < 0 || f.endColumn < f.column) out.push_back("a field with no place in its line");
        }
        if (r.keywordColumn < 0 || r.keywordEndColumn < r.keywordColumn) out.push_back("a keyword with no place");
    }
    return out;
}
