// The live preview in a real browser: scenario_tool serve on copies of the
// built-in documents and of the generated 1,000,000 m route, driven in
// headless Chromium. Run by CTest with
//   SCENARIO_TOOL  the scenario_tool executable
//   MAKE_ROUTE     the make_route executable
//   SCREENSHOT     where to save the picture of the page
//   TIMINGS        where to write the measured times from a save to the updated page
//   SCENARIO_TOOL_RUNNER  optional: a program that runs the tool (wine, for scenario_tool.exe)
import { test, after } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { chromium } from 'playwright-core';
import { runTool, serve, servers, stopped } from './serve_process.mjs';

const tool = process.env.SCENARIO_TOOL;
const makeRoute = process.env.MAKE_ROUTE;
const screenshot = process.env.SCREENSHOT;
const timingsFile = process.env.TIMINGS;
assert.ok(tool && makeRoute && screenshot, 'SCENARIO_TOOL, MAKE_ROUTE and SCREENSHOT must be set');

const work = fs.mkdtempSync(path.join(os.tmpdir(), 'preview-test-'));
let browser = null;

after(async () => {
  if (browser) await browser.close();
  for (const s of servers) if (s.exitCode === null) s.kill('SIGKILL');
  fs.rmSync(work, { recursive: true, force: true });
});

async function openPage(url) {
  if (!browser) {
    browser = await chromium.launch({
      executablePath: '/usr/bin/chromium',
      headless: true,
      args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
        '--disable-component-update', '--disable-sync'],
    });
  }
  const page = await browser.newPage({ viewport: { width: 1400, height: 1250 } });
  const problems = [];
  page.on('pageerror', (e) => problems.push('page error: ' + e.message));
  page.on('console', (m) => { if (m.type() === 'error') problems.push('console: ' + m.text()); });
  // The page must need nothing but its own server.
  page.on('request', (r) => { if (!r.url().startsWith(url)) problems.push('request outside the server: ' + r.url()); });
  await page.goto(url);
  await page.waitForFunction(() => window.preview && window.preview.renderedVersion >= 1, null, { timeout: 10000 });
  return { page, problems };
}

const renderedVersion = (page) => page.evaluate(() => window.preview.renderedVersion);

// Page coordinates of a km on the first chart, halfway down its plot area (run in the page).
function pointForKm(value) {
  const u = window.preview.charts[0];
  const r = u.over.getBoundingClientRect();
  return { x: r.left + u.valToPos(value, 'x'), y: r.top + r.height / 2 };
}

// The page's cumulative layout shift so far, as the browser measured it:
// every layout-shift entry that no input of the user caused (run in the page).
function layoutShift() {
  return new Promise((resolve) => {
    let total = 0;
    const add = (entries) => { for (const e of entries) if (!e.hadRecentInput) total += e.value; };
    const observer = new PerformanceObserver((list) => add(list.getEntries()));
    observer.observe({ type: 'layout-shift', buffered: true });
    requestAnimationFrame(() => requestAnimationFrame(() => setTimeout(() => {
      add(observer.takeRecords());
      observer.disconnect();
      resolve(total);
    })));
  });
}

// Whether the page shows a state (run in the page): `kind` with its `arg`.
function pageShows([version, kind, arg]) {
  if (window.preview.renderedVersion <= version) return false;
  const panel = document.querySelector('#diagnostics');
  if (kind === 'diagnostic') return panel.textContent.includes(arg);
  if (kind === 'nothing') return panel.textContent.trim() === 'No errors or warnings.';
  if (kind === 'warning') return panel.querySelectorAll('li.warning').length > 0;
  return window.preview.data.profile.gradient_permille[0] === arg;  // 'gradient'
}

// Saves a document and waits until the page shows what the save should
// bring; returns the milliseconds from the save to the drawing of that
// state. An editor's save (and this one's) may be seen half-written first:
// the wait is for the state, not for the first update after the save.
async function saveAndWait(page, file, bytes, timeout, kind, arg) {
  const before = await renderedVersion(page);
  const saved = Date.now();
  fs.writeFileSync(file, bytes);
  await page.waitForFunction(pageShows, [before, kind, arg], { timeout, polling: 'raf' });
  const drawn = await page.evaluate(() => window.preview.updates[window.preview.updates.length - 1].renderedAt);
  return drawn - saved;
}

// The document with its first gradient row (at 0 m) changed, and the new
// value: a save of it, then of the original, each redraw the profile.
function changeFirstGradient(text) {
  const row = text.split('\r\n').find((l) => /^pendenza,\s*0,/.test(l));
  assert.ok(row);
  const old = Number(row.match(/-?\d+\s*$/)[0]);
  const value = old === 5 ? 6 : 5;
  return { text: text.replace(row, row.replace(/-?\d+\s*$/, String(value))), value, old };
}

// The time–distance graph's scheduled mark of a station: what it is and
// the colour of the canvas's pixel at its middle (run in the page).
function runMark(name) {
  const p = window.preview;
  const u = p.runChart;
  const s = p.data.run.stations.find((st) => st.name === name);
  const x = Math.round(u.valToPos(s.position_m / 1000, 'x', true));
  const y = Math.round(u.valToPos(s.scheduled_s, 'y', true));
  const pixel = [...u.ctx.getImageData(x, y, 1, 1).data].slice(0, 3);
  const warning = getComputedStyle(document.documentElement).getPropertyValue('--warning').trim();
  const n = parseInt(warning.slice(1), 16);
  return { station: s, pixel, warning: [n >> 16, (n >> 8) & 255, n & 255], leg: p.runLegs.find((l) => l.to === name),
    lateLegs: document.querySelector('#chart-run').dataset.lateLegs };
}

const near = (a, b, by) => a.every((v, i) => Math.abs(v - b[i]) <= by);

const median = (a) => { const s = [...a].sort((x, y) => x - y); return s[Math.floor(s.length / 2)]; };
const timings = [];

test('built-in route: page, cursor, diagnostics, stale drawing, undo', async () => {
  const src = path.join(work, 'src');
  runTool(['write-documents', src]);
  const line = path.join(src, 'Bresta_Vilcar_linea.txt');
  const train = path.join(src, 'Bresta_Vilcar_RX907-.txt');
  const tmp = path.join(work, 'tmp-builtin');
  const { url, child } = await serve(line, train, tmp);
  const { page, problems } = await openPage(url);

  assert.equal(await page.title(), 'Bresta_Vilcar — train RX907 · preview');
  const expected = fs.readFileSync(train, 'latin1').split('\r\n').filter((l) => l.startsWith('stazione,'))
    .map((l) => l.split(',').pop().trim());
  assert.equal(expected.length, 24);
  const onPlan = await page.$$eval('#plan .station-name', (ts) => ts.map((t) => t.textContent));
  assert.deepEqual(onPlan, expected);
  const listed = await page.$$eval('#stations li', (ls) => ls.map((l) => l.firstChild.textContent.trim()));
  assert.deepEqual(listed, expected);
  // Every chart and panel had its place before the data came: nothing moved when it was drawn.
  const shift = await page.evaluate(layoutShift);
  console.log('# cumulative layout shift of the built-in route\'s page: ' + shift.toFixed(4));
  assert.ok(shift < 0.1, 'cumulative layout shift ' + shift);

  // The shared cursor: a real mouse move over the profile.
  const at = await page.evaluate(pointForKm, 18.55);
  await page.mouse.move(at.x, at.y);
  assert.match(await page.textContent('#r-station'), /^PIANCASTELLO \(station, km /);
  // The cursor stands on whole pixels: about 0.12 km each on the 106 km route.
  assert.ok(Math.abs(Number(await page.textContent('#r-km')) - 18.55) <= 0.13, await page.textContent('#r-km'));
  const marker = await page.$eval('#cursor-group', (g) => g.getAttribute('visibility'));
  assert.equal(marker, 'visible');
  assert.match(await page.textContent('#r-speed'), /^\d+ km\/h$/);
  // The fastest run's time and speed there, as the run's points give them.
  const readTime = await page.textContent('#r-time');
  assert.match(readTime, /^\d\d:\d\d:\d\d · \d+ km\/h$/);
  const wanted = await page.evaluate(async () => {
    const { runAt } = await import('/assets/features.js');
    return runAt(window.preview.data.run, window.preview.cursorKm * 1000);
  });
  const [hh, mm, ss] = readTime.slice(0, 8).split(':').map(Number);
  assert.ok(Math.abs(hh * 3600 + mm * 60 + ss - wanted.time) <= 1, readTime + ' ' + JSON.stringify(wanted));

  // The time–distance graph: the run drawn on the charts' distance axis,
  // the last station's time kept, its mark not in the warning colour.
  const kept = await page.evaluate(runMark, 'VILCAR P.NUOVA');
  assert.equal(kept.station.late, false);
  assert.equal(kept.leg.late, false);
  assert.ok(!kept.lateLegs.split('|').includes('VILCAR P.NUOVA'), kept.lateLegs);
  assert.ok(!near(kept.pixel, kept.warning, 60), 'a kept time marked ' + kept.pixel);
  const axes = await page.evaluate(() => [window.preview.charts[0].scales.x, window.preview.runChart.scales.x]
    .map((x) => [x.min, x.max]));
  assert.deepEqual(axes[1], axes[0]);

  // An indication board moved onto the speed board's cell.
  const original = fs.readFileSync(line);
  const text = original.toString('latin1');
  const rowAt = text.split('\r\n').findIndex((l) => l.startsWith('cartello_indicatore,  11100,')) + 1;
  assert.ok(rowAt > 0);
  const broken = Buffer.from(text.replace('cartello_indicatore,  11100,', 'cartello_indicatore,  15350,'), 'latin1');
  const toError = await saveAndWait(page, line, broken, 2000, 'diagnostic', line + ':' + rowAt + ': error 6:');
  const panel = await page.textContent('#diagnostics');
  assert.ok(panel.includes(line + ':' + rowAt + ': error 6: indication board at 15350 m'), panel);
  assert.ok(panel.includes('cartello_indicatore,  15350,   (P.C.CAVRIA)'), panel);
  assert.equal(await page.$eval('body', (b) => b.classList.contains('stale')), true);
  assert.match(await page.textContent('#status'), /^stale/);
  // The refused board's place is a link to its metre on the drawing; each
  // other row the message names is shown as its place and what it is.
  await page.click('#diagnostics li.error a.place');
  assert.equal(await page.textContent('#r-km'), '15.350');
  const related = await page.evaluate(() => window.preview.data.diagnostics.flatMap((d) => d.related || []));
  for (const r of related) assert.ok(panel.includes(r.file + ':' + r.line + ': ' + r.label), JSON.stringify(r));
  // The drawing kept: still the last good compile, all stations there.
  assert.equal((await page.$$('#plan .station-name')).length, 24);

  const toClear = await saveAndWait(page, line, original, 2000, 'nothing');
  assert.equal((await page.textContent('#diagnostics')).trim(), 'No errors or warnings.');
  assert.equal(await page.$eval('body', (b) => b.classList.contains('stale')), false);

  // A warning is amber and leaves the drawing as it is, up to date.
  const warned = Buffer.from(text.replace('cartello_indicatore,  11100,', 'cartello_indicatore,  11110,'), 'latin1');
  await saveAndWait(page, line, warned, 2000, 'warning');
  const warning = await page.$$eval('#diagnostics li.warning', (ls) => ls.map((l) => l.textContent));
  assert.equal(warning.length, 1, JSON.stringify(warning));
  assert.ok(warning[0].startsWith(line + ':' + rowAt + ': warning W115: '), warning[0]);
  assert.equal(await page.$$eval('#diagnostics li.error', (ls) => ls.length), 0);
  assert.equal(await page.$eval('body', (b) => b.classList.contains('stale')), false);
  await saveAndWait(page, line, original, 2000, 'nothing');

  // Hovering a station on the plan shows its values and the line that made it.
  const stationRow = fs.readFileSync(train, 'latin1').split('\r\n').findIndex((l) => l.includes('PIANCASTELLO')) + 1;
  const box = await (await page.$('#plan-stations .marker:nth-child(4) circle')).boundingBox();
  await page.mouse.move(box.x + box.width / 2, box.y + box.height / 2);
  const tip = await page.textContent('#tooltip');
  assert.ok(tip.includes('PIANCASTELLO') && tip.includes('km 18.800') && tip.includes('scheduled 09:57:00'), tip);
  assert.ok(tip.includes(train + ':' + stationRow), tip);
  assert.ok(tip.includes('stazione,   18550,  4,  700,'), tip);

  // A finding that names another row shows that row as check writes a
  // place, with what it is and its text; the place is a link to the row's
  // feature on the drawing. The finding is given to the page's own panel.
  const holder = await page.evaluate(() => window.preview.data.speed_boards[1]);
  await page.evaluate(async (holder) => {
    const { drawDiagnostics } = await import('/assets/panels.js');
    const d = window.preview.data;
    drawDiagnostics({ ...d, diagnostics: [{ file: d.documents.line, line: 7, severity: 'error', code: '6',
      message: 'taken', shown: d.documents.line + ':7: error 6: taken',
      related: [{ file: holder.source.file, line: holder.source.line, label: 'the speed board', startColumn: 1, endColumn: 9 }] }] });
  }, holder);
  assert.equal(await page.textContent('#diagnostics .related li'),
    holder.source.file + ':' + holder.source.line + ': the speed board' + holder.source.text);
  await page.click('#diagnostics .related a.place');
  assert.equal(Number(await page.textContent('#r-km')), holder.position_m / 1000);
  await page.evaluate(async () => (await import('/assets/panels.js')).drawDiagnostics(window.preview.data));

  const builtIn = [toError, toClear];
  const change = changeFirstGradient(text);
  const edited = Buffer.from(change.text, 'latin1');
  for (let i = 0; i < 6; i++)
    builtIn.push(await saveAndWait(page, line, i % 2 ? original : edited, 5000, 'gradient', i % 2 ? change.old : change.value));
  timings.push({ route: 'built-in route (106 km)', times: builtIn });

  // The whole page in the picture: the window as tall as the page (the
  // plan's box grows with the window, so until the height holds).
  for (let i = 0, height = 0; i < 10; i++) {
    const now = await page.evaluate(() => document.documentElement.scrollHeight);
    if (Math.abs(now + 24 - height) < 2) break;
    height = now + 24;
    await page.setViewportSize({ width: 1400, height });
    await settle(page);
  }
  await page.waitForTimeout(300);
  const again = await page.evaluate(pointForKm, 18.55);
  await page.mouse.move(again.x, again.y);
  fs.mkdirSync(path.dirname(screenshot), { recursive: true });
  await page.screenshot({ path: screenshot });

  // A save that makes the last station's time a minute earlier than the
  // fastest run allows: its leg is late, shaded and marked in the warning colour.
  const trainText = fs.readFileSync(train, 'latin1');
  const tight = Math.ceil(kept.station.earliest_arrival_s) - 60;
  const two = (n) => String(n).padStart(2, ' ');
  const tightened = trainText.replace(' 11, 0, 0, VILCAR P.NUOVA',
    [two(Math.floor(tight / 3600)), two(Math.floor(tight / 60) % 60), two(tight % 60)].join(',') + ', VILCAR P.NUOVA');
  assert.notEqual(tightened, trainText);
  const beforeTight = await renderedVersion(page);
  fs.writeFileSync(train, Buffer.from(tightened, 'latin1'));
  await page.waitForFunction((v) => window.preview.renderedVersion > v && window.preview.data.run.stations
    .some((s) => s.name === 'VILCAR P.NUOVA' && s.late), beforeTight, { timeout: 5000 });
  const late = await page.evaluate(runMark, 'VILCAR P.NUOVA');
  assert.equal(late.station.scheduled_s, tight);
  assert.equal(late.leg.late, true);
  assert.ok(late.lateLegs.split('|').includes('VILCAR P.NUOVA'), late.lateLegs);
  assert.ok(late.leg.fill.startsWith('rgba(' + late.warning.join(', ') + ','), late.leg.fill);
  assert.ok(near(late.pixel, late.warning, 60), 'a late time marked ' + late.pixel + ', not ' + late.warning);
  assert.deepEqual(problems, []);

  child.kill('SIGINT');
  assert.equal(await stopped(child), 0);
  // Wine keeps a folder of its own there, which is not the tool's.
  const left = fs.readdirSync(tmp).filter((name) => !(process.env.SCENARIO_TOOL_RUNNER && name.startsWith('wine-')));
  assert.deepEqual(left, [], 'serve left its temporary folder behind');
  await page.close();
});

// The plan's zoom and whether its route line lies inside the plan's box with
// an area (run in the page).
function planShown() {
  const sizes = window.preview.panZoom ? window.preview.panZoom.getSizes() : null;
  const box = document.querySelector('#plan').getBoundingClientRect();
  const line = document.querySelector('#plan .plan-route');
  const r = line ? line.getBoundingClientRect() : null;
  const inside = !!r && r.width + r.height > 50 && r.left >= box.left - 1 && r.right <= box.right + 1 &&
    r.top >= box.top - 1 && r.bottom <= box.bottom + 1;
  return { zoom: sizes ? sizes.realZoom : null, inside };
}

// Lets the page handle what it was sent: two frames.
const settle = (page) => page.evaluate(() => new Promise((r) => requestAnimationFrame(() => requestAnimationFrame(r))));

test('the plan survives any window size and recovers from a lost zoom', async () => {
  const src = path.join(work, 'src-sizes');
  runTool(['write-documents', src]);
  const line = path.join(src, 'Bresta_Vilcar_linea.txt');
  const train = path.join(src, 'Bresta_Vilcar_RX907-.txt');
  const tmp = path.join(work, 'tmp-sizes');
  const { url, child } = await serve(line, train, tmp);
  const { page, problems } = await openPage(url);
  const normal = { width: 1400, height: 1250 };
  const assertDrawn = async (what) => {
    const shown = await page.evaluate(planShown);
    assert.ok(shown.zoom > 0 && Number.isFinite(shown.zoom) && shown.inside, what + ': ' + JSON.stringify(shown));
  };
  await assertDrawn('at the start');

  // Windows too small for the plan's box, then the normal size again.
  const cases = [
    { what: '200 x 100', size: { width: 200, height: 100 } },
    { what: '1 x 1', size: { width: 1, height: 1 } },
    { what: 'narrow', size: { width: 360, height: 1250 } },
  ];
  for (const c of cases) {
    await page.setViewportSize(c.size);
    await settle(page);
    await page.setViewportSize(normal);
    await settle(page);
    await assertDrawn('after ' + c.what);
  }
  await page.screenshot({ path: path.join(work, 'full.png'), fullPage: true });
  await settle(page);
  await assertDrawn('after a full-page screenshot');

  // A new plan that arrives while the box has no area is drawn once it has one.
  const original = fs.readFileSync(line);
  const text = original.toString('latin1');
  const moved = Buffer.from(text.replace('cartello_indicatore,  11100,', 'cartello_indicatore,  11200,'), 'latin1');
  assert.notDeepEqual(moved, original);
  await page.setViewportSize({ width: 1, height: 1 });
  await settle(page);
  const before = await renderedVersion(page);
  fs.writeFileSync(line, moved);
  await page.waitForFunction((v) => window.preview.renderedVersion > v &&
    window.preview.data.indication_boards.some((b) => b.position_m === 11200), before, { timeout: 5000 });
  await page.setViewportSize(normal);
  await settle(page);
  await assertDrawn('after an update in a window of 1 x 1');

  // A plan whose zoom was lost (fitted into a box without area, as
  // svg-pan-zoom does when asked) comes back on a double-click, and on the
  // next update even when that leaves the plan as it is.
  const loseZoom = () => page.evaluate(() => {
    const svg = document.querySelector('#plan');
    svg.style.width = '0px';
    window.preview.panZoom.resize();
    window.preview.panZoom.fit();
    svg.style.width = '';
  });
  await loseZoom();
  assert.equal((await page.evaluate(planShown)).zoom, 0);
  const box = await (await page.$('#plan')).boundingBox();
  await page.mouse.dblclick(box.x + box.width / 2, box.y + box.height / 2);
  await settle(page);
  await assertDrawn('after a double-click');

  await loseZoom();
  const change = changeFirstGradient(text);
  await saveAndWait(page, line, Buffer.from(change.text, 'latin1'), 5000, 'gradient', change.value);
  await settle(page);
  await assertDrawn('after an update that leaves the plan as it is');
  assert.match(await page.textContent('#status'), /^up to date/);
  fs.writeFileSync(line, original);
  assert.deepEqual(problems, []);

  child.kill('SIGINT');
  assert.equal(await stopped(child), 0);
  await page.close();
});

test('generated 1,000,000 m route: a save reaches the page', async () => {
  const line = path.join(work, 'long_linea.txt');
  const train = path.join(work, 'long_treno.txt');
  execFileSync(makeRoute, ['1000000', line, train]);
  const tmp = path.join(work, 'tmp-long');
  const { url, child } = await serve(line, train, tmp);
  const { page, problems } = await openPage(url);
  assert.equal(await page.evaluate(() => window.preview.data.route_length_m), 1000000);
  assert.equal(await page.evaluate(() => window.preview.data.diagnostics.filter((d) => d.severity === 'error').length), 0);

  const original = fs.readFileSync(line);
  const text = original.toString('latin1');
  const change = changeFirstGradient(text);
  const edited = Buffer.from(change.text, 'latin1');
  const times = [];
  for (let i = 0; i < 6; i++)
    times.push(await saveAndWait(page, line, i % 2 ? original : edited, 5000, 'gradient', i % 2 ? change.old : change.value));
  timings.push({ route: 'generated 1,000,000 m', times });
  assert.deepEqual(problems, []);

  child.kill('SIGTERM');
  assert.equal(await stopped(child), 0);
  assert.deepEqual(fs.readdirSync(tmp), []);
  await page.close();
});

test('a page left open across a restart of the server takes the new drawing', async () => {
  const src = path.join(work, 'src-restart');
  runTool(['write-documents', src]);
  const line = path.join(src, 'Bresta_Vilcar_linea.txt');
  const train = path.join(src, 'Bresta_Vilcar_RX907-.txt');
  const tmp = path.join(work, 'tmp-restart');
  const first = await serve(line, train, tmp);
  const { page, problems } = await openPage(first.url);
  const change = changeFirstGradient(fs.readFileSync(line, 'latin1'));
  assert.equal(await page.evaluate(() => window.preview.data.profile.gradient_permille[0]), change.old);

  // The document changes while no server runs; the new server starts again
  // from version 1, the very version the page has drawn.
  first.child.kill('SIGINT');
  assert.equal(await stopped(first.child), 0);
  fs.writeFileSync(line, Buffer.from(change.text, 'latin1'));
  const port = new URL(first.url).port;
  const second = await serve(line, train, tmp, port);
  assert.equal(second.url, first.url);
  await page.waitForFunction((value) => window.preview.data.profile.gradient_permille[0] === value,
    change.value, { timeout: 10000 });
  assert.equal(await renderedVersion(page), 1);
  await page.waitForFunction(() => document.querySelector('#status').className !== 'status lost', null,
    { timeout: 10000 });
  // The refused connections while no server ran are logged; nothing else.
  assert.deepEqual(problems.filter((p) => !p.includes('ERR_CONNECTION_REFUSED')), []);

  // A termination request; under Wine, where a Windows program hears none, Ctrl+C.
  second.child.kill(process.env.SCENARIO_TOOL_RUNNER ? 'SIGINT' : 'SIGTERM');
  assert.equal(await stopped(second.child), 0);
  await page.close();
});

test("an author's small flat route: its names, counts, tooltip and gradient axis", async () => {
  const src = path.join(work, 'valdoro');
  fs.mkdirSync(src);
  const line = path.join(src, 'Valdoro_linea.txt');
  const train = path.join(src, 'Valdoro_R101-.txt');
  const crlf = (rows) => rows.map((r) => r + '\r\n').join('');
  fs.writeFileSync(line, crlf(['[generale]', 'lunghezza percorso,    10000', '[indicazioni]',
    'cartello_indicatore,  5100,  (BIVIO)', '[fine]']));
  fs.writeFileSync(train, crlf(['[generale]', 'numero vetture,    4', 'percentuale massa frenata,    120',
    'sabbia,    300', 'orologio,    8               0            0', 'aderenza,    0,    100', 'velocita,    0,    80',
    'stazione,   2000,  4,  700,  0, 0, 0,  1,1,0,  4,1,1,    1,   8,10, 0, ARRIVO',
    'segnale,    3550,   1, 4, 1,  0, 0,    1,  3,1,0, 0', '[fine]']));
  const tmp = path.join(work, 'tmp-valdoro');
  const { url, child } = await serve(line, train, tmp);
  const { page, problems } = await openPage(url);

  // The names come from the documents' names.
  assert.equal(await page.title(), 'Valdoro — train R101 · preview');
  assert.equal(await page.textContent('#summary'),
    'Route length 10.00 km · 1 station · 1 signal · 1 indication board · 0 speed boards');
  // A signal's tooltip names it once.
  const box = await (await page.$('#plan-signals .marker')).boundingBox();
  await page.mouse.move(box.x + box.width / 2, box.y + box.height / 2);
  const first = await page.$eval('#tooltip div', (d) => d.textContent);
  assert.equal(first, 'signal');
  // A flat route's gradient axis still reaches above and below 0.
  const gradient = await page.evaluate(() => [window.preview.charts[1].scales.y.min, window.preview.charts[1].scales.y.max]);
  assert.deepEqual(gradient, [-10, 10]);
  assert.deepEqual(problems, []);

  child.kill('SIGINT');
  assert.equal(await stopped(child), 0);
  await page.close();
});

test('report the times from a save to the updated page', () => {
  const lines = timings.map((t) => `${t.route}: median ${median(t.times)} ms, longest ${Math.max(...t.times)} ms ` +
    `over ${t.times.length} saves (${t.times.join(', ')})`);
  for (const l of lines) console.log('# ' + l);
  if (timingsFile) fs.writeFileSync(timingsFile, lines.join('\n') + '\n');
  assert.equal(timings.length, 2);
});
