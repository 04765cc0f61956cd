// Properties shared by all five built-in documents.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/form1.h"
#include "tools/testing/test_folder.h"
#include "documents/document_writer.h"
#include "documents/test_documents.h"

namespace {

struct Named { const char* name; const WrittenDocument* document; };

std::vector<Named> all_documents() {
    const WrittenDocuments& d = built_in_documents();
    return {{"linea", &d.linea}, {"treno", &d.treno}, {"note", &d.note}, {"rallentamenti", &d.rallentamenti},
            {"scheda", &d.scheda}};
}

TEST(BuiltInDocuments, HaveTheirLineCountsAndNoEndMarker) {
    const size_t counts[] = {135, 107, 46, 46, 57};
    size_t i = 0;
    for (const Named& n : all_documents()) {
        EXPECT_EQ(n.document->lines.size(), counts[i++]) << n.name;
        EXPECT_EQ(n.document->bytes.find(kEndMarker), std::string::npos) << n.name;
        EXPECT_EQ(n.document->bytes.find('\t'), std::string::npos) << n.name;
    }
}

TEST(BuiltInDocuments, NotesAreFortySixEmptyLines) {
    std::string expected;
    for (int i = 0; i < 46; ++i) expected += "\r\n";
    EXPECT_EQ(built_in_documents().note.bytes, expected);
}

// The only bytes outside ASCII are E0, E8 and B0, all in the train
// description's six prose lines.
TEST(BuiltInDocuments, NonAsciiBytesAreThreeAndOnlyInTheProse) {
    for (const Named& n : all_documents()) {
        const std::vector<std::string>& lines = n.document->lines;
        for (size_t i = 0; i < lines.size(); ++i) {
            bool prose = n.document == &built_in_documents().treno && i < 6;
            for (unsigned char c : lines[i]) {
                if (c < 0x80) {
                    EXPECT_GE(c, 0x20) << n.name << " line " << i + 1;
                    continue;
                }
                EXPECT_TRUE(prose) << n.name << " line " << i + 1;
                EXPECT_TRUE(c == 0xE0 || c == 0xE8 || c == 0xB0) << n.name << " line " << i + 1 << ": " << int(c);
            }
        }
    }
    const std::string& prose = built_in_documents().treno.bytes;
    for (char c : {'\xE0', '\xE8', '\xB0'}) {
        EXPECT_NE(prose.find(c), std::string::npos) << int(c & 0xFF);
    }
}

TEST(BuiltInDocuments, OtherNamesChangeTheFileNamesOnly) {
    WrittenDocuments other = write_documents("Altra_Linea", "Z1");
    const WrittenDocuments& built = built_in_documents();
    EXPECT_EQ(other.linea.bytes, built.linea.bytes);
    EXPECT_EQ(other.treno.bytes, built.treno.bytes);
    EXPECT_EQ(other.note.bytes, built.note.bytes);
    EXPECT_EQ(other.rallentamenti.bytes, built.rallentamenti.bytes);
    EXPECT_EQ(other.scheda.bytes, built.scheda.bytes);

    TestFolder folder;
    Form1 form(folder.path());
    form.routeName = "Altra_Linea";
    form.trainCode = "Z1";
    form.scrivi_documenti();
    EXPECT_EQ(folder.list(), (std::vector<std::string>{"Altra_Linea_Z1-.txt", "Altra_Linea_Z1_note.txt",
                                                       "Altra_Linea_Z1_rallentamenti.txt",
                                                       "Altra_Linea_Z1_scheda_treno.txt", "Altra_Linea_linea.txt"}));
}

TEST(BuiltInDocuments, ReplaceLongerOlderDocumentsWhole) {
    TestFolder folder;
    Form1 form(folder.path());
    form.routeName = "Bresta_Vilcar";
    form.trainCode = "RX907";
    const std::string old = std::string(20000, 'x') + "\r\n";
    for (const std::string& name : {form.line_document_name(), form.train_document_name(), form.notes_document_name(),
                                    form.slowdown_order_name(), form.timetable_sheet_name()}) {
        folder.write(name, old);
    }
    form.scrivi_documenti();
    const WrittenDocuments& built = built_in_documents();
    EXPECT_EQ(folder.read(form.line_document_name()), built.linea.bytes);
    EXPECT_EQ(folder.read(form.train_document_name()), built.treno.bytes);
    EXPECT_EQ(folder.read(form.notes_document_name()), built.note.bytes);
    EXPECT_EQ(folder.read(form.slowdown_order_name()), built.rallentamenti.bytes);
    EXPECT_EQ(folder.read(form.timetable_sheet_name()), built.scheda.bytes);
}

}  // namespace
