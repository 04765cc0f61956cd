// The warning rules of the route's layout and the timetable.
#pragma once

namespace warning_rules {

class WarningFinder;

// Scheduled times backwards, too short to keep, or before the clock starts (W106, W107, W108).
void timetable(WarningFinder& finder);
// A speed-limit change with no speed board at it or before it (W109).
void limits_without_boards(WarningFinder& finder);
// Two stations of one name (W110).
void station_names(WarningFinder& finder);
// A station stop cell written over a feature's cell (W111).
void stop_cells_over_features(WarningFinder& finder);
// A profile row placed before an earlier one (W114).
void rows_out_of_order(WarningFinder& finder);
// A speed-limit or adhesion profile that starts after 0 m (W119).
void profiles_starting_late(WarningFinder& finder);
// A curve that starts inside the curve before it (W126).
void overlapping_curves(WarningFinder& finder);

}  // namespace warning_rules
