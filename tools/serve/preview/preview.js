// The live preview page of scenario_tool serve: the plan and the profile of
// the compiled route, the diagnostics, and a cursor shared by all of them.
// It fetches /scenario.json at start and whenever /events says there is a
// newer compile.
'use strict';

(function () {
  const SVG = 'http://www.w3.org/2000/svg';
  const $ = (id) => document.getElementById(id);

  // What the page shows now; read by the browser test too.
  const preview = {
    data: null,
    charts: [],
    panZoom: null,
    renderedVersion: 0,
    updates: [],  // {version, renderedAt} for every drawn update
    pointForKm,   // page coordinates of a km on the first chart, for tests
  };
  window.preview = preview;

  let features = [];     // every marked feature, sorted by position
  let plan = null;       // {m: [], x: [], y: []} metres along the line and their points
  let lastCursorKm = null;

  // --- numbers and text ---------------------------------------------------------

  const fmt = (v, d) => (v === null || v === undefined || Number.isNaN(v)) ? '–' : Number(v).toFixed(d);
  const km = (m) => fmt(m / 1000, 3);
  // "1 signal", "2 signals".
  const counted = (n, word) => n + ' ' + word + (n === 1 ? '' : 's');

  function el(tag, attrs, text) {
    const e = tag.startsWith('svg:') ? document.createElementNS(SVG, tag.slice(4)) : document.createElement(tag);
    for (const [k, v] of Object.entries(attrs || {})) e.setAttribute(k, v);
    if (text !== undefined) e.textContent = text;
    return e;
  }

  function niceStep(min) {
    if (!(min > 0)) return 1;
    const p = Math.pow(10, Math.floor(Math.log10(min)));
    for (const f of [1, 2, 5, 10]) if (f * p >= min) return f * p;
    return 10 * p;
  }

  function sourceText(s) {
    if (!s) return null;
    return s.file + ':' + s.line;
  }

  // --- features ------------------------------------------------------------------

  function collectFeatures(d) {
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

  function nearest(list, m) {
    let best = null;
    for (const f of list) if (best === null || Math.abs(f.position_m - m) < Math.abs(best.position_m - m)) best = f;
    return best;
  }

  function featureLabel(f, m) {
    if (!f) return '–';
    const away = Math.round(f.position_m - m);
    const where = away === 0 ? 'here' : (away > 0 ? away + ' m ahead' : -away + ' m behind');
    const name = f.kind === 'station' || f.kind === 'indication board' ? f.name : f.kind;
    return name + ' (' + (f.kind === 'station' || f.kind === 'indication board' ? f.kind + ', ' : '') +
      'km ' + km(f.position_m) + ', ' + where + ')';
  }

  // The tooltip's lines as [text, kind]: the first names the feature (a
  // station or board by its name, with its kind after it), the rest plain.
  function describe(f) {
    const lines = [];
    const it = f.item;
    const named = f.kind === 'station' || f.kind === 'indication board';
    lines.push(named ? [f.name, f.kind] : [f.kind, '']);
    lines.push(['km ' + km(f.position_m) + ' (cell ' + (it.cell !== undefined ? it.cell : '–') + ')']);
    if (it.scheduled) lines.push(['scheduled ' + it.scheduled]);
    if (f.kind === 'speed board' && it.value !== undefined) lines.push(['value ' + it.value]);
    for (const [k, v] of Object.entries(it.values || {})) lines.push([k + ' ' + v]);
    return lines;
  }

  // --- the profile at a position -------------------------------------------------

  function profileAt(m) {
    const p = preview.data && preview.data.profile;
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

  function showReadout(m) {
    lastCursorKm = m / 1000;
    const v = profileAt(m);
    $('r-km').textContent = km(m);
    $('r-height').textContent = v ? fmt(v.height, 1) + ' m' : '–';
    $('r-gradient').textContent = v ? v.gradient + ' ‰' : '–';
    $('r-speed').textContent = v ? v.speed + ' km/h' : '–';
    $('r-adhesion').textContent = v ? v.adhesion + ' %' : '–';
    const stations = features.filter((f) => f.kind === 'station');
    $('r-station').textContent = featureLabel(nearest(stations, m), m);
    $('r-feature').textContent = featureLabel(nearest(features, m), m);
    moveCursorMark(m);
  }

  // --- the plan ------------------------------------------------------------------

  function planGeometry(d) {
    const g = { m: [], x: [], y: [] };
    for (const part of [d.plan && d.plan.route, d.plan && d.plan.beyond]) {
      for (const [m, x, y] of part || []) {
        if (g.m.length && m <= g.m[g.m.length - 1]) continue;
        g.m.push(m); g.x.push(x); g.y.push(-y);  // picture y grows downwards
      }
    }
    return g.m.length >= 2 ? g : null;
  }

  // The point of the plan at metre m, and the direction of travel there (radians).
  function planAt(m) {
    if (!plan) return null;
    const a = plan.m;
    let lo = 0, hi = a.length - 1;
    if (m <= a[0]) hi = 1;
    else if (m >= a[hi]) lo = hi - 1;
    else while (hi - lo > 1) { const mid = (lo + hi) >> 1; if (a[mid] <= m) lo = mid; else hi = mid; }
    const span = a[hi] - a[lo];
    const t = span > 0 ? Math.min(Math.max((m - a[lo]) / span, 0), 1) : 0;
    const dx = plan.x[hi] - plan.x[lo], dy = plan.y[hi] - plan.y[lo];
    return { x: plan.x[lo] + dx * t, y: plan.y[lo] + dy * t, angle: Math.atan2(dy, dx) * 180 / Math.PI };
  }

  // A marker is a group placed at its point, turned with the line, and
  // scaled so that its shapes keep their size in screen pixels at any zoom.
  function marker(parent, m, cls, feature, upright) {
    const at = planAt(m);
    if (!at) return null;
    const g = el('svg:g', { class: 'marker ' + cls });
    g._at = upright ? { x: at.x, y: at.y, angle: 0, heading: at.angle } : at;
    if (feature !== undefined) { g.classList.add('hit'); g.dataset.feature = String(feature); }
    parent.appendChild(g);
    return g;
  }

  function polyline(points, cls) {
    return el('svg:polyline', { class: cls, points: points.join(' '), 'vector-effect': 'non-scaling-stroke' });
  }

  // A plan box without area (a window too small for it) would be fitted at
  // zoom 0, a transform that svg-pan-zoom can never leave: the plan waits
  // for a box with an area instead, and one found at zoom 0 is drawn anew.
  function planBoxEmpty() {
    const r = $('plan').getBoundingClientRect();
    return !(r.width >= 1 && r.height >= 1);
  }

  function planZoomLost() {
    if (!preview.panZoom) return false;
    const z = preview.panZoom.getSizes().realZoom;
    return !(Number.isFinite(z) && z > 0);
  }

  // Draws the plan anew when it waits for its box or lost its zoom; says whether it did.
  function mendPlan() {
    if (!preview.data || planBoxEmpty() || !(preview.planWaiting || planZoomLost())) return false;
    drawPlan(preview.data);
    return true;
  }

  function drawPlan(d) {
    let svg = $('plan');
    const lost = planZoomLost();
    const keep = preview.panZoom && !lost
      ? { zoom: preview.panZoom.getZoom(), pan: preview.panZoom.getPan(), length: preview.drawnLength } : null;
    if (lost) {
      // svg-pan-zoom cannot destroy an instance whose zoom is lost (it resets
      // the zoom first), and keeps one instance per element: the plan takes
      // a fresh element and leaves the old instance with the old one.
      const fresh = svg.cloneNode(false);
      svg.replaceWith(fresh);
      svg = fresh;
    } else if (preview.panZoom) {
      preview.panZoom.destroy();
    }
    preview.panZoom = null;
    svg.replaceChildren();
    preview.planWaiting = false;
    plan = planGeometry(d);
    if (!plan) {
      svg.removeAttribute('viewBox');
      svg.appendChild(el('svg:text', { x: 20, y: 40, class: 'plan-km-text' }, 'No plan: the line data file was not written.'));
      return;
    }
    const minX = Math.min(...plan.x), maxX = Math.max(...plan.x), minY = Math.min(...plan.y), maxY = Math.max(...plan.y);
    const pad = Math.max(maxX - minX, maxY - minY, 100) * 0.04;
    svg.setAttribute('viewBox', [minX - pad, minY - pad, maxX - minX + 2 * pad, maxY - minY + 2 * pad].join(' '));

    const root = el('svg:g', { id: 'plan-content' });
    svg.appendChild(root);
    const routeEnd = d.route_length_m;
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

    const kmGroup = el('svg:g', { id: 'plan-kilometres' });
    root.appendChild(kmGroup);
    const every = Math.max(1, niceStep(routeEnd / 1000 / 25));
    for (let k = 1; k * 1000 <= routeEnd && k <= 5000; k++) {
      if (routeEnd > 200000 && k % every !== 0) continue;
      const g = marker(kmGroup, k * 1000, 'plan-km');
      if (!g) break;
      g.appendChild(el('svg:line', { x1: 0, y1: -4, x2: 0, y2: 4 }));
      if (k % every === 0) {
        const label = marker(kmGroup, k * 1000, 'plan-km-label', undefined, true);
        label.appendChild(el('svg:text', { class: 'plan-km-text label', 'font-size': 9.5, side: -1 }, String(k)));
      }
    }
    const endMark = marker(root, routeEnd, 'plan-end');
    if (endMark) endMark.appendChild(el('svg:line', { x1: 0, y1: -7, x2: 0, y2: 7, stroke: '#1f2933', 'stroke-width': 2.5 }));

    const signals = el('svg:g', { id: 'plan-signals' });
    const speedBoards = el('svg:g', { id: 'plan-speed-boards' });
    const boards = el('svg:g', { id: 'plan-boards' });
    const stations = el('svg:g', { id: 'plan-stations' });
    root.append(signals, speedBoards, boards, stations);
    features.forEach((f, i) => {
      if (f.kind === 'signal') {
        const g = marker(signals, f.position_m, 'signal-mark', i);
        if (g) g.appendChild(el('svg:line', { x1: 0, y1: 2, x2: 0, y2: 10, 'stroke-width': 2 }));
      } else if (f.kind === 'speed board') {
        const g = marker(speedBoards, f.position_m, 'speed-board-mark', i);
        if (g) g.appendChild(el('svg:path', { d: 'M-4,-12 L4,-12 L0,-5 Z' }));
      } else if (f.kind === 'indication board') {
        const g = marker(boards, f.position_m, 'board-mark', i, true);
        if (!g) return;
        g.appendChild(el('svg:path', { d: 'M0,-5 L5,0 L0,5 L-5,0 Z', 'stroke-width': 0.8 }));
        g.appendChild(el('svg:text', { class: 'board-caption label', 'font-size': 10, side: -1 }, f.name));
      } else {
        const g = marker(stations, f.position_m, 'station-mark', i, true);
        if (!g) return;
        g.appendChild(el('svg:circle', { r: 4.5, 'stroke-width': 2 }));
        g.appendChild(el('svg:text', { class: 'station-name label', 'font-size': 11, 'stroke-width': 3, side: 1 }, f.name));
      }
    });
    const cursor = el('svg:g', { id: 'cursor-group', visibility: 'hidden' });
    cursor.appendChild(el('svg:circle', { id: 'cursor-mark', r: 6, 'stroke-width': 1.5 }));
    root.appendChild(cursor);

    if (planBoxEmpty()) { preview.planWaiting = true; return; }
    preview.panZoom = svgPanZoom(svg, {
      viewportSelector: '#plan-content',
      zoomEnabled: true, panEnabled: true, dblClickZoomEnabled: true, mouseWheelZoomEnabled: true,
      controlIconsEnabled: false, fit: true, center: true, minZoom: 0.5,
      maxZoom: Math.max(50, (maxX - minX + maxY - minY) / 50), zoomScaleSensitivity: 0.25,
      onZoom: rescaleMarkers,
      customEventsHandler: pinchZoom,
    });
    preview.drawnLength = routeEnd;
    if (keep && keep.length === routeEnd) { preview.panZoom.zoom(keep.zoom); preview.panZoom.pan(keep.pan); }
    rescaleMarkers();
    if (lastCursorKm !== null) moveCursorMark(lastCursorKm * 1000);
  }

  function screenScale() {
    const sizes = preview.panZoom ? preview.panZoom.getSizes() : null;
    return sizes && sizes.realZoom > 0 ? 1 / sizes.realZoom : 1;
  }

  function place(g, at, s) {
    g.setAttribute('transform', 'translate(' + at.x + ' ' + at.y + ') rotate(' + at.angle + ') scale(' + s + ')');
  }

  function rescaleMarkers() {
    const s = screenScale();
    for (const g of document.querySelectorAll('#plan .marker')) place(g, g._at, s);
    const c = $('cursor-group');
    if (c && c._at) place(c, c._at, s);
    layoutLabels();
  }

  // Labels stand beside their mark, across the line (stations to the right
  // of the direction of travel, the rest to the left), upright; a label that
  // would cover one placed before it (stations first) is hidden until a
  // closer zoom makes room for it.
  function layoutLabels() {
    const placed = [];
    for (const t of document.querySelectorAll('#plan .label')) {
      const heading = t.parentNode._at.heading * Math.PI / 180;
      const side = Number(t.getAttribute('side'));
      const nx = -Math.sin(heading) * side, ny = Math.cos(heading) * side;
      t.setAttribute('x', nx * 9);
      t.setAttribute('y', ny * 9 + 4);
      t.setAttribute('text-anchor', nx > 0.3 ? 'start' : nx < -0.3 ? 'end' : 'middle');
      if (Math.abs(nx) <= 0.3) t.setAttribute('y', ny * 12 + (ny > 0 ? 8 : 0));
      t.setAttribute('visibility', 'visible');
      const r = t.getBoundingClientRect();
      const box = { l: r.left - 2, t: r.top - 1, r: r.right + 2, b: r.bottom + 1 };
      if (placed.some((p) => box.l < p.r && p.l < box.r && box.t < p.b && p.t < box.b)) t.setAttribute('visibility', 'hidden');
      else placed.push(box);
    }
  }

  function moveCursorMark(m) {
    const c = $('cursor-group');
    const at = planAt(m);
    if (!c || !at) return;
    c._at = at;
    place(c, at, screenScale());
    c.setAttribute('visibility', 'visible');
  }

  // Two fingers on the plan zoom it around their middle.
  const pinchZoom = {
    haltEventListeners: [],
    init(options) {
      let start = null;
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
      for (const [name, fn] of Object.entries(this.listeners)) svg.addEventListener(name, fn, { passive: false });
    },
    destroy(options) {
      for (const [name, fn] of Object.entries(this.listeners || {})) options.svgElement.removeEventListener(name, fn);
    },
  };

  // --- the profile charts ----------------------------------------------------------

  let syncing = false;

  // Dashed lines at the stations and the route end; on the first chart the
  // station names, reading upwards in the band above the plot.
  function stationLines(names) {
    return {
      hooks: {
        draw: [(u) => {
          const ctx = u.ctx;
          const dpr = devicePixelRatio;
          const { top, height, left, width } = u.bbox;
          const stations = features.filter((f) => f.kind === 'station');
          const xs = stations.map((f) => u.valToPos(f.position_m / 1000, 'x', true));
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
          const end = preview.data ? u.valToPos(preview.data.route_length_m / 1000, 'x', true) : -1;
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
          stations.forEach((f, i) => {
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

  function speedBoardMarks() {
    return {
      hooks: {
        draw: [(u) => {
          const ctx = u.ctx;
          const { top, left, width } = u.bbox;
          const r = 4 * devicePixelRatio;
          ctx.save();
          ctx.fillStyle = '#7c3aed';
          for (const f of features) {
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

  // A chart's value scale: the speed limit from 0; the gradient the same
  // distance above and below 0, at least 10 ‰, so that its axis always has a
  // mark above and below the 0 line (a flat route too); the others as uPlot
  // fits them.
  function yScale(s) {
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

  function drawCharts(d) {
    const keep = preview.charts.length ? { min: preview.charts[0].scales.x.min, max: preview.charts[0].scales.x.max, length: preview.drawnChartLength } : null;
    const p = d.profile;
    const n = p ? p.speed_kmh.length : 0;
    const x = new Array(n + 1);
    for (let k = 0; k <= n; k++) x[k] = k * (p ? p.cell_m : 50) / 1000;
    const padded = (a) => { const out = Array.from(a); out.push(a[a.length - 1]); return out; };
    const values = n ? [p.height_m, padded(p.gradient_permille), padded(p.speed_kmh), padded(p.adhesion_percent)] : [];
    // The same route with other values: the charts take the new data and keep their zoom.
    if (keep && keep.length === n && n > 0) {
      syncing = true;
      preview.charts.forEach((u, i) => {
        u.setData([x, values[i]]);
        u.setScale('x', { min: keep.min, max: keep.max });
      });
      syncing = false;
      return;
    }
    for (const u of preview.charts) u.destroy();
    preview.charts = [];
    const box = $('charts');
    box.replaceChildren();
    if (n === 0) return;
    const stepped = uPlot.paths.stepped({ align: 1 });
    const width = Math.max(300, box.clientWidth);
    const profiles = [
      { title: 'Height above the start (m)', values: values[0], stroke: '#6b8e23', fill: 'rgba(107, 142, 35, 0.18)', height: 150, names: true },
      { title: 'Gradient (‰)', values: values[1], stroke: '#e07a5f', fill: 'rgba(224, 122, 95, 0.25)', height: 100, paths: stepped, aroundZero: true },
      { title: 'Speed limit (km/h)', values: values[2], stroke: '#1e40af', height: 110, paths: stepped, boards: true, fromZero: true },
      { title: 'Adhesion (%)', values: values[3], stroke: '#0f766e', height: 90, paths: stepped },
    ];
    for (const s of profiles) {
      box.appendChild(el('div', { class: 'chart-title' }, s.title));
      const holder = el('div', { class: 'chart' });
      box.appendChild(holder);
      const plugins = [stationLines(s.names)];
      if (s.boards) plugins.push(speedBoardMarks());
      const u = new uPlot({
        width, height: s.height + (s.names ? 120 : 0),
        padding: [s.names ? 128 : 10, 12, 0, 0],
        legend: { show: false },
        cursor: { sync: { key: 'route' }, drag: { x: true, y: false, setScale: true }, points: { show: false } },
        scales: { x: { time: false }, y: yScale(s) },
        axes: [
          { size: 30, values: (u, vals) => vals.map((v) => String(+v.toFixed(3))) },
          { size: 56 },
        ],
        series: [{}, { stroke: s.stroke, fill: s.fill, width: 1.6, paths: s.paths, points: { show: false } }],
        plugins,
        hooks: {
          setCursor: [(u) => {
            if (u.cursor.left === undefined || u.cursor.left < 0) return;
            showReadout(u.posToVal(u.cursor.left, 'x') * 1000);
          }],
          setScale: [(u, key) => {
            if (key !== 'x' || syncing) return;
            syncing = true;
            for (const other of preview.charts)
              if (other !== u) other.setScale('x', { min: u.scales.x.min, max: u.scales.x.max });
            syncing = false;
          }],
        },
      }, [x, s.values], holder);
      preview.charts.push(u);
    }
    preview.drawnChartLength = n;
    if (keep && keep.length === n) {
      syncing = true;
      for (const u of preview.charts) u.setScale('x', { min: keep.min, max: keep.max });
      syncing = false;
    }
  }

  // Page coordinates of km on the first chart, halfway down its plot area.
  function pointForKm(value) {
    const u = preview.charts[0];
    if (!u) return null;
    const r = u.over.getBoundingClientRect();
    return { x: r.left + u.valToPos(value, 'x'), y: r.top + r.height / 2 };
  }

  function moveCursorTo(m) {
    const u = preview.charts[0];
    if (!u) { showReadout(m); return; }
    const left = u.valToPos(m / 1000, 'x');
    if (left < 0 || left > u.over.clientWidth) {
      const span = u.scales.x.max - u.scales.x.min;
      u.setScale('x', { min: m / 1000 - span / 2, max: m / 1000 + span / 2 });
    }
    u.setCursor({ left: u.valToPos(m / 1000, 'x'), top: u.over.clientHeight / 2 });
    showReadout(m);
  }

  // --- diagnostics, stations, status ---------------------------------------------------

  function drawDiagnostics(d) {
    const list = $('diagnostics');
    list.replaceChildren();
    if (d.diagnostics.length === 0) {
      list.appendChild(el('li', { class: 'none' }, 'No errors or warnings.'));
      return;
    }
    for (const x of d.diagnostics) {
      const where = x.file + (x.line > 0 ? ':' + x.line : '');
      const li = el('li', { class: x.severity === 'warning' ? 'warning' : 'error' });
      // The line exactly as check prints it.
      li.appendChild(document.createTextNode(x.shown || where + ': ' + x.severity + ' ' + x.code + ': ' + x.message));
      if (x.text !== undefined) li.appendChild(el('code', {}, x.text));
      list.appendChild(li);
    }
  }

  function drawStations(d) {
    const list = $('stations');
    list.replaceChildren();
    for (const s of d.stations) {
      const li = el('li', {});
      li.appendChild(document.createTextNode(s.name + ' '));
      li.appendChild(el('span', { class: 'km' }, 'km ' + km(s.position_m) + (s.scheduled ? ' · ' + s.scheduled : '')));
      li.addEventListener('click', () => moveCursorTo(s.position_m));
      list.appendChild(li);
    }
  }

  function drawStatus(d) {
    const errors = d.diagnostics.filter((x) => x.severity !== 'warning').length;
    const warnings = d.diagnostics.length - errors;
    const status = $('status');
    const banner = $('stale-banner');
    document.body.classList.toggle('stale', d.stale);
    status.className = 'status' + (d.stale ? ' stale' : '');
    if (d.stale) {
      status.textContent = 'stale · ' + counted(errors, 'error');
      banner.textContent = d.route
        ? 'The documents have errors: the drawing is the last compile without errors.'
        : 'The documents have errors, and no compile without errors has been seen yet.';
      banner.hidden = false;
    } else {
      status.textContent = 'up to date · ' + new Date().toLocaleTimeString() + (warnings ? ' · ' + counted(warnings, 'warning') : '');
      banner.hidden = true;
    }
  }

  function render(d) {
    preview.data = d;
    features = collectFeatures(d);
    const title = d.route ? d.route + ' — train ' + d.train : 'Scenario preview';
    document.title = title + ' · preview';
    $('title').textContent = title;
    const kmText = (d.route_length_m / 1000).toFixed(2);
    $('summary').textContent = d.route
      ? 'Route length ' + kmText + ' km · ' + counted(d.stations.length, 'station') + ' · ' +
        counted(d.signals.length, 'signal') + ' · ' + counted(d.indication_boards.length, 'indication board') +
        ' · ' + counted(d.speed_boards.length, 'speed board')
      : '';
    drawStatus(d);
    drawDiagnostics(d);
    drawStations(d);
    // The drawing is only redone when it changed: a stale update keeps it as it is.
    // The drawing is only redone where it changed: an update with errors
    // keeps the last good drawing as it is.
    const featureKey = JSON.stringify([d.stations, d.signals, d.speed_boards, d.indication_boards]);
    const planKey = JSON.stringify([d.route_length_m, d.plan]) + featureKey;
    if (preview.planKey !== planKey) { drawPlan(d); preview.planKey = planKey; } else mendPlan();
    if (preview.chartKey !== featureKey || !sameProfile(preview.chartProfile, d.profile)) {
      drawCharts(d);
      preview.chartKey = featureKey;
      preview.chartProfile = d.profile;
    }
    if (lastCursorKm !== null) showReadout(lastCursorKm * 1000);
  }

  function sameProfile(a, b) {
    if (!a || !b) return a === b;
    for (const k of ['speed_kmh', 'gradient_permille', 'adhesion_percent', 'height_m']) {
      const x = a[k], y = b[k];
      if (x.length !== y.length) return false;
      for (let i = 0; i < x.length; i++) if (x[i] !== y[i]) return false;
    }
    return true;
  }

  // --- hover ---------------------------------------------------------------------------

  function showTooltip(f, event) {
    const tip = $('tooltip');
    tip.replaceChildren();
    describe(f).forEach(([text, kind], n) => {
      const line = el('div', {}, text);
      if (n === 0) line.style.fontWeight = 'bold';
      if (kind) line.appendChild(el('span', { class: 'kind' }, ' · ' + kind));
      tip.appendChild(line);
    });
    const s = f.item.source;
    if (s) {
      tip.appendChild(el('div', {}, sourceText(s)));
      tip.appendChild(el('code', {}, s.text));
    }
    tip.hidden = false;
    tip.style.left = Math.min(event.clientX + 14, window.innerWidth - tip.offsetWidth - 8) + 'px';
    tip.style.top = Math.min(event.clientY + 14, window.innerHeight - tip.offsetHeight - 8) + 'px';
  }

  // On the plan's box: the plan's own element may be replaced.
  $('plan-box').addEventListener('mousemove', (e) => {
    const hit = e.target.closest && e.target.closest('[data-feature]');
    if (!hit) { $('tooltip').hidden = true; return; }
    const f = features[Number(hit.dataset.feature)];
    showTooltip(f, e);
    showReadout(f.position_m);
  });
  $('plan-box').addEventListener('mouseleave', () => { $('tooltip').hidden = true; });

  // --- updates ---------------------------------------------------------------------------

  let wanted = 0;
  let fetching = false;
  // Once the event stream was lost the server may be a new one (restarted on
  // the same port), whose versions start again from 1: the first update
  // after the stream is back is drawn whatever its number.
  let resync = false;
  let forced = false;

  async function refresh() {
    if (fetching) return;
    fetching = true;
    try {
      while (forced || wanted > preview.renderedVersion || preview.renderedVersion === 0) {
        const response = await fetch('/scenario.json', { cache: 'no-store' });
        if (!response.ok) throw new Error('HTTP ' + response.status);
        const d = await response.json();
        render(d);
        forced = false;
        preview.renderedVersion = d.version;
        await new Promise((resolve) => requestAnimationFrame(() => resolve()));
        for (const u of preview.charts) u.syncRect(true);
        preview.updates.push({ version: d.version, renderedAt: Date.now() });
        if (wanted < d.version) wanted = d.version;
      }
    } catch (e) {
      $('status').textContent = 'cannot load the scenario: ' + e.message;
      $('status').className = 'status lost';
    } finally {
      fetching = false;
    }
  }

  const events = new EventSource('/events');
  events.addEventListener('update', (e) => {
    const version = Number(e.data);
    if (resync) {
      resync = false;
      forced = true;
      wanted = version;
    } else {
      wanted = Math.max(wanted, version);
    }
    refresh();
  });
  events.addEventListener('error', () => {
    resync = true;
    $('status').textContent = 'connection lost · retrying';
    $('status').className = 'status lost';
  });
  events.addEventListener('open', () => { if (preview.data) drawStatus(preview.data); });

  window.addEventListener('resize', () => {
    const width = Math.max(300, $('charts').clientWidth);
    for (const u of preview.charts) u.setSize({ width, height: u.height });
    for (const u of preview.charts) u.syncRect(true);
    if (planBoxEmpty() || mendPlan() || !preview.panZoom) return;
    preview.panZoom.resize(); preview.panZoom.fit(); preview.panZoom.center(); rescaleMarkers();
  });
  // A plan that lost its zoom takes no pan or zoom, on which svg-pan-zoom
  // would fail; a double-click draws it anew.
  for (const name of ['mousedown', 'touchstart', 'wheel'])
    $('plan-box').addEventListener(name, (e) => { if (planZoomLost()) e.stopPropagation(); }, { capture: true, passive: true });
  $('plan-box').addEventListener('dblclick', mendPlan, true);

  refresh();
})();
