// The facts the compile pass records in its read trace, from whole passes over
// small documents: what a tool reads instead of working the rules out again.
#include "core/read_trace.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/error_codes.h"
#include "core/form1.h"
#include "core/run_end.h"
#include "tools/testing/test_folder.h"
#include "platform/platform.h"

namespace {

// A route of 10000 m (last cell 340) and an empty train description.
const std::string kLineHead = "[generale]\r\nlunghezza percorso, 10000\r\n[dati]\r\n";
const std::string kTrainHead = "[generale]\r\n";
const std::string kStation = "  4,  600,  0, 1, 0,  1,1,0,  4,1,1,    0,   0, 0, 0, BORGO\r\n";

// One traced compile pass over two documents, up to the compiled files.
struct Pass {
    TestFolder folder;
    Form1 form{folder.path()};

    Pass(const std::string& line, const std::string& train) {
        form.routeName = "R";
        form.trainCode = "T";
        form.trace.on = true;
        form.erroreBox = false;
        folder.write(form.line_document_name(), line);
        folder.write(form.train_document_name(), train);
        try {
            form.prepara_percorso(1);
        } catch (const ProgramEnd&) {
        } catch (const platform::RunTimeFailure&) {
            // A grid never sized: the refusal before it is what the tests look at.
        }
    }
    const ReadTrace& trace() const { return form.trace; }
};

// The index of the n-th traced record of a kind (from 0), -1 when none.
int32_t record_of(const ReadTrace& trace, RecordKind kind, int n = 0) {
    for (size_t i = 0; i < trace.records.size(); ++i) {
        if (trace.records[i].kind == kind && n-- == 0) return static_cast<int32_t>(i);
    }
    return -1;
}

}  // namespace

void PrintTo(const RefusedRow& r, std::ostream* out) {
    *out << "{code " << r.code << ", document " << static_cast<int>(r.document) << ", line " << r.line
         << ", record " << r.record << ", field " << r.field << ", cell " << r.cell << ", free cell " << r.freeCell
         << " at " << r.freePosition << "}";
}

TEST(ReadTrace, TheFirstRefusalIsTheRowThePassReports) {
    struct Case {
        const char* name;
        std::string line, train;
        RecordKind kind;  // of the refused record
        int nth;          // which record of that kind (from 0); -1: no record
        RefusedRow refused;  // its record found from kind and nth
    };
    const Case cases[] = {
        {.name = "route too long", .line = "[generale]\r\nlunghezza percorso, 2000000\r\n", .train = kTrainHead,
         .kind = RecordKind::RouteLength, .nth = 0, .refused = {kRouteTooLong, Document::Line, 2, 0, 0, -1}},
        {.name = "signal repetition end off the cells",
         .line = "[generale]\r\nlunghezza percorso, 10000\r\nripetizione segnali 4 codici, 100, 120\r\n",
         .train = kTrainHead, .kind = RecordKind::SignalRepetition, .nth = 0,
         .refused = {kRepetitionEndNotOnCell, Document::Line, 3, 0, 1, -1}},
        {.name = "curve without a class", .line = kLineHead + "curva, 100, 200\r\n", .train = kTrainHead,
         .kind = RecordKind::Curve, .nth = 0, .refused = {kBadCurve, Document::Line, 4, 0, -1, -1}},
        {.name = "montagna stretch past the grid", .line = kLineHead + "montagna, 100, 400000, 1\r\n",
         .train = kTrainHead, .kind = RecordKind::Montagna, .nth = 0,
         .refused = {kStretchBeyondGrid, Document::Line, 4, 0, 1, 7999}},
        {.name = "second speed board on a taken cell",
         .line = kLineHead + "indicatori_vmax, 1000, 80,90,100,0, ,,,0\r\nindicatori_vmax, 1010, 80,90,100,0, ,,,0\r\n",
         .train = kTrainHead, .kind = RecordKind::SpeedBoard, .nth = 1,
         .refused = {kSpeedBoardCellTaken, Document::Line, 5, 0, 0, 21, 22, 1050}},
        {.name = "indication board on a speed board's cell",
         .line = kLineHead + "indicatori_vmax, 1000, 80,90,100,0, ,,,0\r\ncartello_indicatore, 990, BIVIO\r\n",
         .train = kTrainHead, .kind = RecordKind::IndicationBoard, .nth = 0,
         .refused = {kIndicationBoardCellTaken, Document::Line, 5, 0, 0, 21, 22, 1050}},
        {.name = "a speed the grid cannot hold: the row that gave it, not the row that wrote it",
         .line = kLineHead,
         .train = kTrainHead + "velocita, 0, 100\r\nvelocita, 1000, 2000\r\nvelocita, 2000, 3000\r\n",
         .kind = RecordKind::SpeedLimit, .nth = 1, .refused = {kReadFailure, Document::Train, 3, 0, 1, -1}},
        {.name = "second signal on a taken cell",
         .line = kLineHead,
         .train = kTrainHead + "segnale, 1000, 1,4,1, 0,0, 1,3,1,0, 0\r\nsegnale, 1020, 1,4,1, 0,0, 1,3,1,0, 0\r\n",
         .kind = RecordKind::Signal, .nth = 1, .refused = {kSignalCellTaken, Document::Train, 3, 0, 0, 21, 22, 1050}},
        {.name = "a signal on a taken cell whose later neighbour is taken too: the earlier one is nearest free",
         .line = kLineHead,
         .train = kTrainHead + "segnale, 1000, 1,4,1, 0,0, 1,3,1,0, 0\r\nsegnale, 1050, 1,4,1, 0,0, 1,3,1,0, 0\r\n"
                               "segnale, 1010, 1,4,1, 0,0, 1,3,1,0, 0\r\n",
         .kind = RecordKind::Signal, .nth = 2, .refused = {kSignalCellTaken, Document::Train, 4, 0, 0, 21, 20, 950}},
        {.name = "a slow-down whose warning cell holds a signal",
         .line = kLineHead,
         .train = kTrainHead + "segnale, 800, 1,4,1, 0,0, 1,3,1,0, 0\r\nrallentamento, 2000, 60, 500, 0, 0, 0\r\n",
         .kind = RecordKind::SlowDown, .nth = 0, .refused = {kWarningCellTaken, Document::Train, 3, 0, 0, 17}},
        {.name = "abbattimento on a signal's cell",
         .line = kLineHead,
         .train = kTrainHead + "segnale, 1000, 1,4,1, 0,0, 1,3,1,0, 0\r\nabbattimento, 1050, 60\r\n",
         .kind = RecordKind::Abbattimento, .nth = 0,
         .refused = {kAbbattimentoCellTaken, Document::Train, 3, 0, 0, 21, 22, 1100}},
        {.name = "station length not a multiple of 100", .line = kLineHead,
         .train = kTrainHead + "stazione, 5000,  4,  650,  0, 1, 0,  1,1,0,  4,1,1,    0,   0, 0, 0, BORGO\r\n",
         .kind = RecordKind::Station, .nth = 0, .refused = {kStationLengthOdd, Document::Train, 2, 0, 2, -1}},
        {.name = "a row past the room on the grid", .line = kLineHead,
         .train = kTrainHead + "segnale, 20000, 1,4,1, 0,0, 1,3,1,0, 0\r\n", .kind = RecordKind::Signal,
         .nth = 0, .refused = {kNoRoomOnGrid, Document::Train, 2, 0, 0, -1}},
        {.name = "text where a number belongs: the field that failed", .line = kLineHead,
         .train = kTrainHead + "segnale, 1000, 1, x, 1, 0,0, 1,3,1,0, 0\r\n", .kind = RecordKind::Signal,
         .nth = 0, .refused = {kReadFailure, Document::Train, 2, 0, 2, -1}},
        {.name = "a progressive definition off the cells, found through the ordering",
         .line = "[generale]\r\nlunghezza percorso, 10000\r\nprogressiva chilometrica tre, 3000, 0, 0\r\n"
                 "progressiva chilometrica uno, 1010, 0, 0\r\n",
         .train = kTrainHead, .kind = RecordKind::Progressive1, .nth = 0,
         .refused = {kProgressiveNotOnCell, Document::Line, 4, 0, 0, -1}},
        {.name = "no general section: no record", .line = "lunghezza percorso, 10000\r\n", .train = kTrainHead,
         .kind = RecordKind::RouteLength, .nth = -1, .refused = {kNoGeneralSection, Document::Line, 1, -1, -1, -1}},
    };
    for (const Case& c : cases) {
        Pass pass(c.line, c.train);
        ASSERT_FALSE(pass.trace().refusals.empty()) << c.name;
        RefusedRow expected = c.refused;
        expected.record = c.nth < 0 ? -1 : record_of(pass.trace(), c.kind, c.nth);
        ASSERT_NE(c.nth >= 0, expected.record < 0) << c.name;
        EXPECT_EQ(pass.trace().refusals.front(), expected) << c.name;
        EXPECT_EQ(pass.form.errorReported, expected.code) << c.name;
    }
}

TEST(ReadTrace, EveryFieldAndKeywordKnowsItsPlaceInItsLine) {
    Pass pass(kLineHead, kTrainHead + "  segnale ,  1550,1,   4, 1,  0, 0,    1,  3,1,0, 0\r\n"
                                      "velocita, 106 000, 5\r\n"
                                      "orologio,, 7,\t8\r\n");
    const ReadTrace& t = pass.trace();
    const TracedRecord& signal = t.records[static_cast<size_t>(record_of(t, RecordKind::Signal))];
    EXPECT_EQ(signal.keywordColumn, 2);
    EXPECT_EQ(signal.keywordEndColumn, 9);
    ASSERT_EQ(signal.fields.size(), 11u);
    EXPECT_EQ(signal.fields[0].column, 13);
    EXPECT_EQ(signal.fields[0].endColumn, 17);
    EXPECT_EQ(signal.fields[1].column, 18);
    EXPECT_EQ(signal.fields[2].column, 23);
    EXPECT_EQ(signal.fields[2].endColumn, 24);
    // A number that runs on past a blank ends at the blank.
    const TracedRecord& speed = t.records[static_cast<size_t>(record_of(t, RecordKind::SpeedLimit))];
    ASSERT_FALSE(speed.fields.empty());
    EXPECT_TRUE(speed.fields[0].runsOn);
    EXPECT_EQ(speed.fields[0].column, 10);
    EXPECT_EQ(speed.fields[0].endColumn, 13);
    // An empty field is an empty span where it stands; a tab counts as a blank.
    const TracedRecord& clock = t.records[static_cast<size_t>(record_of(t, RecordKind::Clock))];
    ASSERT_EQ(clock.fields.size(), 3u);
    EXPECT_TRUE(clock.fields[0].empty);
    EXPECT_EQ(clock.fields[0].column, 9);
    EXPECT_EQ(clock.fields[0].endColumn, 9);
    EXPECT_EQ(clock.fields[2].column, 14);
    EXPECT_EQ(clock.fields[2].endColumn, 15);
}

TEST(ReadTrace, TheFieldAReadFailureStoppedAtIsRecordedWhereItStands) {
    struct Case {
        const char* name;
        std::string train;
        TracedField unread;  // line, column, endColumn and text
    } cases[] = {
        {.name = "text where a number belongs", .train = kTrainHead + "velocita, 0, 1x0\r\n",
         .unread = {.line = 2, .column = 13, .endColumn = 16, .text = "1x0"}},
        {.name = "a number too wide, ending its line", .train = kTrainHead + "velocita,  0,\t99999999999\r\n",
         .unread = {.line = 2, .column = 14, .endColumn = 25, .text = "99999999999"}},
        {.name = "on the second line of a row", .train = kTrainHead + "orologio, 9,\r\n  -x7, 0\r\n",
         .unread = {.line = 3, .column = 2, .endColumn = 5, .text = "-x7"}},
        {.name = "a row that runs out of values stops at no field", .train = kTrainHead + "orologio, 9, 5\r\n",
         .unread = {}},
    };
    for (const Case& c : cases) {
        Pass pass(kLineHead, c.train);
        const TracedField& u = pass.trace().unreadField;
        EXPECT_EQ(pass.form.errorReported, kReadFailure) << c.name;
        EXPECT_EQ(u.line, c.unread.line) << c.name;
        EXPECT_EQ(u.column, c.unread.column) << c.name;
        EXPECT_EQ(u.endColumn, c.unread.endColumn) << c.name;
        EXPECT_EQ(u.text, c.unread.text) << c.name;
    }
}

TEST(ReadTrace, PlacementRecordsCellsMovesNarrowingsAndCaps) {
    Pass pass(kLineHead + "montagna, 1000, 2000, 300\r\n",
              kTrainHead + "velocita, 0, 82\r\n"
                           "segnale, 1020, 1,4,1, 0,0, 1,3,1,0, 0\r\n"
                           "rallentamento, 3000, 60, 500, 0, 1, 0\r\n"
                           "abbattimento, 5000, 70000\r\n");
    const ReadTrace& t = pass.trace();
    ASSERT_TRUE(t.refusals.empty());
    const int32_t signal = record_of(t, RecordKind::Signal);
    const int32_t slowDown = record_of(t, RecordKind::SlowDown);
    const int32_t mark = record_of(t, RecordKind::Abbattimento);
    const auto holds = [&](int32_t record, int32_t cell, CellRole role) {
        return std::any_of(t.cells.begin(), t.cells.end(), [&](const FeatureCell& f) {
            return f.record == record && f.cell == cell && f.role == role;
        });
    };
    // round(x / 50 + 1) for a signal and a slow-down, round(x / 50) for a mark.
    EXPECT_TRUE(holds(signal, 21, CellRole::Signal));
    for (int32_t cell : {19, 17, 15, 13}) EXPECT_TRUE(holds(signal, cell, CellRole::SignalApproach)) << cell;
    EXPECT_TRUE(holds(slowDown, 61, CellRole::SlowDownStart));
    EXPECT_TRUE(holds(slowDown, 71, CellRole::SlowDownEnd));
    EXPECT_TRUE(holds(slowDown, 37, CellRole::SlowDownWarning));
    for (int32_t cell : {36, 35, 34, 33}) EXPECT_TRUE(holds(slowDown, cell, CellRole::WarningApproach)) << cell;
    EXPECT_TRUE(holds(mark, 100, CellRole::Abbattimento));

    ASSERT_EQ(t.moved.size(), 1u);
    EXPECT_EQ(t.moved[0].record, signal);
    EXPECT_EQ(t.moved[0].position, 1020);
    EXPECT_EQ(t.moved[0].cell, 21);
    EXPECT_EQ(t.moved[0].landed, 1000);

    struct Narrowed {
        StoredValue what;
        int64_t value, stored;
    };
    std::vector<Narrowed> narrowed;
    for (const NarrowedValue& n : t.narrowed) narrowed.push_back({n.what, n.value, n.stored});
    ASSERT_EQ(narrowed.size(), 3u);
    EXPECT_EQ(narrowed[0].what, StoredValue::MontagnaType);  // 300 less the marker offset 10
    EXPECT_EQ(narrowed[0].value, 290);
    EXPECT_EQ(narrowed[0].stored, 34);
    EXPECT_EQ(narrowed[1].what, StoredValue::SpeedLimit);
    EXPECT_EQ(narrowed[1].stored, 80);
    EXPECT_EQ(narrowed[2].what, StoredValue::AbbattimentoValue);
    EXPECT_EQ(narrowed[2].stored, 70000 - 65536);

    // The completion pass's caps: before the signal ahead of the warning cell,
    // one in each group before the start, every 8 cells inside.
    const auto capped = [&](int32_t cell, int32_t from) {
        return std::any_of(t.caps.begin(), t.caps.end(),
                           [&](const CapCell& c) { return c.cell == cell && c.from == from && !c.lowered; });
    };
    EXPECT_TRUE(capped(20, 37));
    EXPECT_TRUE(capped(56, 61));
    EXPECT_TRUE(capped(50, 61));
    EXPECT_TRUE(capped(43, 61));
    EXPECT_TRUE(capped(69, 61));
    for (const CapCell& c : t.caps) EXPECT_EQ(pass.form.grid[c.cell].kind, kAbbattimento) << c.cell;
}

TEST(ReadTrace, FieldsPassedOverAreRecordedWithTheirReason) {
    Pass pass(kLineHead, kTrainHead + "- commento, velocta, 0, 100\r\nsabbia, 1\r\n");
    struct Skip {
        SkipReason reason;
        std::string text;
        int32_t column;
    };
    std::vector<Skip> skipped;
    for (const SkippedField& s : pass.trace().skipped) {
        EXPECT_EQ(s.document, Document::Train);
        EXPECT_EQ(s.line, 2);
        skipped.push_back({s.reason, s.text, s.column});
    }
    ASSERT_EQ(skipped.size(), 4u);
    EXPECT_EQ(skipped[0].reason, SkipReason::DashField);
    EXPECT_EQ(skipped[0].text, "- commento");
    EXPECT_EQ(skipped[1].reason, SkipReason::NoRecord);
    EXPECT_EQ(skipped[1].text, "velocta");
    EXPECT_EQ(skipped[1].column, 12);
    EXPECT_EQ(skipped[2].text, "0");  // a lost record's values are read as keyword fields
    EXPECT_EQ(skipped[3].text, "100");
}

// Each part of the documents is read by its own loop: a record's keyword
// passes a test only in the part of its kind, and the keyword field says
// which part it stood in.
TEST(ReadTrace, KeywordFieldsKnowTheirPartAndOnlyThatPartReadsItsKinds) {
    struct Place {
        DocumentPart part;
        std::string line;   // the documents with "@" where the row goes
        std::string train;
        int32_t rowLine;
    };
    const Place places[] = {
        {.part = DocumentPart::LineGeneral, .line = "[generale]\r\nlunghezza percorso, 10000\r\n@[dati]\r\n",
         .train = kTrainHead, .rowLine = 3},
        {.part = DocumentPart::LineRecords, .line = kLineHead + "@", .train = kTrainHead, .rowLine = 4},
        {.part = DocumentPart::Train, .line = kLineHead, .train = kTrainHead + "@", .rowLine = 2},
    };
    for (const RecordFormat& format : kRecordFormats) {
        std::string row(format.written);
        for (int i = 0; i < format.fields; ++i) row += ", 0";
        row += "\r\n";
        for (const Place& place : places) {
            std::string line = place.line;
            std::string train = place.train;
            std::string& document = place.part == DocumentPart::Train ? train : line;
            document.replace(document.find('@'), 1, row);
            Pass pass(line, train);
            const auto& keywords = pass.trace().keywords;
            const auto k = std::find_if(keywords.begin(), keywords.end(), [&](const KeywordField& f) {
                return f.document == document_of(place.part) && f.line == place.rowLine && f.text == format.written;
            });
            ASSERT_NE(k, keywords.end()) << format.written << " in part " << static_cast<int>(place.part);
            EXPECT_EQ(k->part, place.part);
            EXPECT_EQ(k->records > 0, part_of(format.kind) == place.part)
                << format.written << " in part " << static_cast<int>(place.part);
        }
    }
}

TEST(ReadTrace, OffItRecordsNothing) {
    TestFolder folder;
    Form1 form(folder.path());
    form.routeName = "R";
    form.trainCode = "T";
    folder.write(form.line_document_name(), kLineHead + "indicatori_vmax, 1010, 80,90,100,0, ,,,0\r\n");
    folder.write(form.train_document_name(), kTrainHead + "velocita, 0, 82\r\nsegnale, 20000, 1,4,1, 0,0, 1,3,1,0, 0\r\n");
    form.prepara_percorso(1);
    EXPECT_EQ(form.errorReported, kNoRoomOnGrid);
    const ReadTrace& t = form.trace;
    EXPECT_TRUE(t.records.empty() && t.keywords.empty() && t.refusals.empty() && t.narrowed.empty() &&
                t.moved.empty() && t.cells.empty() && t.caps.empty() && t.skipped.empty());
}
