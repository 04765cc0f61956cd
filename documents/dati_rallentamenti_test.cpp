#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "documents/test_documents.h"

namespace {

const std::vector<std::string>& lines() { return built_in_documents().rallentamenti.lines; }

const char* const kEmptyRow = " |   |                            |            |          |         |            |";
const char* const kRule = " |___|____________________________|____________|__________|_________|____________|";

TEST(SlowDownOrder, IsFortySixLinesOf3283Bytes) {
    EXPECT_EQ(lines().size(), 46u);
    EXPECT_EQ(built_in_documents().rallentamenti.bytes.size(), 3283u);
}

TEST(SlowDownOrder, EveryLineIsInPlace) {
    struct Quoted { int line; const char* text; };
    const Quoted quoted[] = {
        {1, ""},
        {2, "                               Modulo M. 3"},
        {3, "                           ORDINE DI RALLENTAMENTO"},
        {4, " ________________________________________________________________________________"},
        {5, "  Linea  BRESTA VILCAR"},
        {6, ""},
        {7, "  Si ordina al macchinista del treno RX 907 di effettuare i seguenti rallentamenti"},
        {8, "  _______________________________________________________________________________"},
        {9, " |   |                            |Inizio dopo |          |         |            |"},
        {10, " | N.|      FRA LE STAZIONI       | il cippo   | Velocita'|Lunghezza|Prescrizioni|"},
        {11, " |   |   (o nelle Stazioni di)    |chilometrico|          |   metri | specifiche |"},
        {12, kRule},
        {13, kEmptyRow},
        {14, " |   |     Nessun Rallentamento   |            |          |         |            |"},
        {39, kRule},
        {40, ""},
        {41, "              Prescrizioni specifiche"},
        {42, " A - Da rispettare con tutto il treno (per i treni viaggiatori)"},
        {43, " B - Interessa anche la stazione di......."},
        {44, " D - Rallentamneto N. ... e N. ...  sono contigui"},
        {45, " C - Da rispettare dalle ore ....  alle ore ..... di tutti"},
        {46, "     i giorni esclusi i seguenti:........."},
    };
    for (const Quoted& q : quoted) {
        EXPECT_EQ(line_at(lines(), q.line), q.text) << "line " << q.line;
    }
    for (int n = 15; n <= 38; ++n) {
        EXPECT_EQ(line_at(lines(), n), kEmptyRow) << "line " << n;
    }
}

TEST(SlowDownOrder, TableLinesKeepTheirColumnsAndNoLineEndsInABlank) {
    for (int n = 9; n <= 39; ++n) {
        const std::string text = line_at(lines(), n);
        EXPECT_EQ(text.size(), 82u) << "line " << n;
        for (size_t bar : {1u, 5u, 34u, 47u, 58u, 68u, 81u}) {
            EXPECT_EQ(text.at(bar), '|') << "line " << n;
        }
    }
    for (const std::string& text : lines()) {
        if (!text.empty()) {
            EXPECT_NE(text.back(), ' ') << text;
        }
    }
    EXPECT_EQ(line_at(lines(), 4).size(), 81u);
    EXPECT_EQ(line_at(lines(), 8).size(), 81u);
}

}  // namespace
