# The files of the preview page, embedded into scenario_tool: the path it is
# served at, its kind (html, js or css) and the file, from tools/serve/preview.
# The page's modules import one another by these paths.
set(PREVIEW_ASSETS
  "/|html|index.html"
  "/assets/preview.js|js|preview.js"
  "/assets/charts.js|js|charts.js"
  "/assets/chart_overlays.js|js|chart_overlays.js"
  "/assets/run_chart.js|js|run_chart.js"
  "/assets/features.js|js|features.js"
  "/assets/formatting.js|js|formatting.js"
  "/assets/page_state.js|js|page_state.js"
  "/assets/panels.js|js|panels.js"
  "/assets/plan.js|js|plan.js"
  "/assets/readout.js|js|readout.js"
  "/assets/scenario_types.js|js|scenario_types.js"
  "/assets/updates.js|js|updates.js"
  "/assets/preview.css|css|preview.css"
  "/assets/uPlot.iife.min.js|js|node_modules/uplot/dist/uPlot.iife.min.js"
  "/assets/uPlot.min.css|css|node_modules/uplot/dist/uPlot.min.css"
  "/assets/svg-pan-zoom.min.js|js|node_modules/svg-pan-zoom/dist/svg-pan-zoom.min.js"
)
