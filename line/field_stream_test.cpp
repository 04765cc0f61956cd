#include "line/field_stream.h"

#include <gtest/gtest.h>

TEST(FieldStream, EmptyTextIsAtTheEnd) {
    FieldStream s;
    s.open_text("");
    EXPECT_TRUE(s.eof());
}
