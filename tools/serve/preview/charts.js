// @ts-check
// The profile charts (height, gradient, speed limit, adhesion) on uPlot:
// one shared cursor and zoom (with the time–distance graph), the stations'
// lines and names, the speed boards' marks, the placed stretches and the
// fastest run's speed. Each chart draws into its holder of the page's HTML, whose
// size the style sheet fixes, so the page does not move when they come.
import { runSpeedLine, stretchBands } from './chart_overlays.js';
import { byId } from './formatting.js';
import { page } from './page_state.js';
import { showReadout } from './readout.js';

/** @typedef {import('uplot')} UPlot */
/** @typedef {import('uplot').Plugin} Plugin */
/** @typedef {import('uplot').Scale} Scale */
/** @typedef {import('./scenario_types.js').Scenario} Scenario */

/**
 * A chart: its holder in the page, its line's colours and how it scales.
 * @typedef {object} ChartKind
 * @property {string} holder the holder's id
 * @property {string} stroke
 * @property {string} [fill]
 * @property {boolean} [stepped] a value per cell rather than a value at each cell's edge
 * @property {boolean} [names] the stations' names in a band above the plot
 * @property {boolean} [boards] the speed boards' marks
 * @property {boolean} [run] the fastest run's speed
 * @property {boolean} [fromZero]
 * @property {boolean} [aroundZero]
 */

/** The charts top to bottom, in the order of the profile's values. @type {ChartKind[]} */
const kinds = [
  { holder: 'chart-height', stroke: '#6b8e23', fill: 'rgba(107, 142, 35, 0.18)', names: true },
  { holder: 'chart-gradient', stroke: '#e07a5f', fill: 'rgba(224, 122, 95, 0.25)', stepped: true, aroundZero: true },
  { holder: 'chart-speed', stroke: '#1e40af', stepped: true, boards: true, run: true, fromZero: true },
  { holder: 'chart-adhesion', stroke: '#0f766e', stepped: true },
];

// The band above the first chart's plot that holds the stations' names.
const namesBand = 128;

const stations = () => page.features.filter((f) => f.kind === 'station');

/**
 * Dashed lines at the stations and the route end; on the first chart the
 * station names, reading upwards in the band above the plot.
 * @param {boolean} [names]
 * @returns {Plugin}
 */
function stationLines(names) {
  return {
    hooks: {
      draw: [(u) => {
        const ctx = u.ctx;
        const dpr = devicePixelRatio;
        const { top, height, left, width } = u.bbox;
        const marked = stations();
        const xs = marked.map((f) => u.valToPos(f.position_m / 1000, 'x', true));
        /** @param {number} x */
        const inside = (x) => x >= left && x <= left + width;
        ctx.save();
        ctx.lineWidth = dpr;
        ctx.setLineDash([3 * dpr, 3 * dpr]);
        ctx.strokeStyle = 'rgba(29, 78, 216, 0.35)';
        for (const x of xs) {
          if (!inside(x)) continue;
          ctx.beginPath();
          ctx.moveTo(x, top);
          ctx.lineTo(x, top + height);
          ctx.stroke();
        }
        const end = page.data ? u.valToPos(page.data.route_length_m / 1000, 'x', true) : -1;
        if (inside(end)) {
          ctx.strokeStyle = '#1f2933';
          ctx.setLineDash([6 * dpr, 3 * dpr]);
          ctx.beginPath();
          ctx.moveTo(end, top);
          ctx.lineTo(end, top + height);
          ctx.stroke();
        }
        ctx.restore();
        if (!names) return;
        ctx.save();
        ctx.fillStyle = '#1d4ed8';
        ctx.font = (10 * dpr) + 'px DejaVu Sans, sans-serif';
        ctx.textAlign = 'left';
        ctx.textBaseline = 'middle';
        let last = -Infinity;
        marked.forEach((f, i) => {
          if (!inside(xs[i]) || xs[i] - last < 12 * dpr) return;
          ctx.save();
          ctx.translate(xs[i] + 3.5 * dpr, top - 4 * dpr);
          ctx.rotate(-Math.PI / 2);
          ctx.fillText(f.name, 0, 0);
          ctx.restore();
          last = xs[i];
        });
        ctx.restore();
      }],
    },
  };
}

/** @returns {Plugin} */
function speedBoardMarks() {
  return {
    hooks: {
      draw: [(u) => {
        const ctx = u.ctx;
        const { top, left, width } = u.bbox;
        const r = 4 * devicePixelRatio;
        ctx.save();
        ctx.fillStyle = '#7c3aed';
        for (const f of page.features) {
          if (f.kind !== 'speed board') continue;
          const x = u.valToPos(f.position_m / 1000, 'x', true);
          if (x < left || x > left + width) continue;
          ctx.beginPath();
          ctx.moveTo(x - r, top);
          ctx.lineTo(x + r, top);
          ctx.lineTo(x, top + 1.8 * r);
          ctx.fill();
        }
        ctx.restore();
      }],
    },
  };
}

/**
 * A chart's value scale: the speed limit from 0; the gradient the same
 * distance above and below 0, at least 10 ‰, so that its axis always has a
 * mark above and below the 0 line (a flat route too); the others as uPlot
 * fits them.
 * @param {ChartKind} s
 * @returns {Scale}
 */
function yScale(s) {
  /** @param {number} v */
  const roundedUp = (v) => Math.max(10, Math.ceil(v * 1.15 / 10) * 10);
  if (s.fromZero) return { range: (u, min, max) => [0, roundedUp(max)] };
  if (s.aroundZero) {
    return {
      range: (u, min, max) => {
        const m = roundedUp(Math.max(Math.abs(min || 0), Math.abs(max || 0)));
        return [-m, m];
      },
    };
  }
  return {};
}

/** Every chart that shares the distance axis: the profile's and the time–distance graph. */
const linked = () => (page.runChart ? [...page.charts, page.runChart] : page.charts);

/**
 * Sets every chart's x range, without their passing it on to one another.
 * @param {{min: number, max: number}} range
 */
function zoomAll(range) {
  page.syncing = true;
  for (const u of linked()) u.setScale('x', range);
  page.syncing = false;
}

/**
 * Passes a chart's new x range to every other chart sharing the axis.
 * @param {UPlot} u
 */
export function linkedZoom(u) {
  if (page.syncing) return;
  const { min, max } = u.scales.x;
  if (min === undefined || max === undefined) return;
  page.syncing = true;
  for (const other of linked()) if (other !== u) other.setScale('x', { min, max });
  page.syncing = false;
}

/** Where the profile's distance axis ends, km: the end of its last cell. */
export function profileEndKm() {
  const p = page.data && page.data.profile;
  return p ? p.speed_kmh.length * p.cell_m / 1000 : 0;
}

/**
 * The widest a chart may be: its holder's width, at least 300 pixels.
 * @returns {number}
 */
const chartWidth = () => Math.max(300, byId('charts').clientWidth);

/**
 * Draws the charts of the scenario's profile. The same route with other
 * values is taken into the charts as they stand, which keep their zoom.
 * @param {Scenario} d
 */
export function drawCharts(d) {
  const first = page.charts[0];
  const keep = first && first.scales.x.min !== undefined && first.scales.x.max !== undefined
    ? { min: first.scales.x.min, max: first.scales.x.max, length: page.drawnChartLength } : null;
  const p = d.profile;
  const n = p ? p.speed_kmh.length : 0;
  const x = new Array(n + 1);
  for (let k = 0; k <= n; k++) x[k] = k * (p ? p.cell_m : 50) / 1000;
  /** @param {number[]} a */
  const padded = (a) => { const out = Array.from(a); out.push(a[a.length - 1]); return out; };
  const values = p && n ? [p.height_m, padded(p.gradient_permille), padded(p.speed_kmh), padded(p.adhesion_percent)] : [];
  if (keep && keep.length === n && n > 0) {
    page.syncing = true;
    page.charts.forEach((u, i) => {
      u.setData([x, values[i]]);
      u.setScale('x', keep);
    });
    page.syncing = false;
    return;
  }
  for (const u of page.charts) u.destroy();
  page.charts = [];
  for (const s of kinds) byId(s.holder).replaceChildren();
  if (n === 0) return;
  const stepped = uPlot.paths.stepped ? uPlot.paths.stepped({ align: 1 }) : undefined;
  const width = chartWidth();
  kinds.forEach((s, i) => {
    const holder = byId(s.holder);
    const plugins = [stretchBands(), stationLines(s.names)];
    if (s.boards) plugins.push(speedBoardMarks());
    if (s.run) plugins.push(runSpeedLine());
    const u = new uPlot({
      width, height: holder.clientHeight,
      padding: [s.names ? namesBand : 10, 12, 0, 0],
      legend: { show: false },
      cursor: { sync: { key: 'route' }, drag: { x: true, y: false, setScale: true }, points: { show: false } },
      scales: { x: { time: false }, y: yScale(s) },
      axes: [
        { size: 30, values: (u, vals) => vals.map((v) => String(+v.toFixed(3))) },
        { size: 56 },
      ],
      series: [{}, { stroke: s.stroke, fill: s.fill, width: 1.6, paths: s.stepped ? stepped : undefined, points: { show: false } }],
      plugins,
      hooks: {
        setCursor: [(u) => {
          if (u.cursor.left === undefined || u.cursor.left < 0) return;
          showReadout(u.posToVal(u.cursor.left, 'x') * 1000);
        }],
        setScale: [(u, key) => { if (key === 'x') linkedZoom(u); }],
      },
    }, [x, values[i]], holder);
    page.charts.push(u);
  });
  page.drawnChartLength = n;
  if (keep && keep.length === n) zoomAll(keep);
}

/** Fits the charts to their box's width, after the window changed size. */
export function resizeCharts() {
  const width = chartWidth();
  for (const u of linked()) u.setSize({ width, height: u.height });
  for (const u of linked()) u.syncRect(true);
}

/**
 * Moves the shared cursor to metre m, bringing it into the charts' view.
 * @param {number} m
 */
export function moveCursorTo(m) {
  const u = page.charts[0];
  const { min, max } = u ? u.scales.x : {};
  if (!u || min === undefined || max === undefined) { showReadout(m); return; }
  const left = u.valToPos(m / 1000, 'x');
  if (left < 0 || left > u.over.clientWidth) {
    const span = max - min;
    u.setScale('x', { min: m / 1000 - span / 2, max: m / 1000 + span / 2 });
  }
  u.setCursor({ left: u.valToPos(m / 1000, 'x'), top: u.over.clientHeight / 2 });
  showReadout(m);
}
