// A route length row that read less than its row wrote: its value empty (read
// as 0), or a number that a comma or a blank ended, with the rest of its
// digits read as a further field. Such a length makes a grid far shorter than
// the route, and every row beyond it is refused for want of room: the length
// row is then the error to report, once, at its own line.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/form1.h"

struct ShortRouteLength {
    const TracedRecord* record;  // the route length row that sized the grid
    int64_t length;              // metres, as read
    bool empty;                  // its value was empty
    bool endedAtBlank;           // the number ended at a blank (else at a comma)
    std::string rest;            // the digits after the number, read as a further field; empty when `empty`
};

// The route length row, when the pass's reported error is a row without room
// on the grid and that row read less than it wrote; nothing otherwise. The
// trace must be on.
std::optional<ShortRouteLength> short_route_length(const Form1& form);

// The length the row meant to write: the number read and the digits cut off, as one number.
std::string meant_length(const ShortRouteLength& length);
