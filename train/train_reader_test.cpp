// The train description reader, driven through memorizza_dati on documents
// written into a fresh program folder.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "core/form1.h"
#include "tools/testing/test_folder.h"

namespace {

// Route length 106000 m: the grid runs from cell 0 to N = 2260.
constexpr int kN = 2260;
const std::string kLine = "[generale]\r\nlunghezza percorso,    106000\r\n[fine]\r\n";

// A train description: one line of prose, "[generale]" on line 2, the body from line 3.
std::string train(const std::string& body) { return "Prova del treno\r\n[generale]\r\n" + body + "[fine]\r\n"; }

// Both documents in a fresh program folder, read as the compile pass reads them.
struct Reading {
    TestFolder folder;
    Form1 form{folder.path()};

    explicit Reading(const std::optional<std::string>& trainText, const std::string& lineText = kLine) {
        form.routeName = "Bresta_Vilcar";
        form.trainCode = "RX907";
        form.j = 0;
        form.errorCode = 0;
        form.azzera_tabella();
        folder.write(form.line_document_name(), lineText);
        if (trainText) folder.write(form.train_document_name(), *trainText);
        form.memorizza_dati();
    }
    bool documents_gone() const {
        return !folder.exists(form.line_document_name()) && !folder.exists(form.train_document_name());
    }
};

// A station row with the given position, type code, length and name; the other fields as in the built-in rows.
std::string station(int position, int type, int length, const std::string& name) {
    return "stazione, " + std::to_string(position) + ", " + std::to_string(type) + ", " + std::to_string(length) +
           ",  0, 1, 0,  1,1,0,  4,1,1,    1,   9,38, 0, " + name + "\r\n";
}

// ---------------------------------------------------------------------------
// General values of the train.

struct GeneralCase {
    const char* name;
    std::string document;
    int32_t brakedMass;
    int32_t cars;
    int16_t sand;
    int16_t hours, minutes, seconds;
};

TEST(TrainReader, GeneralRecords) {
    const std::vector<GeneralCase> cases = {
        {"the written rows, clock numbers separated by blanks, section headers passed over",
         train("numero vetture,    8\r\npercentuale massa frenata,    135\r\nsabbia,    300\r\n"
               "orologio,    9               37            0 \r\n[aderenze]\r\n[vel_limite]\r\n[stazioni]\r\n"
               "[rallentamenti]\r\n[segnali]\r\n[codici]\r\n"),
         135, 8, 300, 9, 37, 0},
        {"keywords anywhere in the field, in any case",
         train("NUMERO VETTURE,  5\r\nMassa Frenata percentuale, 80\r\nla SABBIA,  12\r\nOrologio, 23 59 58\r\n"),
         80, 5, 12, 23, 59, 58},
        {"the last occurrence wins", train("numero vetture, 8\r\nnumero vetture, 9\r\nsabbia, 1\r\nsabbia, -2\r\n"),
         0, 9, -2, 0, 0, 0},
        {"massa alone is no braked mass; its value is passed over",
         train("massa, 135\r\nnumero vetture, 3\r\n"), 0, 3, 0, 0, 0, 0},
        {"two dash fields skipped, the third taken as the keyword field",
         train("----------\r\n----------\r\n- numero vetture -, 7\r\n"), 0, 7, 0, 0, 0, 0},
        {"a dash line between records", train("sabbia, 4\r\n------\r\nnumero vetture, 6\r\n"), 0, 6, 4, 0, 0, 0},
        {"a keyword field on the last line is never examined", "x\r\n[generale]\r\nsabbia, 5\r\nsabbia", 0, 0, 5,
         0, 0, 0},
        {"records before the general section are not read", "numero vetture, 8\r\nsabbia, 3\r\n[fine]\r\n", 0, 0,
         0, 0, 0, 0},
        {"the general section opened by a field that mentions it in any case",
         "prosa\r\nvedi [GENERALE] sotto\r\nnumero vetture, 6\r\n[fine]\r\n", 0, 6, 0, 0, 0, 0},
    };
    for (const GeneralCase& c : cases) {
        SCOPED_TRACE(c.name);
        Reading r(c.document);
        EXPECT_EQ(r.form.errorCode, 0);
        EXPECT_EQ(r.form.scenario[84].long1, c.brakedMass);
        EXPECT_EQ(r.form.scenario[84].long3, c.cars);
        EXPECT_EQ(r.form.scenario[86].int1, c.sand);
        EXPECT_EQ(r.form.scenario[86].int3, c.hours);
        EXPECT_EQ(r.form.scenario[86].int4, c.minutes);
        EXPECT_EQ(r.form.scenario[86].int5, c.seconds);
        EXPECT_EQ(r.form.scenario[86].label, "RX907");
        EXPECT_TRUE(r.documents_gone());
    }
}

// ---------------------------------------------------------------------------
// Speed-limit and adhesion profiles.

enum class Profile { Speed, Adhesion };

struct Span {
    int first, last, value;
};

struct ProfileCase {
    const char* name;
    std::string body;
    Profile profile;
    std::vector<Span> spans;
};

TEST(TrainReader, Profiles) {
    const std::vector<ProfileCase> cases = {
        {"the written speed rows: 75 km/h up to cell 126, the last speed up to N - 3",
         "velocita,       0,    75\r\nvelocita,    6350,   110\r\n", Profile::Speed,
         {{0, 126, 15}, {127, kN - 3, 22}, {kN - 2, kN, 0}}},
        {"keyword variants; 72 km/h is step 14",
         "Velocita, 0, 50\r\nVELOCITA, 1000, 60\r\nlimite di velocit\xE0, 2000, 72\r\n", Profile::Speed,
         {{0, 19, 10}, {20, 39, 12}, {40, kN - 3, 14}}},
        {"a record inside the cells already written still writes one cell",
         "velocita, 0, 50\r\nvelocita, 100, 75\r\nvelocita, 100, 90\r\n", Profile::Speed,
         {{0, 1, 10}, {2, 2, 15}, {3, kN - 3, 18}}},
        {"the cell of 125 m is 2 (half to even)", "velocita, 0, 40\r\nvelocita, 125, 60\r\n", Profile::Speed,
         {{0, 1, 8}, {2, kN - 3, 12}}},
        {"before the first record the speed is 0", "velocita, 500, 100\r\n", Profile::Speed,
         {{0, 9, 0}, {10, kN - 3, 20}}},
        {"1277 km/h is the highest step", "velocita, 0, 1277\r\n", Profile::Speed, {{0, kN - 3, 255}}},
        {"a fill index already at N - 2 writes that one cell at the end",
         "velocita, 0, 50\r\nvelocita, 112900, 100\r\n", Profile::Speed,
         {{0, kN - 3, 10}, {kN - 2, kN - 2, 20}, {kN - 1, kN, 0}}},
        {"records stop at cell N; the end writes N itself",
         "velocita, 0, 5\r\nvelocita, 112900, 10\r\nvelocita, 112900, 15\r\nvelocita, 112900, 20\r\n"
         "velocita, 112900, 25\r\n",
         Profile::Speed, {{0, kN - 3, 1}, {kN - 2, kN - 2, 2}, {kN - 1, kN - 1, 3}, {kN, kN, 5}}},
        {"the written adhesion rows",
         "aderenza,   0,    100\r\naderenza,    6200,    90\r\naderenza,    9000,    94\r\n"
         "aderenza,   49500,   100\r\n",
         Profile::Adhesion, {{0, 123, 100}, {124, 179, 90}, {180, 989, 94}, {990, kN - 3, 100}, {kN - 2, kN, 0}}},
        {"adhesion 300 keeps its low eight bits", "aderenza, 0, 300\r\n", Profile::Adhesion, {{0, kN - 3, 44}}},
        {"adhesion records stop at cell N too",
         "aderenza, 0, 1\r\naderenza, 112900, 2\r\naderenza, 112900, 3\r\naderenza, 112900, 4\r\n"
         "aderenza, 112900, 5\r\n",
         Profile::Adhesion, {{0, kN - 3, 1}, {kN - 2, kN - 2, 2}, {kN - 1, kN - 1, 3}, {kN, kN, 5}}},
        {"one keyword field opens both profiles", "velocita aderenza, 0, 50, 0, 90\r\n", Profile::Adhesion,
         {{0, kN - 3, 90}}},
    };
    for (const ProfileCase& c : cases) {
        SCOPED_TRACE(c.name);
        Reading r(train(c.body));
        EXPECT_EQ(r.form.errorCode, 0);
        for (const Span& s : c.spans) {
            for (int cell = s.first; cell <= s.last; ++cell) {
                const TrackCell& t = r.form.grid[cell];
                int got = c.profile == Profile::Speed ? t.aux1 : t.aux3;
                ASSERT_EQ(got, s.value) << "cell " << cell;
            }
        }
    }
}

// ---------------------------------------------------------------------------
// Stations: slot fields, extents, stop cells and approach codes.

struct StationExpect {
    int slot;
    ScenarioSlot fields;
    int stopCell;                    // -1: no stop cell
    std::vector<int> approachCodes;  // cells stopCell - 1, - 2, - 3, - 4
};

struct StationCase {
    const char* name;
    std::string body;
    std::vector<StationExpect> stations;
};

void expect_slot(const ScenarioSlot& got, const ScenarioSlot& want) {
    EXPECT_EQ(got.tag, want.tag);
    EXPECT_EQ(got.long1, want.long1);
    EXPECT_EQ(got.long2, want.long2);
    EXPECT_EQ(got.long3, want.long3);
    EXPECT_EQ(got.flag, want.flag);
    EXPECT_EQ(got.label, want.label);
    EXPECT_EQ(got.int1, want.int1);
    EXPECT_EQ(got.int2, want.int2);
    EXPECT_EQ(got.int3, want.int3);
    EXPECT_EQ(got.int4, want.int4);
    EXPECT_EQ(got.int5, want.int5);
    EXPECT_EQ(got.byte1, want.byte1);
    EXPECT_EQ(got.byte2, want.byte2);
    EXPECT_EQ(got.byte3, want.byte3);
    EXPECT_EQ(got.byte4, want.byte4);
    EXPECT_EQ(got.long4, want.long4);
}

TEST(TrainReader, Stations) {
    const std::vector<StationCase> cases = {
        {"station types and fields",
         "stazione,       0,  4,  700,  0, 1, 0,  1,1,0,  4,1,1,    1,   9,38, 0, BRESTA\r\n"
         "stazione,    2000,  4,  700,  7, 1, 1,  300,-2,9,  10,11,12,   13,   9,57,30, PIANCASTELLO\r\n"
         "stazione,    4000, 22,  500,  0, 1, 1,  0,0,0,  4,1,1,    0,   0, 0, 0, P.C. CAVRIA\r\n"
         "stazione,    6000,  7,  400,  0, 1, 1,  0,0,0,  4,1,1,    0,   0, 0, 0, SETTE\r\n"
         "stazione,    9000, 25,  600,  0, 1, 1,  0,0,0,  4,1,1,    0,   0, 0, 0, DEPOSITO\r\n"
         "stazione,  108000,  6,  800,  0, 1, 0,  1,1,0,  2,1,1,    0,  11, 0, 0, VILCAR P.NUOVA\r\n",
         {
             {1,
              {.tag = 4, .long1 = -350, .long2 = 350, .long3 = 0, .flag = 0, .label = "BRESTA", .int1 = 1,
               .int2 = 1, .int3 = 4, .int4 = 1, .int5 = 1, .byte1 = 0, .byte2 = 1, .byte3 = 0, .byte4 = 0,
               .long4 = 34680},
              6, {81, 82, 83, 84}},
             {2,
              {.tag = 4, .long1 = 1650, .long2 = 2400, .long3 = 2000, .flag = 7, .label = "PIANCASTELLO",
               .int1 = 300, .int2 = -2, .int3 = 10, .int4 = 11, .int5 = 12, .byte1 = 9, .byte2 = 13, .byte3 = 1,
               .byte4 = 1, .long4 = 35850},
              47, {81, 82, 83, 84}},
             {3,
              {.tag = 22, .long1 = 3750, .long2 = 4300, .long3 = 4000, .flag = 0, .label = "P.C. CAVRIA",
               .int1 = 0, .int2 = 0, .int3 = 4, .int4 = 1, .int5 = 1, .byte1 = 0, .byte2 = 0, .byte3 = 1,
               .byte4 = 0, .long4 = 0},
              85, {81, 82, 83, 84}},
             {4,
              {.tag = 7, .long1 = 5600, .long2 = 6400, .long3 = 6000, .flag = 0, .label = "SETTE", .int1 = 0,
               .int2 = 0, .int3 = 4, .int4 = 1, .int5 = 1, .byte1 = 0, .byte2 = 0, .byte3 = 0, .byte4 = 0,
               .long4 = 0},
              127, {81, 82, 83, 84}},
             {5,
              {.tag = 25, .long1 = 8700, .long2 = 9350, .long3 = 9000, .flag = 0, .label = "DEPOSITO", .int1 = 0,
               .int2 = 0, .int3 = 4, .int4 = 1, .int5 = 1, .byte1 = 0, .byte2 = 0, .byte3 = 1, .byte4 = 1,
               .long4 = 0},
              -1, {}},
             {6,
              {.tag = 6, .long1 = 107200, .long2 = 108150, .long3 = 108000, .flag = 0, .label = "VILCAR P.NUOVA",
               .int1 = 1, .int2 = 1, .int3 = 2, .int4 = 1, .int5 = 1, .byte1 = 0, .byte2 = 0, .byte3 = 0,
               .byte4 = 1, .long4 = 39600},
              2162, {0, 0, 0, 0}},
         }},
        {"approach codes only beyond cell 1; the first station's flag still lengthens it",
         "stazione,       0,  4,  400,  0, 1, 1,  0,0,0,  0,0,0,    0,   0, 0, 0, CORTA\r\n",
         {{1,
           {.tag = 4, .long1 = -200, .long2 = 250, .long3 = 0, .flag = 0, .label = "CORTA", .int1 = 0, .int2 = 0,
            .int3 = 0, .int4 = 0, .int5 = 0, .byte1 = 0, .byte2 = 0, .byte3 = 0, .byte4 = 0, .long4 = 0},
           4, {81, 82, 0, 0}}}},
        {"stations 350 m apart pass", station(3900, 4, 700, "A") + station(4950, 4, 700, "B"),
         {{1,
           {.tag = 4, .long1 = 3550, .long2 = 4250, .long3 = 3900, .flag = 0, .label = "A", .int1 = 1, .int2 = 1,
            .int3 = 4, .int4 = 1, .int5 = 1, .byte1 = 0, .byte2 = 1, .byte3 = 0, .byte4 = 0, .long4 = 34680},
           84, {81, 82, 83, 84}},
          {2,
           {.tag = 4, .long1 = 4600, .long2 = 5300, .long3 = 4950, .flag = 0, .label = "B", .int1 = 1, .int2 = 1,
            .int3 = 4, .int4 = 1, .int5 = 1, .byte1 = 0, .byte2 = 1, .byte3 = 0, .byte4 = 1, .long4 = 34680},
           105, {81, 82, 83, 84}}}},
    };
    for (const StationCase& c : cases) {
        SCOPED_TRACE(c.name);
        Reading r(train(c.body));
        EXPECT_EQ(r.form.errorCode, 0);
        for (const StationExpect& s : c.stations) {
            SCOPED_TRACE("slot " + std::to_string(s.slot));
            expect_slot(r.form.scenario[s.slot], s.fields);
            if (s.stopCell < 0) {
                for (int cell = 0; cell <= kN; ++cell)
                    ASSERT_FALSE(r.form.grid[cell].kind == kStationStop && r.form.grid[cell].value1 == s.slot);
                continue;
            }
            EXPECT_EQ(r.form.grid[s.stopCell].kind, kStationStop);
            EXPECT_EQ(r.form.grid[s.stopCell].value1, s.slot);
            for (size_t k = 0; k < s.approachCodes.size(); ++k)
                EXPECT_EQ(r.form.grid[s.stopCell - 1 - static_cast<int>(k)].approachCode, s.approachCodes[k])
                    << "cell " << s.stopCell - 1 - static_cast<int>(k);
        }
    }
}

// Stations and indication board captions share slots 1 to 80.
struct SlotLimitCase {
    int boards;
    int stations;
    int32_t code;
    int stored;  // stations that reach their slot
};

TEST(TrainReader, StationSlotsStopBelowTheBoardCaptions) {
    const std::vector<SlotLimitCase> cases = {
        {4, 74, 0, 74}, {4, 75, 10, 75}, {0, 78, 0, 78}, {0, 79, 10, 79}, {79, 1, 10, 1}, {80, 1, 10, 0},
    };
    for (const SlotLimitCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.boards) + " boards, " + std::to_string(c.stations) + " stations");
        std::string line = "[generale]\r\nlunghezza percorso,    106000\r\n[cartelli]\r\n";
        for (int b = 1; b <= c.boards; ++b)
            line += "cartello_indicatore, " + std::to_string(20000 + 1000 * b) + ", (B" + std::to_string(b) + ")\r\n";
        line += "[fine]\r\n";
        std::string body;
        for (int s = 1; s <= c.stations; ++s) body += station(350 * s, 25, 0, "S" + std::to_string(s));
        Reading r(train(body), line);
        EXPECT_EQ(r.form.errorCode, c.code);
        for (int s = 1; s <= c.stored; ++s) EXPECT_EQ(r.form.scenario[s].label, "S" + std::to_string(s));
        for (int s = c.stored + 1; s <= 80 - c.boards; ++s) EXPECT_EQ(r.form.scenario[s].label, "") << "slot " << s;
        for (int b = 1; b <= c.boards; ++b) EXPECT_EQ(r.form.scenario[81 - b].label, "(B" + std::to_string(b) + ")");
    }
}

// ---------------------------------------------------------------------------
// Signals, slow-downs and abbattimento marks reach the grid with their values.

struct CellExpect {
    int cell;
    int kind;
    int value1, value2, value3, value4;
    int approachCode;
};

TEST(TrainReader, PlacedFeatures) {
    // A montagna stretch with markers in cells 63, 67, 71, ... (every fourth from cell 60).
    const std::string line =
        "[generale]\r\nlunghezza percorso,    106000\r\n[montagne]\r\nmontagna,   3000,  17600,  11\r\n[fine]\r\n";
    const std::string body =
        "segnale stazione, 1550, 1, 4, 1, 0, 0, 1, 3, 1, 0, 0,"
        " 0, 4, 700, 0, 1, 0, 1, 1, 0, 4, 1, 1, 1, 9, 38, 0, BRESTA\r\n"
        "rallentamento, 5000, 60, 500, 7, 1, 3\r\n"
        "abbattimento, 1000, 150\r\n"
        "abbattimento, 1100, 0\r\n"
        "abbattimento, 1200, -5\r\n"
        "abbattimento, 3150, 70000\r\n"
        "abbattimento, 3350, 0\r\n";
    const std::vector<CellExpect> cells = {
        {32, kSignal, 43, 11, 0, 4, 0},       {30, kEmpty, 0, 0, 0, 0, 41},
        {24, kOpenAbbattimento, 0, 0, 0, 0, 44},  // the 1200 m mark under the signal's approach code
        {6, kStationStop, 1, 0, 0, 0, 0},     {5, kEmpty, 0, 0, 0, 0, 81},
        {101, kSlowDownStart, 60, 3, 7, 0, 0}, {111, kSlowDownEnd, 60, 3, 7, 0, 0},
        {77, kSlowDownWarning, 60, 3, 0, 0, 0}, {76, kWarningApproach, 1, 1, 0, 0, 0},
        {73, kWarningApproach, 4, 4, 0, 0, 0}, {20, kAbbattimento, 150, 0, 0, 0, 0},
        {22, kOpenAbbattimento, 0, 0, 0, 0, 0}, {63, kAbbattimento, 4464, 0, 0, 0, 0},
        {67, kOpenAbbattimento, 0, 0, 0, 0, 0}, {21, kEmpty, 0, 0, 0, 0, 0},
    };
    Reading r(train(body), line);
    EXPECT_EQ(r.form.errorCode, 0);
    EXPECT_EQ(r.form.scenario[1].label, "BRESTA");
    for (const CellExpect& e : cells) {
        SCOPED_TRACE("cell " + std::to_string(e.cell));
        const TrackCell& t = r.form.grid[e.cell];
        EXPECT_EQ(t.kind, e.kind);
        EXPECT_EQ(t.value1, e.value1);
        EXPECT_EQ(t.value2, e.value2);
        EXPECT_EQ(t.value3, e.value3);
        EXPECT_EQ(t.value4, e.value4);
        EXPECT_EQ(t.approachCode, e.approachCode);
    }
}

// ---------------------------------------------------------------------------
// Every way the reading stops with a code. Each body starts with a speed record
// on line 3, so the normal end shows as speed step 20 in cell N - 3.

struct ErrorCase {
    const char* name;
    std::optional<std::string> document;
    int32_t code;
    Document where;
    int32_t line;
    bool completed;  // the profiles were carried to N - 3
    std::string lineDocument = kLine;
};

// A line description whose gradient row on line 4 leaves no room: code 15, and the train is still read.
const std::string kLineStoppedAt4 =
    "[generale]\r\nlunghezza percorso,    106000\r\n[pendenze]\r\npendenza,  112901,  1\r\n[fine]\r\n";

// A line description whose first progressive definition is not on a 50 m boundary.
const std::string kLineBadProgressive =
    "[generale]\r\nlunghezza percorso,    106000\r\nprogressiva chilometrica uno,    1010,    0,    0\r\n[fine]\r\n";

std::string speed_then(const std::string& rest) { return train("velocita, 0, 100\r\n" + rest); }

const std::string kStationFields = ", 4, 700,  0, 1, 0,  1,1,0,  4,1,1,    1,   9,38, 0, X\r\n";

TEST(TrainReader, ErrorCodes) {
    const std::vector<ErrorCase> cases = {
        {"no errors", speed_then(station(1000, 4, 700, "A")), 0, Document::None, 0, true},
        {"abbattimento on a station stop cell", speed_then(station(1000, 4, 700, "A") + "abbattimento, 1300, 5\r\n"),
         7, Document::Train, 5, false},
        {"station position not a multiple of 50", speed_then("stazione, 1010" + kStationFields), 8,
         Document::Train, 4, false},
        {"station length not a multiple of 100", speed_then("stazione, 1000, 4, 750, 0,1,0,1,1,0,4,1,1,1,9,38,0,X\r\n"),
         9, Document::Train, 4, false},
        {"a station ending at metre 100", speed_then(station(0, 4, 200, "A")), 24, Document::Train, 4, false},
        {"stations 300 m apart", speed_then(station(3900, 4, 700, "A") + station(4900, 4, 700, "B")), 22,
         Document::Train, 5, false},
        {"signal on a taken cell",
         speed_then("segnale, 1550, 1,4,1,0,0,1,3,1,0,0\r\nsegnale, 1560, 1,4,1,0,0,1,3,1,0,0\r\n"), 16,
         Document::Train, 5, false},
        {"negative speed position", speed_then("velocita, -50, 80\r\n"), 201, Document::Train, 4, false},
        {"negative adhesion position", speed_then("aderenza, -1, 80\r\n"), 201, Document::Train, 4, false},
        {"negative signal position", speed_then("segnale, -100, 1,4,1,0,0,1,3,1,0,0\r\n"), 201, Document::Train, 4,
         false},
        {"negative slow-down position", speed_then("rallentamento, -500, 60, 500, 0, 0, 0\r\n"), 201,
         Document::Train, 4, false},
        {"negative abbattimento position", speed_then("abbattimento, -50, 5\r\n"), 201, Document::Train, 4, false},
        {"negative station position", speed_then("stazione, -50" + kStationFields), 201, Document::Train, 4, false},
        {"station stop cell beyond N", speed_then("stazione, 112200, 7, 1000, 0,1,0,1,1,0,4,1,1,1,9,38,0,X\r\n"), 210,
         Document::Train, 4, false},
        {"speed record without room", speed_then("velocita, 112901, 50\r\n"), 15, Document::Train, 4, true},
        {"station without room", speed_then("stazione, 112250" + kStationFields), 15, Document::Train, 4, true},
        {"abbattimento without room, records after it unread",
         speed_then("abbattimento, 112901, 5\r\nsabbia, 99999\r\n"), 15, Document::Train, 4, true},
        {"progressive definition off the 50 m cells", speed_then(""), 2, Document::Train, 0, true,
         kLineBadProgressive},
        {"no general section: the speed row is not read, the progressive check still runs",
         "velocita, 0, 100\r\n[fine]\r\n", 2, Document::Train, 0, false, kLineBadProgressive},
        {"256 in an 8-bit station field", speed_then("stazione, 1000, 4, 700, 256,1,0,1,1,0,4,1,1,1,9,38,0,X\r\n"),
         25, Document::Train, 4, false},
        {"40000 in a 16-bit field", speed_then("sabbia, 40000\r\n"), 25, Document::Train, 4, false},
        {"speed 1278 when the next record writes it", speed_then("velocita, 100, 1278\r\nvelocita, 200, 50\r\n"), 25,
         Document::Train, 5, false},
        {"speed 1278 when the end writes it", speed_then("velocita, 100, 1278\r\n"), 25, Document::Train, 0, false},
        {"a negative speed step", speed_then("velocita, 100, -3\r\n"), 25, Document::Train, 0, false},
        {"the document ends inside a record", "x\r\n[generale]\r\nvelocita, 0, 100\r\nsegnale, 1550, 1, 4\r\n", 25,
         Document::Train, 4, false},
        {"scheduled time beyond 32 bits", speed_then("stazione, 1000, 4, 700, 0,1,0,1,1,0,4,1,1,1,999999,0,0,X\r\n"),
         25, Document::Train, 4, false},
        {"no train description", std::nullopt, 25, Document::Train, 0, false},
        {"code 15 of the line reader stops at the first signal",
         speed_then("segnale, 1550, 1,4,1,0,0,1,3,1,0,0\r\n"), 15, Document::Line, 4, false,
         kLineStoppedAt4},
        {"code 15 of the line reader stays through a normal end", speed_then("sabbia, 3\r\n"), 15, Document::Line, 4,
         true, kLineStoppedAt4},
    };
    for (const ErrorCase& c : cases) {
        SCOPED_TRACE(c.name);
        Reading r(c.document, c.lineDocument);
        EXPECT_EQ(r.form.errorCode, c.code);
        EXPECT_EQ(r.form.errorDocument, c.where);
        EXPECT_EQ(r.form.errorLine, c.line);
        EXPECT_EQ(r.form.grid[kN - 3].aux1, c.completed ? 20 : 0);
        EXPECT_TRUE(r.documents_gone());
        EXPECT_FALSE(r.form.file1.is_open());
    }
}

// A refused station keeps the slot fields it had stored, and no cell of it is written.
TEST(TrainReader, StationBeyondTheGridWritesNoCell) {
    Reading r(train("stazione, 112200, 8, 1000,  0, 1, 0,  1,1,0,  4,1,1,    1,   9,38, 0, FINE\r\n"));
    EXPECT_EQ(r.form.errorCode, 210);
    EXPECT_EQ(r.form.scenario[1].label, "FINE");
    EXPECT_EQ(r.form.scenario[1].long2, 113200);
    for (int cell = 0; cell <= kN; ++cell) {
        ASSERT_EQ(r.form.grid[cell].kind, kEmpty) << "cell " << cell;
        ASSERT_EQ(r.form.grid[cell].approachCode, 0) << "cell " << cell;
    }
}

}  // namespace
