// How diagnostics name rows and fields, from core's record field table: the
// words of the messages, exactly as the check prints them.
#include "tools/common/record_names.h"

#include <gtest/gtest.h>

namespace {

struct FieldCase {
    RecordKind kind;
    int n;
    const char* said;
};

}  // namespace

TEST(RecordNames, RowsByTheirContents) {
    EXPECT_EQ(row_name(RecordKind::SlowDown), "slow-down row");
    EXPECT_EQ(row_name(RecordKind::Progressive2), "progressive definition row");
    EXPECT_EQ(row_contents(RecordKind::Signal), "11 numbers");
    EXPECT_EQ(row_contents(RecordKind::RouteLength), "1 number");
    EXPECT_EQ(row_contents(RecordKind::Station), "16 numbers and a name");
    EXPECT_EQ(row_contents(RecordKind::IndicationBoard), "1 number and a caption");
    EXPECT_TRUE(ends_in_text(RecordKind::Station));
    EXPECT_TRUE(ends_in_text(RecordKind::IndicationBoard));
    EXPECT_FALSE(ends_in_text(RecordKind::SpeedBoard));
}

TEST(RecordNames, FieldsByPlaceAndMeaning) {
    const FieldCase cases[] = {
        {RecordKind::Station, 3, "the third number of this station row (the station length)"},
        {RecordKind::Station, 4, "the fourth number of this station row"},
        {RecordKind::Station, 17, "the name of this station row"},
        {RecordKind::Station, 18, "a value of this station row"},
        {RecordKind::IndicationBoard, 2, "the caption of this indication board row"},
        {RecordKind::SpeedBoard, 6, "the sixth number of this speed board row (vad)"},
        {RecordKind::Gradient, 2, "the second number of this gradient row (the gradient in per mille)"},
        {RecordKind::Progressive1, 1, "the first number of this progressive definition row"},
        {RecordKind::Signal, 0, "a value of this signal row"},
        {RecordKind::Signal, -1, "a value of this signal row"},
    };
    for (const FieldCase& c : cases) EXPECT_EQ(field_name(c.kind, c.n), c.said);
}
