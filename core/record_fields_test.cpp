// The record field table against the readers and the compiler's limits: every
// kind has its keyword row and as many value rows as its reader reads, every
// limit is the one the compiler keeps, and every note's names are known.
#include "core/record_fields.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "core/rounding.h"

TEST(RecordFields, EveryKindHasItsKeywordRowAndItsReadersValues) {
    size_t rows = 0;
    for (const RecordFormat& format : kRecordFormats) {
        const auto fields = record_fields(format.kind);
        ASSERT_FALSE(fields.empty()) << format.written;
        rows += fields.size();
        EXPECT_EQ(value_count(format.kind), format.fields) << format.written;
        for (size_t i = 0; i < fields.size(); ++i) {
            EXPECT_EQ(fields[i].kind, format.kind) << format.written;
            EXPECT_EQ(fields[i].index, static_cast<int>(i)) << format.written;
            EXPECT_EQ(find_record_field(format.kind, static_cast<int>(i)), &fields[i]);
        }
        EXPECT_EQ(find_record_field(format.kind, value_count(format.kind) + 1), nullptr);
        EXPECT_EQ(find_record_field(format.kind, -1), nullptr);
        const RecordField& keyword = record_keyword_field(format.kind);
        EXPECT_EQ(keyword.width, FieldWidth::Text) << format.written;
        EXPECT_FALSE(keyword.name.empty()) << format.written;
        EXPECT_TRUE(keyword.said.ends_with(" row")) << format.written;
    }
    EXPECT_EQ(rows, std::size(kRecordFields));
}

TEST(RecordFields, ReadersCountsAreTheTablesAsTheyWere) {
    // The counts the readers read before the table held them.
    const int counts[] = {1, 3, 3, 3, 1, 1, 1, 2, 2, 2, 3, 9, 2, 1, 1, 2, 2, 3, 1, 11, 6, 2, 17};
    ASSERT_EQ(std::size(counts), std::size(kRecordFormats));
    for (size_t k = 0; k < std::size(counts); ++k) EXPECT_EQ(kRecordFormats[k].fields, counts[k]) << k;
}

TEST(RecordFields, TextFieldsAreTheCaptionAndTheStationName) {
    std::set<std::pair<RecordKind, int>> text;
    for (const RecordField& f : kRecordFields) {
        if (f.index > 0 && f.width == FieldWidth::Text) text.insert({f.kind, f.index});
    }
    EXPECT_EQ(text, (std::set<std::pair<RecordKind, int>>{{RecordKind::IndicationBoard, 2},
                                                           {RecordKind::Station, kStationNameField + 1}}));
}

TEST(RecordFields, PositionsOnTheGridAreTheRowsThatMustLeaveRoom) {
    std::set<RecordKind> positioned;
    for (const RecordFormat& format : kRecordFormats) {
        if (starts_with_position(format.kind)) positioned.insert(format.kind);
    }
    EXPECT_EQ(positioned, (std::set<RecordKind>{RecordKind::Gradient, RecordKind::Curve, RecordKind::Montagna,
                                                RecordKind::SpeedBoard, RecordKind::IndicationBoard,
                                                RecordKind::SpeedLimit, RecordKind::Adhesion, RecordKind::Signal,
                                                RecordKind::SlowDown, RecordKind::Abbattimento, RecordKind::Station}));
    EXPECT_EQ(find_record_field(RecordKind::Station, 1)->limit.reach, kStationReach);
    EXPECT_EQ(find_record_field(RecordKind::Signal, 1)->limit.reach, kRowReach);
}

TEST(RecordFields, NotesNameOnlyKnownNumbers) {
    for (const RecordField& f : kRecordFields) {
        const std::string note = field_note(f);
        EXPECT_EQ(note.find('{'), std::string::npos) << f.name << ": " << note;
        EXPECT_FALSE(note.empty()) << f.name;
        EXPECT_FALSE(width_text(f.width).empty()) << f.name;
    }
}

TEST(RecordFields, NotesWriteTheLimitsIn) {
    struct Case {
        RecordKind kind;
        int index;
        const char* note;
    };
    const Case cases[] = {
        {RecordKind::RouteLength, 1, "0 to 1000000"},
        {RecordKind::Gradient, 1, "0 to 50 × N - 100"},
        {RecordKind::Gradient, 2, "-100 to 155"},
        {RecordKind::SpeedBoard, 1, "25 to 50 × N - 100"},
        {RecordKind::SpeedBoard, 2, "0 to 1638"},
        {RecordKind::SpeedLimit, 2, "0 to 1277; stored in steps of 5 km/h"},
        {RecordKind::Sand, 1, "-32768 to 32767"},
        {RecordKind::Station, 1, "a multiple of 50 (error 8); 0 to 50 × N - 800"},
        {RecordKind::Station, 3, "a multiple of 100"},
        {RecordKind::Background2, 0, "A background value, stored as read in scenario slot 85."},
        {RecordKind::Signal, 11, "`timeCode` when `sx` is 2; 1 to 100 become 101"},
    };
    for (const Case& c : cases) EXPECT_EQ(field_note(*find_record_field(c.kind, c.index)), c.note) << c.note;
}

TEST(CompilerLimits, SpeedsAreTheHighestTheirFieldsHold) {
    // A speed limit's step fits its byte up to 1277 km/h and no further.
    EXPECT_EQ(kHighestSpeedLimitKmh, 1277);
    EXPECT_TRUE(speed_step_fits(kHighestSpeedLimitKmh));
    EXPECT_FALSE(speed_step_fits(kHighestSpeedLimitKmh + 1));
    // A board's vas times its factor fits 16 bits up to 1638 km/h and no further.
    EXPECT_EQ(kHighestBoardSpeedKmh, 1638);
    EXPECT_LE(int64_t{kHighestBoardSpeedKmh} * kBoardSpeedFactor, INT16_MAX);
    EXPECT_GT(int64_t{kHighestBoardSpeedKmh + 1} * kBoardSpeedFactor, INT16_MAX);
}

TEST(CompilerLimits, SlotsAndTurnRatesAreTheFormats) {
    EXPECT_EQ(kMostIndicationBoards, 80);
    EXPECT_EQ(kMostMontagnaStretches, 80);
    EXPECT_EQ(kMostStations, 78);
    EXPECT_EQ(most_stations(4), 74);
    EXPECT_EQ(kBackgroundSlot, 85);
    EXPECT_EQ(kCurveClassCount, 6);
    const double rates[] = {0.0001, 0.0002, 0.0004, 0.001, 0.002, 0.003};
    for (int c = 1; c <= kCurveClassCount; ++c) EXPECT_EQ(kCurveTurnRates[c], rates[c - 1]) << c;
}
