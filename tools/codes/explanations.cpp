// The explanation of every code, in one table keyed on the names of the error
// and warning code tables, and their rendering for `scenario_tool explain`.
// Each example is a few rows added to the smallest scenario; the tests compile
// every one of them and expect exactly its code.
#include "tools/codes/explanations.h"

#include <algorithm>
#include <sstream>

#include "core/error_codes.h"
#include "core/form1.h"
#include "tools/codes/warning_codes.h"

namespace {

CodeRef error(int32_t code) { return CodeRef{CodeRef::Error, code}; }
CodeRef warning(Warning w) { return *parse_code(warning_code(w).code); }

// A warning's explanation: its code and title are those of the warning table.
Explanation about(Warning w, std::string meaning, Example example, std::string fix) {
    return {.code = warning(w),
            .title = std::string(warning_code(w).title),
            .meaning = std::move(meaning),
            .example = std::move(example),
            .fix = std::move(fix)};
}

// `count` rows made by `row(k)` for k from 1: the few examples that need
// many rows of one kind.
template <typename Row>
std::string repeated(int count, Row row) {
    std::string rows;
    for (int k = 1; k <= count; ++k) rows += row(k) + "\n";
    return rows;
}

std::vector<Explanation> make_explanations() {
    std::vector<Explanation> all = {
        {.code = error(kRouteTooLong),
         .title = "route length above 1000000 m",
         .meaning = "The route length row of the general section gives more than 1000000 m, the longest "
                    "route the compiler can build. The grid cannot be sized from it, so the compile ends "
                    "without a compiled file.",
         .example = {.line = "lunghezza percorso,    1200000\n"},
         .fix = "Give a route length of at most 1000000 m, or split the route in two."},
        {.code = error(kProgressiveNotOnCell),
         .title = "progressive definition not on a 50 m cell",
         .meaning = "A kilometric progressive definition (\"progressiva chilometrica uno\", \"due\" or "
                    "\"tre\") has a first or second value that is not a multiple of 50 m. The error is "
                    "found once the train description has been read, and names the line description.",
         .example = {.line = "progressiva chilometrica uno,    1020,    0,    0\n"},
         .fix = "Round the first and second value of the definition to a multiple of 50 m."},
        {.code = error(kRepetitionStartNotOnCell),
         .title = "signal repetition start not a multiple of 50",
         .meaning = "The start of the stretch with continuous signal repetition (the first number of the "
                    "\"ripetizione segnali\" row) is not a multiple of 50 m, so it does not fall on the "
                    "edge of a 50 m cell. Nothing after that row is read, nor the train description.",
         .example = {.line = "ripetizione segnali 4 codici,    1020,    9000\n"},
         .fix = "Round the start to a multiple of 50 m."},
        {.code = error(kRepetitionEndNotOnCell),
         .title = "signal repetition end not a multiple of 50",
         .meaning = "The end of the stretch with continuous signal repetition (the second number of the "
                    "\"ripetizione segnali\" row) is not a multiple of 50 m. An end of 0 means no "
                    "repetition at all. Nothing after that row is read, nor the train description.",
         .example = {.line = "ripetizione segnali 4 codici,    1000,    9020\n"},
         .fix = "Round the end to a multiple of 50 m, or write 0 for no signal repetition."},
        {.code = error(kRepetitionCodesUnnamed),
         .title = "signal repetition names no number of codes",
         .meaning = "The keyword of the signal repetition row must say how many codes the repetition "
                    "carries, 4 or 9, by containing the digit: \"ripetizione segnali 4 codici\". This one "
                    "contains neither digit. Nothing after that row is read, nor the train description.",
         .example = {.line = "ripetizione segnali codici,    1000,    9000\n"},
         .fix = "Write \"ripetizione segnali 4 codici\" or \"ripetizione segnali 9 codici\"."},
        {.code = error(kIndicationBoardCellTaken),
         .title = "indication board on a cell that is not free",
         .meaning = "An indication board falls on a 50 m grid cell that already holds a feature: a speed "
                    "board or another indication board within the same 50 m, an earlier row of the line "
                    "description. A cell shows one feature; the board at position x takes cell "
                    "round(x / 50 + 1), so boards at 5000 m and 5010 m share cell 101. The rest of the "
                    "line description and the whole train description are not read.",
         .example = {.line = "[cartelli]\n"
                             "indicatori_vmax,  5000,  80,  90,  100,  0,  ,  ,  ,  0\n"
                             "[indicazioni]\n"
                             "cartello_indicatore,  5000,   (PONTE)\n"},
         .fix = "Move the indication board at least 50 m away from the other feature, to a cell of its "
                "own."},
        {.code = error(kAbbattimentoCellTaken),
         .title = "abbattimento mark on a cell that is not free",
         .meaning = "An abbattimento mark falls on a grid cell that already holds a feature. A mark at "
                    "position x takes cell round(x / 50), one cell before the cell a signal or board at "
                    "the same position takes: a mark at 5050 m lands on the cell of a signal at 5000 m. "
                    "The rest of the train description is not read.",
         .example = {.train = "segnale,    5000,   1, 4, 1,  0, 0,    1,  3,1,0, 0\n"
                              "abbattimento,   5050,   120\n"},
         .fix = "Move the mark to a free cell; remember that its cell is one before the cell of a "
                "feature at the same position."},
        {.code = error(kStationNotOnCell),
         .title = "station position not a multiple of 50",
         .meaning = "A station's position (its first number) is not a multiple of 50 m. The rest of the "
                    "train description is not read.",
         .example = {.train = "stazione,    5020,  4,  700,  0, 1, 0,  1,1,0,  4,1,1,    1,   8,10, 0, BORGO\n"},
         .fix = "Round the station's position to a multiple of 50 m."},
        {.code = error(kStationLengthOdd),
         .title = "station length not a multiple of 100",
         .meaning = "A station's length (its third number) is not a multiple of 100 m. The rest of the "
                    "train description is not read.",
         .example = {.train = "stazione,    5000,  4,  650,  0, 1, 0,  1,1,0,  4,1,1,    1,   8,10, 0, BORGO\n"},
         .fix = "Round the station's length to a multiple of 100 m."},
        {.code = error(kStationSlotsUsedUp),
         .title = "too many stations for the slots left by the indication boards",
         .meaning = "Stations and indication-board captions share the 80 slots of the scenario table: the "
                    "captions fill them from slot 80 down, the stations from slot 1 up. With S indication "
                    "boards at most 78 - S stations fit; here 80 boards leave room for none. The rest of "
                    "the train description is not read.",
         .example = {.line = "[indicazioni]\n" + repeated(80,
                                                          [](int k) {
                                                              return "cartello_indicatore,  " +
                                                                     std::to_string(k * 100) + ",   (B" +
                                                                     std::to_string(k) + ")";
                                                          }),
                     .train = "stazione,    9000,  4,  700,  0, 1, 0,  1,1,0,  4,1,1,    1,   8,10, 0, BORGO\n"},
         .fix = "Remove stations or indication boards until the stations number at most 78 minus the "
                "indication boards."},
        {.code = error(kSignalCapsTaken),
         .title = "no free cell for the cap before a signal ahead of a slow-down",
         .meaning = "Before every signal in the 1000 m before a slow-down's warning cell (1200 m before "
                    "the slow-down), the compiler puts an abbattimento cap in one of the two cells just "
                    "before the signal. Here both hold a feature. The message names the signal's cell; "
                    "the compiled files are still written, without that cap.",
         .example = {.line = "[cartelli]\n"
                             "indicatori_vmax,  2900,  80,  90,  100,  0,  ,  ,  ,  0\n"
                             "indicatori_vmax,  2950,  80,  90,  100,  0,  ,  ,  ,  0\n",
                     .train = "segnale,    3000,   1, 4, 1,  0, 0,    1,  3,1,0, 0\n"
                              "rallentamento,   5000,   30,   600,   0,   0,   0\n"},
         .fix = "Move one of the features out of the 100 m before the signal, or move the signal."},
        {.code = error(kStartCapsTaken),
         .title = "no free cell for a cap before a slow-down start",
         .meaning = "Before a slow-down the compiler puts three abbattimento caps, one in each of the "
                    "groups of cells 250 to 350 m, 550 to 650 m and 900 to 1000 m before its start. Here "
                    "every cell of one group holds a feature. The message names the slow-down's start "
                    "cell; the compiled files are still written, without that cap.",
         .example = {.line = "[cartelli]\n"
                             "indicatori_vmax,  4650,  80,  90,  100,  0,  ,  ,  ,  0\n"
                             "indicatori_vmax,  4750,  80,  90,  100,  0,  ,  ,  ,  0\n",
                     .train = "segnale,    4700,   1, 4, 1,  0, 0,    1,  3,1,0, 0\n"
                              "rallentamento,   5000,   30,   600,   0,   0,   0\n"},
         .fix = "Keep at least one cell of each group free: move a feature, or the slow-down."},
        {.code = error(kInsideCapsTaken),
         .title = "no free cell for a cap inside or after a slow-down",
         .meaning = "Inside a slow-down slower than 110 km/h the compiler puts an abbattimento cap every "
                    "400 m (in the cell, or the one before or after it), and one before the first signal "
                    "within 600 m after its end (in one of the two cells before the signal). Here all "
                    "the cells a cap may take hold a feature. The message names the cell; the compiled "
                    "files are still written, without that cap.",
         .example = {.line = "[cartelli]\n"
                             "indicatori_vmax,  5350,  80,  90,  100,  0,  ,  ,  ,  0\n"
                             "indicatori_vmax,  5400,  80,  90,  100,  0,  ,  ,  ,  0\n"
                             "indicatori_vmax,  5450,  80,  90,  100,  0,  ,  ,  ,  0\n",
                     .train = "rallentamento,   5000,   30,   600,   0,   0,   0\n"},
         .fix = "Keep the cells 400 m, 800 m, ... into the slow-down, and the cells just before the "
                "signal after it, free of features."},
        {.code = error(kNoRoomOnGrid),
         .title = "position leaves no room on the grid",
         .meaning = "The grid runs 7000 m beyond the route length, in 50 m cells 0 to N, N = (length + "
                    "7000) / 50. A row's position must leave two cells behind it: (position + 100) / 50 "
                    "may not exceed N, for a station (position + 800) / 50. On a 10000 m route (N = 340) "
                    "rows may stand up to 16900 m, stations up to 16200 m. The reading of that document "
                    "stops at the row; what came before is kept, and the train description is still "
                    "read.",
         .example = {.line = "[pendenze]\n"
                             "pendenza,  17000,   5\n"},
         .fix = "Move the row before the end of the route, or lengthen the route."},
        {.code = error(kSignalCellTaken),
         .title = "signal on a cell that is not free",
         .meaning = "A signal falls on a 50 m grid cell that already holds a feature: a speed board, an "
                    "indication board, a station's stop cell or another signal within the same 50 m. The "
                    "signal at position x takes cell round(x / 50 + 1). The rest of the train "
                    "description is not read.",
         .example = {.line = "[cartelli]\n"
                             "indicatori_vmax,  5000,  80,  90,  100,  0,  ,  ,  ,  0\n",
                     .train = "segnale,    5000,   1, 4, 1,  0, 0,    1,  3,1,0, 0\n"},
         .fix = "Move the signal or the other feature at least 50 m, to a cell of its own."},
        {.code = error(kWarningCellTaken),
         .title = "slow-down warning cell not free",
         .meaning = "A slow-down that starts beyond 1500 m has a warning cell 1200 m before its start. "
                    "That cell already holds a feature, so nothing of the slow-down is placed. The rest of the train description "
                    "is not read.",
         .example = {.line = "[cartelli]\n"
                             "indicatori_vmax,  3800,  80,  90,  100,  0,  ,  ,  ,  0\n",
                     .train = "rallentamento,   5000,   30,   600,   0,   0,   0\n"},
         .fix = "Move the slow-down, or the feature 1200 m before its start."},
        {.code = error(kStartCellTaken),
         .title = "slow-down start cell not free",
         .meaning = "The cell of the slow-down's start, round(start / 50 + 1), already holds a feature. "
                    "Nothing of the slow-down is placed and the rest of the train description is not "
                    "read.",
         .example = {.line = "[cartelli]\n"
                             "indicatori_vmax,  5000,  80,  90,  100,  0,  ,  ,  ,  0\n",
                     .train = "rallentamento,   5000,   30,   600,   0,   0,   0\n"},
         .fix = "Move the slow-down's start, or the feature, to another 50 m cell."},
        {.code = error(kEndCellTaken),
         .title = "slow-down end cell not free",
         .meaning = "The cell of the slow-down's end, round((start + length) / 50 + 1), already holds a "
                    "feature. Nothing of the slow-down is placed and the rest of the train description "
                    "is not read.",
         .example = {.line = "[cartelli]\n"
                             "indicatori_vmax,  5600,  80,  90,  100,  0,  ,  ,  ,  0\n",
                     .train = "rallentamento,   5000,   30,   600,   0,   0,   0\n"},
         .fix = "Change the slow-down's length, or move the feature at its end."},
        {.code = error(kApproachCellTaken),
         .title = "slow-down warning approach cell not free",
         .meaning = "A slow-down whose fifth number is not 0 gets four warning approach cells just before "
                    "its warning cell, 1250 to 1400 m before its start. One of them already holds a "
                    "feature. The start, end and warning cells stay placed; the rest of the train "
                    "description is not read.",
         .example = {.line = "[cartelli]\n"
                             "indicatori_vmax,  3700,  80,  90,  100,  0,  ,  ,  ,  0\n",
                     .train = "rallentamento,   5000,   30,   600,   0,   1,   0\n"},
         .fix = "Move the feature out of the 200 m before the warning cell, move the slow-down, or set "
                "its fifth number to 0."},
        {.code = error(kSpeedBoardCellTaken),
         .title = "speed board on a cell that is not free",
         .meaning = "A speed board falls on a 50 m grid cell that already holds a feature: another speed "
                    "board or an indication board within the same 50 m, read earlier. The board at "
                    "position x takes cell round(x / 50 + 1). The rest of the line description "
                    "and the whole train description are not read.",
         .example = {.line = "[cartelli]\n"
                             "indicatori_vmax,  5000,  80,  90,  100,  0,  ,  ,  ,  0\n"
                             "indicatori_vmax,  5000,  60,  70,  80,  0,  ,  ,  ,  0\n"},
         .fix = "Give each board a cell of its own, at least 50 m apart; remove a duplicated row."},
        {.code = error(kStationsTooClose),
         .title = "station too close to the previous one",
         .meaning = "Each station covers an extent around its position (for most types from position - "
                    "length / 2 to position + length / 2). A station's extent must begin at least 350 m "
                    "after the previous station's ends, and stations stand in route order. The rest of "
                    "the train description is not read.",
         .example = {.train = "stazione,    1000, 22,  400,  0, 0, 0,  0,0,0,  4,1,1,    0,   0, 0, 0, ALFA\n"
                              "stazione,    1500, 22,  400,  0, 0, 0,  0,0,0,  4,1,1,    0,   0, 0, 0, BETA\n"},
         .fix = "Move the stations apart, shorten one of them, or put them in route order."},
        {.code = error(kStationTooEarly),
         .title = "station ends at or before metre 100",
         .meaning = "A station of a type below 25 has its stop cell where its extent ends; an extent that "
                    "ends at or before metre 100 leaves no cell for it. The rest of the train description "
                    "is not read.",
         .example = {.train = "stazione,       0,  4,  200,  0, 0, 0,  1,1,0,  4,1,1,    1,   8,10, 0, CAPOLINEA\n"},
         .fix = "Move the station further along the line or make it longer, so that it ends beyond "
                "metre 100 (a 700 m station at 0 ends at 350 m)."},
        {.code = error(kReadFailure),
         .title = "document cannot be read",
         .meaning = "A value could not be read: text where a number belongs (a misspelt number, a decimal "
                    "point), a number too large for its field (a station's 8-bit "
                    "fields hold 0 to 255), a speed of 1278 km/h or more, a row cut short by the end of "
                    "the file, or a train description that does not exist. The message names the line. "
                    "Neither document is read any further.",
         .example = {.train = "numero vetture,    otto\n"},
         .fix = "Write the value as a whole number within its field's range, and end the document with "
                "\"[fine]\"."},
        {.code = error(kLineDocumentMissing),
         .title = "line description not found",
         .meaning = "The line description named on the command line does not exist, so there is no route "
                    "to compile and no compiled file is written.",
         .example = {.linePlacement = Placement::Missing},
         .fix = "Give the path of an existing line description; `scenario_tool write-documents DIR` "
                "writes one to start from."},
        {.code = error(kNoGeneralSection),
         .title = "no [generale] in the line description",
         .meaning = "Everything before the first field that contains \"[generale]\" is free text; here no "
                    "field contains it, so the document has no route at all and no compiled file is "
                    "written.",
         .example = {.line = "generale\n"
                             "lunghezza percorso,    10000\n"
                             "[fine]\n",
                     .linePlacement = Placement::Whole},
         .fix = "Put a line \"[generale]\" before the route length."},
        {.code = error(kBadCurve),
         .title = "curve without a class digit",
         .meaning = "A curve's keyword carries its class, the digit 1 to 6 after \"curvad\" (right-hand) "
                    "or \"curvas\" (left-hand); this one has none. The error is also given when the "
                    "curves carry the line beyond metre 1000000. The rest of the line description "
                    "and the whole train description are not read.",
         .example = {.line = "[curve]\n"
                             "curvad,  2000,  300\n"},
         .fix = "Write the class: curvad1 to curvad6 or curvas1 to curvas6 (1 the gentlest, 6 the "
                "sharpest)."},
        {.code = error(kNegativePosition),
         .title = "negative position",
         .meaning = "A row has a negative position (or, for a montagna stretch, end). Positions are metres "
                    "from the start of the route, 0 or more. The rest of that document is not read (after "
                    "a row of the line description, nor the train description).",
         .example = {.line = "[pendenze]\n"
                             "pendenza,  -50,   5\n"},
         .fix = "Give the position in metres from the start of the route."},
        {.code = error(kStretchBeyondGrid),
         .title = "montagna stretch beyond the grid",
         .meaning = "A montagna stretch's end lies beyond the grid, which ends 7000 m after the route "
                    "length (17000 m for a 10000 m route). The rest of the line description and the whole train description are not read.",
         .example = {.line = "[montagne]\n"
                             "montagna,   2000,  18000,  11\n"},
         .fix = "End the stretch before the end of the grid."},
        {.code = error(kStretchListFull),
         .title = "more than 80 montagna stretches",
         .meaning = "A route holds at most 80 montagna stretches; this is the 81st. The rest of the line "
                    "description and the whole train description are not read.",
         .example = {.line = "[montagne]\n" + repeated(81,
                                                       [](int k) {
                                                           return "montagna,   " + std::to_string(k * 100) +
                                                                  ",  " + std::to_string(k * 100 + 50) + ",  1";
                                                       })},
         .fix = "Join neighbouring stretches of the same type into one."},
        {.code = error(kBoardListFull),
         .title = "more than 80 indication boards",
         .meaning = "A route holds at most 80 indication boards (and every board takes a slot the stations "
                    "need); this is the 81st. The rest of the line description and the whole train description are not read.",
         .example = {.line = "[indicazioni]\n" + repeated(81,
                                                          [](int k) {
                                                              return "cartello_indicatore,  " +
                                                                     std::to_string(k * 100) + ",   (B" +
                                                                     std::to_string(k) + ")";
                                                          })},
         .fix = "Remove indication boards."},
        {.code = error(kBoardValueTooLarge),
         .title = "speed board value too large",
         .meaning = "A speed board keeps each of its three speeds as speed x 20 (plus a fifth of the "
                    "matching second speed) in a field that holds at most 32767, so a speed of 1639 km/h "
                    "or more does not fit. The rest of the line description and the whole train description are not read.",
         .example = {.line = "[cartelli]\n"
                             "indicatori_vmax,  5000,  1700,  90,  100,  0,  ,  ,  ,  0\n"},
         .fix = "Give the board's speeds in km/h, below 1639."},
        {.code = error(kCurveBeyondLine),
         .title = "curve beyond the end of the line",
         .meaning = "A curve's end, start + length, lies beyond the line's last metre, 7000 m after the "
                    "route length (17000 m for a 10000 m route). The rest of the line description "
                    "and the whole train description are not read.",
         .example = {.line = "[curve]\n"
                             "curvad5,  16000,  2000\n"},
         .fix = "Shorten the curve, or lengthen the route."},
        {.code = error(kGradientsCrowded),
         .title = "gradient rows crowded at the end of the grid",
         .meaning = "Every gradient row writes at least one 50 m cell, so rows closer together than 50 m "
                    "near the end of the grid would run past its last cell. The rest of the line "
                    "description and the whole train description are not read.",
         .example = {.line = "[pendenze]\n" + repeated(5, [](int) { return std::string("pendenza,  16900,   1"); }),
                     .alsoReported = {warning(Warning::RowsOutOfOrder), warning(Warning::RowsOutOfOrder),
                                      warning(Warning::RowsOutOfOrder)}},
         .fix = "Keep gradient rows at least 50 m apart, in increasing order of position."},
        {.code = error(kStationBeyondGrid),
         .title = "station stop cell beyond the grid",
         .meaning = "A station's stop cell, at the end of its extent, would lie beyond the last cell of the "
                    "grid. Stations of types 7 and 8 reach a whole station length beyond their position. "
                    "The rest of the train description is not read.",
         .example = {.train = "stazione,   16000,  7,  2000,  0, 0, 0,  0,0,0,  4,1,1,    0,   0, 0, 0, CAPOLINEA\n"},
         .fix = "Shorten the station, move it back, or lengthen the route."},
        {.code = error(kSlowDownOutside),
         .title = "slow-down reaching outside the grid",
         .meaning = "A cell of the slow-down (its end, start + length, or its approach cells) lies outside "
                    "the grid. The rest of the train description is not read.",
         .example = {.train = "rallentamento,  16000,   30,  2000,   0,   0,   0\n"},
         .fix = "Shorten the slow-down or move it back from the end of the route."},
        {.code = error(kNegativeRouteLength),
         .title = "negative route length",
         .meaning = "The route length is negative. The grid cannot be sized from it, so the compile "
                    "ends without a compiled file.",
         .example = {.line = "lunghezza percorso,    -10000\n"},
         .fix = "Give the route length in metres, 0 to 1000000."},
        {.code = error(kLabelTooLong),
         .title = "station name or caption too long for the scenario file",
         .meaning = "The scenario file stores each station name and indication board caption with its "
                    "length in 16 bits, so a name or caption holds at most 65535 characters; this one is "
                    "longer. scenario_tool names the row and writes no compiled file (the compiler itself "
                    "ends with a run-time failure when it comes to write the scenario file).",
         .example = {.train = "stazione,   2000,  4,  700,  0, 0, 0,  1,1,0,  4,1,1,    1,   8,10, 0, " +
                              std::string(65536, 'A') + "\n"},
         .fix = "Shorten the name or caption to at most 65535 characters."},
        {.code = error(kMarkerFieldsInUse),
         .title = "a feature in the first 25 m (reserved marker field)",
         .meaning = "Cell 1 of the grid (metres 0 to 24) carries a marker value of the compiler's own. A "
                    "signal, speed board, indication board or slow-down within the first 25 m of the "
                    "route, or an abbattimento mark at 26 to 74 m, writes into it. The compiler stops with "
                    "\" Errore n. 1250\" and writes no compiled file.",
         .example = {.train = "segnale,       0,   1, 4, 1,  0, 0,    1,  3,1,0, 0\n"},
         .fix = "Move the feature to 25 m or later (the mark to 75 m or later)."},
        {.code = error(kCheckCodeFieldsInUse),
         .title = "a feature in the first 25 m (reserved check-code field)",
         .meaning = "Cell 1 of the grid (metres 0 to 24) carries a check code of the compiler's own. A "
                    "feature within the first 25 m whose first value happens to be 0 writes only into "
                    "this second field. The compiler stops with \" Errore n. 1251\" and writes no "
                    "compiled file.",
         .example = {.train = "segnale,       0,   1, 0, 1,  0, 0,    1,  0,1,0, 0\n"},
         .fix = "Move the feature to 25 m or later."},

        // Warnings of `check`: the documents compile, but not as meant.
        about(Warning::MisspeltKeyword,
              "The first field of a row (its keyword) contains none of the words the reader looks for, so the "
              "row is passed over and its values are read as further keyword fields, which pass no test "
              "either: the whole row is lost without an error. Section headers in brackets and dash lines "
              "are not reported. The message names the keyword the field is nearest to.",
              {.train = "velocta,    5000,    60\n"},
              "Spell the keyword as the reference gives it (here \"velocita\"); letter case does not matter."),
        about(Warning::SpeedNotStep,
              "The grid keeps speed limits in steps of 5 km/h: a speed that is not a multiple of 5 is rounded "
              "to the nearest step (a half to the even step), so 72 km/h becomes 70 km/h in the simulator.",
              {.line = "[cartelli]\n"
                       "indicatori_vmax,  5000,  60,  72,  80,  0,  ,  ,  ,  0\n",
               .train = "velocita,    5000,    72\n"},
              "Write the multiple of 5 km/h you mean."),
        about(Warning::AdhesionNarrowed,
              "An adhesion is kept in one byte, 0 to 255; a larger value keeps only its low eight bits, so "
              "300 % becomes 44 % in the simulator.",
              {.train = "aderenza,    5000,    300\n"},
              "Write the adhesion in percent, such as 90 or 100."),
        about(Warning::ValueNarrowed,
              "A value of a signal, slow-down, abbattimento mark, speed board or montagna stretch is stored in "
              "a cell field of 16 bits (-32768 to 32767) or 8 bits (0 to 255); a value outside keeps only its "
              "low bits, and the simulator sees a different number.",
              {.train = "abbattimento,    5000,    40000\n"},
              "Check the row's values against the ranges of docs/authoring.md."),
        about(Warning::GeneralRepeated,
              "A general row of the train (cars, braked mass, sand, clock) is given twice; the last one read "
              "wins and the earlier one has no effect.",
              {.train = "numero vetture,    6\n"},
              "Keep one of the two rows."),
        about(Warning::TimesBackwards,
              "Stations stand in route order, and a station's scheduled time is earlier than that of a "
              "station before it along the route: the timetable runs backwards.",
              {.train = "stazione,    1000,  4,  700,  0, 1, 0,  1,1,0,  4,1,1,    1,   8,30, 0, ALFA\n"
                        "stazione,    5000,  4,  700,  0, 1, 0,  1,1,0,  4,1,1,    1,   8,20, 0, BETA\n"},
              "Correct one of the two times, or the order of the stations."),
        about(Warning::TimeTooShort,
              "The time between two scheduled stations is shorter than the train needs even running at the "
              "speed limit all the way, cell by cell: the train is late however it is driven.",
              {.train = "stazione,    1000,  4,  700,  0, 1, 0,  1,1,0,  4,1,1,    1,   8,10, 0, ALFA\n"
                        "stazione,    9000,  4,  700,  0, 1, 0,  1,1,0,  4,1,1,    1,   8,12, 0, BETA\n"},
              "Give the later station a later time, or raise the speed limits between them."),
        about(Warning::ClockAfterDeparture,
              "The clock row sets the time of day the simulation starts; here it starts after the first "
              "scheduled time, so the train is late before it moves.",
              {.train = "stazione,    1000,  4,  700,  0, 1, 0,  1,1,0,  4,1,1,    1,   7,30, 0, ALFA\n"},
              "Start the clock a minute or two before the first scheduled time (the built-in clock is 9:37:00 "
              "for a departure at 9:38:00)."),
        about(Warning::LimitWithoutBoard,
              "The train's speed limit changes at a position where the line description has no speed board, "
              "neither at it nor in the 1000 m before it: the driver meets a new limit without being told.",
              {.train = "velocita,    5000,    60\n"},
              "Add an indicatori_vmax row at the change or up to 1000 m before it, or move the change to a "
              "board."),
        about(Warning::StationNameRepeated,
              "Two stations have the same name; the timetable and the simulator cannot tell them apart.",
              {.train = "stazione,    1000, 22,  600,  0, 0, 0,  0,0,0,  4,1,1,    0,   0, 0, 0, ALFA\n"
                        "stazione,    5000, 22,  600,  0, 0, 0,  0,0,0,  4,1,1,    0,   0, 0, 0, ALFA\n"},
              "Rename one of them."),
        about(Warning::StopCellOverFeature,
              "A station's stop cell, at the end of its extent, is written without the free-cell test: a "
              "signal, board or other feature already in that cell disappears without an error. A 700 m "
              "station at 1000 m ends at 1350 m, stop cell 26, the cell of a signal at 1250 m.",
              {.train = "segnale,    1250,   1, 4, 1,  0, 0,    1,  3,1,0, 0\n"
                        "stazione,    1000,  4,  700,  0, 1, 0,  1,1,0,  4,1,1,    1,   8,10, 0, ALFA\n"},
              "Move the feature or the station so that the stop cell is free."),
        about(Warning::EmptyNumber,
              "A number field is empty (only blanks between two commas, or nothing after the last comma) and "
              "is read as 0: an empty speed stops the train for the rest of the route, an empty adhesion gives "
              "no grip. The three right-hand speeds of a speed board, empty in the built-in document, are not "
              "reported.",
              {.train = "aderenza,    5000,\n"},
              "Write the value, or 0 where 0 is meant."),
        about(Warning::GradientNarrowed,
              "A cell keeps the gradient plus 100 in one byte, so gradients hold -100 to 155 per mille; "
              "outside that the value wraps round (200 per mille becomes -56).",
              {.line = "[pendenze]\n"
                       "pendenza,  2000,   200\n"},
              "Give the gradient in per mille, between -100 and 155."),
        about(Warning::RowsOutOfOrder,
              "Speed-limit, adhesion and gradient rows fill the cells from where the last row left off, at "
              "least one cell per row. A row placed after one further along the route does not take effect "
              "where it is written, but from the cell after those already filled.",
              {.line = "[pendenze]\n"
                       "pendenza,  6000,   5\n"
                       "pendenza,  5000,   3\n"},
              "Put the rows in increasing order of position."),
        about(Warning::PositionMoved,
              "A signal, board, slow-down or abbattimento mark stands at a position that is not a multiple of "
              "50 m; it is placed on the nearest 50 m cell, so the simulator shows it up to 25 m from where "
              "it is written.",
              {.train = "segnale,    5020,   1, 4, 1,  0, 0,    1,  3,1,0, 0\n"},
              "Write the multiple of 50 the feature lands on, or the one you mean."),
        about(Warning::NumberSplit,
              "A number ends at the first blank after its digits, so \"106 000\" reads as 106, and the rest "
              "as the next field: every value after it in the row is shifted by one.",
              {.train = "aderenza,    5000,    9 5\n"},
              "Write numbers without blanks inside."),
        about(Warning::Utf8Text,
              "The documents are Windows-1252, one byte per character; this line holds text saved as UTF-8, "
              "which takes two bytes for an accented letter: the simulator shows \"PIANCASTELLÒ\" as "
              "\"PIANCASTELLÃ’\".",
              {.train = "stazione,    1000, 22,  600,  0, 0, 0,  0,0,0,  4,1,1,    0,   0, 0, 0, "
                        "PIANCASTELL\xC3\x92\n"},
              "Save the document in Windows-1252 (in many editors: \"Western European\" or \"ANSI\")."),
        about(Warning::NoGeneralSection,
              "Everything before the first field that contains \"[generale]\" is free text. A train "
              "description without it is read as nothing at all: no speed limits, stations or signals, and "
              "no error.",
              {.train = "numero vetture,    4\n"
                        "velocita,    0,    80\n"
                        "[fine]\n",
               .trainPlacement = Placement::Whole},
              "Put a line \"[generale]\" before the first row."),
        about(Warning::ProfileStartsLate,
              "The speed-limit or adhesion profile has no row at 0 m (up to 25 m counts as 0): from the start "
              "of the route up to the first row the value is 0, a train that may not move or has no grip.",
              {.train = "[generale]\n"
                        "aderenza,    0,    100\n"
                        "velocita,    2000,    80\n"
                        "[fine]\n",
               .trainPlacement = Placement::Whole},
              "Add a row at 0 m."),
    };
    return all;
}

// The smallest sound scenario: a 10000 m line with nothing on it, and a
// train with its general values, adhesion and speed limit.
constexpr const char* kSmallestLine =
    "[generale]\n"
    "lunghezza percorso,    10000\n";
constexpr const char* kSmallestTrain =
    "[generale]\n"
    "numero vetture,    4\n"
    "percentuale massa frenata,    120\n"
    "sabbia,    300\n"
    "orologio,    8               0            0\n"
    "aderenza,    0,    100\n"
    "velocita,    0,    80\n";
constexpr const char* kEnd = "[fine]\n";

std::string with_crlf(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);) lines.push_back(l);
    return lines;
}

// Words of a paragraph laid out in lines of at most `width` characters after the indent.
std::string wrapped(const std::string& text, size_t width, const std::string& indent) {
    std::istringstream words(text);
    std::string out, line;
    for (std::string word; words >> word;) {
        if (!line.empty() && line.size() + 1 + word.size() > width) {
            out += indent + line + "\n";
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word;
    }
    if (!line.empty()) out += indent + line + "\n";
    return out;
}

// An example's rows; a long run of rows of one kind shows its first and last
// rows around the count of those left out, and a very long row its start.
std::vector<std::string> shown_rows(const std::string& rows) {
    constexpr size_t kLongest = 10, kHead = 4, kTail = 2;
    constexpr size_t kLongestRow = 100, kRowHead = 80;
    auto lines = lines_of(rows);
    for (std::string& line : lines) {
        if (line.size() > kLongestRow)
            line = line.substr(0, kRowHead) + "... (" + std::to_string(line.size() - kRowHead) + " more characters)";
    }
    std::vector<std::string> out;
    for (size_t n = 0; n < lines.size(); ++n) {
        if (lines.size() > kLongest && n == kHead) {
            out.push_back("... (" + std::to_string(lines.size() - kHead - kTail) + " more rows like these)");
            n = lines.size() - kTail;
        }
        out.push_back(lines[n]);
    }
    return out;
}

// A lead-in sentence and the rows under it: indented in text, a code block in Markdown.
std::string rows_block(const std::string& lead, const std::string& rows, Markup markup) {
    std::string out;
    if (markup == Markup::Text) {
        out = "  " + lead + "\n";
        for (const std::string& row : shown_rows(rows)) out += "    " + row + "\n";
    } else {
        out = lead + "\n\n```text\n";
        for (const std::string& row : shown_rows(rows)) out += row + "\n";
        out += "```\n\n";
    }
    return out;
}

std::string sentence(const std::string& text, Markup markup) {
    return markup == Markup::Text ? wrapped(text, 76, "  ") : text + "\n\n";
}

std::string shown_document(const char* name, const std::string& rows, Placement placement, Markup markup) {
    switch (placement) {
        case Placement::Missing: return sentence(std::string("No ") + name + " at all.", markup);
        case Placement::Whole: return rows_block(std::string("The whole ") + name + ":", rows, markup);
        case Placement::Added: break;
    }
    return rows.empty() ? "" : rows_block(std::string("In the ") + name + ":", rows, markup);
}

std::string shown_example(const Example& example, Markup markup) {
    std::string out = shown_document("line description", example.line, example.linePlacement, markup) +
                      shown_document("train description", example.train, example.trainPlacement, markup);
    const bool added = (example.linePlacement == Placement::Added && !example.line.empty()) ||
                       (example.trainPlacement == Placement::Added && !example.train.empty());
    const bool other = example.linePlacement == Placement::Added || example.trainPlacement == Placement::Added;
    const std::string smallest = markup == Markup::Text
                                     ? "the smallest scenario of docs/authoring.md"
                                     : "[the smallest scenario](authoring.md#81-the-smallest-scenario)";
    if (added) {
        out += sentence("(added to " + smallest + ", a 10000 m route)", markup);
    } else if (other) {
        out += sentence("(the other document is that of " + smallest + ")", markup);
    }
    for (size_t n = 0; n < example.alsoReported.size(); ++n) {
        const CodeRef also = example.alsoReported[n];
        if (std::find(example.alsoReported.begin(), example.alsoReported.begin() + n, also) !=
            example.alsoReported.begin() + n)
            continue;  // named once
        const Explanation* e = find_explanation(also);
        out += sentence("The same rows also give " + std::string(also.kind == CodeRef::Error ? "error " : "warning ") +
                            code_name(also) + (e ? ": " + e->title : "") + ".",
                        markup);
    }
    return out;
}

std::string document_with(const char* smallest, const std::string& rows, Placement placement) {
    switch (placement) {
        case Placement::Missing: return "";
        case Placement::Whole: return with_crlf(rows);
        case Placement::Added: break;
    }
    return with_crlf(smallest + rows + kEnd);
}

std::string kind_word(CodeRef::Kind kind, size_t count) {
    std::string word = kind == CodeRef::Error ? "error" : "warning";
    return count == 1 ? word : word + "s";
}

}  // namespace

std::string code_name(CodeRef code) {
    return (code.kind == CodeRef::Warning ? "W" : "") + std::to_string(code.number);
}

std::optional<CodeRef> parse_code(std::string_view text) {
    CodeRef code;
    if (!text.empty() && (text[0] == 'W' || text[0] == 'w')) {
        code.kind = CodeRef::Warning;
        text.remove_prefix(1);
    }
    if (text.empty() || text.size() > 6) return std::nullopt;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        code.number = code.number * 10 + (c - '0');
    }
    return code;
}

const std::vector<Explanation>& explanations() {
    static const std::vector<Explanation> all = make_explanations();
    return all;
}

const Explanation* find_explanation(CodeRef code) {
    for (const Explanation& e : explanations()) {
        if (e.code == code) return &e;
    }
    return nullptr;
}

std::string example_line_document(const Example& example) {
    return document_with(kSmallestLine, example.line, example.linePlacement);
}

std::string example_train_document(const Example& example) {
    return document_with(kSmallestTrain, example.train, example.trainPlacement);
}

std::string render_explanation(const Explanation& e, Markup markup) {
    const std::string heading =
        (e.code.kind == CodeRef::Error ? "error " : "warning ") + code_name(e.code) + ": " + e.title;
    if (markup == Markup::Markdown) {
        return "<a id=\"" + code_name(e.code) + "\"></a>\n### " + heading + "\n\n**What it means.** " + e.meaning +
               "\n\n**Example.**\n\n" + shown_example(e.example, markup) + "**How to fix it.** " + e.fix + "\n";
    }
    return heading + "\n\nWhat it means\n" + wrapped(e.meaning, 76, "  ") + "\nExample\n" +
           shown_example(e.example, markup) + "\nHow to fix it\n" + wrapped(e.fix, 76, "  ");
}

std::string render_code_list() {
    std::string out;
    for (const Explanation& e : explanations()) {
        std::string name = code_name(e.code);
        out += std::string(name.size() < 6 ? 6 - name.size() : 0, ' ') + name + "  " + e.title + "\n";
    }
    return out;
}

std::string explain_hint(const std::vector<CodeRef>& printed) {
    std::vector<CodeRef> codes;
    for (CodeRef kind : {CodeRef{CodeRef::Error, 0}, CodeRef{CodeRef::Warning, 0}}) {
        for (CodeRef c : printed) {
            if (c.kind == kind.kind && std::find(codes.begin(), codes.end(), c) == codes.end()) codes.push_back(c);
        }
    }
    if (codes.empty()) return "";
    std::string named, command;
    for (CodeRef::Kind kind : {CodeRef::Error, CodeRef::Warning}) {
        std::string list;
        size_t count = 0;
        for (CodeRef c : codes) {
            if (c.kind != kind) continue;
            list += (count++ ? ", " : "") + code_name(c);
        }
        if (count == 0) continue;
        named += (named.empty() ? "" : " and ") + kind_word(kind, count) + " " + list;
    }
    for (CodeRef c : codes) command += " " + code_name(c);
    return "for more on " + named + ", run: scenario_tool explain" + command;
}

std::string render_explanations_page() {
    std::string page =
        "# Errors and warnings of scenario_tool\n\n"
        "What every code means, a minimal example of the rows that cause it and how to fix it: the text of "
        "`scenario_tool explain CODE`. The format of the documents is in [authoring.md](authoring.md). "
        "This page is written by `scenario_tool explain --all --markdown`; the tests keep it equal to it.\n";
    for (const Explanation& e : explanations()) page += "\n" + render_explanation(e, Markup::Markdown);
    return page;
}
