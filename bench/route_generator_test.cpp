#include "bench/route_generator.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "core/form1.h"
#include "tools/testing/test_folder.h"

namespace {

// Lines of a document that begin with `key`.
int rows(const std::string& text, const std::string& key) {
    int count = 0;
    for (size_t at = 0; at < text.size();) {
        size_t end = text.find("\r\n", at);
        if (end == std::string::npos) end = text.size();
        if (text.compare(at, key.size(), key) == 0) ++count;
        at = end + 2;
    }
    return count;
}

int cells_of_kind(const TrackGrid& grid, uint8_t kind) {
    int count = 0;
    for (const TrackCell& c : grid.cells()) count += c.kind == kind ? 1 : 0;
    return count;
}

// Compiles the documents as the compile pass of a run does, in a fresh folder.
void compile(Form1& form, const TestFolder& folder, const RouteDocuments& docs) {
    form.routeName = "Bresta_Vilcar";
    form.trainCode = "RX907";
    folder.write(form.line_document_name(), docs.line);
    folder.write(form.train_document_name(), docs.train);
    form.memorizza_percorso(1);
}

}  // namespace

// Every generated row reaches the compiled scenario: nothing is refused, and
// each signal, board and station takes a cell of its own.
TEST(RouteGenerator, EveryRowCompilesIntoItsOwnCell) {
    for (int32_t length : {kShortestGeneratedRoute, 100000, kLongestGeneratedRoute}) {
        SCOPED_TRACE("route length " + std::to_string(length));
        const RouteDocuments docs = generate_route(length);
        TestFolder folder;
        Form1 form(folder.path());
        compile(form, folder, docs);

        ASSERT_EQ(form.errorCode, 0) << "document " << static_cast<int>(form.errorDocument) << " line "
                                     << form.errorLine << " cell " << form.errorCell;
        EXPECT_EQ(form.scenario[kSlotGeneral].long2, length);
        EXPECT_EQ(form.grid.upper(), grid_upper_bound(length));
        EXPECT_EQ(form.line.last_column(), length + 7000);
        EXPECT_EQ(form.line.type(length + 7000 - 2, 1), LineTable::kDouble);

        const int signalRows = rows(docs.train, "segnale,");
        const int stationRows = rows(docs.train, "stazione,");
        const int speedBoardRows = rows(docs.line, "indicatori_vmax,");
        const int indicationRows = rows(docs.line, "cartello_indicatore,");
        EXPECT_EQ(cells_of_kind(form.grid, kSignal), signalRows);
        EXPECT_EQ(cells_of_kind(form.grid, kSpeedBoard), speedBoardRows);
        EXPECT_EQ(cells_of_kind(form.grid, kSign), indicationRows);
        EXPECT_EQ(cells_of_kind(form.grid, kStationStop), stationRows);
        for (int s = 1; s <= stationRows; ++s) EXPECT_FALSE(form.scenario[static_cast<size_t>(s)].label.empty()) << s;
        EXPECT_TRUE(form.scenario[static_cast<size_t>(stationRows + 1)].label.empty());

        // The compiled files are there and the documents consumed.
        EXPECT_EQ(folder.list(), (std::vector<std::string>{"Bresta_Vilcar_RX907.dat", "Bresta_Vilcar_RX907.sim",
                                                           "Bresta_Vilcar_linea.dat"}));
    }
}

// The longest route carries what the measurements promise: hundreds of
// curves, gradients, boards and signals, and 70 stations.
TEST(RouteGenerator, LongestRouteHasHundredsOfFeaturesAndSeventyStations) {
    const RouteDocuments docs = generate_route(kLongestGeneratedRoute);
    for (const char* key : {"curva", "pendenza,", "indicatori_vmax,", "segnale,"}) {
        EXPECT_GE(rows(docs.line + docs.train, key), 200) << key;
    }
    EXPECT_EQ(rows(docs.train, "stazione,"), kMostGeneratedStations);
    EXPECT_GE(rows(docs.line, "montagna,"), 50);
    EXPECT_GE(rows(docs.line, "cartello_indicatore,"), 1);
}

TEST(RouteGenerator, RefusesLengthsOutsideItsRange) {
    for (int32_t length : {-1, 0, kShortestGeneratedRoute - 1, kLongestGeneratedRoute + 1}) {
        EXPECT_THROW(generate_route(length), std::invalid_argument) << length;
    }
}
