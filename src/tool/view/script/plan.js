// The plan: the visible stretch turned to run left to right, the rest of the route faint behind
// it, the stations named where their names cover nothing, and the point under the pointer.
import { view, visible, tickStep } from "./axis.js";
import { prepare, labelPlacer, marker, categoryRank, drawn } from "./canvas.js";
import { plan, planLevels, stations, tunnels } from "./decode.js";

// The plan point at a route metre, between the samples.
export function planAt(m) {
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
export function planMetreAt(x, y) {
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

export function drawPlan(planCanvas) {
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
  drawn.planLabels = [];
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
      drawn.planLabels.push({ name: s.name, box, mark: [X, Y] });
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

// Where a route metre stands on the plan as last drawn, in the canvas's pixels.
export function planPoint(m) { return planShown.at(...planAt(m)); }
