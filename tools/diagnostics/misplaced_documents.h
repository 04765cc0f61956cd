// A description document given in the other document's place: the train
// description as the line description, the line description as the train
// description, or both the other way round. Its reader finds no record of its
// own in it, and the keyword fields it passes over name records of the other
// document; everything read from such a pair is noise, so the tool says this
// once, at line 1 of the misplaced document, and nothing else.
#pragma once

#include <optional>
#include <string>

#include "core/form1.h"
#include "tools/common/scenario_names.h"
#include "tools/pass/compile_pass.h"

struct MisplacedDocument {
    Document place;    // the place it was given in (for both the other way round: the line description's)
    bool swapped;      // both documents are given the other way round
    std::string message;
};

// The misplaced document of a pass that ran on `documents` with its trace
// on; nothing when each document reads as its own. When only the line
// description's place holds the other document, one more pass, with the two
// exchanged, tells whether the train description's place holds the line
// description (its reader never came to that document).
std::optional<MisplacedDocument> misplaced_document(const Form1& form, const PassDocuments& documents,
                                                    const ScenarioNames& names);
