// Circles of includes between units, for the layering test. A unit is a
// header with its source of the same folder and stem ("core/format" for
// core/format.h and core/format.cpp); tests ("*_test.cpp") stand aside, as
// nothing includes them. Units that include one another, directly or through
// others, cannot be read, built or moved apart, so any such circle is a fault.
#pragma once

#include <string>
#include <vector>

// One #include line: the including file and the included one, both relative
// to the project ("core/format.cpp", "core/field_stream.h").
struct IncludeLine {
    std::string file;
    std::string header;
};

// A set of units that all reach one another through their includes.
struct UnitCircle {
    // A closed walk through every unit of the set along its includes, from the
    // unit of least name: each includes the next, and the last the first. A
    // unit shows more than once where no single loop holds them all.
    std::vector<std::string> units;
    // For each step of the walk, an include that makes it:
    // "core/format.cpp includes core/field_stream.h".
    std::vector<std::string> steps;

    bool operator==(const UnitCircle&) const = default;
};

// Every circle of units among the includes, in the order of their least unit.
// A unit's files including one another, and includes of files that are neither
// header nor source (tables such as "core/error_codes.def"), make no circle.
std::vector<UnitCircle> find_unit_circles(const std::vector<IncludeLine>& includes);

// A circle in one line: its walk back to the start, then the includes making it.
std::string describe_circle(const UnitCircle& circle);
