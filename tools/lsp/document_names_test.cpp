#include "tools/lsp/document_names.h"

#include <gtest/gtest.h>

TEST(DocumentNames, TellsTheDocumentAndItsRouteFromTheFileName) {
    struct Case {
        std::string path;
        Document document;
        std::string folder, stem;
    } cases[] = {
        {"/w/Bresta_Vilcar_linea.txt", Document::Line, "/w", "Bresta_Vilcar"},
        {"/w/Bresta_Vilcar_RX907-.txt", Document::Train, "/w", "Bresta_Vilcar_RX907"},
        {"C:\\routes\\A_B-.txt", Document::Train, "C:\\routes", "A_B"},
        {"_linea.txt", Document::None, ".", ""},
        {"/w/RX907-.txt", Document::None, "/w", ""},    // no route before the train code
        {"/w/A_-.txt", Document::None, "/w", ""},       // no train code
        {"/w/notes.txt", Document::None, "/w", ""},
    };
    for (const Case& c : cases) {
        const DocumentName name = document_name(c.path);
        EXPECT_EQ(name.document, c.document) << c.path;
        EXPECT_EQ(name.folder, c.folder) << c.path;
        EXPECT_EQ(name.stem, c.stem) << c.path;
    }
}

TEST(DocumentNames, FindsTrainsOfARouteAndSplitsTrainStemsLongestRouteFirst) {
    EXPECT_EQ(train_of("Bresta_Vilcar_RX907-.txt", "Bresta_Vilcar"), "RX907");
    EXPECT_EQ(train_of("Bresta_Vilcar_RX907-.txt", "Bresta"), "Vilcar_RX907");
    EXPECT_EQ(train_of("Bresta_Vilcar-.txt", "Bresta_Vilcar"), std::nullopt);
    EXPECT_EQ(train_of("Bresta_Vilcar_linea.txt", "Bresta_Vilcar"), std::nullopt);
    const std::vector<RouteAndTrain> splits = route_splits("A_B_RX907");
    ASSERT_EQ(splits.size(), 2u);
    EXPECT_EQ(splits[0].route, "A_B");
    EXPECT_EQ(splits[0].train, "RX907");
    EXPECT_EQ(splits[1].route, "A");
    EXPECT_EQ(splits[1].train, "B_RX907");
}

TEST(DocumentNames, FileUrisAndPathsBothWays) {
    struct Case {
        std::string uri;
        std::optional<std::string> path;
    } cases[] = {
        {"file:///home/a%20b/x_linea.txt", "/home/a b/x_linea.txt"},
        {"file:///c%3A/Routes/x_linea.txt", "c:/Routes/x_linea.txt"},
        {"file://localhost/tmp/%C3%80-.txt", "/tmp/\xC3\x80-.txt"},
        {"untitled:Untitled-1", std::nullopt},
        {"file://", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(uri_to_path(c.uri), c.path) << c.uri;
    for (const std::string path : {"/home/a b/x_linea.txt", "/tmp/%25 [x]/\xC3\x80-.txt", "C:/Routes/x-.txt"})
        EXPECT_EQ(uri_to_path(path_to_uri(path)), path);
    EXPECT_EQ(path_to_uri("/home/a b/x.txt"), "file:///home/a%20b/x.txt");
}
