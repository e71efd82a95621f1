// The SRF viewer as the window has it: the device screen with the icon's cell
// redrawn heading by heading, from heading 0, the next one every timer tick.
// The window's timer ticks every 1000 ms; its keys work here with the canvas
// focused: Left and Right stop and step, Up and Down run 50 ms faster or
// slower (50 to 1000 ms), Escape stops.
import { rgbImageData } from './draw.js';

const START = 1000, FASTEST = 50, SLOWEST = 1000, STEP = 50, HEADINGS = 36;
const running = new WeakMap();

// `viewer` is the engine's drawing: the screen's R, G, B and each heading's
// cell over it.
export function showViewer(canvas, viewer) {
  running.get(canvas)?.();
  canvas.width = viewer.width;
  canvas.height = viewer.height;
  const g = canvas.getContext('2d');
  g.putImageData(rgbImageData(viewer.screen, viewer.width, viewer.height), 0, 0);
  const { cellSize, cellLeft, cellTop } = viewer;
  const cellBytes = cellSize * cellSize * 3;
  let heading = 0, interval = START, timer = null;
  const draw = () => g.putImageData(
    rgbImageData(viewer.cells.subarray(heading * cellBytes, (heading + 1) * cellBytes), cellSize, cellSize), cellLeft, cellTop);
  const step = (by) => { heading = (heading + by + HEADINGS) % HEADINGS; draw(); };
  const stop = () => { clearInterval(timer); timer = null; };
  const run = (ms) => { stop(); interval = ms; timer = setInterval(() => step(1), ms); };
  const keys = {
    Escape: stop,
    ArrowLeft: () => { stop(); step(-1); },
    ArrowRight: () => { stop(); step(1); },
    ArrowUp: () => run(Math.max(interval - STEP, FASTEST)),
    ArrowDown: () => run(Math.min(interval + STEP, SLOWEST)),
  };
  canvas.tabIndex = 0;
  canvas.onkeydown = (event) => {
    if (!keys[event.key]) return;
    event.preventDefault();
    keys[event.key]();
  };
  draw();
  run(START);
  running.set(canvas, stop);
}

export function hideViewer(canvas) {
  running.get(canvas)?.();
  canvas.hidden = true;
}
