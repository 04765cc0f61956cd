// @ts-check
// The panels around the drawing: the title and summary, the status, the
// diagnostics with the places they name, the stations, and the tooltip of
// a feature on the plan.
import { moveCursorTo } from './charts.js';
import { describe, featureOfRow } from './features.js';
import { byId, counted, el, km, placeText } from './formatting.js';
import { page } from './page_state.js';

/** @typedef {import('./scenario_types.js').Scenario} Scenario */
/** @typedef {import('./scenario_types.js').Diagnostic} Diagnostic */
/** @typedef {import('./page_state.js').Feature} Feature */

/**
 * The page's title and the route's summary line.
 * @param {Scenario} d
 */
export function drawHeading(d) {
  const title = d.route ? d.route + ' — train ' + d.train : 'Scenario preview';
  document.title = title + ' · preview';
  byId('title').textContent = title;
  const kmText = (d.route_length_m / 1000).toFixed(2);
  byId('summary').textContent = d.route
    ? 'Route length ' + kmText + ' km · ' + counted(d.stations.length, 'station') + ' · ' +
      counted(d.signals.length, 'signal') + ' · ' + counted(d.indication_boards.length, 'indication board') +
      ' · ' + counted(d.speed_boards.length, 'speed board')
    : '';
}

/**
 * A row's place, "file:line" as check writes it: a link that brings the
 * cursor to the route's metre `at`, where the row has one on the drawing.
 * @param {{file: string, line: number}} row
 * @param {number | undefined} at
 */
function placeElement(row, at) {
  if (at === undefined) return el('span', { class: 'place' }, placeText(row));
  const link = el('a', { class: 'place', href: '#', title: 'Show km ' + km(at) + ' on the drawing' }, placeText(row));
  link.addEventListener('click', (e) => { e.preventDefault(); moveCursorTo(at); });
  return link;
}

/**
 * One diagnostic: its line as check prints it, the text of its row, and
 * each other row its message names, each place a link to its metre.
 * @param {Diagnostic} x
 */
function diagnosticItem(x) {
  const li = el('li', { class: x.severity === 'warning' ? 'warning' : 'error' });
  const own = featureOfRow(page.features, x);
  const where = placeText(x);
  if (x.shown.startsWith(where + ': ')) {
    li.append(placeElement(x, x.position ?? own?.position_m), x.shown.slice(where.length));
  } else {
    li.append(x.shown);
  }
  if (x.text !== undefined) li.appendChild(el('code', {}, x.text));
  if (x.related && x.related.length) {
    const list = el('ul', { class: 'related' });
    for (const r of x.related) {
      const feature = featureOfRow(page.features, r);
      const item = el('li', {});
      item.append(placeElement(r, feature?.position_m), ': ' + r.label);
      if (feature && feature.item.source) item.appendChild(el('code', {}, feature.item.source.text));
      list.appendChild(item);
    }
    li.appendChild(list);
  }
  return li;
}

/** @param {Scenario} d */
export function drawDiagnostics(d) {
  const list = byId('diagnostics');
  list.replaceChildren();
  if (d.diagnostics.length === 0) {
    list.appendChild(el('li', { class: 'none' }, 'No errors or warnings.'));
    return;
  }
  for (const x of d.diagnostics) list.appendChild(diagnosticItem(x));
}

/** @param {Scenario} d */
export function drawStations(d) {
  const list = byId('stations');
  list.replaceChildren();
  for (const s of d.stations) {
    const li = el('li', {});
    li.appendChild(document.createTextNode(s.name + ' '));
    li.appendChild(el('span', { class: 'km' }, 'km ' + km(s.position_m) + (s.scheduled ? ' · ' + s.scheduled : '')));
    li.addEventListener('click', () => moveCursorTo(s.position_m));
    list.appendChild(li);
  }
}

/**
 * The status in the corner and the banner over a drawing older than the documents.
 * @param {Scenario} d
 */
export function drawStatus(d) {
  const errors = d.diagnostics.filter((x) => x.severity !== 'warning').length;
  const warnings = d.diagnostics.length - errors;
  const status = byId('status');
  const banner = byId('stale-banner');
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

/**
 * The status when the page has lost the server.
 * @param {string} text
 */
export function showLost(text) {
  const status = byId('status');
  status.textContent = text;
  status.className = 'status lost';
}

/**
 * The tooltip of a feature beside the mouse: what it is and the row that made it.
 * @param {Feature} f
 * @param {MouseEvent} event
 */
export function showTooltip(f, event) {
  const tip = byId('tooltip');
  tip.replaceChildren();
  describe(f).forEach(([text, kind], n) => {
    const line = el('div', {}, text);
    if (n === 0) line.style.fontWeight = 'bold';
    if (kind) line.appendChild(el('span', { class: 'kind' }, ' · ' + kind));
    tip.appendChild(line);
  });
  const s = f.item.source;
  if (s) {
    tip.appendChild(el('div', {}, placeText(s)));
    tip.appendChild(el('code', {}, s.text));
  }
  tip.hidden = false;
  tip.style.left = Math.min(event.clientX + 14, window.innerWidth - tip.offsetWidth - 8) + 'px';
  tip.style.top = Math.min(event.clientY + 14, window.innerHeight - tip.offsetHeight - 8) + 'px';
}

export function hideTooltip() {
  byId('tooltip').hidden = true;
}
