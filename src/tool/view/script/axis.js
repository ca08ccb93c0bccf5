// The one distance axis every view shares: the visible stretch, metres to pixels and back, and
// the frame that redraws the page when the stretch changes.
import { routeLength } from "./data.js";
import { km } from "./format.js";

export const view = { from: 0, to: routeLength, hover: null, hoverObject: null };
export const MIN_SPAN = 200;
export const LEFT = 112, RIGHT = 14;

// Reading the canvas's width makes the browser lay the page out: read it once per frame.
let trackWidth = 0;
export function measureTrack(width) { trackWidth = width; }
export function plotWidth() { return trackWidth - LEFT - RIGHT; }
export function xOf(m) { return LEFT + (m - view.from) / (view.to - view.from) * plotWidth(); }
export function metreAt(x) { return view.from + (x - LEFT) / plotWidth() * (view.to - view.from); }
export function visible(pos, margin) { return pos >= view.from - margin && pos <= view.to + margin; }

let drawFrame = null;
let pending = false;
export function onFrame(draw) { drawFrame = draw; }
export function schedule() {
  if (pending) return;
  pending = true;
  requestAnimationFrame(() => { pending = false; drawFrame(); });
}

export function setRange(from, to) {
  const span = Math.max(MIN_SPAN, Math.min(to - from, routeLength));
  from = Math.max(0, Math.min(from, routeLength - span));
  view.from = from;
  view.to = from + span;
  document.getElementById("range").textContent = km(Math.round(view.from)) + " – " + km(Math.round(view.to));
  schedule();
}

export function centreOn(m, span) { setRange(m - span / 2, m + span / 2); }

export function zoomAt(m, factor) {
  const span = Math.min(routeLength, Math.max(MIN_SPAN, (view.to - view.from) * factor));
  const t = (m - view.from) / (view.to - view.from);
  setRange(m - t * span, m - t * span + span);
}

// A round step between ticks that gives about `count` of them over `span`.
export function tickStep(span, count) {
  const raw = span / count;
  const p = Math.pow(10, Math.floor(Math.log10(raw)));
  for (const f of [1, 2, 5, 10]) if (raw <= f * p) return f * p;
  return 10 * p;
}
