// Where findings and the rows they name stand, on a line description with an
// indication board refused on a speed board's cell: the holder traced by the
// last pass, the refused row only by the pass that refused it.
#include "tools/places/finding_places.h"

#include <gtest/gtest.h>

#include "tools/places/related_json.h"

namespace {

const std::string kLinePath = "dir/linea.txt";
const std::string kTrainPath = "dir/treno.txt";

// Line 4 holds the speed board; line 5 the indication board on its cell (error 6).
const std::string kLine =
    "[generale]\r\nlunghezza percorso,    10000\r\n[pendenze]\r\n"
    "indicatori_vmax, 2000, 80, 80, 80, 0, , , , 0\r\n"
    "cartello_indicatore, 2000, (DOPPIO)\r\n[fine]\r\n";
const std::string kTrain = "[generale]\r\nnumero vetture, 8\r\nvelocita, 0, 80\r\naderenza, 0, 100\r\n[fine]\r\n";

struct Checked {
    ReadTrace trace;
    CheckResult result;
    Checked() { result = check_sources({kLinePath, kLine}, {kTrainPath, kTrain}, ScenarioNames{}, 10, &trace); }
};

const Diagnostic& taken_cell_error(const CheckResult& result) {
    for (const Diagnostic& d : result.diagnostics) {
        if (d.code == kIndicationBoardCellTaken) return d;
    }
    ADD_FAILURE() << "no taken-cell error";
    return result.diagnostics.front();
}

}  // namespace

TEST(FindingPlaces, RelatedPlacesStandAtTheFieldsTheyName) {
    const Checked checked;
    const FindingPlaces places(kLinePath, kTrainPath, checked.trace, checked.result.refused);
    struct Case {
        const char* name;
        RelatedPlace place;
        std::optional<TextSpan> span;
    } cases[] = {
        {.name = "the holder's position",
         .place = {.file = kLinePath, .line = 4, .field = 1, .label = "x"},
         .span = TextSpan{3, 17, 21}},
        {.name = "the holder's keyword", .place = {.file = kLinePath, .line = 4, .field = 0, .label = "x"}, .span = TextSpan{3, 0, 15}},
        {.name = "a row left out of the last pass, as its refusal traced it",
         .place = {.file = kLinePath, .line = 5, .field = 2, .label = "x"},
         .span = TextSpan{4, 27, 35}},
        {.name = "no field named: the whole line", .place = {.file = kLinePath, .line = 4, .field = std::nullopt, .label = "x"}, .span = std::nullopt},
        {.name = "a field the row does not have", .place = {.file = kLinePath, .line = 4, .field = 11, .label = "x"}, .span = std::nullopt},
        {.name = "a line of no record", .place = {.file = kLinePath, .line = 3, .field = 1, .label = "x"}, .span = std::nullopt},
        {.name = "the other document's line 4", .place = {.file = kTrainPath, .line = 4, .field = 1, .label = "x"},
         .span = TextSpan{3, 10, 11}},
        {.name = "a file of neither document", .place = {.file = "linea.txt", .line = 4, .field = 1, .label = "x"}, .span = std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(places.related(c.place), c.span) << c.name;
}

TEST(FindingPlaces, AnErrorIsMarkedOnTheFieldOfTheRefusedRow) {
    const Checked checked;
    const FindingPlaces places(kLinePath, kTrainPath, checked.trace, checked.result.refused);
    const Diagnostic& error = taken_cell_error(checked.result);
    ASSERT_NE(places.refusal(error), nullptr);
    const std::optional<FindingMark> mark = places.mark(error);
    ASSERT_TRUE(mark.has_value());
    EXPECT_EQ(mark->span, (TextSpan{4, 21, 25}));  // 2000, the position that found the cell taken
    EXPECT_TRUE(mark->named);

    // A finding about the row as a whole is marked on its keyword; one of no line nowhere.
    Diagnostic whole = error;
    whole.field.reset();
    EXPECT_EQ(places.mark(whole)->span, (TextSpan{4, 0, 19}));
    EXPECT_FALSE(places.mark(whole)->named);
    whole.line = 0;
    EXPECT_FALSE(places.mark(whole).has_value());
}

TEST(FindingPlaces, ColumnsCountFromOneOnTheRowsOwnLine) {
    EXPECT_EQ(columns_on(TextSpan{3, 17, 21}, 4), (std::pair<int32_t, int32_t>{18, 22}));
    EXPECT_EQ(columns_on(TextSpan{4, 0, 3}, 4), std::nullopt);  // a field of the row written on its next line
    EXPECT_EQ(columns_on(std::nullopt, 4), std::nullopt);

    Diagnostic d;
    d.related = {{.file = kLinePath, .line = 4, .field = 1, .label = "the speed board"},
                 {.file = kTrainPath, .line = 2, .field = std::nullopt, .label = "the train"}};
    const nlohmann::ordered_json expected = nlohmann::ordered_json::parse(R"([
        {"file": "dir/linea.txt", "line": 4, "label": "the speed board", "startColumn": 18, "endColumn": 22},
        {"file": "dir/treno.txt", "line": 2, "label": "the train"}])");
    EXPECT_EQ(related_json(d, {TextSpan{3, 17, 21}, std::nullopt}), expected);
    EXPECT_EQ(related_json(Diagnostic{}, {}), nlohmann::ordered_json::array());
}
