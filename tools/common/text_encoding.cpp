#include "tools/common/text_encoding.h"

#include <cstdint>
#include <iterator>
#include <optional>

namespace {
// Code points of bytes 0x80 to 0x9F; 0 where Windows-1252 leaves the byte undefined.
constexpr uint16_t kHigh[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void append_utf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// The code point of the UTF-8 sequence at `at`, advancing `at`; nothing when
// the bytes there are not well-formed UTF-8 (overlong forms, surrogates and
// code points above U+10FFFF included).
std::optional<uint32_t> next_code_point(std::string_view text, size_t& at) {
    const auto lead = static_cast<uint8_t>(text[at]);
    int more = 0;
    uint32_t cp = 0;
    uint32_t lowest = 0;
    if (lead < 0x80) {
        ++at;
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        more = 1, cp = lead & 0x1F, lowest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        more = 2, cp = lead & 0x0F, lowest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        more = 3, cp = lead & 0x07, lowest = 0x10000;
    } else {
        return std::nullopt;
    }
    if (at + static_cast<size_t>(more) >= text.size()) return std::nullopt;
    for (int i = 1; i <= more; ++i) {
        const auto b = static_cast<uint8_t>(text[at + static_cast<size_t>(i)]);
        if ((b & 0xC0) != 0x80) return std::nullopt;
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < lowest || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return std::nullopt;
    at += static_cast<size_t>(more) + 1;
    return cp;
}

bool is_utf8(std::string_view text) {
    for (size_t at = 0; at < text.size();) {
        if (!next_code_point(text, at)) return false;
    }
    return true;
}

// The Windows-1252 byte of a code point; nothing when the code page lacks it.
std::optional<char> cp1252_byte(uint32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
    for (size_t i = 0; i < std::size(kHigh); ++i) {
        if (kHigh[i] != 0 && kHigh[i] == cp) return static_cast<char>(0x80 + i);
    }
    return std::nullopt;
}

}  // namespace

std::string cp1252_to_utf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        auto b = static_cast<uint8_t>(ch);
        uint32_t cp = b;
        if (b >= 0x80 && b < 0xA0) cp = kHigh[b - 0x80] ? kHigh[b - 0x80] : 0xFFFD;
        append_utf8(out, cp);
    }
    return out;
}

Cp1252Text typed_to_cp1252(std::string_view typed) {
    Cp1252Text out;
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
        const size_t start = at;
        const uint32_t cp = *next_code_point(typed, at);
        if (std::optional<char> byte = cp1252_byte(cp)) {
            out.bytes += *byte;
        } else if (out.missing.empty()) {
            out.missing = std::string(typed.substr(start, at - start));
        }
    }
    return out;
}
