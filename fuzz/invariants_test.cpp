// The invariant checker must see each kind of broken state, and nothing in a
// sound one; otherwise the fuzzers would pass whatever the compiler did.
#include "fuzz/invariants.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

// A sound state: a 1000 m route read, one station, one indication board.
Form1 sound_form() {
    Form1 form("/nonexistent");
    form.routeName = "R";
    form.trainCode = "T";
    form.j = 1;
    form.scenario[kSlotRoute].label = "R";
    form.scenario[kSlotTrain].label = "T";
    form.scenario[kSlotGeneral].long2 = 1000;
    form.grid.dimension(1000);
    form.line.create(8000);
    form.boardSlot = 79;
    form.scenario[80].label = "(A)";
    form.grid[21].kind = kSign;
    form.grid[21].value1 = 80;
    form.scenario[1].long2 = 350;
    form.scenario[1].label = "S";
    form.grid[6].kind = kStationStop;
    form.grid[6].value1 = 1;
    return form;
}

struct Broken {
    const char* name;
    std::function<void(Form1&)> breakIt;
    const char* reported;  // a piece of the violation's text
};

TEST(Invariants, ASoundStateHasNone) {
    Form1 form = sound_form();
    EXPECT_TRUE(form_violations(form, {}).empty());
    form.errorCode = 15;
    form.errorDocument = Document::Train;
    EXPECT_TRUE(form_violations(form, {15}).empty());
}

TEST(Invariants, EachBrokenStateIsReported) {
    const Broken cases[] = {
        {"undefined code", [](Form1& f) { f.errorCode = 14; f.errorDocument = Document::Line; }, "undefined error code 14"},
        {"code this document cannot give", [](Form1& f) { f.errorCode = 7; f.errorDocument = Document::Line; },
         "cannot come from this document"},
        {"grid of another length", [](Form1& f) { f.grid.dimension(2000); }, "grid upper bound"},
        {"line table of another length", [](Form1& f) { f.line.create(9000); }, "line table last column"},
        {"cell kind never produced", [](Form1& f) { f.grid[40].kind = 7; }, "has kind 7"},
        {"sign naming a station slot", [](Form1& f) { f.grid[21].value1 = 1; }, "is a sign for slot 1"},
        {"station stop naming an empty slot", [](Form1& f) { f.grid[6].value1 = 2; }, "station stop for slot 2"},
        {"slot 0 written", [](Form1& f) { f.scenario[0].long1 = 5; }, "slot 0 field long1"},
        {"caption slot with a number", [](Form1& f) { f.scenario[80].int2 = 1; }, "slot 80 field int2"},
        {"station after an empty slot", [](Form1& f) { f.scenario[3].long2 = 9000; }, "station slot 3 follows"},
        {"header field never written", [](Form1& f) { f.scenario[kSlotGeneral].int1 = 1; }, "slot 84 field int1"},
        {"route label changed", [](Form1& f) { f.scenario[kSlotRoute].label = "X"; }, "slot 85 label"},
        {"board slot counter below 0", [](Form1& f) { f.boardSlot = -1; }, "board slot counter -1"},
        {"code without its document", [](Form1& f) { f.errorCode = 6; }, "names no document"},
        {"reader reached outside a table",
         [](Form1& f) { f.errorCode = 25; f.errorDocument = Document::Train; f.errorDetail = "index out of range"; },
         "outside a table"},
        {"code 1 for an accepted length", [](Form1& f) { f.errorCode = 1; f.errorDocument = Document::Line; },
         "code 1 for a route length of 1000"},
    };
    for (const Broken& c : cases) {
        SCOPED_TRACE(c.name);
        Form1 form = sound_form();
        c.breakIt(form);
        const std::vector<std::string> found = form_violations(form, {1, 6, 14, 15, 25});
        std::string all;
        for (const std::string& v : found) all += v + "\n";
        EXPECT_NE(all.find(c.reported), std::string::npos) << all;
    }
}

}  // namespace
