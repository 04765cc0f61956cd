// Every code the compile pass records in errorCode, named once. 1 to 25 and
// 101 to 103 are the codes of the readers, the placements and the completion
// pass that scenario authors know; 201 and up are this project's own refusals
// of rows that would otherwise reach outside a table. 14 and 23 are never set;
// nor is 213, which scenario_tool reports where the compiled files cannot hold
// what was read (the compiler itself ends there with a run-time failure).
#pragma once

#include <cstdint>

enum ErrorCode : int32_t {
    kNoError = 0,

    // Line description reader.
    kRouteTooLong = 1,                // route length above 1000000 m
    kRepetitionStartNotOnCell = 3,    // signal repetition start not a multiple of 50
    kRepetitionEndNotOnCell = 4,      // signal repetition end not a multiple of 50
    kRepetitionCodesUnnamed = 5,      // signal repetition keyword without "4" or "9"
    kIndicationBoardCellTaken = 6,    // indication board on a cell that is not free
    kNoRoomOnGrid = 15,               // a row's position leaves no room on the grid (both readers)
    kReadFailure = 25,                // a document that cannot be read (both readers)
    kLineDocumentMissing = 101,
    kNoGeneralSection = 102,          // no field holds "[generale]"
    kBadCurve = 103,                  // curve without a class digit, or the line passes its last column (the
                                      // second with kCurvesPastLastColumn as the error's detail)

    // Train description reader.
    kProgressiveNotOnCell = 2,        // a progressive definition not a multiple of 50
    kAbbattimentoCellTaken = 7,       // abbattimento mark on a cell that is not free
    kStationNotOnCell = 8,            // station position not a multiple of 50
    kStationLengthOdd = 9,            // station length not a multiple of 100
    kStationSlotsUsedUp = 10,         // no station slot left below the board captions
    kStationsTooClose = 22,           // less than 350 m after the previous station
    kStationTooEarly = 24,            // station ending at or before metre 100

    // Completion pass: no free cell for an abbattimento cap.
    kSignalCapsTaken = 11,            // before a signal that precedes a slow-down warning
    kStartCapsTaken = 12,             // in a group before a slow-down start
    kInsideCapsTaken = 13,            // inside or just after a slow-down

    // Placement.
    kSignalCellTaken = 16,
    kWarningCellTaken = 17,           // the slow-down's warning cell, 1200 m before its start
    kStartCellTaken = 18,
    kEndCellTaken = 19,
    kApproachCellTaken = 20,          // one of the slow-down's four warning approach cells
    kSpeedBoardCellTaken = 21,

    // The project's own refusals.
    kNegativePosition = 201,          // also a feature whose own cell would lie before cell 0
    kStretchBeyondGrid = 202,         // montagna stretch ending beyond the grid
    kStretchListFull = 203,           // an 81st montagna stretch
    kBoardListFull = 204,             // an 81st indication board
    kBoardValueTooLarge = 205,        // speed board value beyond 16 bits
    kCurveBeyondLine = 206,           // curve ending beyond the line table's last column
    kGradientsCrowded = 207,          // gradient rows that would carry the fill past the last cell
    kStationBeyondGrid = 210,         // station stop cell beyond the last cell
    kSlowDownOutside = 211,           // slow-down with a cell outside the grid
    kNegativeRouteLength = 212,
    kLabelTooLong = 213,              // a station name or caption longer than its label holds (the tool's)
};

// The detail of error 103 when the curves carried the line past the last
// column of the line table (without it, the curve had no class digit).
inline constexpr const char* kCurvesPastLastColumn = "the curves carry the line past its last column";

// Every code above but kNoError, in increasing order.
inline constexpr ErrorCode kAllErrorCodes[] = {
    kRouteTooLong,        kProgressiveNotOnCell, kRepetitionStartNotOnCell, kRepetitionEndNotOnCell,
    kRepetitionCodesUnnamed, kIndicationBoardCellTaken, kAbbattimentoCellTaken, kStationNotOnCell,
    kStationLengthOdd,    kStationSlotsUsedUp,   kSignalCapsTaken,          kStartCapsTaken,
    kInsideCapsTaken,     kNoRoomOnGrid,         kSignalCellTaken,          kWarningCellTaken,
    kStartCellTaken,      kEndCellTaken,         kApproachCellTaken,        kSpeedBoardCellTaken,
    kStationsTooClose,    kStationTooEarly,      kReadFailure,              kLineDocumentMissing,
    kNoGeneralSection,    kBadCurve,             kNegativePosition,         kStretchBeyondGrid,
    kStretchListFull,     kBoardListFull,        kBoardValueTooLarge,       kCurveBeyondLine,
    kGradientsCrowded,    kStationBeyondGrid,    kSlowDownOutside,          kNegativeRouteLength,
    kLabelTooLong,
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
    kMarkerFieldsInUse = 1250,     // the route's or the grid's marker field already holds a value
    kCheckCodeFieldsInUse = 1251,  // a field of the check codes already holds a value
};
