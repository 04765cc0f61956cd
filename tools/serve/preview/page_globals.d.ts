// What the page's modules find in the window: the globals of the two
// libraries index.html loads as scripts (uPlot, whose types declare its
// global themselves, and svgPanZoom), and the page's state as the browser
// test reads it.
/// <reference types="uplot" />
/// <reference path="node_modules/svg-pan-zoom/dist/svg-pan-zoom.d.ts" />
import type { PageState } from './page_state.js';

declare global {
  interface Window { preview: PageState }
}
