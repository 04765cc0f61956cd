#include "tools/common/text_encoding.h"

#include <cstdint>
#include <utility>

namespace {
// Code points of bytes 0x80 to 0x9F; 0 where Windows-1252 leaves the byte undefined.
constexpr uint16_t kHigh[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// The byte that holds a code point in Windows-1252; 0 when none does.
uint8_t cp1252_byte(uint32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<uint8_t>(cp);
    for (uint8_t i = 0; i < 32; ++i) {
        if (kHigh[i] != 0 && kHigh[i] == cp) return static_cast<uint8_t>(0x80 + i);
    }
    return 0;
}

}  // namespace

std::pair<uint32_t, size_t> decode_utf8(std::string_view s, size_t at) {
    const auto b = [&](size_t i) { return static_cast<uint8_t>(s[i]); };
    const uint8_t lead = b(at);
    size_t length = 0;
    uint32_t cp = 0, least = 0;
    if (lead < 0x80) return {lead, 1};
    if ((lead & 0xE0) == 0xC0) length = 2, cp = lead & 0x1F, least = 0x80;
    else if ((lead & 0xF0) == 0xE0) length = 3, cp = lead & 0x0F, least = 0x800;
    else if ((lead & 0xF8) == 0xF0) length = 4, cp = lead & 0x07, least = 0x10000;
    else return {0, 0};
    if (at + length > s.size()) return {0, 0};
    for (size_t i = 1; i < length; ++i) {
        if ((b(at + i) & 0xC0) != 0x80) return {0, 0};
        cp = (cp << 6) | (b(at + i) & 0x3F);
    }
    if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return {0, 0};
    return {cp, length};
}

namespace {

bool is_utf8(std::string_view text) {
    for (size_t at = 0; at < text.size();) {
        const size_t length = decode_utf8(text, at).second;
        if (length == 0) return false;
        at += length;
    }
    return true;
}
}  // namespace

std::string utf8_of(uint32_t cp) {
    const auto byte = [](uint32_t bits) { return static_cast<char>(bits); };
    if (cp < 0x80) return {byte(cp)};
    if (cp < 0x800) return {byte(0xC0 | (cp >> 6)), byte(0x80 | (cp & 0x3F))};
    if (cp < 0x10000) return {byte(0xE0 | (cp >> 12)), byte(0x80 | ((cp >> 6) & 0x3F)), byte(0x80 | (cp & 0x3F))};
    return {byte(0xF0 | (cp >> 18)), byte(0x80 | ((cp >> 12) & 0x3F)), byte(0x80 | ((cp >> 6) & 0x3F)),
            byte(0x80 | (cp & 0x3F))};
}

Cp1252Text utf8_to_cp1252(std::string_view utf8) {
    Cp1252Text out;
    out.bytes.reserve(utf8.size());
    for (size_t at = 0; at < utf8.size();) {
        const auto [cp, length] = decode_utf8(utf8, at);
        if (length == 0) {  // not UTF-8: one replacement character, one code unit
            out.unrepresentable.push_back({out.bytes.size(), 1, 0});
            out.bytes += '?';
            at += 1;
            continue;
        }
        const uint8_t byte = cp1252_byte(cp);
        if (byte != 0 || cp == 0) {
            out.bytes += static_cast<char>(byte);
        } else {
            const size_t units = cp >= 0x10000 ? 2 : 1;
            out.unrepresentable.push_back({out.bytes.size(), units, cp});
            out.bytes.append(units, '?');
        }
        at += length;
    }
    return out;
}

std::string cp1252_to_utf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        auto b = static_cast<uint8_t>(ch);
        uint32_t cp = b;
        if (b >= 0x80 && b < 0xA0) cp = kHigh[b - 0x80] ? kHigh[b - 0x80] : 0xFFFD;
        out += utf8_of(cp);
    }
    return out;
}

TypedText typed_to_cp1252(std::string_view typed) {
    TypedText out;
    if (!is_utf8(typed)) {
        out.bytes = typed;
        for (char ch : typed) {
            const auto b = static_cast<uint8_t>(ch);
            if (b >= 0x80 && b < 0xA0 && kHigh[b - 0x80] == 0) {
                out.missing = std::string(1, ch);
                break;
            }
        }
        return out;
    }
    for (size_t at = 0; at < typed.size();) {
        const auto [cp, length] = decode_utf8(typed, at);
        const uint8_t byte = cp1252_byte(cp);
        if (byte != 0 || cp == 0) {
            out.bytes += static_cast<char>(byte);
        } else if (out.missing.empty()) {
            out.missing = std::string(typed.substr(at, length));
        }
        at += length;
    }
    return out;
}
