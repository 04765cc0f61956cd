// @ts-check
// The time–distance graph under the profile charts: the fastest run as a
// line, the scheduled times as marks, and each leg's slack shaded between
// the run and the straight path to the scheduled time, in the warning
// colour where the time cannot be kept. It shares the charts' distance axis,
// cursor and zoom; its holder's size is fixed by the style sheet, so the
// page does not move when it comes.
import { linkedZoom, profileEndKm } from './charts.js';
import { byId, clock } from './formatting.js';
import { runStroke } from './chart_overlays.js';
import { page } from './page_state.js';
import { showReadout } from './readout.js';

/** @typedef {import('uplot').Plugin} Plugin */
/** @typedef {import('./scenario_types.js').Scenario} Scenario */
/** @typedef {import('./scenario_types.js').Run} Run */
/** @typedef {import('./scenario_types.js').RunStation} RunStation */

/**
 * A leg of the run, from one stop to the next: where and when it starts
 * (the departure the run takes), its points and whether its end is late.
 * @typedef {object} Leg
 * @property {RunStation} from
 * @property {RunStation} to
 * @property {number} departure seconds after midnight
 * @property {number[][]} points [metre, second] along the run
 */

/**
 * The legs of a run: from each stop to the next, the run's points between them.
 * @param {Run} run
 * @returns {Leg[]}
 */
export function runLegs(run) {
  const stops = run.stations.filter((s) => s.role === 'start' || s.role === 'stop' || s.role === 'last');
  /** @type {Leg[]} */
  const legs = [];
  for (let i = 1; i < stops.length; i++) {
    const from = stops[i - 1], to = stops[i];
    const departure = from.scheduled_s ?? from.earliest_departure_s;
    if (departure === null) continue;
    if (to.earliest_arrival_s === null) { legs.push({ from, to, departure, points: [] }); continue; }  // it cannot be run
    // From the departure (the last point at the first stop) to the arrival
    // (the first point at the next).
    const s = run.samples;
    let first = 0;
    while (first + 1 < s.length && s[first + 1][0] <= from.position_m) first++;
    let last = first;
    while (last + 1 < s.length && s[last][0] < to.position_m) last++;
    const points = s.slice(first, last + 1).map(([m, t]) => [m, t]);
    legs.push({ from, to, departure, points });
  }
  return legs;
}

/** The page's colours, from its style sheet. */
function colours() {
  const style = getComputedStyle(document.documentElement);
  return { warning: style.getPropertyValue('--warning').trim(), ink: style.getPropertyValue('--ink').trim() };
}

/**
 * A colour of the style sheet, "#rrggbb", at an opacity.
 * @param {string} hex
 * @param {number} alpha
 */
function faded(hex, alpha) {
  const n = parseInt(hex.slice(1), 16);
  return 'rgba(' + (n >> 16) + ', ' + ((n >> 8) & 255) + ', ' + (n & 255) + ', ' + alpha + ')';
}

// The time axis's steps, seconds: whole minutes and hours.
const timeSteps = [60, 120, 300, 600, 900, 1200, 1800, 3600, 7200, 10800, 21600];

// The slack of a leg that can be kept.
const slackFill = 'rgba(16, 185, 129, 0.28)';

/**
 * Each leg's slack shaded, under the run's line; the scheduled times
 * marked over it. What was drawn is kept in page.runLegs and on the
 * holder (data-late-legs), where the browser test reads it.
 * @returns {Plugin}
 */
function legShading() {
  return {
    hooks: {
      drawClear: [(u) => {
        const run = page.data && page.data.run;
        if (!run) return;
        const ctx = u.ctx;
        const { warning } = colours();
        const { top, height, left, width } = u.bbox;
        /**
         * @param {number} m
         * @param {number} t
         * @returns {[number, number]}
         */
        const at = (m, t) => [u.valToPos(m / 1000, 'x', true), u.valToPos(t, 'y', true)];
        ctx.save();
        ctx.beginPath();
        ctx.rect(left, top, width, height);
        ctx.clip();
        page.runLegs = [];
        for (const leg of runLegs(run)) {
          const late = leg.to.late;
          const fill = late ? faded(warning, 0.45) : slackFill;
          page.runLegs.push({ to: leg.to.name, late, fill });
          if (leg.to.scheduled_s === null || leg.points.length === 0) continue;
          ctx.fillStyle = fill;
          ctx.beginPath();
          leg.points.forEach(([m, t], i) => { const [x, y] = at(m, t); if (i === 0) ctx.moveTo(x, y); else ctx.lineTo(x, y); });
          ctx.lineTo(...at(leg.to.position_m, leg.to.scheduled_s));
          ctx.lineTo(...at(leg.from.position_m, leg.departure));
          ctx.closePath();
          ctx.fill();
        }
        ctx.restore();
        const late = page.runLegs.filter((l) => l.late).map((l) => l.to);
        byId('chart-run').dataset.lateLegs = late.join('|');
      }],
      draw: [(u) => {
        const run = page.data && page.data.run;
        if (!run) return;
        const ctx = u.ctx;
        const dpr = devicePixelRatio;
        const { warning, ink } = colours();
        ctx.save();
        for (const s of run.stations) {
          if (s.scheduled_s === null) continue;
          const x = u.valToPos(s.position_m / 1000, 'x', true), y = u.valToPos(s.scheduled_s, 'y', true);
          ctx.strokeStyle = s.late ? warning : ink;
          ctx.lineWidth = 2 * dpr;
          ctx.beginPath();
          ctx.moveTo(x - 6 * dpr, y);
          ctx.lineTo(x + 6 * dpr, y);
          ctx.moveTo(x, y - 4 * dpr);
          ctx.lineTo(x, y + 4 * dpr);
          ctx.stroke();
        }
        ctx.restore();
      }],
    },
  };
}

/**
 * The graph's data: the run's points in km and seconds, between the
 * profile's ends, so that its distance axis is the charts'.
 * @param {Run} run
 * @returns {[number[], (number | null)[]]}
 */
function graphData(run) {
  const end = profileEndKm();
  const x = [0], t = /** @type {(number | null)[]} */ ([null]);
  for (const [m, s] of run.samples) { x.push(m / 1000); t.push(s); }
  x.push(Math.max(end, x[x.length - 1])); t.push(null);
  return [x, t];
}

/** The time axis's range, seconds, as fitTime found it. @type {[number, number]} */
let timeSpan = [0, 1];

/**
 * Fits the time axis to what is in view: the run's times and the
 * scheduled times between the distance axis's ends (all of them before
 * the graph has a distance axis).
 * @param {import('uplot') | null} u
 */
function fitTime(u) {
  const run = page.data && page.data.run;
  if (!run) return;
  const x = u ? u.scales.x : { min: undefined, max: undefined };
  const inView = (/** @type {number} */ m) => x.min === undefined || x.max === undefined ||
    (m / 1000 >= x.min && m / 1000 <= x.max);
  let lo = Infinity, hi = -Infinity;
  for (const [m, t] of run.samples) if (inView(m)) { lo = Math.min(lo, t); hi = Math.max(hi, t); }
  for (const s of run.stations)
    if (s.scheduled_s !== null && inView(s.position_m)) { lo = Math.min(lo, s.scheduled_s); hi = Math.max(hi, s.scheduled_s); }
  if (!(lo <= hi)) return;
  const pad = Math.max(30, (hi - lo) * 0.06);
  timeSpan = [lo - pad, hi + pad];
  if (u) u.setScale('y', { min: timeSpan[0], max: timeSpan[1] });
}

/**
 * Draws the time–distance graph of the scenario's run, or says why there
 * is none; it takes the charts' zoom.
 * @param {Scenario} d
 */
export function drawRunChart(d) {
  const holder = byId('chart-run');
  const note = byId('run-note');
  const run = d.run;
  note.textContent = run ? 'Train model: ' + run.trainModel
    : 'No times: ' + (d.run_problem || 'the route has not compiled');
  if (!run || !page.charts[0]) {
    if (page.runChart) page.runChart.destroy();
    page.runChart = null;
    page.runLegs = [];
    holder.replaceChildren();
    delete holder.dataset.lateLegs;
    return;
  }
  const x = page.charts[0].scales.x;
  const zoom = x.min !== undefined && x.max !== undefined ? { min: x.min, max: x.max } : null;
  if (page.runChart) {
    page.runChart.setData(graphData(run));
    if (zoom) page.runChart.setScale('x', zoom);
    fitTime(page.runChart);
    return;
  }
  holder.replaceChildren();
  fitTime(null);
  page.runChart = new uPlot({
    width: page.charts[0].width, height: holder.clientHeight,
    padding: [10, 12, 0, 0],
    legend: { show: false },
    cursor: { sync: { key: 'route' }, drag: { x: true, y: false, setScale: true }, points: { show: false } },
    scales: { x: { time: false }, y: { range: () => timeSpan } },
    axes: [
      { size: 30, values: (u, vals) => vals.map((v) => String(+v.toFixed(3))) },
      { size: 56, incrs: timeSteps, values: (u, vals) => vals.map((v) => clock(v).slice(0, 5)) },
    ],
    series: [{}, { stroke: runStroke, width: 1.6, points: { show: false } }],
    plugins: [legShading()],
    hooks: {
      setCursor: [(u) => {
        if (u.cursor.left === undefined || u.cursor.left < 0) return;
        showReadout(u.posToVal(u.cursor.left, 'x') * 1000);
      }],
      setScale: [(u, key) => { if (key === 'x') { linkedZoom(u); requestAnimationFrame(() => fitTime(u)); } }],
    },
  }, graphData(run), holder);
  if (zoom) page.runChart.setScale('x', zoom);
  fitTime(page.runChart);
}
