// @ts-check
// Numbers and words as the page writes them, and the elements it builds.

const SVG = 'http://www.w3.org/2000/svg';

/**
 * The element of this id, which the page's HTML always has.
 * @param {string} id
 * @returns {HTMLElement}
 */
export function byId(id) {
  const e = document.getElementById(id);
  if (!e) throw new Error('the page has no #' + id);
  return e;
}

/**
 * A number with `digits` decimals; a dash for no number.
 * @param {number | null | undefined} value
 * @param {number} digits
 */
export const fixed = (value, digits) =>
  (value === null || value === undefined || Number.isNaN(value)) ? '–' : Number(value).toFixed(digits);

/** Kilometres to the metre, from metres. @param {number} m */
export const km = (m) => fixed(m / 1000, 3);

/**
 * "1 signal", "2 signals".
 * @param {number} n
 * @param {string} word
 */
export const counted = (n, word) => n + ' ' + word + (n === 1 ? '' : 's');

/**
 * An HTML element with attributes and text.
 * @template {keyof HTMLElementTagNameMap} K
 * @param {K} tag
 * @param {Record<string, string | number>} [attrs]
 * @param {string} [text]
 * @returns {HTMLElementTagNameMap[K]}
 */
export function el(tag, attrs, text) {
  const e = document.createElement(tag);
  for (const [k, v] of Object.entries(attrs || {})) e.setAttribute(k, String(v));
  if (text !== undefined) e.textContent = text;
  return e;
}

/**
 * An SVG element with attributes and text.
 * @template {keyof SVGElementTagNameMap} K
 * @param {K} tag
 * @param {Record<string, string | number>} [attrs]
 * @param {string} [text]
 * @returns {SVGElementTagNameMap[K]}
 */
export function svgEl(tag, attrs, text) {
  const e = /** @type {SVGElementTagNameMap[K]} */ (document.createElementNS(SVG, tag));
  for (const [k, v] of Object.entries(attrs || {})) e.setAttribute(k, String(v));
  if (text !== undefined) e.textContent = text;
  return e;
}

/**
 * The smallest step of 1, 2 or 5 times a power of ten that is at least `min`.
 * @param {number} min
 */
export function niceStep(min) {
  if (!(min > 0)) return 1;
  const p = Math.pow(10, Math.floor(Math.log10(min)));
  for (const f of [1, 2, 5, 10]) if (f * p >= min) return f * p;
  return 10 * p;
}

/**
 * A row's place as check writes it: "file:line", or the file alone for no one line.
 * @param {{file: string, line: number}} row
 */
export const placeText = (row) => row.file + (row.line > 0 ? ':' + row.line : '');

/**
 * Seconds after midnight as a clock time, "hh:mm:ss".
 * @param {number} s
 */
export function clock(s) {
  const t = Math.round(s);
  const two = (/** @type {number} */ n) => String(n).padStart(2, '0');
  return two(Math.floor(t / 3600)) + ':' + two(Math.floor(t / 60) % 60) + ':' + two(t % 60);
}
