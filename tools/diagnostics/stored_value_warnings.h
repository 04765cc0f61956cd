// The warning rules of values stored other than they are written.
#pragma once

namespace warning_rules {

class WarningFinder;

// A speed limit off the grid's 5 km/h steps (W102).
void speed_limits(WarningFinder& finder);
// An adhesion stored as its low eight bits (W103).
void adhesions(WarningFinder& finder);
// A feature's value too wide for its field (W104).
void narrowed_values(WarningFinder& finder);
// An empty number field, read as 0 (W112).
void empty_numbers(WarningFinder& finder);
// A gradient stored wrapped round (W113).
void gradients(WarningFinder& finder);
// A feature position off the 50 m cells, moved to the nearest (W115).
void moved_positions(WarningFinder& finder);
// Text that looks like UTF-8 in a Windows-1252 document (W117).
void utf8_text(WarningFinder& finder);
// A scheduled time with minutes or seconds carried into the hours (W120).
void scheduled_times(WarningFinder& finder);
// A clock outside the hours of a day (W121).
void clock_values(WarningFinder& finder);
// A train of no cars (W122).
void number_of_cars(WarningFinder& finder);
// A montagna stretch of no cell, or of a type no marker has (W123, W124).
void montagna_stretches(WarningFinder& finder);
// A station with an empty name (W125).
void empty_station_names(WarningFinder& finder);

}  // namespace warning_rules
