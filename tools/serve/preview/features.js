// @ts-check
// The route's marked features and its profile, as the readout and the
// tooltip describe them at a position.
import { km } from './formatting.js';

/** @typedef {import('./page_state.js').Feature} Feature */
/** @typedef {import('./scenario_types.js').Scenario} Scenario */
/** @typedef {import('./scenario_types.js').Profile} Profile */

/**
 * Every station, signal and board of the scenario, sorted by position.
 * @param {Scenario} d
 * @returns {Feature[]}
 */
export function collectFeatures(d) {
  /** @type {Feature[]} */
  const list = [];
  for (const s of d.stations) list.push({ kind: 'station', name: s.name, position_m: s.position_m, item: s });
  for (const s of d.signals) list.push({ kind: 'signal', name: 'signal', position_m: s.position_m, item: s });
  for (const b of d.indication_boards)
    list.push({ kind: 'indication board', name: b.caption, position_m: b.position_m, item: b });
  for (const b of d.speed_boards)
    list.push({ kind: 'speed board', name: 'speed board', position_m: b.position_m, item: b });
  list.sort((a, b) => a.position_m - b.position_m);
  return list;
}

/**
 * The feature nearest to metre m, or null for none.
 * @param {Feature[]} list
 * @param {number} m
 */
export function nearest(list, m) {
  /** @type {Feature | null} */
  let best = null;
  for (const f of list) if (best === null || Math.abs(f.position_m - m) < Math.abs(best.position_m - m)) best = f;
  return best;
}

/**
 * The feature a document's row made, or undefined when it made none.
 * @param {Feature[]} list
 * @param {{file: string, line: number}} row
 */
export const featureOfRow = (list, row) =>
  list.find((f) => f.item.source && f.item.source.file === row.file && f.item.source.line === row.line);

/** @param {Feature} f */
const named = (f) => f.kind === 'station' || f.kind === 'indication board';

/**
 * The readout's words for a feature seen from metre m.
 * @param {Feature | null} f
 * @param {number} m
 */
export function featureLabel(f, m) {
  if (!f) return '–';
  const away = Math.round(f.position_m - m);
  const where = away === 0 ? 'here' : (away > 0 ? away + ' m ahead' : -away + ' m behind');
  const name = named(f) ? f.name : f.kind;
  return name + ' (' + (named(f) ? f.kind + ', ' : '') + 'km ' + km(f.position_m) + ', ' + where + ')';
}

/**
 * The tooltip's lines as [text, kind]: the first names the feature (a
 * station or board by its name, with its kind after it), the rest plain.
 * @param {Feature} f
 * @returns {[string, string?][]}
 */
export function describe(f) {
  /** @type {[string, string?][]} */
  const lines = [];
  lines.push(named(f) ? [f.name, f.kind] : [f.kind, '']);
  const cell = 'cell' in f.item ? f.item.cell : undefined;
  lines.push(['km ' + km(f.position_m) + ' (cell ' + (cell !== undefined ? cell : '–') + ')']);
  if (f.kind === 'station' && f.item.scheduled) lines.push(['scheduled ' + f.item.scheduled]);
  if (f.kind === 'speed board' && f.item.value !== undefined) lines.push(['value ' + f.item.value]);
  return lines;
}

/**
 * The profile's values at metre m: the height between the cells' edges, the
 * rest the cell's own.
 * @param {Profile | null} p
 * @param {number} m
 */
export function profileAt(p, m) {
  if (!p || p.speed_kmh.length === 0) return null;
  const cell = Math.min(Math.max(Math.floor(m / p.cell_m), 0), p.speed_kmh.length - 1);
  const t = Math.min(Math.max(m / p.cell_m - cell, 0), 1);
  const h0 = p.height_m[cell], h1 = p.height_m[Math.min(cell + 1, p.height_m.length - 1)];
  return {
    height: h0 + (h1 - h0) * t,
    gradient: p.gradient_permille[cell],
    speed: p.speed_kmh[cell],
    adhesion: p.adhesion_percent[cell],
  };
}

/**
 * Where the fastest run is at metre m: the time the head first reaches it
 * (the arrival, at a stop) and its speed there; null off the run.
 * @param {import('./scenario_types.js').Run | null} run
 * @param {number} m
 * @returns {{time: number, speed: number} | null}
 */
export function runAt(run, m) {
  const s = run ? run.samples : [];
  if (s.length === 0 || m < s[0][0] || m > s[s.length - 1][0]) return null;
  // The first sample at or past m.
  let lo = -1, hi = s.length - 1;
  while (hi - lo > 1) { const mid = (lo + hi) >> 1; if (s[mid][0] >= m) hi = mid; else lo = mid; }
  const b = s[hi];
  if (lo < 0 || b[0] === m) return { time: b[1], speed: b[2] };
  const a = s[lo], t = (m - a[0]) / (b[0] - a[0]);
  return { time: a[1] + (b[1] - a[1]) * t, speed: a[2] + (b[2] - a[2]) * t };
}
