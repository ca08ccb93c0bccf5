// The rows along the route under the plan: stations, objects, tunnels, curves, the profiles and
// the fastest run, each drawn over the shared distance axis, and what lies under the pointer.
import { CELL, cellCount, routeCells } from "./data.js";
import { view, LEFT, RIGHT, xOf, plotWidth, visible, tickStep } from "./axis.js";
import { prepare, labelPlacer, clampLabel, marker, categoryRank, drawn } from "./canvas.js";
import { stations, objects, tunnels, curves, diagnostics, elevation, profileValue, objectLabel, curveText } from "./decode.js";
import { km, kmNumber, stationTimes, diagnosticText } from "./format.js";
import { runs, topRunSpeed } from "./run.js";
import { drawRunSpeeds, drawTimeChart } from "./chart.js";

// A gradient this steep (‰) or steeper gets the row's strongest colour.
const STEEPEST_COLOUR = 25;

export const rows = layoutRows();

function layoutRows() {
  const list = [];
  let y = 6;
  const add = (id, label, height) => { list.push({ id, label, top: y, height }); y += height + 4; };
  if (diagnostics.some((d) => d.position !== null)) add("diagnostics", "diagnostics", 16);
  add("stations", "stations", 46);
  add("signal", "signals", 22);
  add("slow", "slow orders", 16);
  add("board", "speed boards", 16);
  add("sign", "signs", 22);
  add("cut", "speed cuts", 16);
  add("tunnel", "tunnels", 14);
  add("curve", "curves", 18);
  add("gradient", "gradient ‰", 18);
  add("elevation", "elevation m", 110);
  add("speed", "speed km/h", 90);
  if (runs.length > 0) add("time", "time", 130);
  add("axis", "", 22);
  const byId = {};
  for (const r of list) byId[r.id] = r;
  byId.total = y;
  byId.list = list;
  return byId;
}

export function drawTrack(canvas) {
  const { g, w } = prepare(canvas, rows.total);
  const right = w - RIGHT;
  g.save();
  for (const r of rows.list) {
    g.fillStyle = "#555";
    g.textAlign = "right";
    if (r.label) g.fillText(r.label, LEFT - 8, r.top + r.height / 2);
    if (r.id !== "axis") { g.fillStyle = "#f6f6f6"; g.fillRect(LEFT, r.top, right - LEFT, r.height); }
  }
  g.beginPath();
  g.rect(LEFT, 0, right - LEFT, rows.total);
  g.clip();
  drawGrid(g);
  if (rows.diagnostics) drawDiagnosticMarks(g);
  drawStations(g);
  drawObjectRow(g, "signal", "#d62728", true);
  drawObjectRow(g, "slow", "#ff7f0e", false);
  drawObjectRow(g, "board", "#8c564b", false);
  drawObjectRow(g, "sign", "#17becf", true);
  drawObjectRow(g, "cut", "#9467bd", false);
  drawTunnels(g);
  drawCurves(g);
  drawGradient(g);
  const [first, last] = cellRange();
  const height = (i) => elevation[i];
  drawLine(g, rows.elevation, height, elevation.length, "#2e7d32", false, localExtent(height, first, Math.min(last, elevation.length - 1), 10));
  const limit = (i) => profileValue("speedLimit", i);
  const speedY = drawLine(g, rows.speed, limit, routeCells, "#6a3d9a", true, speedExtent(limit));
  if (speedY) drawRunSpeeds(g, speedY);
  if (rows.time) drawTimeChart(g, rows.time);
  drawCrosshair(g);
  g.restore();
  drawAxis(g, right);
}

function drawGrid(g) {
  const step = tickStep(view.to - view.from, Math.max(2, plotWidth() / 110));
  g.strokeStyle = "#e6e6e6";
  g.lineWidth = 1;
  g.beginPath();
  for (let m = Math.ceil(view.from / step) * step; m <= view.to; m += step) {
    const x = Math.round(xOf(m)) + 0.5;
    g.moveTo(x, 0); g.lineTo(x, rows.axis.top);
  }
  g.stroke();
}

function drawAxis(g, right) {
  const r = rows.axis;
  const step = tickStep(view.to - view.from, Math.max(2, plotWidth() / 110));
  g.fillStyle = "#333";
  g.textAlign = "center";
  g.strokeStyle = "#999";
  g.beginPath();
  g.moveTo(LEFT, r.top + 0.5); g.lineTo(right, r.top + 0.5);
  for (let m = Math.ceil(view.from / step) * step; m <= view.to; m += step) {
    const x = xOf(m);
    g.moveTo(Math.round(x) + 0.5, r.top); g.lineTo(Math.round(x) + 0.5, r.top + 4);
    const digits = step >= 1000 ? 0 : (step >= 100 ? 1 : 2);
    const text = (m / 1000).toFixed(digits);
    g.fillText(text, Math.max(x, LEFT + g.measureText(text).width / 2 + 2), r.top + 13);
  }
  g.stroke();
  g.textAlign = "right";
  g.fillText("km", LEFT - 8, r.top + 13);
}

function drawStations(g) {
  const r = rows.stations;
  const place = labelPlacer();
  const seen = stations.filter((s) => visible(s.pos, 2000));
  // Only a station inside the stretch gets a label; the nearest one beyond each end gets an
  // arrow pointing off the plot, so that no name stands where its station is not.
  const inside = seen.filter((s) => visible(s.pos, 0));
  const order = inside.slice().sort((a, b) => categoryRank[a.category] - categoryRank[b.category] || a.pos - b.pos);
  for (const s of seen) {
    const x = xOf(s.pos);
    if (s.platformEnd > s.platformStart) {
      g.fillStyle = "rgba(31,95,191,0.12)";
      const x0 = xOf(s.platformStart), x1 = xOf(s.platformEnd);
      g.fillRect(x0, r.top + 24, Math.max(1, x1 - x0), r.height - 24);
    }
    marker(g, x, r.top + 35, s.category);
  }
  g.textAlign = "center";
  g.fillStyle = "#111";
  for (const s of order) {
    const width = g.measureText(s.name).width;
    const x = clampLabel(xOf(s.pos), width);
    for (const y of [r.top + 8, r.top + 19]) {
      if (!place(x - width / 2 - 3, x + width / 2 + 3, y - 6, y + 6)) continue;
      g.fillText(s.name, x, y);
      drawn.labels.push(s.name);
      break;
    }
  }
  drawOffPlotArrows(g, r, place);
}

// "◀ NAME 2.300 km" at the left end and "NAME 4.100 km ▶" at the right: the nearest station
// beyond each end of the stretch and how far it lies, in grey, with no marker.
function drawOffPlotArrows(g, r, place) {
  let before = null, after = null;
  for (const s of stations) {
    if (s.pos < view.from && (!before || s.pos > before.pos)) before = s;
    if (s.pos > view.to && (!after || s.pos < after.pos)) after = s;
  }
  g.save();
  g.font = "italic 11px 'DejaVu Sans', Arial, sans-serif";
  g.fillStyle = "#777";
  drawn.offPlotArrows = [];
  for (const [s, side] of [[before, -1], [after, 1]]) {
    if (!s) continue;
    const distance = km(Math.round(Math.abs(s.pos - (side < 0 ? view.from : view.to))));
    const text = side < 0 ? "◀ " + s.name + " " + distance : s.name + " " + distance + " ▶";
    const width = g.measureText(text).width;
    const x0 = side < 0 ? LEFT + 2 : LEFT + plotWidth() - 2 - width;
    const y = [r.top + 8, r.top + 19].find((top) => place(x0 - 2, x0 + width + 2, top - 6, top + 6));
    if (y === undefined) continue;
    g.textAlign = "left";
    g.fillText(text, x0, y);
    drawn.offPlotArrows.push(text);
  }
  g.restore();
}

function drawObjectRow(g, id, colour, labelled) {
  const r = rows[id];
  const list = objects[id] || [];
  const place = labelPlacer();
  g.fillStyle = colour;
  let lastColumn = null;
  for (const o of list) {
    if (!visible(o.pos, 50)) continue;
    const x = Math.round(xOf(o.pos));
    if (x === lastColumn) continue;
    lastColumn = x;
    g.fillRect(x - 1, r.top + (labelled ? 12 : 3), 3, labelled ? 9 : r.height - 6);
  }
  if (!labelled) return;
  g.textAlign = "center";
  g.fillStyle = "#333";
  let lastRight = -Infinity;
  for (const o of list) {
    if (!visible(o.pos, 0) || xOf(o.pos) < lastRight) continue;
    const label = objectLabel(o);
    const text = label !== null ? label : kmNumber(o.pos);
    const width = g.measureText(text).width;
    const x = clampLabel(xOf(o.pos), width);
    if (!place(x - width / 2 - 2, x + width / 2 + 2, 0, 1)) continue;
    g.fillText(text, x, r.top + 6);
    lastRight = x + width / 2 + 2;
  }
}

function drawTunnels(g) {
  const r = rows.tunnel;
  g.fillStyle = "#a0522d";
  for (const t of tunnels) {
    if (t.to < view.from || t.pos > view.to) continue;
    const x0 = xOf(t.pos), x1 = xOf(t.to);
    g.fillRect(x0, r.top + 2, Math.max(2, x1 - x0), r.height - 4);
  }
}

function drawCurves(g) {
  const r = rows.curve;
  const mid = r.top + r.height / 2;
  g.fillStyle = "#999";
  g.fillRect(LEFT, mid, plotWidth(), 1);
  const drawnColumn = { 1: -1, "-1": -1 };
  for (const { pos: from, to, side, cls } of curves) {
    if (to < view.from || from > view.to) continue;
    const x0 = xOf(from), x1 = xOf(to);
    if (x1 - x0 < 1 && Math.floor(x0) === drawnColumn[side]) continue;
    drawnColumn[side] = Math.floor(x1);
    const h = 2 + cls * 1.2;
    g.fillStyle = side > 0 ? "#c2185b" : "#00897b";
    g.fillRect(x0, side > 0 ? mid - h : mid + 1, Math.max(1, x1 - x0), h);
  }
}

function gradientColour(p) {
  const a = Math.min(1, Math.abs(p) / STEEPEST_COLOUR);
  if (p > 0) return "rgba(198,40,40," + (0.15 + 0.85 * a) + ")";
  if (p < 0) return "rgba(21,101,192," + (0.15 + 0.85 * a) + ")";
  return "#e0e0e0";
}

function cellRange() {
  const first = Math.max(0, Math.floor(view.from / CELL) - 1);
  const last = Math.min(cellCount - 1, Math.ceil(view.to / CELL) + 1);
  return [first, last];
}

// Consecutive cells that fall in one pixel column, as [first cell, last cell, x0, x1].
function pixelGroups(first, last, visit) {
  let start = first, column = Math.floor(xOf(first * CELL));
  for (let i = first + 1; i <= last + 1; i++) {
    const c = i <= last ? Math.floor(xOf(i * CELL)) : NaN;
    if (c === column) continue;
    visit(start, i - 1, xOf(start * CELL), xOf(i * CELL));
    start = i;
    column = c;
  }
}

const colourCache = new Map();
function drawGradient(g) {
  const r = rows.gradient;
  const [first, last] = cellRange();
  const end = Math.min(last, routeCells - 1);
  let runColour = null, runFrom = 0, runTo = 0;
  const flush = () => { if (runColour) { g.fillStyle = runColour; g.fillRect(runFrom, r.top + 2, Math.max(1, runTo - runFrom + 0.5), r.height - 4); } };
  pixelGroups(first, end, (a, b, x0, x1) => {
    let sum = 0;
    for (let i = a; i <= b; i++) sum += profileValue("gradient", i);
    const p = Math.round(sum / (b - a + 1));
    let colour = colourCache.get(p);
    if (!colour) { colour = gradientColour(p); colourCache.set(p, colour); }
    if (colour === runColour && x0 <= runTo + 0.5) { runTo = x1; return; }
    flush();
    runColour = colour; runFrom = x0; runTo = x1;
  });
  flush();
}

// The speed row's scale, the same at every zoom: from the lowest limit (from standstill where the
// run is drawn) to the highest limit or run speed.
let speedScale = null;
function speedExtent(valueAt) {
  if (speedScale) return speedScale;
  let lo = runs.length > 0 ? 0 : Infinity, hi = topRunSpeed;
  for (let i = 0; i < routeCells; i++) { const v = valueAt(i); if (v < lo) lo = v; if (v > hi) hi = v; }
  if (hi - lo < 1) { hi += 1; lo -= 1; }
  speedScale = [lo, hi];
  return speedScale;
}

// The visible values' extent, at least `least` apart, so that a zoomed profile shows its shape.
function localExtent(valueAt, first, last, least) {
  let lo = Infinity, hi = -Infinity;
  for (let i = first; i <= last; i++) { const v = valueAt(i); if (v < lo) lo = v; if (v > hi) hi = v; }
  if (hi - lo < least) { const mid = (lo + hi) / 2; lo = mid - least / 2; hi = mid + least / 2; }
  return [lo, hi];
}

// A profile as a line over [lo, hi], each pixel column showing the least and the greatest value
// in it; `steps` draws each cell's value flat across the cell. Returns the row's scale.
function drawLine(g, r, valueAt, count, colour, steps, [lo, hi]) {
  if (count < 1) return null;
  const [first, lastCell] = cellRange();
  const last = Math.min(lastCell, count - 1);
  const y = (v) => r.top + r.height - 4 - (v - lo) / (hi - lo) * (r.height - 14);
  g.strokeStyle = colour;
  g.lineWidth = 1.5;
  g.beginPath();
  let started = false;
  pixelGroups(first, last, (a, b, x0, x1) => {
    let min = Infinity, max = -Infinity;
    for (let i = a; i <= b; i++) { const v = valueAt(i); if (v < min) min = v; if (v > max) max = v; }
    const v0 = valueAt(a);
    if (!started) { g.moveTo(x0, y(v0)); started = true; } else g.lineTo(x0, y(v0));
    if (a !== b) { g.lineTo(x0, y(min)); g.lineTo(x0, y(max)); g.lineTo(x0, y(valueAt(b))); }
    if (steps) g.lineTo(x1, y(valueAt(b)));
  });
  g.stroke();
  g.fillStyle = "#777";
  g.textAlign = "left";
  g.fillText(String(Math.round(hi)), LEFT + 3, r.top + 8);
  g.fillText(String(Math.round(lo)), LEFT + 3, r.top + r.height - 8);
  return y;
}

function drawDiagnosticMarks(g) {
  const r = rows.diagnostics;
  for (const d of diagnostics) {
    if (d.position === null || !visible(d.position, 50)) continue;
    g.fillStyle = d.severity === "error" ? "#c62828" : "#b26a00";
    const x = xOf(d.position);
    g.beginPath();
    g.moveTo(x, r.top + r.height - 2); g.lineTo(x - 6, r.top + 2); g.lineTo(x + 6, r.top + 2);
    g.fill();
  }
}

function drawCrosshair(g) {
  if (view.hover === null) return;
  const x = Math.round(xOf(view.hover)) + 0.5;
  g.strokeStyle = "rgba(0,0,0,0.55)";
  g.lineWidth = 1;
  g.beginPath();
  g.moveTo(x, 0); g.lineTo(x, rows.axis.top);
  g.stroke();
}

// ---- What lies under the pointer ----------------------------------------------------------
export function rowAt(y) {
  for (const r of rows.list) if (y >= r.top - 2 && y <= r.top + r.height + 2) return r;
  return null;
}

export function objectNear(row, x) {
  let list = null;
  if (row.id === "stations") list = stations;
  else if (objects[row.id]) list = objects[row.id];
  else if (row.id === "tunnel") list = tunnels;
  else if (row.id === "curve") list = curves;
  else if (row.id === "diagnostics") list = diagnostics.filter((d) => d.position !== null).map((d) => ({ pos: d.position, diagnostic: d }));
  if (!list) return null;
  let best = null, bestDistance = 7;
  for (const o of list) {
    let d = Math.abs(xOf(o.pos) - x);
    if (o.to !== undefined && x >= xOf(o.pos) && x <= xOf(o.to)) d = 0;
    if (d < bestDistance) { best = o; bestDistance = d; }
  }
  return best;
}

export function objectTooltip(row, o) {
  if (row.id === "stations") return o.name + "\n" + km(o.pos) + ", kind " + o.stationKind + "\n" + stationTimes(o);
  if (row.id === "tunnel") return "tunnel " + km(o.pos) + " – " + km(o.to) + ", tunnelKind " + o.type;
  if (row.id === "diagnostics") return diagnosticText(o.diagnostic);
  if (row.id === "curve") return curveText(o);
  return o.text;
}
