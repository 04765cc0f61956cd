// @ts-check
// The shape of /scenario.json as scenario_json.cpp writes it, written once:
// the page's modules read the data through these types, and
// scenario_types_test.mjs holds the server's real output to them.

/**
 * The row of a document that made a feature.
 * @typedef {object} SourceRow
 * @property {string} file the document's path as the server was given it
 * @property {number} line from 1
 * @property {string} text the row as written
 */

/**
 * @typedef {object} Station
 * @property {string} name
 * @property {number} position_m metres from the start of the route
 * @property {number} slot
 * @property {string} [scheduled] the timetable's time, "hh:mm:ss"
 * @property {number} [scheduled_s] the same in seconds
 * @property {SourceRow} [source]
 */

/**
 * A signal: a mark on the route.
 * @typedef {object} RouteMark
 * @property {number} position_m metres from the start of the route
 * @property {number} cell
 * @property {SourceRow} [source]
 */

/** @typedef {RouteMark & {value: number}} SpeedBoard */
/** @typedef {RouteMark & {caption: string}} IndicationBoard */

/**
 * The route's values a cell at a time, from the start.
 * @typedef {object} Profile
 * @property {number} cell_m the length of a cell
 * @property {number[]} speed_kmh
 * @property {number[]} gradient_permille
 * @property {number[]} adhesion_percent
 * @property {number[]} height_m one more than the cells: the heights at their edges
 */

/**
 * A point of the centre line: metres along it, then x and y in metres.
 * @typedef {[number, number, number]} PlanPoint
 */

/**
 * The centre line up to the route's end and beyond it.
 * @typedef {object} Plan
 * @property {PlanPoint[]} route
 * @property {PlanPoint[]} beyond
 */

/**
 * A stretch of the route as the compile pass placed it: a slow-down (with
 * its speed) or a montagna stretch.
 * @typedef {object} Stretch
 * @property {number} start_m
 * @property {number} end_m
 * @property {number} [speed_kmh] a slow-down's speed
 */

/**
 * A station as the fastest run meets it; times in seconds after midnight.
 * @typedef {object} RunStation
 * @property {string} name
 * @property {number} position_m its stop point, or where it stands when it has no stop cell
 * @property {'start' | 'stop' | 'last' | 'passed' | 'outside'} role what the run does there
 * @property {number | null} scheduled_s the time it is held to: departure at a stop, arrival at the last station
 * @property {number | null} earliest_arrival_s at a passed station the passing time
 * @property {number | null} earliest_departure_s
 * @property {number | null} slack_s scheduled less earliest
 * @property {boolean} late the scheduled time cannot be kept
 * @property {string} problem why the leg that ends here gives no times; empty when it does
 */

/**
 * A run point: the head's position (m), the time (s after midnight) and the speed (km/h).
 * @typedef {[number, number, number]} RunSample
 */

/**
 * The fastest run of the train over the route, against the scheduled times.
 * @typedef {object} Run
 * @property {string} trainModel "default" or the train-model file's name
 * @property {RunSample[]} samples in order along the route; a stop shows its arrival, then its departure
 * @property {RunStation[]} stations one per station of the route, in its order
 */

/**
 * Another row that a diagnostic's message names.
 * @typedef {object} RelatedPlace
 * @property {string} file
 * @property {number} line from 1
 * @property {string} label what that row is to the diagnostic
 * @property {number} [startColumn] the field's columns, where known
 * @property {number} [endColumn]
 */

/**
 * An error or warning, as check gives it.
 * @typedef {object} Diagnostic
 * @property {string} file
 * @property {number} line from 1; 0 when it belongs to no one line
 * @property {'error' | 'warning'} severity
 * @property {string} code
 * @property {string} message
 * @property {number} [cell]
 * @property {number} [position] metres from the start of the route
 * @property {string} shown the whole line as check prints it
 * @property {string} [text] the text of its line
 * @property {RelatedPlace[]} [related] the other rows the message names
 */

/**
 * What the page draws: the last compile without errors (empty when there
 * was none yet), and the current diagnostics.
 * @typedef {object} Scenario
 * @property {string} route the route's name, empty when nothing is drawn
 * @property {string} train
 * @property {number} route_length_m
 * @property {Station[]} stations
 * @property {RouteMark[]} signals
 * @property {SpeedBoard[]} speed_boards
 * @property {IndicationBoard[]} indication_boards
 * @property {Profile | null} profile
 * @property {Plan | null} plan
 * @property {Stretch[]} slow_downs
 * @property {Stretch[]} montagna
 * @property {Run | null} run null when the run gives no times
 * @property {string | null} run_problem why there is no run; null when there is one
 * @property {Diagnostic[]} diagnostics
 * @property {boolean} stale whether the documents have errors, so the drawing is older than them
 * @property {number} version counts the server's compiles
 * @property {{line: string, train: string}} documents the documents' paths
 */

export {};
