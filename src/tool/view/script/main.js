// The route view: reads the embedded data and draws the plan and the views along the route on one
// distance axis, with hover details, zoom and pan, station search, the diagnostics and the
// fastest run. Every text from the data goes to the page through textContent or canvas text,
// never as markup.
import { data, CELL, cellCount, routeLength } from "./data.js";
import { view, LEFT, RIGHT, measureTrack, plotWidth, xOf, metreAt, onFrame, schedule, setRange, zoomAt } from "./axis.js";
import { drawn } from "./canvas.js";
import { stations, objects, plan } from "./decode.js";
import { rows, drawTrack, rowAt, objectNear, objectTooltip } from "./track.js";
import { drawPlan, planMetreAt, planPoint } from "./plan.js";
import { showDetails, fillPanel } from "./panel.js";
import { runText } from "./chart.js";
import { km } from "./format.js";

const planCanvas = document.getElementById("plan");
const trackCanvas = document.getElementById("track");
const tooltip = document.getElementById("tooltip");

const api = {
  view, stations, objects, rows, firstPaint: null,
  get drawnLabels() { return drawn.labels; },
  get offPlotArrows() { return drawn.offPlotArrows; },
  get planLabels() { return drawn.planLabels; },
};
window.routeView = api;

function draw() {
  measureTrack(trackCanvas.clientWidth);
  drawn.labels = [];
  drawTrack(trackCanvas);
  drawPlan(planCanvas);
  if (api.firstPaint === null) {
    api.firstPaint = performance.now();
    document.body.dataset.firstPaint = String(api.firstPaint);
  }
}
onFrame(draw);

function showTooltip(text, clientX, clientY) {
  tooltip.textContent = text;
  tooltip.hidden = false;
  tooltip.style.left = Math.min(clientX + 14, window.innerWidth - 370) + "px";
  tooltip.style.top = (clientY + 16) + "px";
}

// Over an object its tooltip; over the speed or time rows the fastest run there.
function hoverAt(clientX, clientY) {
  const box = trackCanvas.getBoundingClientRect();
  const x = clientX - box.left, y = clientY - box.top;
  if (x < LEFT || x > box.width - RIGHT) { leave(); return; }
  view.hover = Math.max(0, Math.min(routeLength, metreAt(x)));
  const row = rowAt(y);
  const o = row ? objectNear(row, x) : null;
  view.hoverObject = o;
  const run = row && (row.id === "speed" || row.id === "time") ? runText(view.hover) : null;
  if (o) showTooltip(objectTooltip(row, o), clientX, clientY);
  else if (run) showTooltip(run, clientX, clientY);
  else tooltip.hidden = true;
  const cell = o && o.cell !== undefined ? o.cell : Math.min(cellCount - 1, Math.floor(view.hover / CELL));
  const onObject = o !== null && o.cell !== undefined;
  showDetails(onObject ? o.pos : view.hover, cell, onObject);
  schedule();
}

function leave() {
  view.hover = null;
  view.hoverObject = null;
  tooltip.hidden = true;
  schedule();
}

// ---- Zoom and pan -------------------------------------------------------------------------
let drag = null;
trackCanvas.addEventListener("mousemove", (ev) => {
  if (drag) {
    const dx = ev.clientX - drag.x;
    const span = view.to - view.from;
    setRange(drag.from - dx / plotWidth() * span, drag.from - dx / plotWidth() * span + span);
    return;
  }
  hoverAt(ev.clientX, ev.clientY);
});
trackCanvas.addEventListener("mouseleave", () => { drag = null; trackCanvas.classList.remove("dragging"); leave(); });
trackCanvas.addEventListener("mousedown", (ev) => {
  drag = { x: ev.clientX, from: view.from };
  trackCanvas.classList.add("dragging");
  tooltip.hidden = true;
});
// Dropped when new data is drawn in place of this.
const windowListeners = new AbortController();
window.addEventListener("mouseup", () => { drag = null; trackCanvas.classList.remove("dragging"); },
  { signal: windowListeners.signal });

trackCanvas.addEventListener("wheel", (ev) => {
  ev.preventDefault();
  const box = trackCanvas.getBoundingClientRect();
  const m = Math.max(view.from, Math.min(view.to, metreAt(ev.clientX - box.left)));
  zoomAt(m, Math.pow(1.0015, ev.deltaY));
}, { passive: false });
planCanvas.addEventListener("wheel", (ev) => {
  ev.preventDefault();
  zoomAt(view.hover !== null ? view.hover : (view.from + view.to) / 2, Math.pow(1.0015, ev.deltaY));
}, { passive: false });

planCanvas.addEventListener("mousemove", (ev) => {
  const box = planCanvas.getBoundingClientRect();
  const m = planMetreAt(ev.clientX - box.left, ev.clientY - box.top);
  if (m === null) { leave(); return; }
  view.hover = m;
  view.hoverObject = null;
  const near = stations.find((s) => Math.abs(s.pos - m) <= 2 * plan.step);
  showTooltip(near ? near.name + "\n" + km(m) : km(m), ev.clientX, ev.clientY);
  showDetails(m, Math.min(cellCount - 1, Math.floor(m / CELL)), false);
  schedule();
});
planCanvas.addEventListener("mouseleave", leave);

document.getElementById("whole").addEventListener("click", () => setRange(0, routeLength));

fillPanel();
document.getElementById("title").textContent = data.title;
document.title = data.title + " — route view";
api.setRange = setRange;
api.hoverAt = hoverAt;
api.xOf = xOf;
api.planPoint = planPoint;
window.addEventListener("resize", schedule, { signal: windowListeners.signal });

// New data drawn in place of this: the elements that listen to this drawing are replaced by bare
// copies, the lists emptied, and the same stretch, hover, search and scroll shown again.
const scrolled = ["side", "diagnostic-list", "station-list"];
api.replaceData = (next) => {
  window.routeViewKept = {
    from: view.from, to: view.to, hover: view.hover,
    scroll: scrolled.map((id) => document.getElementById(id).scrollTop),
  };
  windowListeners.abort();
  for (const id of ["plan", "track", "whole", "search"]) {
    const old = document.getElementById(id);
    const copy = old.cloneNode(true);
    if (id === "search") copy.value = old.value;
    old.replaceWith(copy);
  }
  for (const id of ["station-names", "station-list", "diagnostic-list", "details-body", "section-table"])
    document.getElementById(id).replaceChildren();
  document.getElementById("timing").hidden = true;
  window.routeViewNext = next;
  startRouteView();
};

const kept = window.routeViewKept;
if (!kept) {
  setRange(0, routeLength);
} else {
  view.hover = kept.hover === null ? null : Math.min(kept.hover, routeLength);
  if (view.hover !== null) showDetails(view.hover, Math.min(cellCount - 1, Math.floor(view.hover / CELL)), false);
  setRange(kept.from, kept.to);
  scrolled.forEach((id, i) => { document.getElementById(id).scrollTop = kept.scroll[i]; });
  draw();
}
