#include "tools/common/uri_path.h"

#include <gtest/gtest.h>

TEST(UriPath, KeepsTheUnreservedBytesAndEncodesTheRest) {
    struct Case {
        std::string path, alsoPlain, uri;
    } cases[] = {
        {.path = "", .alsoPlain = "", .uri = ""},
        {.path = "docs/Linea_linea.txt", .alsoPlain = "", .uri = "docs/Linea_linea.txt"},
        {.path = "a-b.c_d~e", .alsoPlain = "", .uri = "a-b.c_d~e"},
        {.path = "C:\\My Routes\\x.txt", .alsoPlain = "", .uri = "C%3A/My%20Routes/x.txt"},
        {.path = "C:\\My Routes\\x.txt", .alsoPlain = ":", .uri = "C:/My%20Routes/x.txt"},
        {.path = "100%#?", .alsoPlain = ":", .uri = "100%25%23%3F"},
        {.path = "citt\xE0", .alsoPlain = "", .uri = "citt%E0"},          // a Windows-1252 byte
        {.path = "citt\xC3\xA0", .alsoPlain = "", .uri = "citt%C3%A0"},  // UTF-8, byte by byte
        {.path = std::string("a\0b", 3), .alsoPlain = "", .uri = "a%00b"},
    };
    for (const Case& c : cases) EXPECT_EQ(uri_path(c.path, c.alsoPlain), c.uri) << c.path;
}
