#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/rounding.h"
#include "documents/test_documents.h"

namespace {

const std::vector<std::string>& lines() { return built_in_documents().linea.lines; }

const LineDescription& parsed() {
    static const LineDescription d = parse_line_description(lines());
    return d;
}

int64_t last_cell() { return round_half_even((parsed().routeLength + 7000) / 50.0); }

// (position + 100) / 50 must not exceed the grid's last cell.
bool has_room(int64_t position) { return (position + 100) / 50.0 <= static_cast<double>(last_cell()); }

TEST(LineDocument, HasItsSevenSectionsAtTheirLines) {
    ASSERT_EQ(lines().size(), 135u);
    const std::map<int, std::string> headers = {{1, "[generale]"},  {10, "[curve]"},   {65, "[pendenze]"},
                                                {83, "[montagne]"}, {97, "[cartelli]"}, {130, "[indicazioni]"},
                                                {135, "[fine]"}};
    for (int n = 1; n <= 135; ++n) {
        const std::string& text = lines()[static_cast<size_t>(n - 1)];
        auto header = headers.find(n);
        if (header != headers.end()) {
            EXPECT_EQ(text, header->second) << "line " << n;
        } else {
            EXPECT_NE(text.front(), '[') << "line " << n;
        }
        EXPECT_FALSE(text.empty()) << "line " << n;
        EXPECT_NE(text.back(), ' ') << "line " << n;
        for (char c : text) {
            EXPECT_TRUE(c >= 0x20 && c < 0x7F) << "line " << n << ": " << text;
        }
    }
}

TEST(LineDocument, QuotedRowsStandInPlace) {
    struct Quoted { int line; const char* text; };
    const Quoted quoted[] = {
        {2, "lunghezza percorso,    106000"},
        {3, "progressiva chilometrica uno,    1000,    0,    0"},
        {4, "progressiva chilometrica due,    0,    0,    0"},
        {5, "progressiva chilometrica tre,    0,    0,    0"},
        {6, "sfondo uno,    4000"},
        {7, "sfondo due,    1000"},
        {8, "sfondo tre,    1"},
        {9, "ripetizione segnali 4 codici,    1000,    107500"},
        {11, "curvad5,  1850,  300"},
        {64, "curvas2,  99800,  300"},
        {66, "pendenza,  0,   0"},
        {82, "pendenza,  100850,   0"},
        {84, "montagna,   3000,  17600,  11"},
        {96, "montagna,   69550,  69850,  12"},
        {98, "indicatori_vmax,  800,  75,  75,  75,  0,  ,  ,  ,  0"},
        {129, "indicatori_vmax,  106050,  30,  30,  30,  0,  ,  ,  ,  0"},
    };
    for (const Quoted& q : quoted) {
        EXPECT_EQ(line_at(lines(), q.line), q.text) << "line " << q.line;
    }

    // Rows quoted without a line number stand inside their section; the three
    // boards at 15350, 15850 and 16350 follow each other.
    struct InSection { int first, last; std::vector<const char*> texts; };
    const InSection inSection[] = {
        {11, 64, {"curvas4,  72750,  450"}},
        {11, 64, {"curvas1,  89450,  150"}},
        {66, 82, {"pendenza,  2750,   28"}},
        {66, 82, {"pendenza,  12450,   -1"}},
        {84, 96, {"montagna,   32850,  33500,  12"}},
        {98, 129,
         {"indicatori_vmax,  15350,  75,  85,  85,  2,  ,  ,  ,  0", "indicatori_vmax,  15850,  75,  85,  85,  1,  ,  ,  ,  0",
          "indicatori_vmax,  16350,  75,  85,  85,  0,  ,  ,  ,  0"}},
        {131, 134, {"cartello_indicatore,  11100,   (P.C.CAVRIA)"}},
    };
    for (const InSection& s : inSection) {
        int found = 0;
        for (int n = s.first; n <= s.last && found == 0; ++n) {
            if (line_at(lines(), n) == s.texts[0]) found = n;
        }
        ASSERT_NE(found, 0) << s.texts[0];
        for (size_t i = 1; i < s.texts.size(); ++i) {
            EXPECT_EQ(line_at(lines(), found + static_cast<int>(i)), s.texts[i]);
        }
    }
}

TEST(LineDocument, EveryRecordRowFollowsItsFormatAndLeavesRoom) {
    const LineDescription& d = parsed();
    EXPECT_EQ(d.routeLength, 106000);
    EXPECT_EQ(last_cell(), 2260);
    EXPECT_EQ(d.curves.size(), 54u);
    EXPECT_EQ(d.gradients.size(), 17u);
    EXPECT_EQ(d.montagne.size(), 13u);
    EXPECT_EQ(d.boards.size(), 32u);
    EXPECT_EQ(d.indications.size(), 4u);

    // Each section's first value strictly increases and leaves room on the grid.
    struct Column { const char* section; std::vector<std::pair<int, int64_t>> rows; };
    std::vector<Column> columns(5);
    columns[0].section = "curve";
    for (const CurveRow& r : d.curves) columns[0].rows.push_back({r.line, r.start});
    columns[1].section = "pendenze";
    for (const GradientRow& r : d.gradients) columns[1].rows.push_back({r.line, r.position});
    columns[2].section = "montagne";
    for (const MontagnaRow& r : d.montagne) columns[2].rows.push_back({r.line, r.start});
    columns[3].section = "cartelli";
    for (const BoardRow& r : d.boards) columns[3].rows.push_back({r.line, r.position});
    columns[4].section = "indicazioni";
    for (const IndicationRow& r : d.indications) columns[4].rows.push_back({r.line, r.position});
    for (const Column& c : columns) {
        for (size_t i = 0; i < c.rows.size(); ++i) {
            EXPECT_TRUE(has_room(c.rows[i].second)) << c.section << " line " << c.rows[i].first;
            if (i > 0) {
                EXPECT_GT(c.rows[i].second, c.rows[i - 1].second) << c.section << " line " << c.rows[i].first;
            }
        }
    }
}

TEST(LineDocument, CurvesUseEveryKeyAndNeverOverlap) {
    const LineDescription& d = parsed();
    std::set<std::string> keys;
    std::map<int64_t, int> lengths;
    for (size_t i = 0; i < d.curves.size(); ++i) {
        const CurveRow& c = d.curves[i];
        keys.insert(std::string(1, c.hand) + std::to_string(c.klass));
        ++lengths[c.length];
        EXPECT_LE(c.start + c.length, d.routeLength + 7000) << "line " << c.line;
        if (i + 1 < d.curves.size()) {
            EXPECT_LE(c.start + c.length, d.curves[i + 1].start) << "line " << c.line;
        }
    }
    EXPECT_EQ(keys.size(), 12u);
    EXPECT_EQ(lengths, (std::map<int64_t, int>{{150, 1}, {250, 1}, {300, 51}, {450, 1}}));
    EXPECT_EQ(d.curves.front().start, 1850);
    EXPECT_EQ(d.curves.back().start, 99800);
}

TEST(LineDocument, GradientsFitTheirByteAndSpanTheRoute) {
    const LineDescription& d = parsed();
    for (const GradientRow& g : d.gradients) {
        EXPECT_GE(g.gradient, -100) << "line " << g.line;
        EXPECT_LE(g.gradient, 155) << "line " << g.line;
    }
    EXPECT_EQ(d.gradients.front().position, 0);
    EXPECT_EQ(d.gradients.back().position, 100850);
}

TEST(LineDocument, MontagnaStretchesAreSeparateAndEndInsideTheGrid) {
    const LineDescription& d = parsed();
    std::map<int64_t, int> types;
    for (size_t i = 0; i < d.montagne.size(); ++i) {
        const MontagnaRow& m = d.montagne[i];
        ++types[m.type];
        EXPECT_LT(m.start, m.end) << "line " << m.line;
        EXPECT_LE(m.end, d.routeLength + 7000) << "line " << m.line;
        EXPECT_LE(round_half_even(m.end / 50.0 - 1), last_cell()) << "line " << m.line;
        if (i > 0) {
            EXPECT_LT(d.montagne[i - 1].end, m.start) << "line " << m.line;
        }
    }
    EXPECT_EQ(types, (std::map<int64_t, int>{{11, 7}, {12, 6}}));
    EXPECT_EQ(d.montagne.front().start, 3000);
    EXPECT_EQ(d.montagne.back().start, 69550);
}

TEST(LineDocument, SpeedBoardsComeAloneOrInCountdownTriples) {
    const std::vector<BoardRow>& boards = parsed().boards;
    std::map<int64_t, int> counts;
    int64_t largestValue = 0;
    int alone = 0;
    for (size_t i = 0; i < boards.size(); ++i) {
        const BoardRow& b = boards[i];
        ++counts[b.count];
        EXPECT_GT(b.a, 0) << "line " << b.line;
        EXPECT_LE(b.a, b.b) << "line " << b.line;
        EXPECT_LE(b.b, b.c) << "line " << b.line;
        largestValue = std::max({largestValue, b.a * 20, b.b * 20, b.c * 20});
        if (b.count == 2) {
            ASSERT_LT(i + 2, boards.size()) << "line " << b.line;
            for (size_t k = 1; k <= 2; ++k) {
                const BoardRow& next = boards[i + k];
                const BoardRow& before = boards[i + k - 1];
                EXPECT_EQ(next.count, static_cast<int64_t>(2 - k)) << "line " << next.line;
                EXPECT_EQ(std::vector<int64_t>({next.a, next.b, next.c}), std::vector<int64_t>({b.a, b.b, b.c}))
                    << "line " << next.line;
                EXPECT_GE(next.position - before.position, 230) << "line " << next.line;
                EXPECT_LE(next.position - before.position, 500) << "line " << next.line;
            }
            i += 2;
            ++counts[1];
            ++counts[0];
        } else {
            EXPECT_EQ(b.count, 0) << "line " << b.line << ": a count of 1 only follows a count of 2";
            ++alone;
        }
    }
    EXPECT_EQ(counts, (std::map<int64_t, int>{{0, 16}, {1, 8}, {2, 8}}));
    EXPECT_EQ(alone, 8);
    EXPECT_EQ(largestValue, 3100);  // the board values fit 16 bits with room to spare
}

TEST(LineDocument, IndicationBoardsNameATunnelABorderAndTwoPlaces) {
    const LineDescription& d = parsed();
    std::vector<int64_t> cells;
    int tunnels = 0, borders = 0, places = 0;
    for (const IndicationRow& r : d.indications) {
        cells.push_back(round_half_even(r.position / 50.0 + 1));
        tunnels += r.caption.find("GALLERIA") != std::string::npos;
        borders += r.caption.find("CONFINE") != std::string::npos;
        places += r.caption.rfind("(P.C.", 0) == 0;
    }
    EXPECT_EQ(cells, (std::vector<int64_t>{57, 78, 221, 223}));
    EXPECT_EQ(tunnels, 1);
    EXPECT_EQ(borders, 1);
    EXPECT_EQ(places, 2);
}

}  // namespace
