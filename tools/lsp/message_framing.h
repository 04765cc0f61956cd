// The framing of the language server protocol: every message is a header
// block ("Content-Length: N", CR LF after each header, an empty line) and N
// bytes of JSON. FrameReader takes the bytes as they arrive, in pieces of any
// size, and hands out whole message bodies; frame_message writes one.
#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>

// One unit read off the stream: a message body, or what was wrong with the
// bytes where one should have been (the reader has skipped them and goes on).
struct Frame {
    std::string body;
    std::string fault;  // empty for a body
};

class FrameReader {
public:
    // Bodies above this size are skipped unread; so is a header block above kMaxHeader.
    static constexpr size_t kMaxBody = 64u << 20;
    static constexpr size_t kMaxHeader = 8192;

    explicit FrameReader(size_t maxBody = kMaxBody) : maxBody_(maxBody) {}

    void feed(std::string_view bytes);
    // The next whole frame; false when more bytes are needed.
    bool next(Frame& frame);

private:
    void parse();
    bool take_header();

    size_t maxBody_;
    std::string buffer_;
    size_t bodyLength_ = 0;  // of the message whose header was read
    bool inBody_ = false;
    size_t skipping_ = 0;    // bytes of a refused body still to be dropped
    std::deque<Frame> ready_;
};

std::string frame_message(std::string_view body);
