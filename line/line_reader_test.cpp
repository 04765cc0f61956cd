#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/form1.h"
#include "tools/testing/test_folder.h"

struct LineReaderAccess {
    static bool leggi_linea(Form1& f) { return f.leggi_linea(); }
};

namespace {

const char* const kLineDoc = "R_linea.txt";
const char* const kTrainDoc = "R_T-.txt";

// A route of 1000 m: extended length E = 8000, last cell N = 160.
const std::string kHead = "[generale]\r\nlunghezza percorso,    1000\r\n[curve]\r\n";
constexpr int32_t kN = 160;
constexpr int32_t kE = 8000;

// One reading of a document written into a fresh program folder, with a train
// description beside it so that its deletion (or not) can be seen.
class LineRun {
public:
    explicit LineRun(const std::string* doc, int32_t j = 1) : form(folder.path()) {
        form.routeName = "R";
        form.trainCode = "T";
        form.j = j;
        if (doc != nullptr) folder.write(kLineDoc, *doc);
        folder.write(kTrainDoc, "[generale]\r\n");
        follows = LineReaderAccess::leggi_linea(form);
    }
    explicit LineRun(const std::string& doc, int32_t j = 1) : LineRun(&doc, j) {}

    TestFolder folder;
    Form1 form;
    bool follows = false;

    int aux2(int64_t cell) const { return form.grid[cell].aux2; }
};

// What a probe looks at.
enum class At { Kind, Value1, Value2, Value3, Value4, Aux2, Scenery, Long1, Long2, Long3, X, Y, XType };

struct Probe {
    At at;
    int64_t index;
    double expected;
};

double look(const Form1& f, const Probe& p) {
    switch (p.at) {
        case At::Kind: return f.grid[p.index].kind;
        case At::Value1: return f.grid[p.index].value1;
        case At::Value2: return f.grid[p.index].value2;
        case At::Value3: return f.grid[p.index].value3;
        case At::Value4: return f.grid[p.index].value4;
        case At::Aux2: return f.grid[p.index].aux2;
        case At::Scenery: return f.grid[p.index].scenery;
        case At::Long1: return f.scenario[static_cast<size_t>(p.index)].long1;
        case At::Long2: return f.scenario[static_cast<size_t>(p.index)].long2;
        case At::Long3: return f.scenario[static_cast<size_t>(p.index)].long3;
        case At::X: return f.line.value(p.index, 0);
        case At::Y: return f.line.value(p.index, 1);
        case At::XType: return f.line.type(p.index, 0);
    }
    return -1;
}

struct ReaderCase {
    const char* name;
    std::string doc;
    int32_t errorCode;
    int32_t errorLine;  // checked when errorCode is not 0
    std::vector<Probe> probes;
    std::vector<std::pair<int, std::string>> labels;
};

// Runs one case: the error and where it was met, whether the train half
// follows, the document deleted, and every probe.
void check(const ReaderCase& c, int32_t j = 1) {
    SCOPED_TRACE(c.name);
    LineRun run(c.doc, j);
    const Form1& f = run.form;
    EXPECT_EQ(f.errorCode, c.errorCode);
    EXPECT_EQ(run.follows, c.errorCode == 0 || c.errorCode == 15);
    if (c.errorCode != 0) {
        EXPECT_EQ(f.errorDocument, Document::Line);
        EXPECT_EQ(f.errorLine, c.errorLine);
    }
    EXPECT_FALSE(run.folder.exists(kLineDoc));
    // Only the recovery path removes the train description too.
    EXPECT_EQ(run.folder.exists(kTrainDoc), c.errorCode != 25);
    EXPECT_FALSE(f.file1.is_open());
    for (const Probe& p : c.probes) {
        SCOPED_TRACE("probe " + std::to_string(static_cast<int>(p.at)) + " at " + std::to_string(p.index));
        EXPECT_NEAR(look(f, p), p.expected, 1e-12);
    }
    for (const auto& [slot, label] : c.labels) EXPECT_EQ(f.scenario[static_cast<size_t>(slot)].label, label);
}

std::string repeat(const std::string& row, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += row;
    return out;
}

}  // namespace

TEST(LineReader, MissingDocumentGives101AndTouchesNothingElse) {
    LineRun run(nullptr);
    EXPECT_EQ(run.form.errorCode, 101);
    EXPECT_FALSE(run.follows);
    EXPECT_EQ(run.form.scenario[kSlotRoute].label, "R");
    EXPECT_EQ(run.form.scenario[kSlotTrain].label, "T");
    EXPECT_FALSE(run.form.grid.sized());
    EXPECT_TRUE(run.folder.exists(kTrainDoc));
    EXPECT_EQ(run.folder.list().size(), 1u);
    for (int s = 0; s < kScenarioSlots; ++s) {
        if (s == kSlotRoute || s == kSlotTrain) continue;
        const ScenarioSlot& slot = run.form.scenario[static_cast<size_t>(s)];
        EXPECT_TRUE(slot.label.empty() && slot.long1 == 0 && slot.long2 == 0 && slot.long3 == 0) << s;
    }
}

TEST(LineReader, GeneralSectionKeywords) {
    const std::vector<ReaderCase> cases = {
        {"header values and text before [generale]",
         "free text, 12, -3\r\nmore [GENERALE] here\r\nlunghezza percorso,    106000\r\n"
         "progressiva chilometrica uno,    1000,    0,    0\r\nsfondo uno,    4000\r\nsfondo due,    1000\r\n"
         "sfondo tre,    1\r\nripetizione segnali 4 codici,    1000,    107500\r\n[fine]\r\n",
         0, 0,
         {{At::Long2, 84, 106000}, {At::Long1, 81, 1000}, {At::Long1, 83, 0}, {At::Long1, 85, 4000},
          {At::Long2, 85, 1}, {At::Long3, 85, 1000}, {At::Long1, 86, 1000}, {At::Long2, 86, 107500},
          {At::Long3, 86, 4}},
         {{85, "R"}, {86, "T"}}},
        {"Progressiva with a capital P is passed over with its numbers",
         "[generale]\r\nlunghezza percorso, 1000\r\nProgressiva chilometrica uno,    1000,    0,    0\r\n"
         "progressiva chilometrica due,    500,    0,    1\r\n[x]\r\n",
         0, 0, {{At::Long1, 81, 500}, {At::Long2, 81, 100}, {At::Long1, 82, 0}, {At::Long1, 83, 0}}, {}},
        {"background and repetition words compare letters exactly",
         "[generale]\r\nlunghezza percorso, 1000\r\nSfondo uno, 4000\r\nsfondo UNO, 5\r\n"
         "Ripetizione segnali 4, 1000, 2000\r\n[x]\r\n",
         0, 0, {{At::Long1, 85, 0}, {At::Long1, 86, 0}, {At::Long2, 86, 0}}, {}},
        {"the longest route, 1000000 m, is accepted", "[generale]\r\nlunghezza percorso, 1000000\r\n[x]\r\n", 0, 0,
         {{At::Long2, 84, 1000000}, {At::Kind, 20140, 0}, {At::Aux2, 20137, 100}, {At::Aux2, 20138, 0},
          {At::XType, 1006998, LineTable::kDouble}, {At::Y, 1006998, 1006998},
          {At::XType, 1006999, LineTable::kEmpty}},
         {}},
        {"route length ignores letter case", "[generale]\r\nLUNGHEZZA Percorso, 2000\r\n[x]\r\n", 0, 0,
         {{At::Long2, 84, 2000}}, {}},
        {"49 codes gives 4", "[generale]\r\nlunghezza percorso, 1000\r\nripetizione segnali 49 codici, 0, 5000\r\n[x]\r\n",
         0, 0, {{At::Long3, 86, 4}, {At::Long2, 86, 5000}}, {}},
        {"9 codes", "[generale]\r\nlunghezza percorso, 1000\r\nripetizione segnali 9 codici, -50, 500\r\n[x]\r\n",
         0, 0, {{At::Long3, 86, 9}, {At::Long1, 86, -50}}, {}},
        {"end 0 leaves 0 codes", "[generale]\r\nlunghezza percorso, 1000\r\nripetizione segnali 4 codici, 1000, 0\r\n[x]\r\n",
         0, 0, {{At::Long3, 86, 0}, {At::Long1, 86, 1000}}, {}},
        {"a field passing two tests reads both records, and [ ] on it ends the section",
         "[generale]\r\n[lunghezza percorso sfondo uno], 3000, 77\r\nsfondo due, 5\r\n", 0, 0,
         {{At::Long2, 84, 3000}, {At::Long1, 85, 77}, {At::Long3, 85, 0}}, {}},
        {"ten dash fields are skipped, the eleventh is the keyword and does not end the section",
         "[generale]\r\nlunghezza percorso, 1000\r\n" + repeat("-- note --\r\n", 10) +
             "- [x] sfondo due -, 7\r\nsfondo tre, 3\r\n[x]\r\n",
         0, 0, {{At::Long3, 85, 7}, {At::Long2, 85, 3}}, {}},
        {"dash fields in the general section are not tested for the end of the file",
         "[generale]\r\nlunghezza percorso, 1000\r\n-----\r\n-----\r\n", 25, 4, {{At::Long2, 84, 1000}}, {}},
    };
    for (const ReaderCase& c : cases) check(c);
}

TEST(LineReader, RecordKeywordsAndDashFields) {
    const std::vector<ReaderCase> cases = {
        {"xpendenzax is a gradient, headers are passed over",
         kHead + "[pendenze]\r\nxpendenzax, 100, 5\r\n[montagne]\r\n[cartelli]\r\n[indicazioni]\r\n[fine]\r\n", 0, 0,
         {{At::Aux2, 1, 100}, {At::Aux2, 2, 105}, {At::Aux2, kN - 3, 105}}, {}},
        {"CURVAS6 is a left class-6 curve", kHead + "CURVAS6, 100, 10\r\n[fine]\r\n", 0, 0,
         {{At::X, 100, 0}, {At::X, 101, -0.003}, {At::Y, 101, 101}}, {}},
        {"curvad16 is class 1", kHead + "curvad16, 100, 10\r\n[fine]\r\n", 0, 0, {{At::X, 101, 0.0001}}, {}},
        {"a capital S makes a left curve", kHead + "CurvaS2, 100, 10\r\n[fine]\r\n", 0, 0, {{At::X, 101, -0.0002}}, {}},
        {"two dash fields are skipped, the third is the keyword",
         kHead + "-a-,-b-,-pendenza-, 100, 5\r\n[fine]\r\n", 0, 0, {{At::Aux2, 1, 100}, {At::Aux2, 2, 105}}, {}},
        {"dash fields up to the end of the file end the reading", kHead + "pendenza, 100, 5\r\n---\r\n---\r\n", 0, 0,
         {{At::Aux2, 2, 105}}, {}},
        {"a record keyword on the last line is not read", kHead + "pendenza, 100, 5\r\npendenza", 0, 0,
         {{At::Aux2, 2, 105}}, {}},
    };
    for (const ReaderCase& c : cases) check(c);
}

TEST(LineReader, ErrorsFromSmallDocuments) {
    const std::string g = "[generale]\r\nlunghezza percorso, 1000\r\n";
    const std::vector<ReaderCase> cases = {
        {"[generale] as the last field", "text\r\n[generale]", 102, 2, {}, {}},
        {"no [generale] at all", "a, b\r\nc\r\n", 102, 2, {}, {}},
        {"an empty document", "", 102, 0, {}, {}},
        {"route length above 1000000", "[generale]\r\nlunghezza percorso, 1000001\r\n[x]\r\n", 1, 2,
         {{At::Long2, 84, 1000001}}, {}},
        {"negative route length", "[generale]\r\nlunghezza percorso, -1\r\n[x]\r\n", 212, 2, {}, {}},
        {"repetition start not a multiple of 50", g + "ripetizione segnali 4, 1025, 2000\r\n[x]\r\n", 3, 3, {}, {}},
        {"repetition end not a multiple of 50", g + "ripetizione segnali 4, 1000, 2025\r\n[x]\r\n", 4, 3, {}, {}},
        {"repetition without 4 or 9", g + "ripetizione segnali, 1000, 2000\r\n[x]\r\n", 5, 3,
         {{At::Long1, 86, 1000}, {At::Long2, 86, 2000}}, {}},
        {"curve without a class digit", kHead + "pendenza, 0, 1\r\ncurvad, 100, 10\r\n[fine]\r\n", 103, 5, {}, {}},
        {"curve with a digit that is no class", kHead + "curvad9, 100, 10\r\n[fine]\r\n", 103, 4, {}, {}},
        {"indication board on an occupied cell",
         kHead + "cartello_indicatore, 1000, (A)\r\ncartello_indicatore, 1010, (B)\r\n[fine]\r\n", 6, 5,
         {{At::Kind, 21, kSign}, {At::Value1, 21, 80}}, {{80, "(A)"}, {79, ""}}},
        {"speed board on an indication board", 
         kHead + "cartello_indicatore, 1000, (A)\r\nindicatori_vmax, 1000, 75, 75, 75, 0, , , , 0\r\n[fine]\r\n", 21, 5,
         {{At::Kind, 21, kSign}}, {}},
        {"a number with a decimal point", "[generale]\r\nlunghezza percorso, 10.5\r\n", 25, 2, {}, {}},
        {"a record cut by the end of the file", kHead + "montagna, 100, 200", 25, 4, {}, {}},
        {"no route length row", "[generale]\r\n[curve]\r\npendenza, 0, 0\r\n", 25, 2, {}, {}},
        {"negative gradient position", kHead + "pendenza, -50, 3\r\n", 201, 4, {}, {}},
        {"negative curve start", kHead + "curvad1, -1, 10\r\n", 201, 4, {}, {}},
        {"negative montagna end", kHead + "montagna, 100, -1, 11\r\n", 201, 4, {}, {}},
        {"negative speed board position", kHead + "indicatori_vmax, -50, 75, 75, 75, 0, , , , 0\r\n", 201, 4, {}, {}},
        {"negative indication board position", kHead + "cartello_indicatore, -10, (A)\r\n", 201, 4, {}, {}},
        {"curve ending beyond column E", kHead + "curvad1, 7900, 101\r\n[fine]\r\n", 206, 4, {}, {}},
        {"placement refuses a montagna stretch past the grid; nothing after it is read",
         kHead + "pendenza, 100, 5\r\nmontagna, 100, 9000, 1\r\npendenza, 200, 6\r\n[fine]\r\n", 202, 5,
         {{At::Aux2, 1, 100}, {At::Aux2, 2, 0}}, {}},
        {"placement refuses a speed board value beyond 16 bits",
         kHead + "indicatori_vmax, 1000, 1639, 0, 0, 0, , , , 0\r\n[fine]\r\n", 205, 4, {{At::Kind, 21, 0}}, {}},
        {"gradient rows crowded past the last cell", kHead + repeat("pendenza, 7900, 1\r\n", 5) + "[fine]\r\n", 207, 8,
         {{At::Aux2, kN, 101}}, {}},
    };
    for (const ReaderCase& c : cases) check(c);
}

TEST(LineReader, MoreThanEightyIndicationBoardsAreRefused) {
    std::string doc = "[generale]\r\nlunghezza percorso, 10000\r\n[indicazioni]\r\n";
    for (int i = 0; i < 81; ++i) doc += "cartello_indicatore, " + std::to_string(1000 + 100 * i) + ", (B" + std::to_string(i) + ")\r\n";
    doc += "[fine]\r\n";
    LineRun run(doc);
    EXPECT_EQ(run.form.errorCode, 204);
    EXPECT_EQ(run.form.errorLine, 84);
    EXPECT_FALSE(run.follows);
    EXPECT_EQ(run.form.scenario[1].label, "(B79)");
    EXPECT_EQ(run.form.scenario[80].label, "(B0)");
    EXPECT_EQ(run.form.scenario[0].label, "");
    EXPECT_EQ(run.form.grid[cell_index(1000 + 100 * 80)].kind, kEmpty);
    EXPECT_EQ(run.form.grid[cell_index(1000 + 100 * 79)].value1, 1);
}

TEST(LineReader, RoomOnTheGridAtExactlyNAndOneMetreMore) {
    // (7900 + 100) / 50 = N is accepted; 7901 leaves no room: 15, and the train half follows.
    struct RoomCase {
        const char* row;
        int64_t cell;
        int kind;
    };
    const RoomCase rows[] = {
        {"pendenza, @, 3", -1, 0},
        {"curvad1, @, 0", -1, 0},
        {"montagna, @, 7950, 1", -1, 0},
        {"indicatori_vmax, @, 75, 75, 75, 0, , , , 0", 159, kSpeedBoard},
        {"cartello_indicatore, @, (Z)", 159, kSign},
    };
    for (const RoomCase& r : rows) {
        for (int32_t position : {7900, 7901}) {
            std::string row = r.row;
            row.replace(row.find('@'), 1, std::to_string(position));
            SCOPED_TRACE(row);
            LineRun run(kHead + "pendenza, 0, 2\r\n" + row + "\r\n[fine]\r\n");
            EXPECT_TRUE(run.follows);
            EXPECT_FALSE(run.folder.exists(kLineDoc));
            // The completion runs either way.
            EXPECT_EQ(run.aux2(kN - 3), 102);
            // A gradient row that filled up to N - 3 leaves the fill index on N - 2,
            // and the completion still writes that one cell.
            EXPECT_EQ(run.aux2(kN - 2), position == 7900 && row[0] == 'p' ? 103 : 0);
            EXPECT_EQ(run.form.line.type(kE - 2, 0), LineTable::kDouble);
            if (position == 7900) {
                EXPECT_EQ(run.form.errorCode, 0);
                if (r.cell >= 0) {
                    EXPECT_EQ(run.form.grid[r.cell].kind, r.kind);
                }
            } else {
                EXPECT_EQ(run.form.errorCode, 15);
                EXPECT_EQ(run.form.errorDocument, Document::Line);
                EXPECT_EQ(run.form.errorLine, 5);
                if (r.cell >= 0) {
                    EXPECT_EQ(run.form.grid[r.cell].kind, kEmpty);
                }
            }
        }
    }
}

TEST(LineReader, GradientFilling) {
    const std::vector<ReaderCase> cases = {
        {"a row at 0 writes no cell; its gradient starts at cell 0",
         kHead + "pendenza, 0, 5\r\npendenza, 100, 7\r\n[fine]\r\n", 0, 0,
         {{At::Aux2, 0, 105}, {At::Aux2, 1, 105}, {At::Aux2, 2, 107}, {At::Aux2, kN - 3, 107},
          {At::Aux2, kN - 2, 0}, {At::Aux2, kN - 1, 0}, {At::Aux2, kN, 0}},
         {}},
        {"two rows in one cell: the second writes it with the first's gradient",
         kHead + "pendenza, 100, 1\r\npendenza, 110, 2\r\npendenza, 300, -3\r\n[fine]\r\n", 0, 0,
         {{At::Aux2, 1, 100}, {At::Aux2, 2, 101}, {At::Aux2, 3, 102}, {At::Aux2, 5, 102}, {At::Aux2, 6, 97},
          {At::Aux2, kN - 3, 97}},
         {}},
        {"75 m rounds to cell 2", kHead + "pendenza, 75, 4\r\n[fine]\r\n", 0, 0,
         {{At::Aux2, 1, 100}, {At::Aux2, 2, 104}}, {}},
        {"125 m rounds to cell 2 as well", kHead + "pendenza, 125, 6\r\n[fine]\r\n", 0, 0,
         {{At::Aux2, 1, 100}, {At::Aux2, 2, 106}}, {}},
        {"no gradient rows: 100 up to N - 3", kHead + "[fine]\r\n", 0, 0,
         {{At::Aux2, 0, 100}, {At::Aux2, kN - 3, 100}, {At::Aux2, kN - 2, 0}}, {}},
        {"crowded rows up to the last cell; the completion never writes beyond it",
         kHead + repeat("pendenza, 7900, 1\r\n", 3) + "pendenza, 7900, 9\r\n[fine]\r\n", 0, 0,
         {{At::Aux2, 157, 100}, {At::Aux2, 158, 101}, {At::Aux2, kN, 101}}, {}},
        {"gradients outside -100 to 155 keep their low eight bits", kHead + "pendenza, 0, 200\r\n[fine]\r\n", 0, 0,
         {{At::Aux2, 0, 44}}, {}},
    };
    for (const ReaderCase& c : cases) check(c);
}

TEST(LineReader, LineTableFromCurveRows) {
    const std::vector<ReaderCase> cases = {
        {"straight line to E - 2, last two columns empty", kHead + "[fine]\r\n", 0, 0,
         {{At::XType, 0, LineTable::kInt16}, {At::XType, 2, LineTable::kDouble}, {At::X, kE - 2, 0},
          {At::Y, kE - 2, kE - 2}, {At::XType, kE - 1, LineTable::kEmpty}, {At::XType, kE, LineTable::kEmpty}},
         {}},
        {"right class 5 at 100", kHead + "curvad5, 100, 300\r\n[fine]\r\n", 0, 0,
         {{At::X, 100, 0}, {At::Y, 100, 100}, {At::X, 101, 0.002}, {At::Y, 101, 101}, {At::X, 102, 0.006},
          {At::Y, 102, 101.999996}},
         {}},
        {"a curve at metre 0 has no straight part", kHead + "curvad4, 0, 3\r\n[fine]\r\n", 0, 0,
         {{At::X, 2, 0.001}, {At::Y, 2, 2}, {At::X, 3, 0.003}, {At::Y, 3, 2.999999}, {At::X, 4, 0.005},
          {At::Y, 4, 3.999998}},
         {}},
        {"a curve at metre 1 neither", kHead + "curvad4, 1, 2\r\n[fine]\r\n", 0, 0,
         {{At::X, 2, 0.001}, {At::X, 3, 0.003}, {At::X, 4, 0.005}, {At::Y, 4, 3.999998}}, {}},
        {"a curve reaching column E fills the last two columns", kHead + "curvad1, 7900, 100\r\n[fine]\r\n", 0, 0,
         {{At::XType, kE, LineTable::kDouble}, {At::XType, kE - 1, LineTable::kDouble}}, {}},
    };
    for (const ReaderCase& c : cases) check(c);
}

TEST(LineReader, OverlappingCurvesTurnOnlyTheColumnsAhead) {
    // A curve starting before the column reached turns only the columns still
    // ahead; one ending behind it changes nothing.
    struct Pair {
        const char* name;
        std::string doc;
        std::string same;
        bool turnsMore;  // whether the second curve changed the line at all
    };
    const std::string first = kHead + "curvad4, 100, 10\r\n";
    const Pair pairs[] = {
        {"overlapping start", first + "curvas4, 105, 10\r\n", first + "curvas4, 110, 5\r\n", true},
        {"ending behind", first + "curvas4, 50, 20\r\n", first, false},
    };
    LineRun alone(first);
    for (const Pair& p : pairs) {
        SCOPED_TRACE(p.name);
        LineRun a(p.doc);
        LineRun b(p.same);
        ASSERT_EQ(a.form.errorCode, 0);
        ASSERT_EQ(b.form.errorCode, 0);
        for (int64_t m = 0; m <= kE; ++m) {
            ASSERT_EQ(a.form.line.type(m, 0), b.form.line.type(m, 0)) << m;
            ASSERT_EQ(a.form.line.value(m, 0), b.form.line.value(m, 0)) << m;
            ASSERT_EQ(a.form.line.value(m, 1), b.form.line.value(m, 1)) << m;
        }
        EXPECT_EQ(a.form.line.value(110, 0), alone.form.line.value(110, 0));
        EXPECT_EQ(a.form.line.value(kE - 2, 0) != alone.form.line.value(kE - 2, 0), p.turnsMore);
    }
}

TEST(LineReader, WithoutTheLineTableCurveRowsArePassedOver) {
    // No class digit would be 103 with the table; here the curve is never read.
    LineRun run(kHead + "curvad, 100, 10\r\ncurvad5, 200, 300\r\npendenza, 100, 4\r\n[fine]\r\n", 0);
    EXPECT_EQ(run.form.errorCode, 0);
    EXPECT_TRUE(run.follows);
    EXPECT_FALSE(run.form.line.exists());
    EXPECT_EQ(run.aux2(2), 104);
    EXPECT_FALSE(run.folder.exists(kLineDoc));
}

TEST(LineReader, MontagnaSpeedBoardsAndIndicationBoards) {
    const std::string head = "[generale]\r\nlunghezza percorso,    20000\r\n[x]\r\n";
    const std::vector<ReaderCase> cases = {
        {"montagna stretch reaches its placement",
         head + "montagna,   3000,  17600,  11\r\n[fine]\r\n", 0, 0,
         {{At::Scenery, 59, 0}, {At::Scenery, 60, 1}, {At::Scenery, 351, 1}, {At::Kind, 63, kMontagnaMarker}}, {}},
        {"speed board reaches its placement",
         head + "indicatori_vmax,  15350,  75,  85,  85,  2,  ,  ,  ,  0\r\n[fine]\r\n", 0, 0,
         {{At::Kind, 308, kSpeedBoard}, {At::Value1, 308, 1500}, {At::Value2, 308, 1700}, {At::Value3, 308, 1700},
          {At::Value4, 308, 20}},
         {}},
        {"indication boards take slots from 80 down; one on a montagna marker replaces it",
         head + "montagna,   3000,  17600,  11\r\ncartello_indicatore,  2800,   (GALLERIA  MONTE)\r\n"
                "cartello_indicatore,  3100,   (CONFINE)\r\nCartello Indicatore, 11100, (P.C.CAVRIA)   \r\n[fine]\r\n",
         0, 0,
         {{At::Kind, 57, kSign}, {At::Value1, 57, 80}, {At::Kind, 63, kSign}, {At::Value1, 63, 79},
          {At::Scenery, 63, 1}, {At::Kind, 223, kSign}, {At::Value1, 223, 78}},
         {{80, "(GALLERIA  MONTE)"}, {79, "(CONFINE)"}, {78, "(P.C.CAVRIA)"}, {77, ""}}},
    };
    for (const ReaderCase& c : cases) check(c);
    LineRun run(head + "cartello_indicatore, 100, (A)\r\ncartello_indicatore, 200, (B)\r\n");
    EXPECT_EQ(run.form.boardSlot, 78);
    EXPECT_EQ(run.form.currentField, "(B)");
}

TEST(LineReader, NegativeRouteLengthLeavesTheGridUnsized) {
    LineRun run("[generale]\r\nlunghezza percorso, -7000\r\n[x]\r\npendenza, 0, 0\r\n");
    EXPECT_EQ(run.form.errorCode, 212);
    EXPECT_FALSE(run.form.grid.sized());
    EXPECT_FALSE(run.form.line.exists());
}

TEST(LineReader, BuiltInLineDescription) {
    TestFolder folder;
    Form1 form(folder.path());
    form.routeName = "Bresta_Vilcar";
    form.trainCode = "RX907";
    form.j = 1;
    form.dati_linea();
    ASSERT_TRUE(folder.exists("Bresta_Vilcar_linea.txt"));
    EXPECT_TRUE(LineReaderAccess::leggi_linea(form));
    EXPECT_EQ(form.errorCode, 0);
    EXPECT_FALSE(folder.exists("Bresta_Vilcar_linea.txt"));

    const int32_t n = 2260;
    ASSERT_EQ(form.grid.upper(), n);
    for (int32_t c = 0; c <= n; ++c) {
        EXPECT_EQ(form.grid[c].aux2 != 0, c <= n - 3) << c;
    }

    const int64_t signCells[] = {57, 78, 221, 223};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(signCells[i]);
        EXPECT_EQ(form.grid[signCells[i]].kind, kSign);
        EXPECT_EQ(form.grid[signCells[i]].value1, 80 - i);
        EXPECT_FALSE(form.scenario[static_cast<size_t>(80 - i)].label.empty());
    }
    EXPECT_TRUE(form.scenario[76].label.empty());
    EXPECT_EQ(form.scenario[77].label, "(P.C.CAVRIA)");  // the fourth board, at 11100 m
    EXPECT_EQ(form.boardSlot, 76);

    EXPECT_EQ(form.scenario[kSlotGeneral].long2, 106000);
    const ScenarioSlot& train = form.scenario[kSlotTrain];
    EXPECT_EQ(train.long1, 1000);
    EXPECT_EQ(train.long2, 107500);
    EXPECT_EQ(train.long3, 4);
    const ScenarioSlot& route = form.scenario[kSlotRoute];
    EXPECT_EQ(route.long1, 4000);
    EXPECT_EQ(route.long2, 1);
    EXPECT_EQ(route.long3, 1000);
    EXPECT_EQ(route.label, "Bresta_Vilcar");
    EXPECT_EQ(train.label, "RX907");
    const ScenarioSlot& first = form.scenario[kSlotProgressive3];
    EXPECT_EQ(first.long1, 1000);
    EXPECT_EQ(first.long2, 0);
    EXPECT_EQ(first.long3, 0);
    for (int s : {kSlotProgressive2, kSlotProgressive1}) {
        EXPECT_EQ(form.scenario[static_cast<size_t>(s)].long1, 0);
        EXPECT_EQ(form.scenario[static_cast<size_t>(s)].long2, 0);
    }

    // The line table reaches E - 2 = 112998; the first curve is right-handed at 1850.
    EXPECT_EQ(form.line.last_column(), 113000);
    EXPECT_EQ(form.line.type(112998, 0), LineTable::kDouble);
    EXPECT_EQ(form.line.type(112999, 0), LineTable::kEmpty);
    EXPECT_EQ(form.line.value(1850, 0), 0.0);
    EXPECT_EQ(form.line.value(1851, 0), 0.002);
}

// The tables are made from the last route length row read, whatever ends the
// general section: its end, a refusal or a read failure.
TEST(LineReader, TheLastRouteLengthRowSizesTheTables) {
    const std::string rows = "[generale]\r\n" + repeat("lunghezza percorso, 1000000\r\n", 200) +
                             "lunghezza percorso, 500\r\nlunghezza percorso, 1000\r\n";
    struct Case {
        const char* name;
        std::string doc;
        int32_t errorCode;
    };
    const Case cases[] = {
        {"end of the general section", rows + "[curve]\r\n", 0},
        {"a refused length after it", rows + "lunghezza percorso, 1000001\r\n[x]\r\n", 1},
        {"a refused signal repetition after it", rows + "ripetizione segnali 4, 1025, 0\r\n[x]\r\n", 3},
        {"a read failure after it", rows + "sfondo uno, x\r\n[x]\r\n", 25},
    };
    for (const Case& c : cases) {
        for (int32_t j : {0, 1}) {
            SCOPED_TRACE(std::string(c.name) + ", j " + std::to_string(j));
            LineRun run(c.doc, j);
            EXPECT_EQ(run.form.errorCode, c.errorCode);
            ASSERT_TRUE(run.form.grid.sized());
            EXPECT_EQ(run.form.grid.upper(), kN);
            EXPECT_EQ(run.form.line.exists(), j != 0);
            if (j != 0) {
                EXPECT_EQ(run.form.line.last_column(), kE);
            }
        }
    }
}
