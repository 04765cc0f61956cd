// @ts-check
// Everything the page holds between updates, in one object: the data drawn,
// what was drawn from it, the cursor and the state of the update loop. The
// browser test reads it as window.preview.

/** @typedef {import('./scenario_types.js').Scenario} Scenario */
/** @typedef {import('./scenario_types.js').Station} Station */
/** @typedef {import('./scenario_types.js').RouteMark} RouteMark */
/** @typedef {import('./scenario_types.js').SpeedBoard} SpeedBoard */
/** @typedef {import('./scenario_types.js').IndicationBoard} IndicationBoard */
/** @typedef {import('./scenario_types.js').SourceRow} SourceRow */

/**
 * A marked feature of the route, as the plan, charts, readout and tooltip know it.
 * @typedef {{kind: 'station', name: string, position_m: number, item: Station}
 *   | {kind: 'signal', name: string, position_m: number, item: RouteMark}
 *   | {kind: 'speed board', name: string, position_m: number, item: SpeedBoard}
 *   | {kind: 'indication board', name: string, position_m: number, item: IndicationBoard}} Feature
 */

/**
 * Metres along the centre line and the picture's points there (y grows downwards).
 * @typedef {{m: number[], x: number[], y: number[]}} PlanGeometry
 */

/**
 * @typedef {object} PageState
 * @property {Scenario | null} data the scenario drawn last
 * @property {Feature[]} features every marked feature, sorted by position
 * @property {PlanGeometry | null} plan the plan's centre line, null when there is none
 * @property {SvgPanZoom.Instance | null} panZoom the plan's pan and zoom
 * @property {boolean} planWaiting the plan waits for its box to have an area
 * @property {number} drawnLength the route length the plan's zoom belongs to
 * @property {string} planKey what the plan was drawn from
 * @property {import('uplot')[]} charts the profile charts, top to bottom
 * @property {boolean} syncing a chart is passing its zoom to the others
 * @property {import('uplot') | null} runChart the time–distance graph, null without a run
 * @property {{to: string, late: boolean, fill: string}[]} runLegs each leg's slack as drawn, by the station it ends at
 * @property {string} runKey the run and stretches the graph and overlays were drawn with
 * @property {number} drawnChartLength the cells the charts' zoom belongs to
 * @property {string} chartKey the features the charts were drawn with
 * @property {import('./scenario_types.js').Profile | null} chartProfile the profile they show
 * @property {number | null} cursorKm where the shared cursor stands
 * @property {number} renderedVersion the server's version drawn last; 0 before the first
 * @property {{version: number, renderedAt: number}[]} updates every drawn update, with its time
 * @property {number} wantedVersion the newest version the server announced
 * @property {boolean} fetching a fetch of /scenario.json is under way
 * @property {boolean} resync the event stream was lost: the next update is drawn whatever its number
 * @property {boolean} forced the next fetch is drawn whatever its number
 */

/** @type {PageState} */
export const page = {
  data: null,
  features: [],
  plan: null,
  panZoom: null,
  planWaiting: false,
  drawnLength: -1,
  planKey: '',
  charts: [],
  syncing: false,
  runChart: null,
  runLegs: [],
  runKey: '',
  drawnChartLength: -1,
  chartKey: '',
  chartProfile: null,
  cursorKm: null,
  renderedVersion: 0,
  updates: [],
  wantedVersion: 0,
  fetching: false,
  resync: false,
  forced: false,
};
