// @ts-check
// The shared cursor's readout: the route's values at the cursor, when the
// fastest run is there and how fast, the nearest station and feature, with the cursor's mark on the plan.
import { featureLabel, nearest, profileAt, runAt } from './features.js';
import { byId, clock, fixed, km } from './formatting.js';
import { page } from './page_state.js';
import { moveCursorMark } from './plan.js';

/**
 * Puts the cursor at metre m: the readout and the plan's mark.
 * @param {number} m
 */
export function showReadout(m) {
  page.cursorKm = m / 1000;
  const v = profileAt(page.data && page.data.profile, m);
  byId('r-km').textContent = km(m);
  byId('r-height').textContent = v ? fixed(v.height, 1) + ' m' : '–';
  byId('r-gradient').textContent = v ? v.gradient + ' ‰' : '–';
  byId('r-speed').textContent = v ? v.speed + ' km/h' : '–';
  byId('r-adhesion').textContent = v ? v.adhesion + ' %' : '–';
  const run = runAt(page.data && page.data.run, m);
  byId('r-time').textContent = run ? clock(run.time) + ' · ' + Math.round(run.speed) + ' km/h' : '–';
  const stations = page.features.filter((f) => f.kind === 'station');
  byId('r-station').textContent = featureLabel(nearest(stations, m), m);
  byId('r-feature').textContent = featureLabel(nearest(page.features, m), m);
  moveCursorMark(m);
}
