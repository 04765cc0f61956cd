#include "tools/lsp/message_framing.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<Frame> frames_of(const std::vector<std::string>& pieces, size_t maxBody = FrameReader::kMaxBody) {
    FrameReader reader(maxBody);
    std::vector<Frame> out;
    for (const std::string& piece : pieces) {
        reader.feed(piece);
        for (Frame f; reader.next(f);) out.push_back(f);
    }
    return out;
}

}  // namespace

TEST(FrameReader, CutsTheStreamIntoBodiesAndFaultsWhateverThePiecesAre) {
    const std::string two = frame_message("{\"a\":1}") + frame_message("[]");
    std::vector<std::string> byteByByte;
    for (char c : two) byteByByte.emplace_back(1, c);
    struct Case {
        const char* name;
        std::vector<std::string> pieces;
        size_t maxBody = FrameReader::kMaxBody;
        std::vector<std::string> bodies;  // "!" + the start of a fault's text for a fault
    } cases[] = {
        {.name = "two messages at once", .pieces = {two}, .bodies = {"{\"a\":1}", "[]"}},
        {.name = "a byte at a time", .pieces = byteByByte, .bodies = {"{\"a\":1}", "[]"}},
        {.name = "other headers, any letter case",
         .pieces = {"content-type: application/vscode-jsonrpc; charset=utf-8\r\nCONTENT-LENGTH:  2 \r\n\r\n{}"},
         .bodies = {"{}"}},
        {.name = "a UTF-8 body counted in bytes",
         .pieces = {"Content-Length: 4\r\n\r\n\"\xC3\x80\"" + frame_message("1")},
         .bodies = {"\"\xC3\x80\"", "1"}},
        {.name = "no Content-Length, then a sound message",
         .pieces = {"Content-Type: x\r\n\r\n" + frame_message("2")},
         .bodies = {"!a header block without Content-Length", "2"}},
        {.name = "a length that is no number",
         .pieces = {"Content-Length: 1x\r\n\r\n" + frame_message("3")},
         .bodies = {"!a Content-Length that is not a number", "3"}},
        {.name = "a header line without a colon",
         .pieces = {"garbage\r\nContent-Length: 1\r\n\r\n" + frame_message("4")},
         .bodies = {"!a header without a colon", "4"}},
        {.name = "a body above the limit is skipped unread, in pieces",
         .pieces = {"Content-Length: 10\r\n\r\n0123", "456789", frame_message("5")},
         .maxBody = 9,
         .bodies = {"!a message of 10 bytes", "5"}},
        {.name = "an endless header", .pieces = {std::string(FrameReader::kMaxHeader + 1, 'x')},
         .bodies = {"!a header block longer"}},
        {.name = "a body cut short waits", .pieces = {"Content-Length: 5\r\n\r\nab"}, .bodies = {}},
    };
    for (const Case& c : cases) {
        const std::vector<Frame> got = frames_of(c.pieces, c.maxBody);
        ASSERT_EQ(got.size(), c.bodies.size()) << c.name;
        for (size_t i = 0; i < got.size(); ++i) {
            if (c.bodies[i][0] == '!') {
                EXPECT_EQ(got[i].fault.rfind(c.bodies[i].substr(1), 0), 0u) << c.name << ": " << got[i].fault;
            } else {
                EXPECT_EQ(got[i].fault, "") << c.name;
                EXPECT_EQ(got[i].body, c.bodies[i]) << c.name;
            }
        }
    }
}

TEST(FrameMessage, WritesTheLengthInBytes) {
    EXPECT_EQ(frame_message("\"\xC3\x80\""), "Content-Length: 4\r\n\r\n\"\xC3\x80\"");
}
