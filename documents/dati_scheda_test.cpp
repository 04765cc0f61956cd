#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "documents/test_documents.h"

namespace {

const std::vector<std::string>& lines() { return built_in_documents().scheda.lines; }

const std::vector<SheetRow>& body() {
    static const std::vector<SheetRow> rows = parse_sheet_body(lines());
    return rows;
}

const char* const kRule = " |_____|_____|__________|_____|____________________________|________________|_____|";

TEST(TimetableSheet, TitleBlockHeadAndClosingLinesAreExact) {
    ASSERT_EQ(lines().size(), 57u);
    struct Quoted { int line; const char* text; };
    const Quoted quoted[] = {
        {1, ""},
        {2, ""},
        {3, "  ___________________                                               ______________"},
        {4, " |                   |                    SCHEDA                   |              |"},
        {5, " |   TRENO n.907     |                   da: BRESTA                |    V160 C    |"},
        {6, " |___________________|                    a: VILCAR P.N.           |     135%     |"},
        {7, "                                                                   |______________|"},
        {8, "  ___________________                ___________________"},
        {9, " |  CLASSIFICAZIONE  |              |  MASSA BLOCCATA   |       "},
        {10, " |        RX         |              |      480 T        |"},
        {11, " |___________________|              |___________________|"},
        {12, ""},
        {13, "  ________________________________________________________________________________"},
        {14, " | Vel.| Vel.| Progr Km |  No |   Localita' di  Servizio   |     Orario     | Rec |"},
        {15, " | Lim.|Marc.|          |  Rs |                            |                |     |"},
        {16, kRule},
        {56, kRule},
        {57, ""},
    };
    for (const Quoted& q : quoted) {
        EXPECT_EQ(line_at(lines(), q.line), q.text) << "line " << q.line;
    }
    for (int n = 4; n <= 7; ++n) {
        EXPECT_EQ(line_at(lines(), n).size(), 83u) << "line " << n;
    }
}

TEST(TimetableSheet, TellingAndIrregularRowsStandAtTheirLines) {
    struct Quoted { int line; const char* text; };
    const Quoted quoted[] = {
        {17, " | 75  | 75  |  0       |     | BRESTA                     |          9.38  |     |"},
        {19, " | 110 | 100 |  6+350   |     | Cartello Indicatore        |                |     |"},
        {20, " |     |     | 11+125   |     | P.C.CAVRIA                 |      9.50      | 0.5 |"},
        {21, " | 85  | 80  | 16+000   |     | Cippo Km                   |      9.52      |     |"},
        {22, " |     |     | 18+550   |     | PIANCASTELLO               | 9.56     9.57  |     |"},
        {25, " | 130 | 120 | 24+400   |     | Cartello                   |                |     |"},
        {34, " | 110 | 100 | 59+200   |     | Cartello Indicatore        |                |"},
        {35, " |     |     | 60+650   |     | ROCCAVERA                  |     10.28      |     |"},
        {43, " | 135 | 125 | 80+650   |     | Cartello Indicatore        |                |     | "},
        {52, " | 90  |  80 |103+000   |     | Cippo KM                   |                |     |"},
        {55, " |     |     |107+950   |     | VILCAR P.N.                |11.00           |     |"},
    };
    for (const Quoted& q : quoted) {
        EXPECT_EQ(line_at(lines(), q.line), q.text) << "line " << q.line;
    }
    EXPECT_EQ(line_at(lines(), 34).size(), 77u);
    EXPECT_EQ(line_at(lines(), 43).size(), 84u);
    EXPECT_EQ(line_at(lines(), 9).substr(56), "|       ");
    EXPECT_EQ(line_at(lines(), 54).substr(7, 7), "|  30 |");
}

TEST(TimetableSheet, EveryBodyRowClosesItsNameCellAtTheSixtiethCharacter) {
    ASSERT_EQ(body().size(), 39u);  // any malformed row has failed in the parser
    // Head, rules and body alike: lines 14 to 56.
    for (int n = 14; n <= 56; ++n) {
        EXPECT_EQ(line_at(lines(), n).at(59), '|') << "line " << n;
    }
    for (size_t i = 1; i < body().size(); ++i) {
        EXPECT_GT(body()[i].progressive, body()[i - 1].progressive) << "line " << body()[i].line;
    }
}

TEST(TimetableSheet, RowKindsComeInTheirCounts) {
    std::map<std::string, int> names;
    int places = 0, boards = 0, posts = 0, postsWithTime = 0, placesWithSpeeds = 0, mixedCase = 0;
    std::map<std::string, int> rec;
    for (const SheetRow& r : body()) {
        switch (r.kind) {
            case SheetKind::Place: {
                ++places;
                ++rec[r.rec];
                placesWithSpeeds += r.lim.has_value() || r.marc.has_value();
                bool lower = false;
                for (char c : r.name) lower = lower || (c >= 'a' && c <= 'z');
                mixedCase += lower;
                EXPECT_NE(r.time, TimeKind::None) << "line " << r.line;
                break;
            }
            case SheetKind::Board:
                ++boards;
                ++names[r.name];
                EXPECT_TRUE(r.lim && r.marc) << "line " << r.line;
                EXPECT_EQ(r.time, TimeKind::None) << "line " << r.line;
                EXPECT_TRUE(r.rec == "     " || r.rec.empty()) << "line " << r.line;
                break;
            case SheetKind::Post:
                ++posts;
                ++names[r.name];
                EXPECT_TRUE(r.lim && r.marc) << "line " << r.line;
                EXPECT_EQ(r.progressive % 1000, 0) << "line " << r.line;
                postsWithTime += r.time == TimeKind::Passing;
                EXPECT_TRUE(r.time == TimeKind::Passing || r.time == TimeKind::None) << "line " << r.line;
                break;
        }
    }
    EXPECT_EQ(places, 24);
    EXPECT_EQ(boards, 8);
    EXPECT_EQ(posts, 7);
    EXPECT_EQ(names, (std::map<std::string, int>{
                         {"Cartello", 1}, {"Cartello Indicatore", 7}, {"Cippo KM", 5}, {"Cippo Km", 2}}));
    EXPECT_EQ(postsWithTime, 1);
    EXPECT_EQ(placesWithSpeeds, 1);
    EXPECT_EQ(mixedCase, 3);
    EXPECT_EQ(rec, (std::map<std::string, int>{{"     ", 12}, {" 0.5 ", 8}, {"  1  ", 4}}));
    ASSERT_FALSE(body().empty());
    EXPECT_EQ(body().front().time, TimeKind::Departure);
    EXPECT_EQ(body().back().time, TimeKind::Arrival);
    for (size_t i = 1; i + 1 < body().size(); ++i) {
        EXPECT_NE(body()[i].time, TimeKind::Departure) << "line " << body()[i].line;
        EXPECT_NE(body()[i].time, TimeKind::Arrival) << "line " << body()[i].line;
    }
}

TEST(TimetableSheet, TimesNeverGoBackwards) {
    int64_t previous = 0;
    for (const SheetRow& r : body()) {
        for (const std::string* t : {&r.first, &r.second}) {
            if (t->empty()) continue;
            EXPECT_GE(sheet_minutes(*t), previous) << "line " << r.line;
            previous = sheet_minutes(*t);
        }
    }
    EXPECT_EQ(previous, 11 * 60);
}

}  // namespace
