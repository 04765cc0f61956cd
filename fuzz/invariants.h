// What must hold after the compiler has been given any text at all: the
// error code is one the compiler defines, the grid has the size the route
// length gives it, every cell kind is one the compiler produces, and the
// scenario table holds values only in the slots and fields that may be written.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "core/error_codes.h"
#include "core/form1.h"

// The violations found in the form's state after a reading or a compile pass
// (empty when all holds). `allowed` narrows the error codes that may appear.
std::vector<std::string> form_violations(const Form1& form, std::initializer_list<int32_t> allowed);

// The violations in what is left of the two description documents: the line
// description is always consumed, the train description unless the line
// reader stopped before it.
std::vector<std::string> document_violations(const Form1& form);

// The violations found in the compiled files of the folder, against the form
// that wrote them.
std::vector<std::string> compiled_file_violations(const Form1& form);

// The violations in the read trace of a traced pass: the first refused row is
// the error the pass reports (unless the completion pass or nothing reported
// one), and every fact points at a traced record, a field it read and a cell
// of the grid.
std::vector<std::string> trace_violations(const Form1& form);
