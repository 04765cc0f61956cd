#include "core/field_stream.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/testing/test_folder.h"
#include "platform/platform.h"

namespace {

enum class As { Text, Int32, Int16, Uint8 };

// One read: what it reads as, what it must give (a text, a number in decimal,
// or "!" and a word of the failure reason), and the line the field begins on.
struct Read {
    As as;
    std::string expected;
    int line;
};

struct StreamCase {
    const char* name;
    std::string text;
    std::vector<Read> reads;
    bool eofAfter;  // checked only when no read failed
};

std::string read_one(FieldStream& s, As as) {
    switch (as) {
        case As::Text: return s.read_text();
        case As::Int32: return std::to_string(s.read_int32());
        case As::Int16: return std::to_string(s.read_int16());
        case As::Uint8: return std::to_string(s.read_uint8());
    }
    return {};
}

const std::vector<StreamCase>& stream_cases() {
    static const std::vector<StreamCase> cases = {
        {"blank separated numbers then the end",
         "orologio,    9               37            0 \r\n",
         {{As::Text, "orologio", 1}, {As::Int16, "9", 1}, {As::Int16, "37", 1}, {As::Int16, "0", 1}},
         true},
        {"empty numbers between commas",
         "indicatori_vmax,  800,  75,  ,  ,  0\r\nx",
         {{As::Text, "indicatori_vmax", 1}, {As::Int32, "800", 1}, {As::Int32, "75", 1},
          {As::Int32, "0", 1}, {As::Int32, "0", 1}, {As::Int32, "0", 1}, {As::Text, "x", 2}},
         true},
        {"CR alone ends lines",
         "a,1\rb,  -2\r",
         {{As::Text, "a", 1}, {As::Int32, "1", 1}, {As::Text, "b", 2}, {As::Int32, "-2", 2}},
         true},
        {"LF alone ends lines",
         "a\nb\n\nc",
         {{As::Text, "a", 1}, {As::Text, "b", 2}, {As::Text, "", 3}, {As::Text, "c", 4}},
         true},
        {"CR LF is one line end",
         "x,  5\r\n\r\ny, 6\r\n",
         {{As::Text, "x", 1}, {As::Int32, "5", 1}, {As::Text, "", 2}, {As::Text, "y", 3}, {As::Int32, "6", 3}},
         true},
        {"a comma before the line end leaves an empty field",
         "a,\r\nb",
         {{As::Text, "a", 1}, {As::Text, "", 1}, {As::Text, "b", 2}},
         true},
        {"last line without line end",
         "[fine]\r\nlast,   7",
         {{As::Text, "[fine]", 1}, {As::Text, "last", 2}, {As::Int32, "7", 2}},
         true},
        {"field that ends the file, then a read past it",
         "  [generale]  ",
         {{As::Text, "[generale]", 1}, {As::Text, "!past", 1}},
         false},
        {"number read past the end",
         "5",
         {{As::Int32, "5", 1}, {As::Int32, "!past", 1}},
         false},
        {"blanks up to the end of the file read 0",
         "5,   ",
         {{As::Int32, "5", 1}, {As::Int32, "0", 1}},
         true},
        {"blanks inside a text field stay, trailing blanks and tabs go, quotes are ordinary",
         " \t\"P.C. CAVRIA\" \t, lunghezza percorso ,x",
         {{As::Text, "\"P.C. CAVRIA\"", 1}, {As::Text, "lunghezza percorso", 1}, {As::Text, "x", 1}},
         true},
        {"a number keeps the fields after it when blanks separate them",
         "1 2,3\r\n",
         {{As::Int32, "1", 1}, {As::Int32, "2", 1}, {As::Int32, "3", 1}},
         true},
        {"30 digits", "123456789012345678901234567890,", {{As::Int32, "!fit", 1}}, false},
        {"30 digits negative", "-123456789012345678901234567890", {{As::Int32, "!fit", 1}}, false},
        {"32-bit limits",
         "2147483647, -2147483648\r\n2147483648",
         {{As::Int32, "2147483647", 1}, {As::Int32, "-2147483648", 1}, {As::Int32, "!fit", 2}},
         false},
        {"255 fits 8 bits, 256 does not", "255,256", {{As::Uint8, "255", 1}, {As::Uint8, "!fit", 1}}, false},
        {"-1 does not fit 8 bits", "-1", {{As::Uint8, "!fit", 1}}, false},
        {"16-bit limits",
         "32767,-32768,40000",
         {{As::Int16, "32767", 1}, {As::Int16, "-32768", 1}, {As::Int16, "!fit", 1}},
         false},
        {"-32769 does not fit 16 bits", "-32769", {{As::Int16, "!fit", 1}}, false},
        {"text as a number", "abc,1", {{As::Int32, "!expected", 1}}, false},
        {"decimal point", "1.5", {{As::Int32, "!expected", 1}}, false},
        {"plus sign", "+3", {{As::Int32, "!expected", 1}}, false},
        {"letter after the digits", "12a", {{As::Int32, "!expected", 1}}, false},
        {"a minus sign alone", " - ,", {{As::Int32, "!expected", 1}}, false},
        {"line of a field after leading blanks on a later line",
         "a\r\n   b,\r\n\r\n  9",
         {{As::Text, "a", 1}, {As::Text, "b", 2}, {As::Text, "", 2}, {As::Text, "", 3}, {As::Int32, "9", 4}},
         true},
    };
    return cases;
}

}  // namespace

TEST(FieldStream, ReadsTrickyTexts) {
    for (const StreamCase& c : stream_cases()) {
        SCOPED_TRACE(c.name);
        FieldStream s;
        s.open_text(c.text, "doc.txt");
        EXPECT_EQ(s.line(), 0);
        bool failed = false;
        for (size_t i = 0; i < c.reads.size() && !failed; ++i) {
            const Read& r = c.reads[i];
            SCOPED_TRACE("read " + std::to_string(i));
            if (r.expected.rfind('!', 0) == 0) {
                try {
                    std::string got = read_one(s, r.as);
                    ADD_FAILURE() << "read gave \"" << got << "\" instead of failing";
                } catch (const platform::RunTimeFailure& f) {
                    EXPECT_EQ(f.operation, "read");
                    EXPECT_EQ(f.path, "doc.txt");
                    EXPECT_NE(f.reason.find(r.expected.substr(1)), std::string::npos) << f.reason;
                }
                failed = true;
            } else {
                EXPECT_FALSE(s.eof());
                EXPECT_EQ(read_one(s, r.as), r.expected);
                EXPECT_EQ(s.line(), r.line);
            }
        }
        if (!failed) {
            EXPECT_EQ(s.eof(), c.eofAfter);
        }
    }
}

TEST(FieldStream, EmptyTextIsAtTheEndAndCannotBeRead) {
    FieldStream s;
    s.open_text("");
    EXPECT_TRUE(s.eof());
    EXPECT_THROW(s.read_text(), platform::RunTimeFailure);
    EXPECT_THROW(s.read_int32(), platform::RunTimeFailure);
}

TEST(FieldStream, OpensAFileAndFailsOnAMissingOne) {
    TestFolder folder;
    folder.write("d.txt", "segnale,  1550\r\n");
    FieldStream s;
    s.open(folder.file("d.txt"));
    EXPECT_TRUE(s.is_open());
    EXPECT_EQ(s.read_text(), "segnale");
    EXPECT_EQ(s.read_int32(), 1550);
    EXPECT_TRUE(s.eof());
    s.close();
    EXPECT_FALSE(s.is_open());
    EXPECT_THROW(s.read_text(), platform::RunTimeFailure);
    EXPECT_THROW(s.open(folder.file("missing.txt")), platform::RunTimeFailure);
}

TEST(FieldStream, ARefusedReadSaysWhatItMet) {
    using What = FieldStream::Failure::What;
    struct Case {
        std::string text;
        As as;
        What what;
        int line;
        std::string written;
        int64_t low, high;
    } cases[] = {
        {"x\r\n 7OO , 5", As::Int32, What::NotANumber, 2, "7OO", 0, 0},
        {"x\r\n300,", As::Uint8, What::OutOfRange, 2, "300", 0, 255},
        {"x, -40000", As::Int16, What::OutOfRange, 1, "-40000", -32768, 32767},
        {"x, 123456789012345678901234567890", As::Int32, What::OutOfRange, 1, "123456789012345678901234567890",
         INT32_MIN, INT32_MAX},
        {"x\r\n", As::Int32, What::PastEnd, 2, "", 0, 0},
    };
    for (const Case& c : cases) {
        FieldStream s;
        s.open_text(c.text);
        s.read_text();
        EXPECT_THROW(read_one(s, c.as), platform::RunTimeFailure) << c.text;
        const FieldStream::Failure& f = s.last_failure();
        EXPECT_EQ(f.what, c.what) << c.text;
        EXPECT_EQ(f.line, c.line) << c.text;
        EXPECT_EQ(f.text, c.written) << c.text;
        EXPECT_EQ(f.low, c.low) << c.text;
        EXPECT_EQ(f.high, c.high) << c.text;
        s.open_text("again");
        EXPECT_EQ(s.last_failure().what, What::None);
    }
}

// A text read in place gives the fields a copy gives, and a stream that
// viewed one text and then holds its own reads only its own.
TEST(FieldStream, ReadsTheCallersTextInPlaceAsItReadsACopy) {
    const std::string text = "curva, 1000 ,12\r\nfine,x";
    FieldStream viewed, copied;
    viewed.view_text(text, "doc.txt");
    copied.open_text(text, "doc.txt");
    while (!copied.eof()) {
        ASSERT_FALSE(viewed.eof());
        EXPECT_EQ(viewed.read_text(), copied.read_text());
        EXPECT_EQ(viewed.line(), copied.line());
    }
    EXPECT_TRUE(viewed.eof());

    viewed.open_text("own");
    viewed.view_text(text, "doc.txt");
    EXPECT_EQ(viewed.read_text(), "curva");
    viewed.open_text("own, 5");
    EXPECT_EQ(viewed.read_text(), "own");
    EXPECT_EQ(viewed.read_int32(), 5);
}
