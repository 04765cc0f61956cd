#include "core/format.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The kinds whose record test a keyword field passes, in the table's order.
std::vector<RecordKind> kinds_named(std::string_view field) {
    std::vector<RecordKind> out;
    for (const RecordFormat& f : kRecordFormats) {
        if (names_record(f.kind, field)) out.push_back(f.kind);
    }
    return out;
}

}  // namespace

TEST(RecordTest, LettersComparedAsEachKindSays) {
    struct Case {
        const char* field;
        std::vector<RecordKind> kinds;
    };
    const Case cases[] = {
        {.field = "PENDENZA", .kinds = {RecordKind::Gradient}},
        {.field = "  Lunghezza del Percorso ", .kinds = {RecordKind::RouteLength}},
        {.field = "progressiva chilometrica uno", .kinds = {RecordKind::Progressive1}},
        // Exact letters: a capital keeps the progressive definitions from matching.
        {.field = "Progressiva chilometrica uno", .kinds = {}},
        {.field = "progressiva chilometrica UNO", .kinds = {}},
        // One field may pass several tests; each kind then reads its values.
        {.field = "sfondo uno tre", .kinds = {RecordKind::Background1, RecordKind::Background3}},
        {.field = "CURVAS3", .kinds = {RecordKind::Curve}},
        {.field = "Velocità", .kinds = {RecordKind::SpeedLimit}},
        {.field = "cartello_INDICATORE", .kinds = {RecordKind::IndicationBoard}},
        // "segnali" holds neither "segnale" nor, alone, the repetition's two words.
        {.field = "segnali", .kinds = {}},
        {.field = "Ripetizione segnali 9 codici", .kinds = {}},
        {.field = "ripetizione segnali 9 codici", .kinds = {RecordKind::SignalRepetition}},
        {.field = "", .kinds = {}},
    };
    for (const Case& c : cases) EXPECT_EQ(kinds_named(c.field), c.kinds) << c.field;
}

// The tests that ignore letter case compare a lowered field with the words as
// written in the table, so those words must be written in lower case.
TEST(RecordTest, WordsOfCaseFreeKindsAreLowerCase) {
    for (const RecordFormat& f : kRecordFormats) {
        for (std::string_view word : f.words) {
            if (f.exactCase) continue;
            for (char c : word) EXPECT_FALSE(c >= 'A' && c <= 'Z') << word;
        }
    }
}
