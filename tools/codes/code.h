// The codes an author is shown, one table per family written once: the
// errors of the compile pass in core/error_codes.def, the warnings of the
// check in tools/codes/warning_codes.def. The enumerations, `explain --list`,
// the SARIF rules and the reference tables all come from them.
#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/error_codes.h"

// The warnings, numbered as their codes: Warning::MisspeltKeyword is W101.
enum class Warning : int32_t {
#define WARNING_CODE(name, number, rule, title) name = number,
#include "tools/codes/warning_codes.def"
};

// The family of a code, which is how a finding with it counts: an error
// stops the compile or spoils what it writes, a warning does not.
enum class Severity { Error, Warning };

// A code as an author sees it and a diagnostic carries it: error 6, error
// 1250, warning W101. Made only from the enumerations of the two tables (or
// read from an author's text by parse_code). kNoError, "error 0", stands for
// a failure of the tool's own run, which has no code of its own.
class Code {
public:
    constexpr Code(ErrorCode code) : severity_(Severity::Error), number_(code) {}
    constexpr Code(ReservedFieldMessage message) : severity_(Severity::Error), number_(message) {}
    constexpr Code(Warning warning) : severity_(Severity::Warning), number_(static_cast<int32_t>(warning)) {}

    constexpr Severity severity() const { return severity_; }
    // The error's number, or the warning's without its "W".
    constexpr int32_t number() const { return number_; }

    // Errors first, each family in increasing order.
    constexpr auto operator<=>(const Code&) const = default;

private:
    Severity severity_;
    int32_t number_;
};

// A row of a family's table.
struct CodeEntry {
    Code code;
    std::string_view title;  // one line: what was found
};

// Every code an author can be shown, in the order `explain` lists them: the
// errors in increasing order (the reserved-field messages last), then the warnings.
inline constexpr CodeEntry kCodes[] = {
#define ERROR_CODE(name, number, title) {name, title},
#define RESERVED_FIELD_MESSAGE(name, number, title) {name, title},
#include "core/error_codes.def"
#define WARNING_CODE(name, number, rule, title) {Warning::name, title},
#include "tools/codes/warning_codes.def"
};

// The table's row of a code; nullptr for kNoError.
const CodeEntry* find_code(Code code);

// "6" for an error, "W101" for a warning: the spelling `explain` takes.
std::string code_name(Code code);
// Reads "6", "W101" or "w101" when the tables hold that code; nothing for any other text.
std::optional<Code> parse_code(std::string_view text);

// "error" or "warning", as the outputs name a finding's severity.
const char* severity_word(Severity severity);
