#include "tools/codes/explanation_file.h"

#include <gtest/gtest.h>

namespace {

// A sound file; each malformed case changes one part of it.
const std::string kSound =
    "## What it means\n"
    "\n"
    "A first line\n"
    "and its second.\n"
    "\n"
    "## Example\n"
    "\n"
    "In the line description:\n"
    "\n"
    "```text\n"
    "[pendenze]\n"
    "pendenza,  16900,   1\n"
    "```\n"
    "\n"
    "The whole train description:\n"
    "\n"
    "```text\n"
    "[generale]\n"
    "[fine]\n"
    "```\n"
    "\n"
    "Also reported: W114, 6, W114\n"
    "\n"
    "## How to fix it\n"
    "\n"
    "Do this.\n";

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

}  // namespace

TEST(ExplanationFile, ReadsEveryPart) {
    const ExplanationText text = parse_explanation_file(kSound);
    EXPECT_EQ(text.meaning, "A first line and its second.");
    EXPECT_EQ(text.example.line, "[pendenze]\npendenza,  16900,   1\n");
    EXPECT_EQ(text.example.linePlacement, Placement::Added);
    EXPECT_EQ(text.example.train, "[generale]\n[fine]\n");
    EXPECT_EQ(text.example.trainPlacement, Placement::Whole);
    EXPECT_EQ(text.example.alsoReported,
              (std::vector<Code>{Warning::RowsOutOfOrder, kIndicationBoardCellTaken, Warning::RowsOutOfOrder}));
    EXPECT_EQ(text.fix, "Do this.");
    // Line ends of either kind read the same.
    const ExplanationText crlf = parse_explanation_file(replaced(replaced(kSound, "A first line\n", "A first line\r\n"),
                                                                 "[generale]\n", "[generale]\r\n"));
    EXPECT_EQ(crlf.meaning, text.meaning);
    EXPECT_EQ(crlf.example.train, text.example.train);
}

TEST(ExplanationFile, AMissingDocumentHasNoRows) {
    const ExplanationText text = parse_explanation_file(
        "## What it means\nM.\n## Example\nNo line description at all.\n## How to fix it\nF.\n");
    EXPECT_EQ(text.example.linePlacement, Placement::Missing);
    EXPECT_EQ(text.example.line, "");
    EXPECT_EQ(text.example.trainPlacement, Placement::Added);
    EXPECT_EQ(text.example.train, "");
}

TEST(ExplanationFile, RefusesAFileOutOfForm) {
    struct Case {
        const char* name;
        std::string text;
        const char* said;  // part of the message
    };
    const Case cases[] = {
        {.name = "no meaning heading", .text = replaced(kSound, "## What it means\n", ""),
         .said = "line 2: expected \"## What it means\""},
        {.name = "two paragraphs", .text = replaced(kSound, "and its second.\n", "and its second.\n\nMore.\n"),
         .said = "line 6: expected \"## Example\""},
        {.name = "empty fix", .text = replaced(kSound, "Do this.\n", ""), .said = "expected a paragraph"},
        {.name = "unknown lead", .text = replaced(kSound, "In the line description:", "In the line:"),
         .said = "line 8: expected \"In the line description:\""},
        {.name = "document twice", .text = replaced(kSound, "The whole train", "The whole line"),
         .said = "line 15: the line description is given twice"},
        {.name = "no block", .text = replaced(kSound, "```text\n[pendenze]", "[pendenze]"),
         .said = "line 10: expected the rows in a ```text block"},
        {.name = "block never closed", .text = replaced(kSound, "[fine]\n```\n", "[fine]\n"),
         .said = "never closed"},
        {.name = "empty block", .text = replaced(kSound, "[generale]\n[fine]\n", ""), .said = "holds no rows"},
        {.name = "unknown code", .text = replaced(kSound, "W114, 6", "W114, 14"),
         .said = "\"14\" is no error or warning code"},
        {.name = "no code", .text = replaced(kSound, " W114, 6, W114", ""), .said = "names no code"},
        {.name = "no example",
         .text = "## What it means\nM.\n## Example\n\n## How to fix it\nF.\n",
         .said = "the example shows no document"},
        {.name = "text after the fix", .text = kSound + "\nMore.\n", .said = "nothing may follow the fix"},
    };
    for (const Case& c : cases) {
        try {
            parse_explanation_file(c.text);
            ADD_FAILURE() << c.name << ": read without a complaint";
        } catch (const MalformedExplanation& e) {
            EXPECT_NE(std::string(e.what()).find(c.said), std::string::npos) << c.name << ": " << e.what();
        }
    }
}
