// The warning rules of rows the readers lose or read in another place than
// the one they stand in.
#pragma once

namespace warning_rules {

class WarningFinder;

// A field where a keyword belongs that names no record: the row is lost (W101).
void misspelt_keywords(WarningFinder& finder);
// A general record of the train given twice: the last wins (W105).
void repeated_general_records(WarningFinder& finder);
// A number with more digits after a blank in its field (W116).
void split_numbers(WarningFinder& finder);
// A train description without its general section: nothing of it is read (W118).
void train_without_general(WarningFinder& finder);
// A row in a section or a document whose reader does not read its kind (W127).
void records_out_of_place(WarningFinder& finder);
// A comma inside a name or a caption: the rest is passed over (W128).
void cut_text_fields(WarningFinder& finder);

}  // namespace warning_rules
