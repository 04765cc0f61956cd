#include "tools/common/uri_path.h"

std::string uri_path(std::string_view path, std::string_view alsoPlain) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char ch : path) {
        const auto c = static_cast<unsigned char>(ch);
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
                           c == '.' || c == '_' || c == '~' || c == '/' || alsoPlain.find(ch) != std::string_view::npos;
        if (c == '\\') out += '/';
        else if (plain) out += ch;
        else out += {'%', kHex[c >> 4], kHex[c & 15]};
    }
    return out;
}
