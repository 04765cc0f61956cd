// @ts-check
// What the profile charts show over their own values: the slow-downs and
// montagna stretches the compile pass placed, as bands, and the fastest
// run's speed over the speed limit. Each reads the scenario drawn last, so
// a redraw of the chart brings an update's new run.
import { page } from './page_state.js';

/** @typedef {import('uplot').Plugin} Plugin */

/** The stretches' colours, as the plan draws them too (preview.css). */
export const stretchColours = {
  slowDown: 'rgba(234, 88, 12, 0.16)',
  slowDownEdge: '#ea580c',
  montagna: 'rgba(120, 113, 108, 0.55)',
};
/** The fastest run's line, on the speed chart and the time–distance graph. */
export const runStroke = '#0891b2';

/**
 * Slow-downs as shaded bands the plot's height, montagna stretches as a
 * strip along the plot's foot.
 * @returns {Plugin}
 */
export function stretchBands() {
  return {
    hooks: {
      drawClear: [(u) => {
        const d = page.data;
        if (!d) return;
        const ctx = u.ctx;
        const { top, height, left, width } = u.bbox;
        /** @param {number} m */
        const x = (m) => Math.min(Math.max(u.valToPos(m / 1000, 'x', true), left), left + width);
        ctx.save();
        ctx.fillStyle = stretchColours.slowDown;
        for (const s of d.slow_downs) ctx.fillRect(x(s.start_m), top, x(s.end_m) - x(s.start_m), height);
        ctx.fillStyle = stretchColours.montagna;
        const strip = 4 * devicePixelRatio;
        for (const s of d.montagna) ctx.fillRect(x(s.start_m), top + height - strip, x(s.end_m) - x(s.start_m), strip);
        ctx.restore();
      }],
    },
  };
}

/**
 * The fastest run's speed (km/h) as a line over the speed limit, and each
 * slow-down's speed as a line across its band.
 * @returns {Plugin}
 */
export function runSpeedLine() {
  return {
    hooks: {
      draw: [(u) => {
        const d = page.data;
        if (!d) return;
        const ctx = u.ctx;
        const dpr = devicePixelRatio;
        const { top, height, left, width } = u.bbox;
        ctx.save();
        ctx.beginPath();
        ctx.rect(left, top, width, height);
        ctx.clip();
        ctx.strokeStyle = stretchColours.slowDownEdge;
        ctx.lineWidth = 1.5 * dpr;
        ctx.setLineDash([4 * dpr, 3 * dpr]);
        for (const s of d.slow_downs) {
          const y = u.valToPos(s.speed_kmh || 0, 'y', true);
          ctx.beginPath();
          ctx.moveTo(u.valToPos(s.start_m / 1000, 'x', true), y);
          ctx.lineTo(u.valToPos(s.end_m / 1000, 'x', true), y);
          ctx.stroke();
        }
        ctx.setLineDash([]);
        if (d.run) {
          ctx.strokeStyle = runStroke;
          ctx.lineWidth = 1.3 * dpr;
          ctx.beginPath();
          d.run.samples.forEach(([m, , v], i) => {
            const px = u.valToPos(m / 1000, 'x', true), py = u.valToPos(v, 'y', true);
            if (i === 0) ctx.moveTo(px, py); else ctx.lineTo(px, py);
          });
          ctx.stroke();
        }
        ctx.restore();
      }],
    },
  };
}
