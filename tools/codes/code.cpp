#include "tools/codes/code.h"

const CodeEntry* find_code(Code code) {
    for (const CodeEntry& entry : kCodes) {
        if (entry.code == code) return &entry;
    }
    return nullptr;
}

std::string code_name(Code code) {
    return (code.severity() == Severity::Warning ? "W" : "") + std::to_string(code.number());
}

std::optional<Code> parse_code(std::string_view text) {
    Severity severity = Severity::Error;
    if (!text.empty() && (text[0] == 'W' || text[0] == 'w')) {
        severity = Severity::Warning;
        text.remove_prefix(1);
    }
    if (text.empty() || text.size() > 6) return std::nullopt;
    int32_t number = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        number = number * 10 + (c - '0');
    }
    for (const CodeEntry& entry : kCodes) {
        if (entry.code.severity() == severity && entry.code.number() == number) return entry.code;
    }
    return std::nullopt;
}

const char* severity_word(Severity severity) { return severity == Severity::Error ? "error" : "warning"; }
