# The files of the preview page, embedded into scenario_tool: the path it is
# served at, its kind (html, js or css) and the file, from tools/serve/preview.
set(PREVIEW_ASSETS
  "/|html|index.html"
  "/assets/preview.js|js|preview.js"
  "/assets/preview.css|css|preview.css"
  "/assets/uPlot.iife.min.js|js|node_modules/uplot/dist/uPlot.iife.min.js"
  "/assets/uPlot.min.css|css|node_modules/uplot/dist/uPlot.min.css"
  "/assets/svg-pan-zoom.min.js|js|node_modules/svg-pan-zoom/dist/svg-pan-zoom.min.js"
)
