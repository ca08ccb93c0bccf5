// The route view: reads the embedded data and draws the plan and the views along the route on one
// distance axis, with hover details, zoom and pan, station search and the diagnostics.
// Every text from the data goes to the page through textContent or canvas text, never as markup.
"use strict";
// `kept`, when the data is swapped in place: the stretch, hovered place and scroll to keep.
function startRouteView(data, kept) {
  const CELL = data.cellLength;
  const fields = data.meanings.fields;
  const columns = {};
  fields.forEach((name, f) => { columns[name] = data.cells[f] || []; });
  const cellCount = columns.kind.length;
  const routeLength = Math.max(data.routeLength, CELL);

  // ---- Route features gathered once -------------------------------------------------------
  const plan = decodePlan(data.plan);
  const planLevels = buildPlanLevels(plan);
  const elevation = buildElevation();
  const stations = data.stations ? data.stations.map(stationOf) : [];
  const objects = gatherObjects();
  const tunnels = gatherTunnels();
  const origins = buildOrigins();
  const diagnostics = data.diagnostics || [];
  const curves = data.curves.map(([from, to, side, cls]) => ({ pos: from, to, side, cls }));

  function decodePlan(p) {
    const n = p.dx.length;
    const xs = new Float64Array(n), ys = new Float64Array(n), ms = new Float64Array(n);
    let x = 0, y = 0;
    for (let i = 0; i < n; i++) {
      x += p.dx[i]; y += p.dy[i];
      xs[i] = x / 10; ys[i] = y / 10;
      ms[i] = Math.min(i * p.step, p.metres);
    }
    return { xs, ys, ms, step: p.step };
  }

  // Levels of the plan, each keeping every fourth point of the one before.
  function buildPlanLevels(p) {
    const levels = [{ stride: 1, index: null }];
    for (let stride = 4; p.xs.length / stride > 500; stride *= 4) {
      const index = [];
      for (let i = 0; i < p.xs.length; i += stride) index.push(i);
      if (index[index.length - 1] !== p.xs.length - 1) index.push(p.xs.length - 1);
      levels.push({ stride, index: Int32Array.from(index) });
    }
    return levels;
  }

  // Elevation at each cell boundary, integrated from the gradients from 0 m at the start.
  function buildElevation() {
    const n = Math.min(cellCount, Math.ceil(routeLength / CELL));
    const e = new Float64Array(n + 1);
    for (let i = 0; i < n; i++) e[i + 1] = e[i] + (columns.gradient[i] - 100) * CELL / 1000;
    return e;
  }

  function stationOf(s) {
    return Object.assign({ pos: s.position }, s);
  }

  // "stop, arrives 14:25:30, departs 14:26:00": what the train does there and when.
  function stationTimes(s) {
    let text = s.category;
    if (s.arrival !== null) text += ", arrives " + clock(s.arrival);
    if (s.departure !== null) text += ", departs " + clock(s.departure);
    return text;
  }

  function kindName(kind) {
    const k = data.meanings.kinds[String(kind)];
    return k ? k.object : "unknown kind " + kind;
  }

  // Objects from the cells, each with its route position, cell and row. Boards, signals and signs
  // stand one cell after their position; speed-cut points in the cell of their position.
  function gatherObjects() {
    const rows = { signal: [], slow: [], board: [], sign: [], cut: [] };
    const rowOfKind = { 1: "signal", 2: "slow", 3: "slow", 4: "slow", 5: "slow", 6: "board", 14: "sign", 12: "cut", 13: "cut" };
    for (let i = 0; i < cellCount; i++) {
      const kind = columns.kind[i];
      const row = rowOfKind[kind];
      if (!row) continue;
      const pos = (kind === 12 || kind === 13) ? i * CELL : (i - 1) * CELL;
      rows[row].push({ pos, cell: i, kind, text: objectText(kind, i, pos) });
    }
    return rows;
  }

  function objectText(kind, i, pos) {
    const v1 = columns.value1[i];
    let text = kindName(kind) + " at " + km(pos) + " (cell " + i + ")";
    if (kind === 14) text += "\n" + (data.entryNames[String(v1)] || "");
    if (kind === 12) text += "\ncut speed " + v1 + " km/h";
    if (kind >= 2 && kind <= 4) text += "\nspeed " + v1 + " km/h";
    if (kind === 6) text += "\nboards " + [v1, columns.value2[i], columns.value3[i]].join(", ");
    return text;
  }

  function gatherTunnels() {
    const list = [];
    const n = Math.min(cellCount, Math.ceil(routeLength / CELL) + 1);
    for (let i = 0; i < n; i++) {
      const t = columns.tunnelKind[i];
      if (!t) continue;
      const last = list[list.length - 1];
      if (last && last.toCell === i - 1 && last.type === t) { last.toCell = i; last.to = (i + 1) * CELL; continue; }
      list.push({ fromCell: i, toCell: i, pos: i * CELL, to: (i + 1) * CELL, type: t });
    }
    return list;
  }

  // For each field, the record that wrote each cell's value (-1 for none).
  function buildOrigins() {
    if (!data.origins) return null;
    const byField = fields.map(() => new Int32Array(cellCount).fill(-1));
    for (const [f, from, to, record] of data.origins.runs) byField[f].fill(record, from, to + 1);
    return { byField, records: data.origins.records, files: data.origins.files };
  }

  // ---- Distance axis, view state ----------------------------------------------------------
  const view = { from: 0, to: routeLength, hover: null, hoverObject: null };
  const MIN_SPAN = 200;
  const planCanvas = document.getElementById("plan");
  const trackCanvas = document.getElementById("track");
  const tooltip = document.getElementById("tooltip");
  const LEFT = 112, RIGHT = 14;
  const rows = layoutRows();
  const api = { view, drawnLabels: [], stations, objects, firstPaint: null };
  window.routeView = api;

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
    add("axis", "", 22);
    const byId = {};
    for (const r of list) byId[r.id] = r;
    byId.total = y;
    byId.list = list;
    return byId;
  }

  // Every kilometre the page shows has this one form: "6.450 km".
  function kmNumber(m) { return (m / 1000).toFixed(3); }
  function km(m) { return kmNumber(m) + " km"; }

  // Reading the canvas's width makes the browser lay the page out: read it once per frame.
  let trackWidth = trackCanvas.clientWidth;
  function plotWidth() { return trackWidth - LEFT - RIGHT; }
  function xOf(m) { return LEFT + (m - view.from) / (view.to - view.from) * plotWidth(); }
  function metreAt(x) { return view.from + (x - LEFT) / plotWidth() * (view.to - view.from); }

  function setRange(from, to) {
    let span = Math.max(MIN_SPAN, Math.min(to - from, routeLength));
    from = Math.max(0, Math.min(from, routeLength - span));
    view.from = from;
    view.to = from + span;
    document.getElementById("range").textContent = km(Math.round(view.from)) + " – " + km(Math.round(view.to));
    schedule();
  }

  function centreOn(m, span) { setRange(m - span / 2, m + span / 2); }

  // ---- Drawing ----------------------------------------------------------------------------
  let pending = false;
  function schedule() {
    if (pending) return;
    pending = true;
    requestAnimationFrame(() => { pending = false; draw(); });
  }

  function prepare(canvas, cssHeight) {
    const ratio = window.devicePixelRatio || 1;
    const w = canvas.clientWidth;
    if (cssHeight) canvas.style.height = cssHeight + "px";
    const h = canvas.clientHeight;
    if (canvas.width !== Math.round(w * ratio) || canvas.height !== Math.round(h * ratio)) {
      canvas.width = Math.round(w * ratio);
      canvas.height = Math.round(h * ratio);
    }
    const g = canvas.getContext("2d");
    g.setTransform(ratio, 0, 0, ratio, 0, 0);
    g.clearRect(0, 0, w, h);
    g.font = "11px 'DejaVu Sans', Arial, sans-serif";
    g.textBaseline = "middle";
    return { g, w, h };
  }

  function draw() {
    trackWidth = trackCanvas.clientWidth;
    api.drawnLabels = [];
    drawTrack();
    drawPlan();
    if (api.firstPaint === null) {
      api.firstPaint = performance.now();
      document.body.dataset.firstPaint = String(api.firstPaint);
    }
  }

  // Places labels left to right by priority: a label is drawn only where it covers none before.
  function labelPlacer() {
    const taken = [];
    return function (x0, x1, y0, y1) {
      for (const t of taken) if (x0 < t[1] && x1 > t[0] && y0 < t[3] && y1 > t[2]) return false;
      taken.push([x0, x1, y0, y1]);
      return true;
    };
  }

  function visible(pos, margin) { return pos >= view.from - margin && pos <= view.to + margin; }

  function drawTrack() {
    const { g, w } = prepare(trackCanvas, rows.total);
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
    drawLine(g, rows.elevation, (i) => elevation[i], elevation.length, "#2e7d32", false, 10);
    drawLine(g, rows.speed, (i) => columns.speedLimit[i] * 5, Math.min(cellCount, Math.ceil(routeLength / CELL)), "#6a3d9a", true, 0);
    drawCrosshair(g);
    g.restore();
    drawAxis(g, right);
  }

  function tickStep(span, count) {
    const raw = span / count;
    const p = Math.pow(10, Math.floor(Math.log10(raw)));
    for (const f of [1, 2, 5, 10]) if (raw <= f * p) return f * p;
    return 10 * p;
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

  const stationColour = { start: "#0d3d8c", stop: "#1f5fbf", terminus: "#0d3d8c", pass: "#7aa6e0", "not open": "#b0b0b0" };
  const categoryRank = { start: 0, terminus: 0, stop: 0, pass: 1, "not open": 2 };

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
        api.drawnLabels.push(s.name);
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
    api.offPlotArrows = [];
    for (const [s, side] of [[before, -1], [after, 1]]) {
      if (!s) continue;
      const distance = km(Math.round(Math.abs(s.pos - (side < 0 ? view.from : view.to))));
      const text = side < 0 ? "◀ " + s.name + " " + distance : s.name + " " + distance + " ▶";
      const width = g.measureText(text).width;
      const x0 = side < 0 ? LEFT + 2 : LEFT + plotWidth() - 2 - width;
      const y = [r.top + 8, r.top + 19].find((y) => place(x0 - 2, x0 + width + 2, y - 6, y + 6));
      if (y === undefined) continue;
      g.textAlign = "left";
      g.fillText(text, x0, y);
      api.offPlotArrows.push(text);
    }
    g.restore();
  }

  // A label's centre, kept so that the label stays inside the plot.
  function clampLabel(x, width) {
    return Math.max(LEFT + width / 2 + 1, Math.min(LEFT + plotWidth() - width / 2 - 1, x));
  }

  function marker(g, x, y, category) {
    g.beginPath();
    g.arc(x, y, categoryRank[category] === 0 ? 5 : 4, 0, 2 * Math.PI);
    g.fillStyle = category === "not open" ? "#fff" : stationColour[category];
    g.strokeStyle = stationColour[category];
    g.lineWidth = category === "not open" ? 2 : 1;
    g.fill();
    g.stroke();
  }

  function drawObjectRow(g, id, colour, labelled) {
    const r = rows[id];
    const list = objects[id];
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
      const text = id === "sign" ? (data.entryNames[String(columns.value1[o.cell])] || "") : kmNumber(o.pos);
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
    for (const [from, to, side, cls] of data.curves) {
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
    const a = Math.min(1, Math.abs(p) / 25);
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
    const end = Math.min(last, Math.ceil(routeLength / CELL) - 1);
    let runColour = null, runFrom = 0, runTo = 0;
    const flush = () => { if (runColour) { g.fillStyle = runColour; g.fillRect(runFrom, r.top + 2, Math.max(1, runTo - runFrom + 0.5), r.height - 4); } };
    pixelGroups(first, end, (a, b, x0, x1) => {
      let sum = 0;
      for (let i = a; i <= b; i++) sum += columns.gradient[i] - 100;
      const p = Math.round(sum / (b - a + 1));
      let colour = colourCache.get(p);
      if (!colour) { colour = gradientColour(p); colourCache.set(p, colour); }
      if (colour === runColour && x0 <= runTo + 0.5) { runTo = x1; return; }
      flush();
      runColour = colour; runFrom = x0; runTo = x1;
    });
    flush();
  }

  const extents = {};
  function extentOf(key, valueAt, count) {
    if (extents[key]) return extents[key];
    let lo = Infinity, hi = -Infinity;
    for (let i = 0; i < count; i++) { const v = valueAt(i); if (v < lo) lo = v; if (v > hi) hi = v; }
    if (hi - lo < 1) { hi += 1; lo -= 1; }
    extents[key] = [lo, hi];
    return extents[key];
  }

  // The visible values' extent, at least `least` apart, so that a zoomed profile shows its shape.
  function localExtent(valueAt, first, last, least) {
    let lo = Infinity, hi = -Infinity;
    for (let i = first; i <= last; i++) { const v = valueAt(i); if (v < lo) lo = v; if (v > hi) hi = v; }
    if (hi - lo < least) { const mid = (lo + hi) / 2; lo = mid - least / 2; hi = mid + least / 2; }
    return [lo, hi];
  }

  // A profile as a line, each pixel column showing the least and the greatest value in it;
  // `steps` draws each cell's value flat across the cell; `local` scales it to the visible part.
  function drawLine(g, r, valueAt, count, colour, steps, local) {
    if (count < 1) return;
    const [first, lastCell] = cellRange();
    const last = Math.min(lastCell, count - 1);
    const [lo, hi] = local ? localExtent(valueAt, first, last, local) : extentOf(r.id, valueAt, count);
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

  // The plan point at a route metre, between the samples.
  function planAt(m) {
    const n = plan.xs.length;
    if (n === 0) return null;
    const i = Math.min(n - 1, Math.max(0, Math.floor(m / plan.step)));
    const j = Math.min(n - 1, i + 1);
    const span = plan.ms[j] - plan.ms[i];
    const t = span > 0 ? Math.min(1, Math.max(0, (m - plan.ms[i]) / span)) : 0;
    return [plan.xs[i] + (plan.xs[j] - plan.xs[i]) * t, plan.ys[i] + (plan.ys[j] - plan.ys[i]) * t];
  }

  // The plan level that gives at most about 2000 points for the visible stretch.
  function planLevelFor(first, last) {
    for (const level of planLevels) if ((last - first) / level.stride <= 2000) return level;
    return planLevels[planLevels.length - 1];
  }

  function forPlanPoints(level, first, last, visit) {
    if (level.stride === 1) { for (let i = first; i <= last; i++) visit(i); return; }
    const idx = level.index;
    let k = Math.max(0, Math.floor(first / level.stride));
    for (; k < idx.length && idx[k] <= last; k++) visit(idx[k]);
    if (idx[k - 1] !== last) visit(last);
  }

  let planShown = null;  // how the plan was last drawn, for hovering it

  // The route metre of the drawn plan point nearest to the pointer, if one is near.
  function planMetreAt(x, y) {
    if (!planShown) return null;
    const { at, level, first, last } = planShown;
    let best = null, bestDistance = 20 * 20;
    forPlanPoints(level, first, last, (i) => {
      const [X, Y] = at(plan.xs[i], plan.ys[i]);
      const d = (X - x) * (X - x) + (Y - y) * (Y - y);
      if (d < bestDistance) { bestDistance = d; best = plan.ms[i]; }
    });
    return best;
  }

  // The direction of the points' greatest spread, pointing from the first point to the last: the
  // stretch is turned so that it runs left to right and uses the panel's width.
  function turnFor(level, first, last) {
    let n = 0, mx = 0, my = 0;
    forPlanPoints(level, first, last, (i) => { n++; mx += plan.xs[i]; my += plan.ys[i]; });
    mx /= n; my /= n;
    let sxx = 0, syy = 0, sxy = 0;
    forPlanPoints(level, first, last, (i) => {
      const dx = plan.xs[i] - mx, dy = plan.ys[i] - my;
      sxx += dx * dx; syy += dy * dy; sxy += dx * dy;
    });
    let angle = 0.5 * Math.atan2(2 * sxy, sxx - syy);
    const along = (plan.xs[last] - plan.xs[first]) * Math.cos(angle) + (plan.ys[last] - plan.ys[first]) * Math.sin(angle);
    if (along < 0) angle += Math.PI;
    return angle;
  }

  // The turned extent of a stretch: [x0, x1, y0, y1].
  function turnedExtent(level, first, last, cos, sin) {
    let x0 = Infinity, x1 = -Infinity, y0 = Infinity, y1 = -Infinity;
    forPlanPoints(level, first, last, (i) => {
      const x = plan.xs[i] * cos + plan.ys[i] * sin, y = -plan.xs[i] * sin + plan.ys[i] * cos;
      if (x < x0) x0 = x; if (x > x1) x1 = x; if (y < y0) y0 = y; if (y > y1) y1 = y;
    });
    return [x0, x1, y0, y1];
  }

  const PLAN_PAD = 26;
  // The panel takes the height the whole route needs at its width, within bounds, once: a panel
  // that changed with the zoom would move the views under the pointer.
  let planHeight = null;
  function planPanelHeight(width) {
    const n = plan.xs.length;
    if (n < 2) return 120;
    const whole = planLevelFor(0, n - 1);
    const angle = turnFor(whole, 0, n - 1);
    const [x0, x1, y0, y1] = turnedExtent(whole, 0, n - 1, Math.cos(angle), Math.sin(angle));
    const most = Math.max(260, Math.min(560, window.innerHeight * 0.5));
    const wanted = (width - 2 * PLAN_PAD) * (y1 - y0) / Math.max(x1 - x0, 1) + 2 * PLAN_PAD;
    return Math.round(Math.max(200, Math.min(most, wanted)));
  }

  // Which parts of the panel the track covers, in squares of a few pixels, so that no name is
  // written over it.
  function trackCover(w, h) {
    const SIZE = 3;
    const columns = Math.ceil(w / SIZE) + 1, cells = new Uint8Array(columns * (Math.ceil(h / SIZE) + 1));
    let lastX = null, lastY = null;
    const mark = (x, y) => {
      if (x < 0 || y < 0 || x > w || y > h) return;
      cells[Math.floor(y / SIZE) * columns + Math.floor(x / SIZE)] = 1;
    };
    return {
      moveTo(x, y) { lastX = x; lastY = y; mark(x, y); },
      lineTo(x, y) {
        const steps = Math.ceil(Math.hypot(x - lastX, y - lastY) / 1.5);
        if (steps < 400) for (let k = 1; k <= steps; k++) mark(lastX + (x - lastX) * k / steps, lastY + (y - lastY) * k / steps);
        lastX = x; lastY = y;
      },
      covers(x0, x1, y0, y1) {
        if (x0 < 0 || y0 < 0 || x1 > w || y1 > h) return true;
        for (let y = Math.floor(y0 / SIZE); y <= Math.floor(y1 / SIZE); y++)
          for (let x = Math.floor(x0 / SIZE); x <= Math.floor(x1 / SIZE); x++) if (cells[y * columns + x]) return true;
        return false;
      },
    };
  }

  function drawPlan() {
    const width = planCanvas.clientWidth;
    if (planHeight === null || planHeight.width !== width) planHeight = { width, height: planPanelHeight(width) };
    const { g, w, h } = prepare(planCanvas, planHeight.height);
    const n = plan.xs.length;
    if (n < 2) {
      g.fillStyle = "#777"; g.textAlign = "center";
      g.fillText("no plan of the route", w / 2, h / 2);
      return;
    }
    const first = Math.max(0, Math.floor(view.from / plan.step));
    const last = Math.max(first, Math.min(n - 1, Math.ceil(view.to / plan.step)));
    const level = planLevelFor(first, last);
    const angle = turnFor(level, first, last);
    const cos = Math.cos(angle), sin = Math.sin(angle);
    const [x0, x1, y0, y1] = turnedExtent(level, first, last, cos, sin);
    const scale = Math.min((w - 2 * PLAN_PAD) / Math.max(x1 - x0, 1), (h - 2 * PLAN_PAD) / Math.max(y1 - y0, 1));
    const cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
    const at = (x, y) => [w / 2 + (x * cos + y * sin - cx) * scale, h / 2 - (-x * sin + y * cos - cy) * scale];
    planShown = { at, level, first, last };
    const cover = trackCover(w, h);
    const stroke = (lvl, a, b) => {
      g.beginPath();
      let started = false;
      forPlanPoints(lvl, a, b, (i) => {
        const [X, Y] = at(plan.xs[i], plan.ys[i]);
        if (started) { g.lineTo(X, Y); cover.lineTo(X, Y); } else { g.moveTo(X, Y); cover.moveTo(X, Y); started = true; }
      });
      g.stroke();
    };
    // The whole route faintly for context, the visible stretch on top; a long stretch thinner, so
    // that its loops stay apart.
    if (first > 0 || last < n - 1) {
      g.strokeStyle = "#d5d5d5"; g.lineWidth = 1.5;
      stroke(planLevelFor(0, n - 1), 0, n - 1);
    }
    g.strokeStyle = "#333"; g.lineWidth = view.to - view.from > 50000 ? 1.2 : 2.5;
    stroke(level, first, last);
    g.strokeStyle = "#a0522d"; g.lineWidth = 5; g.globalAlpha = 0.6;
    for (const t of tunnels) {
      if (t.to < view.from || t.pos > view.to) continue;
      const from = Math.max(t.pos, view.from), to = Math.min(t.to, view.to);
      g.beginPath();
      for (let m = from; m <= to; m += Math.max(10, (to - from) / 20)) {
        const [X, Y] = at(...planAt(m));
        if (m === from) g.moveTo(X, Y); else g.lineTo(X, Y);
      }
      g.stroke();
    }
    g.globalAlpha = 1;
    // The scale bar and the caption keep their corners free of names.
    const caption = "turned by " + Math.round(angle * 180 / Math.PI) + "° so that the stretch runs left to right";
    const bar = tickStep(100 / scale, 1) * scale;
    drawPlanStations(g, at, cover, [[w - bar - 18, w, h - 32, h], [0, g.measureText(caption).width + 12, h - 20, h]]);
    if (view.hover !== null) {
      const [X, Y] = at(...planAt(view.hover));
      g.beginPath();
      g.arc(X, Y, 6, 0, 2 * Math.PI);
      g.strokeStyle = "#e65100"; g.lineWidth = 2.5;
      g.stroke();
    }
    drawScaleBar(g, scale, w, h);
    g.fillStyle = "#777"; g.textAlign = "left";
    g.fillText(caption, 8, h - 12);
  }

  // The stations of the stretch, each named beside its mark where the name covers neither the
  // track nor another name or mark; the others keep their tooltip.
  function drawPlanStations(g, at, cover, reserved) {
    const place = labelPlacer();
    for (const box of reserved) place(...box);
    const inside = stations.filter((s) => visible(s.pos, 0));
    const marks = inside.map((s) => at(...planAt(s.pos)));
    marks.forEach(([X, Y]) => place(X - 5, X + 5, Y - 5, Y + 5));
    inside.forEach((s, k) => marker(g, marks[k][0], marks[k][1], s.category));
    const order = inside.map((s, k) => k).sort((a, b) => categoryRank[inside[a].category] - categoryRank[inside[b].category] || inside[a].pos - inside[b].pos);
    api.planLabels = [];
    g.fillStyle = "#111";
    g.textAlign = "left";
    for (const k of order) {
      const s = inside[k], [X, Y] = marks[k];
      const width = g.measureText(s.name).width, gap = 8;
      const tries = [[X + gap, Y], [X - gap - width, Y], [X - width / 2, Y - 14], [X - width / 2, Y + 14],
        [X + gap, Y - 12], [X + gap, Y + 12], [X - gap - width, Y - 12], [X - gap - width, Y + 12]];
      for (const [left, y] of tries) {
        const box = [left - 2, left + width + 2, y - 7, y + 7];
        if (cover.covers(...box) || !place(...box)) continue;
        g.fillText(s.name, left, y);
        api.planLabels.push({ name: s.name, box, mark: [X, Y] });
        break;
      }
    }
  }

  function drawScaleBar(g, scale, w, h) {
    const metres = tickStep(100 / scale, 1);
    const length = metres * scale;
    g.strokeStyle = "#555"; g.lineWidth = 1.5;
    g.beginPath();
    g.moveTo(w - 12 - length, h - 18); g.lineTo(w - 12 - length, h - 12); g.lineTo(w - 12, h - 12); g.lineTo(w - 12, h - 18);
    g.stroke();
    g.fillStyle = "#555"; g.textAlign = "center";
    g.fillText(metres >= 1000 ? metres / 1000 + " km" : metres + " m", w - 12 - length / 2, h - 24);
  }

  // ---- Hover: crosshair, tooltip, details -------------------------------------------------
  function rowAt(y) {
    for (const r of rows.list) if (y >= r.top - 2 && y <= r.top + r.height + 2) return r;
    return null;
  }

  function objectNear(row, x) {
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

  function objectTooltip(row, o) {
    if (row.id === "stations") {
      return o.name + "\n" + km(o.pos) + ", kind " + o.stationKind + "\n" + stationTimes(o);
    }
    if (row.id === "tunnel") return "tunnel " + km(o.pos) + " – " + km(o.to) + ", tunnelKind " + o.type;
    if (row.id === "diagnostics") return diagnosticText(o.diagnostic);
    if (row.id === "curve") return (o.side > 0 ? "right" : "left") + " curve of class " + o.cls + ", " + km(o.pos) + " – " + km(o.to);
    return o.text;
  }

  function clock(seconds) {
    const two = (v) => String(v).padStart(2, "0");
    return two(Math.floor(seconds / 3600)) + ":" + two(Math.floor(seconds / 60) % 60) + ":" + two(seconds % 60);
  }

  function hoverAt(clientX, clientY) {
    const box = trackCanvas.getBoundingClientRect();
    const x = clientX - box.left, y = clientY - box.top;
    if (x < LEFT || x > box.width - RIGHT) { leave(); return; }
    view.hover = Math.max(0, Math.min(routeLength, metreAt(x)));
    const row = rowAt(y);
    const o = row ? objectNear(row, x) : null;
    view.hoverObject = o;
    if (o) {
      tooltip.textContent = objectTooltip(row, o);
      tooltip.hidden = false;
      tooltip.style.left = Math.min(clientX + 14, window.innerWidth - 370) + "px";
      tooltip.style.top = (clientY + 16) + "px";
    } else {
      tooltip.hidden = true;
    }
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

  function element(tag, text, className) {
    const e = document.createElement(tag);
    if (text !== undefined) e.textContent = text;
    if (className) e.className = className;
    return e;
  }

  // Each field of the cell: its value as stored, what it means, where it came from.
  function showDetails(m, cell, onObject) {
    const body = document.getElementById("details-body");
    document.getElementById("details-empty").hidden = true;
    body.replaceChildren();
    if (cell < 0 || cell >= cellCount) return;
    const kind = columns.kind[cell];
    const meaning = data.meanings.kinds[String(kind)] || { object: "unknown", record: "", values: {} };
    const summary = element("p", "", "summary");
    summary.append(element("b", km(Math.round(m))), " · cell " + cell + " (" + km(cell * CELL) + " – " + km((cell + 1) * CELL) + ")" + (onObject ? ", the object's cell" : ""));
    body.append(summary);
    const table = element("table");
    table.id = "details-table";
    const head = element("tr");
    for (const t of ["field", "value", "means", "from"]) head.append(element("th", t));
    table.append(head);
    fields.forEach((name, f) => {
      const raw = columns[name][cell];
      let means = "", from = "";
      if (name === "kind") { means = meaning.object; from = meaning.record; }
      else if (meaning.values[name]) {
        const v = meaning.values[name];
        means = raw + (v.unit ? " " + v.unit : "");
        if (kind === 10 && name === "value1" && data.stations) { const s = data.stations[raw - 1]; if (s) means = "entry " + raw + ": " + s.name; }
        if (kind === 14 && name === "value1") means = "entry " + raw + ": " + (data.entryNames[String(raw)] || "");
        from = meaning.record + ": " + v.from;
      } else if (data.meanings.profiles[name]) {
        const p = data.meanings.profiles[name];
        means = (raw * p.scale + p.offset) + (p.unit ? " " + p.unit : "");
        from = p.record + ": " + p.from;
      } else if (raw === 0) {
        return;
      }
      const tr = element("tr");
      tr.dataset.field = name;
      tr.append(element("th", name), element("td", String(raw), "raw"), element("td", means));
      const fromCell = element("td", from, "from");
      const record = origins ? origins.byField[f][cell] : -1;
      if (record >= 0) {
        const [file, line] = origins.records[record];
        fromCell.append(element("br"), element("span", origins.files[file] + ":" + line, "where"));
      }
      tr.append(fromCell);
      table.append(tr);
    });
    body.append(table);
    const e = elevation[Math.min(cell, elevation.length - 1)];
    if (e !== undefined) body.append(element("p", "elevation at the cell's start " + e.toFixed(1) + " m (from the gradients, 0 m at the start)", "from"));
  }

  // ---- Zoom, pan, search, lists -----------------------------------------------------------
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
  const windowListeners = new AbortController();
  window.addEventListener("mouseup", () => { drag = null; trackCanvas.classList.remove("dragging"); }, { signal: windowListeners.signal });

  function zoomAt(m, factor) {
    const span = Math.min(routeLength, Math.max(MIN_SPAN, (view.to - view.from) * factor));
    const t = (m - view.from) / (view.to - view.from);
    setRange(m - t * span, m - t * span + span);
  }
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
    tooltip.textContent = near ? near.name + "\n" + km(m) : km(m);
    tooltip.hidden = false;
    tooltip.style.left = Math.min(ev.clientX + 14, window.innerWidth - 370) + "px";
    tooltip.style.top = (ev.clientY + 16) + "px";
    showDetails(m, Math.min(cellCount - 1, Math.floor(m / CELL)), false);
    schedule();
  });
  planCanvas.addEventListener("mouseleave", leave);

  document.getElementById("whole").addEventListener("click", () => setRange(0, routeLength));

  const names = document.getElementById("station-names");
  const list = document.getElementById("station-list");
  for (const s of stations) {
    const option = element("option");
    option.value = s.name;
    names.append(option);
    const li = element("li", s.name + " — " + km(s.pos) + " (" + stationTimes(s) + ")");
    li.addEventListener("click", () => goToStation(s));
    list.append(li);
  }

  function goToStation(s) {
    centreOn(s.pos, Math.min(routeLength, 4000));
    view.hover = s.pos;
    showDetails(s.pos, Math.min(cellCount - 1, Math.floor(s.pos / CELL)), false);
  }

  // Names compared without regard to case or accents: "citta" finds "CITTÀ".
  function folded(text) {
    return text.normalize("NFD").replace(/[\u0300-\u036f]/g, "").toUpperCase().trim();
  }
  const foldedNames = stations.map((s) => folded(s.name));

  function findStation(text) {
    const wanted = folded(text);
    if (!wanted) return null;
    for (const test of [(n) => n === wanted, (n) => n.startsWith(wanted), (n) => n.includes(wanted)]) {
      const i = foldedNames.findIndex(test);
      if (i >= 0) return stations[i];
    }
    return null;
  }

  const search = document.getElementById("search");
  const searchResult = document.getElementById("search-result");
  function searchNow() {
    const s = findStation(search.value);
    const missing = !s && search.value.trim() !== "";
    search.setCustomValidity(missing ? "no such station" : "");
    search.classList.toggle("missing", missing);
    searchResult.textContent = missing ? "no station named “" + search.value.trim() + "”" : "";
    if (s) goToStation(s);
  }
  search.addEventListener("change", searchNow);
  search.addEventListener("input", () => { if (!search.value.trim()) searchNow(); });
  search.addEventListener("keydown", (ev) => { if (ev.key === "Enter") searchNow(); });

  // The text is the line `check` prints, made by the tool: the page adds only the related record.
  function diagnosticText(d) {
    return d.related ? d.text + "\nrelated record: " + d.related.file + ":" + d.related.line : d.text;
  }

  if (diagnostics.length > 0 || data.origin === "sources") {
    const section = document.getElementById("diagnostics");
    section.hidden = false;
    document.getElementById("diagnostic-count").textContent = "(" + diagnostics.length + ")";
    const ul = document.getElementById("diagnostic-list");
    if (diagnostics.length === 0) ul.append(element("li", "none: the sources compiled cleanly"));
    for (const d of diagnostics) {
      const li = element("li", undefined, d.severity);
      li.append(element("span", d.text, "text"));
      if (d.related) li.append(element("span", "related record: " + d.related.file + ":" + d.related.line, "related"));
      if (d.position !== null) li.addEventListener("click", () => { centreOn(d.position, Math.min(routeLength, 4000)); view.hover = d.position; });
      ul.append(li);
    }
  }

  document.getElementById("title").textContent = data.title;
  document.title = data.title + " — route view";
  api.setRange = setRange;
  api.hoverAt = hoverAt;
  api.xOf = xOf;
  api.planPoint = (m) => planShown.at(...planAt(m));
  api.rows = rows;
  window.addEventListener("resize", schedule, { signal: windowListeners.signal });

  // New data drawn in place of this: the elements that listen to this drawing are replaced by
  // bare copies, the lists emptied, and the same stretch, hover, search and scroll shown again.
  const scrolled = ["side", "diagnostic-list", "station-list"];
  api.replaceData = (next) => {
    const keep = { from: view.from, to: view.to, hover: view.hover, scroll: scrolled.map((id) => document.getElementById(id).scrollTop) };
    windowListeners.abort();
    for (const id of ["plan", "track", "whole", "search"]) {
      const old = document.getElementById(id);
      const copy = old.cloneNode(true);
      if (id === "search") copy.value = old.value;
      old.replaceWith(copy);
    }
    for (const id of ["station-names", "station-list", "diagnostic-list", "details-body"]) document.getElementById(id).replaceChildren();
    startRouteView(next, keep);
  };
  if (!kept) { setRange(0, routeLength); return; }
  view.hover = kept.hover === null ? null : Math.min(kept.hover, routeLength);
  if (view.hover !== null) showDetails(view.hover, Math.min(cellCount - 1, Math.floor(view.hover / CELL)), false);
  setRange(kept.from, kept.to);
  scrolled.forEach((id, i) => { document.getElementById(id).scrollTop = kept.scroll[i]; });
  draw();
}
startRouteView(JSON.parse(document.getElementById("route-data").textContent));
