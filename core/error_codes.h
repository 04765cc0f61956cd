// Every code the compile pass records in errorCode, and the two messages that
// end its run, named once: the rows are in core/error_codes.def.
#pragma once

#include <cstdint>

enum ErrorCode : int32_t {
    kNoError = 0,
#define ERROR_CODE(name, number, title) name = number,
#include "core/error_codes.def"
};

// The detail of error 103 when the curves carried the line past the last
// column of the line table (without it, the curve had no class digit).
inline constexpr const char* kCurvesPastLastColumn = "the curves carry the line past its last column";

// Every code above but kNoError, in increasing order.
inline constexpr ErrorCode kAllErrorCodes[] = {
#define ERROR_CODE(name, number, title) name,
#include "core/error_codes.def"
};

// The first of the project's own codes: those the error-code table of docs/developing.md lists.
inline constexpr ErrorCode kFirstOwnCode = kNegativePosition;

// Whether a value is one of the codes above (0 included).
constexpr bool is_error_code(int32_t value) {
    if (value == kNoError) return true;
    for (ErrorCode c : kAllErrorCodes) {
        if (c == value) return true;
    }
    return false;
}

// The completion pass's codes: they name a grid cell, not a line of a document.
constexpr bool is_completion_error(int32_t value) {
    return value == kSignalCapsTaken || value == kStartCapsTaken || value == kInsideCapsTaken;
}

// The numbers of the two reserved-field messages (" Errore n. 1250"): they end
// the run instead of being recorded.
enum ReservedFieldMessage : int32_t {
#define RESERVED_FIELD_MESSAGE(name, number, title) name = number,
#include "core/error_codes.def"
};

// Both, in increasing order.
inline constexpr ReservedFieldMessage kAllReservedFieldMessages[] = {
#define RESERVED_FIELD_MESSAGE(name, number, title) name,
#include "core/error_codes.def"
};
