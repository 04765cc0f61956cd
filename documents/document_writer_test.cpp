#include "documents/document_writer.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "tools/testing/test_folder.h"
#include "platform/platform.h"

namespace {

struct WriterCase {
    const char* what;
    std::vector<std::pair<int, std::string>> entries;  // index, text
    std::string bytes;
};

LineList list_of(const std::vector<std::pair<int, std::string>>& entries) {
    LineList list;
    for (const auto& [index, text] : entries) list[static_cast<size_t>(index)] = text;
    return list;
}

TEST(DocumentWriter, WritesEveryEntryBeforeTheEndMarkerWithCrLf) {
    const std::vector<WriterCase> cases = {
        {"marker first: empty document", {{0, kEndMarker}, {1, "after"}}, ""},
        {"lines then marker", {{0, "a"}, {1, "b c"}, {2, kEndMarker}}, "a\r\nb c\r\n"},
        {"entries never set are empty lines", {{1, "x"}, {4, kEndMarker}}, "\r\nx\r\n\r\n\r\n"},
        {"blanks kept at both ends", {{0, "  x  "}, {1, kEndMarker}}, "  x  \r\n"},
        {"only the exact marker ends the document",
         {{0, "riferimento fine del file "}, {1, "Riferimento fine del file"}, {2, " riferimento fine del file"},
          {3, kEndMarker}, {4, "never"}},
         "riferimento fine del file \r\nRiferimento fine del file\r\n riferimento fine del file\r\n"},
        {"bytes above 127 pass unchanged", {{0, "citt\xE0 1\xB0"}, {1, kEndMarker}}, "citt\xE0 1\xB0\r\n"},
        {"text after the marker is never read", {{0, "a"}, {1, kEndMarker}, {2, "b"}, {3, kEndMarker}}, "a\r\n"},
    };
    for (const WriterCase& c : cases) {
        EXPECT_EQ(testo_documento(list_of(c.entries)), c.bytes) << c.what;
    }
}

TEST(DocumentWriter, ListWithoutMarkerStopsAtItsLastEntry) {
    LineList list;
    list[0] = "first";
    list[kLineListEntries - 1] = "last";
    std::string bytes = testo_documento(list);
    std::string expected = "first\r\n";
    for (int i = 1; i < kLineListEntries - 1; ++i) expected += "\r\n";
    expected += "last\r\n";
    EXPECT_EQ(bytes, expected);
}

TEST(DocumentWriter, FillsLinesThenTheMarkerAndNeverBeyondTheList) {
    const char* const three[] = {"a", "", "c"};
    LineList list;
    riempi_lista(list, three);
    EXPECT_EQ(list[0], "a");
    EXPECT_EQ(list[1], "");
    EXPECT_EQ(list[2], "c");
    EXPECT_EQ(list[3], kEndMarker);
    EXPECT_EQ(list[4], "");

    // One line too many for the list: the last entry holds the last line that
    // fits and there is no room for the marker.
    std::vector<const char*> many(kLineListEntries + 1, "row");
    many[kLineListEntries - 1] = "kept";
    LineList full;
    riempi_lista(full, many);
    EXPECT_EQ(full[kLineListEntries - 1], "kept");
    EXPECT_EQ(testo_documento(full).size(), static_cast<size_t>(kLineListEntries - 1) * 5 + 6);

    // Exactly as many lines as entries but one: the marker takes the last entry.
    std::vector<const char*> fit(kLineListEntries - 1, "r");
    LineList fitted;
    riempi_lista(fitted, fit);
    EXPECT_EQ(fitted[kLineListEntries - 1], kEndMarker);
}

TEST(DocumentWriter, CreatesAnAbsentDocumentAndReplacesALongerOneWhole) {
    TestFolder folder;
    const char* const lines[] = {"uno", "due"};
    LineList list;
    riempi_lista(list, lines);

    scrivi_documento(folder.path(), "doc.txt", list);
    EXPECT_EQ(folder.read("doc.txt"), "uno\r\ndue\r\n");

    folder.write("doc.txt", std::string(5000, 'z') + "\r\nold tail\r\n");
    scrivi_documento(folder.path(), "doc.txt", list);
    EXPECT_EQ(folder.read("doc.txt"), "uno\r\ndue\r\n");
    EXPECT_EQ(folder.list(), std::vector<std::string>{"doc.txt"});
}

TEST(DocumentWriter, AFailingFileStepIsARunTimeFailure) {
    TestFolder folder;
    LineList list;
    riempi_lista(list, std::vector<const char*>{"x"});
    EXPECT_THROW(scrivi_documento(folder.path() + "/missing-folder", "doc.txt", list), platform::RunTimeFailure);
    EXPECT_FALSE(folder.exists("missing-folder"));
}

}  // namespace
