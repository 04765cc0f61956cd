// @ts-check
// The plan of the route: its centre line with the kilometres, stations,
// signals and boards marked, the slow-downs and montagna stretches along it, panned and zoomed with svg-pan-zoom; the marks
// keep their size in screen pixels at any zoom.
import { byId, niceStep, svgEl } from './formatting.js';
import { page } from './page_state.js';

/** @typedef {import('./scenario_types.js').Scenario} Scenario */
/** @typedef {import('./page_state.js').PlanGeometry} PlanGeometry */

/**
 * Where a mark stands: its point, the angle it is turned by (degrees) and
 * the direction of travel there (degrees).
 * @typedef {{x: number, y: number, angle: number, heading: number}} Placement
 */

/** The placement of every mark on the plan and of the cursor. @type {WeakMap<Element, Placement>} */
const placements = new WeakMap();

/**
 * The plan's points from the centre line, in order along it.
 * @param {Scenario} d
 * @returns {PlanGeometry | null}
 */
function planGeometry(d) {
  /** @type {PlanGeometry} */
  const g = { m: [], x: [], y: [] };
  for (const part of [d.plan && d.plan.route, d.plan && d.plan.beyond]) {
    for (const [m, x, y] of part || []) {
      if (g.m.length && m <= g.m[g.m.length - 1]) continue;
      g.m.push(m); g.x.push(x); g.y.push(-y);  // picture y grows downwards
    }
  }
  return g.m.length >= 2 ? g : null;
}

/**
 * The point of the plan at metre m, turned with the line.
 * @param {number} m
 * @returns {Placement | null}
 */
function planAt(m) {
  const plan = page.plan;
  if (!plan) return null;
  const a = plan.m;
  let lo = 0, hi = a.length - 1;
  if (m <= a[0]) hi = 1;
  else if (m >= a[hi]) lo = hi - 1;
  else while (hi - lo > 1) { const mid = (lo + hi) >> 1; if (a[mid] <= m) lo = mid; else hi = mid; }
  const span = a[hi] - a[lo];
  const t = span > 0 ? Math.min(Math.max((m - a[lo]) / span, 0), 1) : 0;
  const dx = plan.x[hi] - plan.x[lo], dy = plan.y[hi] - plan.y[lo];
  const angle = Math.atan2(dy, dx) * 180 / Math.PI;
  return { x: plan.x[lo] + dx * t, y: plan.y[lo] + dy * t, angle, heading: angle };
}

/**
 * A marker is a group placed at its point, turned with the line (or kept
 * upright), and scaled so that its shapes keep their size on the screen.
 * @param {Element} parent
 * @param {number} m
 * @param {string} cls
 * @param {number} [feature] the feature's index in page.features, for the tooltip
 * @param {boolean} [upright]
 */
function marker(parent, m, cls, feature, upright) {
  const at = planAt(m);
  if (!at) return null;
  const g = svgEl('g', { class: 'marker ' + cls });
  placements.set(g, upright ? { ...at, angle: 0 } : at);
  if (feature !== undefined) { g.classList.add('hit'); g.dataset.feature = String(feature); }
  parent.appendChild(g);
  return g;
}

/**
 * @param {string[]} points "x,y" each
 * @param {string} cls
 */
function polyline(points, cls) {
  return svgEl('polyline', { class: cls, points: points.join(' '), 'vector-effect': 'non-scaling-stroke' });
}

// A plan box without area (a window too small for it) would be fitted at
// zoom 0, a transform that svg-pan-zoom can never leave: the plan waits
// for a box with an area instead, and one found at zoom 0 is drawn anew.
export function planBoxEmpty() {
  const r = byId('plan').getBoundingClientRect();
  return !(r.width >= 1 && r.height >= 1);
}

export function planZoomLost() {
  if (!page.panZoom) return false;
  const z = page.panZoom.getSizes().realZoom;
  return !(Number.isFinite(z) && z > 0);
}

/** Draws the plan anew when it waits for its box or lost its zoom; says whether it did. */
export function mendPlan() {
  if (!page.data || planBoxEmpty() || !(page.planWaiting || planZoomLost())) return false;
  drawPlan(page.data);
  return true;
}

/**
 * Draws the plan of the scenario, keeping the zoom and pan of a plan of the
 * same route length.
 * @param {Scenario} d
 */
export function drawPlan(d) {
  let svg = byId('plan');
  const lost = planZoomLost();
  const keep = page.panZoom && !lost
    ? { zoom: page.panZoom.getZoom(), pan: page.panZoom.getPan(), length: page.drawnLength } : null;
  if (lost) {
    // svg-pan-zoom cannot destroy an instance whose zoom is lost (it resets
    // the zoom first), and keeps one instance per element: the plan takes
    // a fresh element and leaves the old instance with the old one.
    const fresh = /** @type {HTMLElement} */ (svg.cloneNode(false));
    svg.replaceWith(fresh);
    svg = fresh;
  } else if (page.panZoom) {
    page.panZoom.destroy();
  }
  page.panZoom = null;
  svg.replaceChildren();
  page.planWaiting = false;
  const plan = page.plan = planGeometry(d);
  if (!plan) {
    svg.removeAttribute('viewBox');
    svg.appendChild(svgEl('text', { x: 20, y: 40, class: 'plan-km-text' }, 'No plan: the line data file was not written.'));
    return;
  }
  const minX = Math.min(...plan.x), maxX = Math.max(...plan.x), minY = Math.min(...plan.y), maxY = Math.max(...plan.y);
  const pad = Math.max(maxX - minX, maxY - minY, 100) * 0.04;
  svg.setAttribute('viewBox', [minX - pad, minY - pad, maxX - minX + 2 * pad, maxY - minY + 2 * pad].join(' '));

  const root = svgEl('g', { id: 'plan-content' });
  svg.appendChild(root);
  const routeEnd = d.route_length_m;
  /** @type {string[]} */
  const route = [], beyond = [];
  for (let i = 0; i < plan.m.length; i++) {
    const p = plan.x[i] + ',' + plan.y[i];
    if (plan.m[i] <= routeEnd) route.push(p);
    if (plan.m[i] >= routeEnd) beyond.push(p);
  }
  const beyondLine = polyline(beyond, 'plan-beyond');
  beyondLine.setAttribute('stroke-width', '2');
  beyondLine.setAttribute('stroke-dasharray', '6 4');
  root.appendChild(beyondLine);
  const routeLine = polyline(route, 'plan-route');
  routeLine.setAttribute('stroke-width', '3');
  root.appendChild(routeLine);

  drawStretches(root, d);
  drawKilometres(root, routeEnd);
  const endMark = marker(root, routeEnd, 'plan-end');
  if (endMark) endMark.appendChild(svgEl('line', { x1: 0, y1: -7, x2: 0, y2: 7, stroke: '#1f2933', 'stroke-width': 2.5 }));
  drawFeatures(root);
  const cursor = svgEl('g', { id: 'cursor-group', visibility: 'hidden' });
  cursor.appendChild(svgEl('circle', { id: 'cursor-mark', r: 6, 'stroke-width': 1.5 }));
  root.appendChild(cursor);

  if (planBoxEmpty()) { page.planWaiting = true; return; }
  page.panZoom = svgPanZoom(svg, {
    viewportSelector: '#plan-content',
    zoomEnabled: true, panEnabled: true, dblClickZoomEnabled: true, mouseWheelZoomEnabled: true,
    controlIconsEnabled: false, fit: true, center: true, minZoom: 0.5,
    maxZoom: Math.max(50, (maxX - minX + maxY - minY) / 50), zoomScaleSensitivity: 0.25,
    onZoom: rescaleMarkers,
    customEventsHandler: pinchZoom,
  });
  page.drawnLength = routeEnd;
  if (keep && keep.length === routeEnd) { page.panZoom.zoom(keep.zoom); page.panZoom.pan(keep.pan); }
  rescaleMarkers();
  if (page.cursorKm !== null) moveCursorMark(page.cursorKm * 1000);
}

/**
 * The centre line's points from metre `from` to metre `to`, "x,y" each.
 * @param {PlanGeometry} plan
 * @param {number} from
 * @param {number} to
 */
function stretchPoints(plan, from, to) {
  const points = [];
  for (const m of [from, ...plan.m.filter((v) => v > from && v < to), to]) {
    const at = planAt(m);
    if (at) points.push(at.x + ',' + at.y);
  }
  return points;
}

/**
 * The montagna stretches and slow-downs as the pass placed them, drawn
 * along the centre line under the marks.
 * @param {Element} root
 * @param {Scenario} d
 */
function drawStretches(root, d) {
  const plan = page.plan;
  if (!plan) return;
  const group = svgEl('g', { id: 'plan-stretches' });
  root.appendChild(group);
  for (const [list, cls, width] of /** @type {const} */ ([[d.montagna, 'plan-montagna', 9], [d.slow_downs, 'plan-slow-down', 6]])) {
    for (const s of list) {
      const line = polyline(stretchPoints(plan, s.start_m, s.end_m), cls);
      line.setAttribute('stroke-width', String(width));
      group.appendChild(line);
    }
  }
}

/**
 * A tick at every kilometre (every few on a long route), numbered at round steps.
 * @param {Element} root
 * @param {number} routeEnd
 */
function drawKilometres(root, routeEnd) {
  const kmGroup = svgEl('g', { id: 'plan-kilometres' });
  root.appendChild(kmGroup);
  const every = Math.max(1, niceStep(routeEnd / 1000 / 25));
  for (let k = 1; k * 1000 <= routeEnd && k <= 5000; k++) {
    if (routeEnd > 200000 && k % every !== 0) continue;
    const g = marker(kmGroup, k * 1000, 'plan-km');
    if (!g) break;
    g.appendChild(svgEl('line', { x1: 0, y1: -4, x2: 0, y2: 4 }));
    if (k % every === 0) {
      const label = marker(kmGroup, k * 1000, 'plan-km-label', undefined, true);
      if (label) label.appendChild(svgEl('text', { class: 'plan-km-text label', 'font-size': 9.5, side: -1 }, String(k)));
    }
  }
}

/**
 * The stations, signals and boards, each kind in a group of its own.
 * @param {Element} root
 */
function drawFeatures(root) {
  const signals = svgEl('g', { id: 'plan-signals' });
  const speedBoards = svgEl('g', { id: 'plan-speed-boards' });
  const boards = svgEl('g', { id: 'plan-boards' });
  const stations = svgEl('g', { id: 'plan-stations' });
  root.append(signals, speedBoards, boards, stations);
  page.features.forEach((f, i) => {
    if (f.kind === 'signal') {
      const g = marker(signals, f.position_m, 'signal-mark', i);
      if (g) g.appendChild(svgEl('line', { x1: 0, y1: 2, x2: 0, y2: 10, 'stroke-width': 2 }));
    } else if (f.kind === 'speed board') {
      const g = marker(speedBoards, f.position_m, 'speed-board-mark', i);
      if (g) g.appendChild(svgEl('path', { d: 'M-4,-12 L4,-12 L0,-5 Z' }));
    } else if (f.kind === 'indication board') {
      const g = marker(boards, f.position_m, 'board-mark', i, true);
      if (!g) return;
      g.appendChild(svgEl('path', { d: 'M0,-5 L5,0 L0,5 L-5,0 Z', 'stroke-width': 0.8 }));
      g.appendChild(svgEl('text', { class: 'board-caption label', 'font-size': 10, side: -1 }, f.name));
    } else {
      const g = marker(stations, f.position_m, 'station-mark', i, true);
      if (!g) return;
      g.appendChild(svgEl('circle', { r: 4.5, 'stroke-width': 2 }));
      g.appendChild(svgEl('text', { class: 'station-name label', 'font-size': 11, 'stroke-width': 3, side: 1 }, f.name));
    }
  });
}

function screenScale() {
  const sizes = page.panZoom ? page.panZoom.getSizes() : null;
  return sizes && sizes.realZoom > 0 ? 1 / sizes.realZoom : 1;
}

/**
 * @param {Element} g
 * @param {Placement} at
 * @param {number} s
 */
function place(g, at, s) {
  g.setAttribute('transform', 'translate(' + at.x + ' ' + at.y + ') rotate(' + at.angle + ') scale(' + s + ')');
}

export function rescaleMarkers() {
  const s = screenScale();
  for (const g of document.querySelectorAll('#plan .marker, #cursor-group')) {
    const at = placements.get(g);
    if (at) place(g, at, s);
  }
  layoutLabels();
}

// Labels stand beside their mark, across the line (stations to the right
// of the direction of travel, the rest to the left), upright; a label that
// would cover one placed before it (stations first) is hidden until a
// closer zoom makes room for it. All labels are placed before any is
// measured, so the browser lays the plan out once, not once a label.
function layoutLabels() {
  const labels = [...document.querySelectorAll('#plan .label')];
  for (const t of labels) {
    const at = t.parentNode instanceof Element ? placements.get(t.parentNode) : undefined;
    if (!at) continue;
    const heading = at.heading * Math.PI / 180;
    const side = Number(t.getAttribute('side'));
    const nx = -Math.sin(heading) * side, ny = Math.cos(heading) * side;
    t.setAttribute('x', String(nx * 9));
    t.setAttribute('y', String(Math.abs(nx) <= 0.3 ? ny * 12 + (ny > 0 ? 8 : 0) : ny * 9 + 4));
    t.setAttribute('text-anchor', nx > 0.3 ? 'start' : nx < -0.3 ? 'end' : 'middle');
  }
  const boxes = labels.map((t) => {
    const r = t.getBoundingClientRect();
    return { l: r.left - 2, t: r.top - 1, r: r.right + 2, b: r.bottom + 1 };
  });
  /** @type {{l: number, t: number, r: number, b: number}[]} */
  const placed = [];
  labels.forEach((t, i) => {
    const box = boxes[i];
    const covers = placed.some((p) => box.l < p.r && p.l < box.r && box.t < p.b && p.t < box.b);
    t.setAttribute('visibility', covers ? 'hidden' : 'visible');
    if (!covers) placed.push(box);
  });
}

/**
 * Shows the cursor's mark on the plan at metre m.
 * @param {number} m
 */
export function moveCursorMark(m) {
  const c = document.getElementById('cursor-group');
  const at = planAt(m);
  if (!c || !at) return;
  placements.set(c, at);
  place(c, at, screenScale());
  c.setAttribute('visibility', 'visible');
}

/**
 * Two fingers on the plan zoom it around their middle.
 * @type {SvgPanZoom.CustomEventHandler & {listeners?: Record<string, (e: TouchEvent) => void>}}
 */
const pinchZoom = {
  haltEventListeners: [],
  init(options) {
    /** @type {{d: number, zoom: number} | null} */
    let start = null;
    /** @param {TouchList} t */
    const distance = (t) => Math.hypot(t[0].clientX - t[1].clientX, t[0].clientY - t[1].clientY);
    const svg = options.svgElement;
    this.listeners = {
      touchstart: (e) => { if (e.touches.length === 2) start = { d: distance(e.touches), zoom: options.instance.getZoom() }; },
      touchmove: (e) => {
        if (!start || e.touches.length !== 2) return;
        e.preventDefault();
        const box = svg.getBoundingClientRect();
        const mid = { x: (e.touches[0].clientX + e.touches[1].clientX) / 2 - box.left, y: (e.touches[0].clientY + e.touches[1].clientY) / 2 - box.top };
        options.instance.zoomAtPoint(start.zoom * distance(e.touches) / start.d, mid);
      },
      touchend: () => { start = null; },
    };
    for (const [name, fn] of Object.entries(this.listeners)) svg.addEventListener(name, /** @type {EventListener} */ (fn), { passive: false });
  },
  destroy(/** @type {SvgPanZoom.CustomEventOptions} */ options) {
    for (const [name, fn] of Object.entries(this.listeners || {}))
      options.svgElement.removeEventListener(name, /** @type {EventListener} */ (fn));
  },
};
