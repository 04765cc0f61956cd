#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/form1.h"
#include "tools/testing/test_folder.h"
#include "core/test_grid.h"
#include "platform/platform.h"

namespace {

// Cells of a hand-built grid, by kind.
TrackCell signal() { return {.kind = kSignal, .value1 = 43, .value4 = 4}; }
TrackCell warning(int16_t speed) { return {.kind = kSlowDownWarning, .value1 = speed}; }
TrackCell start(int16_t speed) { return {.kind = kSlowDownStart, .value1 = speed, .value3 = 1}; }
TrackCell end(int16_t speed) { return {.kind = kSlowDownEnd, .value1 = speed, .value3 = 1}; }
TrackCell board() { return {.kind = kSpeedBoard, .value1 = 1500}; }
TrackCell cap(int16_t value = 180) { return {.kind = kAbbattimento, .value1 = value}; }

}  // namespace

TEST(CompletaGriglia, PlacesCapsAroundSlowDowns) {
    struct Case {
        const char* name;
        std::vector<Put> setup;  // on a grid of cells 0 to 140
        int32_t error;
        int32_t errorCell;
        std::vector<Put> changes;
    };
    const Case cases[] = {
        // Caps before signals: signals in the 20 cells before a warning cell.
        {"signal 5 cells before a warning: cap before the signal", {{50, warning(60)}, {45, signal()}}, 0, -1,
         {{44, cap()}}},
        {"speed board before the signal: cap on the cell before it",
         {{50, warning(60)}, {45, signal()}, {44, board()}}, 0, -1, {{43, cap()}}},
        {"a montagna marker takes the cap and keeps its scenery",
         {{50, warning(60)}, {45, signal()}, {44, {.kind = kMontagnaMarker, .scenery = 2}}}, 0, -1,
         {{44, {.kind = kAbbattimento, .value1 = 180, .scenery = 2}}}},
        {"a free cell before an abbattimento cell takes the cap",
         {{50, warning(60)}, {45, signal()}, {44, cap(100)}}, 0, -1, {{43, cap()}}},
        {"abbattimento cell 120 before a board stays 120",
         {{50, warning(60)}, {45, signal()}, {44, board()}, {43, cap(120)}}, 0, -1, {}},
        {"abbattimento cell 180 before a board stays 180",
         {{50, warning(60)}, {45, signal()}, {44, board()}, {43, cap(180)}}, 0, -1, {}},
        {"abbattimento cell -5 before a board stays -5",
         {{50, warning(60)}, {45, signal()}, {44, board()}, {43, cap(-5)}}, 0, -1, {}},
        {"abbattimento cell 200 before a board becomes 180",
         {{50, warning(60)}, {45, signal()}, {44, board()}, {43, cap(200)}}, 0, -1, {{43, cap(180)}}},
        {"abbattimento cell just before the signal is lowered first",
         {{50, warning(60)}, {45, signal()}, {44, cap(200)}, {43, cap(300)}}, 0, -1, {{44, cap(180)}}},
        {"no free or abbattimento cell: error 11",
         {{50, warning(60)}, {45, signal()}, {44, board()}, {43, {.kind = kStationStop, .value1 = 1}}}, 11, 45,
         {}},
        {"every signal in 20 cells is treated, none beyond",
         {{50, warning(60)}, {45, signal()}, {30, signal()}, {28, signal()}}, 0, -1, {{44, cap()}, {29, cap()}}},
        {"signal in cell 3 is treated", {{10, warning(60)}, {3, signal()}}, 0, -1, {{2, cap()}}},
        {"signal in cell 2 is not", {{10, warning(60)}, {2, signal()}}, 0, -1, {}},
        {"signal in cell 1 is not", {{10, warning(60)}, {1, signal()}}, 0, -1, {}},
        {"warning cell at U - 2 is examined", {{138, warning(60)}, {134, signal()}}, 0, -1, {{133, cap()}}},
        {"warning cell at U - 1 is not", {{139, warning(60)}, {135, signal()}}, 0, -1, {}},

        // Caps before the start: three distance groups before a start cell (speed 110: no caps inside).
        {"start in cell 7: no cap", {{7, start(110)}}, 0, -1, {}},
        {"start in cell 8: first group only", {{8, start(110)}}, 0, -1, {{3, cap()}}},
        {"start in cell 14: two groups", {{14, start(110)}}, 0, -1, {{9, cap()}, {3, cap()}}},
        {"start in cell 21: three groups", {{21, start(110)}}, 0, -1, {{16, cap()}, {10, cap()}, {3, cap()}}},
        {"taken cells pass the cap on; a full group gives error 12",
         {{30, start(110)}, {25, board()}, {19, signal()}, {18, cap(100)}, {12, cap(100)}, {11, board()},
          {10, {.kind = kStationStop}}},
         12, 30, {{24, cap()}, {17, cap()}}},
        {"start cell at U - 2 is examined, at U - 1 not", {{138, start(110)}, {139, start(110)}}, 0, -1,
         {{133, cap()}, {127, cap()}, {120, cap()}}},

        // Caps inside the slow-down: every 8 cells inside a slow-down slower than 110.
        {"speed 100 from cell 100 to 130", {{100, start(100)}, {130, end(100)}}, 0, -1,
         {{95, cap()}, {89, cap()}, {82, cap()}, {108, cap()}, {116, cap()}, {124, cap()}}},
        {"speed 110: no caps inside", {{100, start(110)}, {130, end(110)}}, 0, -1,
         {{95, cap()}, {89, cap()}, {82, cap()}}},
        {"cap moved to the cell after pushes the next ones",
         {{100, start(100)}, {130, end(100)}, {107, board()}, {108, board()}}, 0, -1,
         {{95, cap()}, {89, cap()}, {82, cap()}, {109, cap()}, {117, cap()}, {125, cap()}}},
        {"cap moved to the cell before pulls the next ones", {{100, start(100)}, {130, end(100)}, {108, board()}},
         0, -1, {{95, cap()}, {89, cap()}, {82, cap()}, {107, cap()}, {115, cap()}, {123, cap()}}},
        {"no cell free around the 8th: error 13 and no further cap",
         {{100, start(100)}, {130, end(100)}, {107, board()}, {108, board()}, {109, signal()}}, 13, 108,
         {{95, cap()}, {89, cap()}, {82, cap()}}},
        {"end cell on the 8th: cap on the cell before it", {{100, start(100)}, {116, end(100)}}, 0, -1,
         {{95, cap()}, {89, cap()}, {82, cap()}, {108, cap()}, {115, cap()}}},
        {"end cell on the 8th, cell before taken: cap after it",
         {{100, start(100)}, {116, end(100)}, {115, board()}}, 0, -1,
         {{95, cap()}, {89, cap()}, {82, cap()}, {108, cap()}, {117, cap()}}},
        {"no end cell: caps up to the upper bound", {{124, start(100)}}, 0, -1,
         {{119, cap()}, {113, cap()}, {106, cap()}, {132, cap()}, {140, cap()}}},
        {"no end cell, upper bound taken: cap before it", {{124, start(100)}, {140, board()}}, 0, -1,
         {{119, cap()}, {113, cap()}, {106, cap()}, {132, cap()}, {139, cap()}}},
        {"no end cell, nothing free up to the bound: error 13",
         {{124, start(100)}, {139, board()}, {140, board()}}, 13, 140,
         {{119, cap()}, {113, cap()}, {106, cap()}, {132, cap()}}},

        // The cap before the trailing signal: before the first signal from the end cell on.
        {"first signal after the end gets a cap, the second not",
         {{60, start(110)}, {90, end(110)}, {95, signal()}, {98, signal()}}, 0, -1,
         {{55, cap()}, {49, cap()}, {42, cap()}, {94, cap()}}},
        {"signal 12 cells after the end", {{60, start(110)}, {90, end(110)}, {102, signal()}}, 0, -1,
         {{55, cap()}, {49, cap()}, {42, cap()}, {101, cap()}}},
        {"signal 13 cells after the end is too far", {{60, start(110)}, {90, end(110)}, {103, signal()}}, 0, -1,
         {{55, cap()}, {49, cap()}, {42, cap()}}},
        {"signal just after the end: cap before the end cell",
         {{60, start(110)}, {90, end(110)}, {91, signal()}}, 0, -1,
         {{55, cap()}, {49, cap()}, {42, cap()}, {89, cap()}}},
        {"neither cell before the signal free: error 13",
         {{60, start(110)}, {90, end(110)}, {95, signal()}, {94, board()}, {93, cap(100)}}, 13, 95,
         {{55, cap()}, {49, cap()}, {42, cap()}}},
        {"the trailing signal's cap sees the caps inside",
         {{100, start(100)}, {116, end(100)}, {115, board()}, {118, signal()}}, 13, 118,
         {{95, cap()}, {89, cap()}, {82, cap()}, {108, cap()}, {117, cap()}}},
        {"signal cells up to the upper bound", {{100, start(110)}, {135, end(110)}, {140, signal()}}, 0, -1,
         {{95, cap()}, {89, cap()}, {82, cap()}, {139, cap()}}},
        {"no end cell: no cap before a signal at the bound", {{100, start(110)}, {140, signal()}}, 0, -1,
         {{95, cap()}, {89, cap()}, {82, cap()}}},

        // Several rules and slow-downs: later errors overwrite earlier ones in
        // errorCode; the diagnostics keep the cell of the first.
        {"later error wins the code, the first keeps its cell",
         {{50, warning(60)}, {45, signal()}, {44, board()}, {43, board()}, {100, start(100)}, {130, end(100)},
          {107, board()}, {108, board()}, {109, board()}},
         13, 45, {{95, cap()}, {89, cap()}, {82, cap()}}},
    };
    for (const Case& c : cases) {
        Form1 form("/prog");
        form.grid = grid_with(0, c.setup);
        const std::vector<TrackCell> expected = cells_with(form.grid, c.changes);
        form.completa_griglia();
        EXPECT_EQ(form.errorCode, c.error) << c.name;
        EXPECT_EQ(form.errorCell, c.errorCell) << c.name;
        expect_cells(form.grid, expected, c.name);
    }
}

TEST(CompletaGriglia, UnsizedGridIsARunTimeFailure) {
    Form1 form("/prog");
    EXPECT_THROW(form.completa_griglia(), platform::RunTimeFailure);
}

TEST(AzzeraTabella, ClearsEverySlot) {
    Form1 form("/prog");
    for (ScenarioSlot& s : form.scenario) {
        s = {.tag = 1, .long1 = 2, .long2 = 3, .long3 = 4, .flag = 5, .label = "x", .int1 = 6, .int2 = 7,
             .int3 = 8, .int4 = 9, .int5 = 10, .byte1 = 11, .byte2 = 12, .byte3 = 13, .byte4 = 14, .long4 = 15};
    }
    form.azzera_tabella();
    for (const ScenarioSlot& s : form.scenario) {
        EXPECT_EQ(std::tuple(s.tag, s.long1, s.long2, s.long3, s.flag, s.label, s.int1, s.int2, s.int3, s.int4,
                             s.int5, s.byte1, s.byte2, s.byte3, s.byte4, s.long4),
                  std::tuple(0, 0, 0, 0, 0, std::string(), 0, 0, 0, 0, 0, 0, 0, 0, 0, 0));
    }
}

TEST(VerificaRiservati, WritesMarkersAndCheckCodes) {
    Form1 form("/prog");
    form.grid.dimension(106000);
    form.scenario[kSlotRoute].label = "Bresta_Vilcar";
    form.scenario[kSlotTrain].label = "RX907";
    form.verifica_riservati();
    EXPECT_EQ(form.scenario[kSlotRoute].int1, 610);
    EXPECT_EQ(form.scenario[kSlotRoute].long4, 32647);
    EXPECT_EQ(form.grid[1].value1, 5121);
    EXPECT_EQ(form.grid[1].value2, 2459);
}

TEST(VerificaRiservati, ReservedFieldInUseEndsTheRun) {
    struct Case {
        const char* name;
        int16_t slotInt1;
        int32_t slotLong4;
        int16_t cellValue1;
        int16_t cellValue2;
        const char* message;
        int16_t int1After;  // the marker is set before the second check
    };
    const Case cases[] = {
        {"slot 85 int1", 5, 0, 0, 0, " Errore n. 1250\n", 5},
        {"cell 1 value1", 0, 0, 7, 0, " Errore n. 1250\n", 0},
        {"both first fields and the codes", 1, 1, 1, 1, " Errore n. 1250\n", 1},
        {"slot 85 long4", 0, 9, 0, 0, " Errore n. 1251\n", 610},
        {"cell 1 value2", 0, 0, 0, -3, " Errore n. 1251\n", 610},
    };
    for (const Case& c : cases) {
        Form1 form("/prog");
        form.grid.dimension(0);
        form.scenario[kSlotRoute].int1 = c.slotInt1;
        form.scenario[kSlotRoute].long4 = c.slotLong4;
        form.grid[1].value1 = c.cellValue1;
        form.grid[1].value2 = c.cellValue2;
        testing::internal::CaptureStderr();
        const int status = run_to_end([&] {
                               form.verifica_riservati();
                               return -1;
                           }).status;
        EXPECT_EQ(testing::internal::GetCapturedStderr(), c.message) << c.name;
        EXPECT_EQ(status, kExitErrore) << c.name;
        EXPECT_EQ(form.scenario[kSlotRoute].int1, c.int1After) << c.name;
        EXPECT_EQ(form.scenario[kSlotRoute].long4, c.slotLong4) << c.name;
        EXPECT_EQ(form.grid[1].value2, c.cellValue2) << c.name;
    }
}

TEST(VerificaRiservati, CompilePassStopsBeforeAnyCompiledFile) {
    // Minimal descriptions; the train rows put something into a reserved field of cell 1.
    const std::string lineDocument = "[generale]\r\nlunghezza percorso,    2000\r\n[fine]\r\n";
    struct Case {
        const char* name;
        const char* trainRow;
        const char* message;  // "" when the pass completes
    };
    const Case cases[] = {
        {"signal in the first 25 m", "segnale,    0,   1, 4, 1,  0, 0,    1,  3,1,0, 0\r\n", " Errore n. 1250\n"},
        {"slow-down at 0 with speed 0 and d_v 5", "rallentamento,    0,  0,  500,  0,  0,  5\r\n",
         " Errore n. 1251\n"},
        {"signal at 25 m lands in cell 2", "segnale,    25,   1, 4, 1,  0, 0,    1,  3,1,0, 0\r\n", ""},
    };
    const char* compiled[] = {"Bresta_Vilcar_linea.dat", "Bresta_Vilcar_RX907.sim", "Bresta_Vilcar_RX907.dat"};
    for (const Case& c : cases) {
        TestFolder folder;
        for (const char* name : compiled) folder.write(name, "old");
        folder.write("Bresta_Vilcar_linea.txt", lineDocument);
        folder.write("Bresta_Vilcar_RX907-.txt", std::string("[generale]\r\n") + c.trainRow + "[fine]\r\n");
        Form1 form(folder.path());
        form.routeName = "Bresta_Vilcar";
        form.trainCode = "RX907";
        testing::internal::CaptureStderr();
        const int status = run_to_end([&] {
                               form.memorizza_percorso(1);
                               return 0;
                           }).status;
        const std::string shown = testing::internal::GetCapturedStderr();
        if (*c.message != '\0') {
            EXPECT_EQ(shown, c.message) << c.name;
            EXPECT_EQ(status, kExitErrore) << c.name;
            for (const char* name : compiled) EXPECT_EQ(folder.read(name), "old") << c.name << ": " << name;
        } else {
            EXPECT_EQ(shown, "") << c.name;
            EXPECT_EQ(status, 0) << c.name;
            EXPECT_EQ(form.grid[2].kind, kSignal) << c.name;
            const std::string grid = folder.read("Bresta_Vilcar_RX907.dat");
            ASSERT_EQ(grid.size(), 15u * (180 + 1)) << c.name;
            EXPECT_EQ(grid.substr(16, 2), "\x01\x14") << c.name;
            EXPECT_NE(folder.read("Bresta_Vilcar_RX907.sim"), "old") << c.name;
            EXPECT_NE(folder.read("Bresta_Vilcar_linea.dat"), "old") << c.name;
        }
    }
}
