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
 * @property {Diagnostic[]} diagnostics
 * @property {boolean} stale whether the documents have errors, so the drawing is older than them
 * @property {number} version counts the server's compiles
 * @property {{line: string, train: string}} documents the documents' paths
 */

export {};
