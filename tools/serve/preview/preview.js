// @ts-check
// The live preview page of scenario_tool serve: the plan and the profile of
// the compiled route, the diagnostics, and a cursor shared by all of them.
// This module wires the page's events to the modules that draw it.
import { resizeCharts } from './charts.js';
import { byId } from './formatting.js';
import { page } from './page_state.js';
import { hideTooltip, showTooltip } from './panels.js';
import { mendPlan, planBoxEmpty, planZoomLost, rescaleMarkers } from './plan.js';
import { showReadout } from './readout.js';
import { followServer } from './updates.js';

window.preview = page;

// On the plan's box: the plan's own element may be replaced.
const planBox = byId('plan-box');
planBox.addEventListener('mousemove', (e) => {
  const hit = e.target instanceof Element ? e.target.closest('[data-feature]') : null;
  if (!(hit instanceof SVGElement)) { hideTooltip(); return; }
  const f = page.features[Number(hit.dataset.feature)];
  showTooltip(f, e);
  showReadout(f.position_m);
});
planBox.addEventListener('mouseleave', hideTooltip);

window.addEventListener('resize', () => {
  resizeCharts();
  if (planBoxEmpty() || mendPlan() || !page.panZoom) return;
  page.panZoom.resize(); page.panZoom.fit(); page.panZoom.center(); rescaleMarkers();
});
// A plan that lost its zoom takes no pan or zoom, on which svg-pan-zoom
// would fail; a double-click draws it anew.
for (const name of ['mousedown', 'touchstart', 'wheel'])
  planBox.addEventListener(name, (e) => { if (planZoomLost()) e.stopPropagation(); }, { capture: true, passive: true });
planBox.addEventListener('dblclick', mendPlan, true);

followServer();
