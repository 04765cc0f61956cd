// Turning a pending error code into a compiler-style diagnostic line:
// "FILE:LINE: error N: MESSAGE", naming what is wrong and how to mend it.
#pragma once

#include <string>

#include "core/form1.h"

// An author's document as given on the command line, with its bytes.
struct SourceDocument {
    std::string path;
    std::string text;
    bool exists = true;
};

// The English sentence for a code; `row` is the text of the record's line
// (may be empty) and supplies positions; the grid names what holds a cell.
std::string error_message(const Form1& form, int32_t code, const std::string& row);

// The text of line `wanted` (from 1) of a document, without its line end;
// empty when there is no such line.
std::string line_of(const std::string& text, int32_t wanted);

// The whole diagnostic line (without a line end) for the form's errorCode.
std::string diagnostic(const Form1& form, const SourceDocument& line, const SourceDocument& train);
