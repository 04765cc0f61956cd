// @ts-check
// Keeping the page up to date: /events announces each new compile by its
// version, and the page fetches /scenario.json and draws what changed.
import { drawCharts } from './charts.js';
import { collectFeatures } from './features.js';
import { page } from './page_state.js';
import { drawDiagnostics, drawHeading, drawStations, drawStatus, showLost } from './panels.js';
import { drawPlan, mendPlan } from './plan.js';
import { drawRunChart } from './run_chart.js';
import { showReadout } from './readout.js';

/** @typedef {import('./scenario_types.js').Scenario} Scenario */
/** @typedef {import('./scenario_types.js').Profile} Profile */

/**
 * Whether two profiles hold the same values.
 * @param {Profile | null} a
 * @param {Profile | null} b
 */
function sameProfile(a, b) {
  if (!a || !b) return a === b;
  for (const k of /** @type {const} */ (['speed_kmh', 'gradient_permille', 'adhesion_percent', 'height_m'])) {
    const x = a[k], y = b[k];
    if (x.length !== y.length) return false;
    for (let i = 0; i < x.length; i++) if (x[i] !== y[i]) return false;
  }
  return true;
}

/**
 * Draws a scenario. The drawing is only redone where it changed: an update
 * with errors keeps the last good drawing as it is.
 * @param {Scenario} d
 */
function render(d) {
  page.data = d;
  page.features = collectFeatures(d);
  drawHeading(d);
  drawStatus(d);
  drawDiagnostics(d);
  drawStations(d);
  const featureKey = JSON.stringify([d.stations, d.signals, d.speed_boards, d.indication_boards]);
  const planKey = JSON.stringify([d.route_length_m, d.plan, d.slow_downs, d.montagna]) + featureKey;
  if (page.planKey !== planKey) { drawPlan(d); page.planKey = planKey; } else mendPlan();
  const runKey = JSON.stringify([d.run, d.run_problem, d.slow_downs, d.montagna]);
  if (page.chartKey !== featureKey || !sameProfile(page.chartProfile, d.profile)) {
    drawCharts(d);
    page.chartKey = featureKey;
    page.chartProfile = d.profile;
    page.runKey = '';
  }
  if (page.runKey !== runKey) {
    drawRunChart(d);
    for (const u of page.charts) u.redraw(false);
    page.runKey = runKey;
  }
  if (page.cursorKm !== null) showReadout(page.cursorKm * 1000);
}

/** Fetches and draws the scenario until the newest version announced is drawn. */
async function refresh() {
  if (page.fetching) return;
  page.fetching = true;
  try {
    while (page.forced || page.wantedVersion > page.renderedVersion || page.renderedVersion === 0) {
      const response = await fetch('/scenario.json', { cache: 'no-store' });
      if (!response.ok) throw new Error('HTTP ' + response.status);
      /** @type {Scenario} */
      const d = await response.json();
      render(d);
      page.forced = false;
      page.renderedVersion = d.version;
      await new Promise((resolve) => requestAnimationFrame(resolve));
      for (const u of page.charts) u.syncRect(true);
      if (page.runChart) page.runChart.syncRect(true);
      page.updates.push({ version: d.version, renderedAt: Date.now() });
      if (page.wantedVersion < d.version) page.wantedVersion = d.version;
    }
  } catch (e) {
    showLost('cannot load the scenario: ' + (e instanceof Error ? e.message : String(e)));
  } finally {
    page.fetching = false;
  }
}

/** Draws the scenario now and after every compile the server announces. */
export function followServer() {
  const events = new EventSource('/events');
  events.addEventListener('update', (e) => {
    const version = Number(e.data);
    // Once the event stream was lost the server may be a new one (restarted
    // on the same port), whose versions start again from 1: the first update
    // after the stream is back is drawn whatever its number.
    if (page.resync) {
      page.resync = false;
      page.forced = true;
      page.wantedVersion = version;
    } else {
      page.wantedVersion = Math.max(page.wantedVersion, version);
    }
    refresh();
  });
  events.addEventListener('error', () => {
    page.resync = true;
    showLost('connection lost · retrying');
  });
  events.addEventListener('open', () => { if (page.data) drawStatus(page.data); });
  refresh();
}
