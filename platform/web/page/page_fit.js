// The canvas's size and place on the page. The window keeps whole multiples
// of its size where it fits at least once; where it does not (a phone in
// portrait) it is scaled down to fit, by a whole number of the screen's own
// pixels per pixel of the window where it can (2 on a phone of 3 device
// pixels a CSS pixel), which keeps it crisp.
import { kWindow } from './page_table.js';

// Fits `canvas` into `stage` now and whenever the page changes size; returns
// the function that fits it again.
export function fitCanvas(canvas, stage) {
  const { width, height } = kWindow;
  function fit() {
    const fits = Math.min(stage.clientWidth / width, stage.clientHeight / height);
    const dpr = window.devicePixelRatio || 1;
    const device = Math.floor(fits * dpr);
    const k = fits >= 1 ? Math.floor(fits) : device >= 1 ? device / dpr : Math.max(fits, 0.1);
    canvas.style.width = width * k + 'px';
    canvas.style.height = height * k + 'px';
    canvas.style.left = Math.max(0, Math.floor((stage.clientWidth - width * k) / 2)) + 'px';
    canvas.style.top = Math.max(0, Math.floor((stage.clientHeight - height * k) / 2)) + 'px';
  }
  window.addEventListener('resize', fit);
  window.addEventListener('orientationchange', fit);
  if (window.ResizeObserver) new ResizeObserver(fit).observe(stage);
  fit();
  return fit;
}
