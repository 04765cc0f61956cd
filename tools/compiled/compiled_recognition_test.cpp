// The compiled files are told from other bytes by what the compile pass
// writes: every file of a compile passes, and each kind of damage is refused
// with the reason it was found by.
#include "tools/compiled/compiled_recognition.h"

#include <gtest/gtest.h>

#include "core/format.h"

#include <functional>
#include <string>

#include "core/form1.h"
#include "core/output_files.h"
#include "tools/compiled/compiled_files.h"
#include "tools/testing/test_folder.h"

namespace {

// The tables of a compile, as the compile pass encodes them.
struct Tables {
    TrackGrid grid;
    ScenarioTable scenario;
    LineTable line;
};

// The built-in scenario, written and compiled in a folder of its own.
const Tables& built_in() {
    static const Tables tables = [] {
        TestFolder dir;
        Form1 form(dir.path());
        form.routeName = "Bresta_Vilcar";
        form.trainCode = "RX907";
        form.scrivi_documenti();
        form.prepara_percorso(1);
        return Tables{form.grid, form.scenario, form.line};
    }();
    return tables;
}

std::string encoded(const Tables& t, const std::string& kind) {
    if (kind == "grid") return encode_grid(t.grid);
    if (kind == "scenario") return encode_scenario(t.scenario);
    return encode_line_table(t.line);
}

// The reason the bytes are refused as `kind`, or "accepted".
std::string verdict(const std::string& bytes, const std::string& kind) {
    try {
        if (kind == "grid") read_grid_file(bytes);
        else if (kind == "scenario") read_scenario_file(bytes);
        else read_line_data_file(bytes);
        return "accepted";
    } catch (const DecodeError& e) {
        return e.what();
    }
}

// A line table as the line description reader makes it for a route of
// `length` m, computed straight on up to metre `to`.
LineTable straight_line(int32_t length, int64_t to) {
    LineTable line;
    line.create(length + kRunOnMetres);
    line.seed();
    line.straight_steps(2, to);
    return line;
}

}  // namespace

TEST(CompiledRecognition, EveryFileOfACompileIsRecognisedAsItsKind) {
    const Tables& t = built_in();
    for (const char* kind : {"grid", "scenario", "line"}) {
        const std::string bytes = encoded(t, kind);
        EXPECT_EQ(verdict(bytes, kind), "accepted") << kind;
        EXPECT_EQ(compiled_kind_of(bytes), kind);
    }
    EXPECT_EQ(check_code_mismatch(t.grid.cells(), t.scenario), "");
    EXPECT_EQ(compiled_kind_of(std::string(141 * 15, 'x')), "");

    // A reading that stopped before the line was started leaves it empty,
    // and a curve may carry it to its very last metre: both are compiled lines.
    Tables stopped = t;
    stopped.line.create(kRunOnMetres);
    EXPECT_EQ(verdict(encoded(stopped, "line"), "line"), "accepted");
    Tables full = t;
    full.line = straight_line(0, kRunOnMetres);
    EXPECT_EQ(verdict(encoded(full, "line"), "line"), "accepted");
}

TEST(CompiledRecognition, RefusesEachKindOfDamageSayingWhy) {
    struct Case {
        const char* kind;
        std::function<void(Tables&)> damage;
        std::string reason;
    } cases[] = {
        {.kind = "grid",
         .damage = [](Tables& t) { t.grid[1].value1 = 5120; },
         .reason = "cell 1 holds 5120 where a compiled grid holds the marker 5121"},
        {.kind = "grid",
         .damage = [](Tables& t) { t.grid[57].kind = 9; },
         .reason = "cell 57 has kind 9, which the compiler never writes"},
        {.kind = "grid",
         .damage = [](Tables& t) { t.grid[2260].kind = 15; },
         .reason = "cell 2260 has kind 15, which the compiler never writes"},
        {.kind = "grid",
         .damage = [](Tables& t) { t.grid.dimension(-1050); },
         .reason = "120 cells, where a compiled grid has 141 to 20141 (a route of 0 to 1000000 m)"},
        {.kind = "scenario",
         .damage = [](Tables& t) { t.scenario[kSlotRoute].int1 = 0; },
         .reason = "the route header (slot 85) holds 0 where a compiled scenario holds the marker 610"},
        // "rx908bresta_vilcaraabbccd": the 8 in fifth place adds 5 to 32647
        {.kind = "scenario",
         .damage = [](Tables& t) { t.scenario[kSlotTrain].label = "RX908"; },
         .reason = "the route header's check code is 32647, but the names it carries, route \"Bresta_Vilcar\", train "
                   "\"RX908\", give 32652"},
        {.kind = "line",
         .damage = [](Tables& t) { t.line.create(kRunOnMetres - 1); },
         .reason = "the line ends at metre 6999, where a compiled line ends 7000 m after a route of 0 to 1000000 m"},
        {.kind = "line",
         .damage = [](Tables& t) { t.line.set_double(0, 0, 0); },
         .reason = "metres 0 and 1 are not the points (0, 0) and (0, 1) that every compiled line starts with"},
        {.kind = "line",
         .damage = [](Tables& t) { t.line.set_int16(1, 1, 2); },
         .reason = "metres 0 and 1 are not the points (0, 0) and (0, 1) that every compiled line starts with"},
        {.kind = "line",
         .damage =
             [](Tables& t) {
                 t.line.create(kRunOnMetres);
                 t.line.set_double(5, 0, 1);
                 t.line.set_double(5, 1, 1);
             },
         .reason = "metre 5 holds a point after the empty metre 0, where a compiled line is computed metre by metre"},
        {.kind = "line",
         .damage = [](Tables& t) { t.line.set_double(112999, 0, 1); },
         .reason = "the x and the y of metre 112999 are not of one type"},
        {.kind = "line",
         .damage =
             [](Tables& t) {
                 t.line.set_int16(40, 0, 40);
                 t.line.set_int16(40, 1, 40);
             },
         .reason = "metre 40 holds a 16-bit whole number, where a compiled line holds a floating-point one"},
        {.kind = "line",
         .damage =
             [](Tables& t) {
                 t.line = straight_line(0, 10);
                 t.line.set_double(20, 0, 20);
                 t.line.set_double(20, 1, 20);
             },
         .reason = "metre 20 holds a point after the empty metre 11, where a compiled line is computed metre by metre"},
    };
    for (const Case& c : cases) {
        Tables t = built_in();
        c.damage(t);
        EXPECT_EQ(verdict(encoded(t, c.kind), c.kind), c.reason);
    }
}

TEST(CompiledRecognition, AGridAndAScenarioOfOtherNamesAreNotOfOneCompile) {
    Tables t = built_in();
    t.scenario[kSlotTrain].label = "RX908";
    // The plain code is the sum of the 25 characters: one more for the 8.
    EXPECT_EQ(check_code_mismatch(t.grid.cells(), t.scenario),
              "cell 1 holds the check code 2459, but the route \"Bresta_Vilcar\", train \"RX908\" of the scenario file "
              "give 2460: the two are not of one compile");
}
