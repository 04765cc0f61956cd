#include "tools/lsp/message_framing.h"

#include <algorithm>
#include <charconv>
#include <optional>

#include "tools/common/ascii_text.h"

namespace {

}  // namespace

void FrameReader::feed(std::string_view bytes) {
    if (skipping_ > 0) {
        const size_t dropped = std::min(skipping_, bytes.size());
        skipping_ -= dropped;
        bytes.remove_prefix(dropped);
    }
    buffer_.append(bytes);
    parse();
}

bool FrameReader::next(Frame& frame) {
    if (ready_.empty()) return false;
    frame = std::move(ready_.front());
    ready_.pop_front();
    return true;
}

void FrameReader::parse() {
    for (;;) {
        if (skipping_ > 0) {
            const size_t dropped = std::min(skipping_, buffer_.size());
            buffer_.erase(0, dropped);
            skipping_ -= dropped;
            if (skipping_ > 0) return;
        }
        if (!inBody_ && !take_header()) return;
        if (!inBody_) continue;  // a faulty header was skipped
        if (buffer_.size() < bodyLength_) return;
        ready_.push_back({buffer_.substr(0, bodyLength_), ""});
        buffer_.erase(0, bodyLength_);
        inBody_ = false;
    }
}

// Reads one header block off the buffer. False when it is not all there yet.
bool FrameReader::take_header() {
    const size_t end = buffer_.find("\r\n\r\n");
    if (end == std::string::npos) {
        if (buffer_.size() <= kMaxHeader) return false;
        ready_.push_back({"", "a header block longer than " + std::to_string(kMaxHeader) + " bytes"});
        buffer_.clear();
        return false;
    }
    const std::string_view block(buffer_.data(), end);
    std::optional<size_t> length;
    std::string fault;
    for (size_t at = 0; at <= block.size();) {
        size_t stop = block.find("\r\n", at);
        if (stop == std::string_view::npos) stop = block.size();
        const std::string_view header = block.substr(at, stop - at);
        at = stop + 2;
        const size_t colon = header.find(':');
        if (colon == std::string_view::npos) {
            fault = "a header without a colon";
            continue;
        }
        if (!equal_ignoring_ascii_case(blanks_trimmed(header.substr(0, colon)), "Content-Length")) continue;
        const std::string_view value = blanks_trimmed(header.substr(colon + 1));
        size_t n = 0;
        const auto [ptr, ec] = std::from_chars(value.data(), value.data() + value.size(), n);
        if (ec != std::errc() || ptr != value.data() + value.size() || value.empty()) {
            fault = "a Content-Length that is not a number";
            continue;
        }
        length = n;
    }
    buffer_.erase(0, end + 4);
    if (!length && fault.empty()) fault = "a header block without Content-Length";
    if (!fault.empty()) {
        ready_.push_back({"", fault});
        return true;  // the block is gone; what follows is read as the next header
    }
    if (*length > maxBody_) {
        ready_.push_back({"", "a message of " + std::to_string(*length) + " bytes, above the limit of " +
                                  std::to_string(maxBody_)});
        skipping_ = *length;
        return true;
    }
    bodyLength_ = *length;
    inBody_ = true;
    return true;
}

std::string frame_message(std::string_view body) {
    std::string out = "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n";
    out.append(body);
    return out;
}
