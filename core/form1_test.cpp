#include "core/form1.h"

#include <gtest/gtest.h>

#include "tools/testing/test_folder.h"

TEST(FileNames, AreBuiltFromTheTwoNames) {
    Form1 form("/prog");
    form.routeName = "Bresta_Vilcar";
    form.trainCode = "RX907";
    EXPECT_EQ(form.file_path(form.line_document_name()), "/prog/Bresta_Vilcar_linea.txt");
    EXPECT_EQ(form.train_document_name(), "Bresta_Vilcar_RX907-.txt");
    EXPECT_EQ(form.notes_document_name(), "Bresta_Vilcar_RX907_note.txt");
    EXPECT_EQ(form.slowdown_order_name(), "Bresta_Vilcar_RX907_rallentamenti.txt");
    EXPECT_EQ(form.timetable_sheet_name(), "Bresta_Vilcar_RX907_scheda_treno.txt");
    EXPECT_EQ(form.line_data_name(), "Bresta_Vilcar_linea.dat");
    EXPECT_EQ(form.scenario_file_name(), "Bresta_Vilcar_RX907.sim");
    EXPECT_EQ(form.grid_file_name(), "Bresta_Vilcar_RX907.dat");
    form.routeName = "R";
    form.trainCode = "T";
    EXPECT_EQ(form.train_document_name(), "R_T-.txt");
    EXPECT_EQ(form.grid_file_name(), "R_T.dat");
}

TEST(Errore, ShowsTheNumberAndEndsWithStatusTwo) {
    Form1 form("/prog");
    testing::internal::CaptureStderr();
    try {
        form.errore("1251");
        FAIL() << "errore returned";
    } catch (const ProgramEnd& end) {
        EXPECT_EQ(end.status, kExitErrore);
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(), " Errore n. 1251\n");
}
