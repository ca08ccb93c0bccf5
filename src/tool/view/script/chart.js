// The fastest run on the speed row and the time–distance chart of the timetable against it.
import { view, xOf, LEFT, plotWidth } from "./axis.js";
import { runs, scheduled, runAt, scheduledAt } from "./run.js";
import { clock, km } from "./format.js";

const RUN_COLOUR = "#e65100";
const TIMETABLE_COLOUR = "#1f5fbf";

// The points of each run inside the stretch, with one beyond each end so that the line reaches it.
function visibleRunPoints(visit) {
  for (const r of runs) {
    if (r.to < view.from || r.from > view.to) continue;
    const n = r.position.length;
    let first = 0;
    while (first + 1 < n && r.position[first + 1] < view.from) first++;
    let last = first;
    while (last + 1 < n && r.position[last] <= view.to) last++;
    visit(r, first, last);
  }
}

// A run's line through the points of a stretch, skipping those that fall in the pixel drawn last.
function strokeRun(g, r, first, last, valueOf, y) {
  g.beginPath();
  let lastX = -Infinity;
  for (let i = first; i <= last; i++) {
    const x = xOf(r.position[i]);
    if (i !== first && i !== last && x - lastX < 0.5) continue;
    if (i === first) g.moveTo(x, y(valueOf(r, i))); else g.lineTo(x, y(valueOf(r, i)));
    lastX = x;
  }
  g.stroke();
}

// The run's speed over the speed row, on the scale `y` of the limits drawn there.
export function drawRunSpeeds(g, y) {
  g.strokeStyle = RUN_COLOUR;
  g.lineWidth = 1.5;
  visibleRunPoints((r, first, last) => strokeRun(g, r, first, last, (run, i) => run.speed[i], y));
}

// The times the chart spans over the stretch: the run's and the timetable's, at least a minute.
function timeExtent() {
  let lo = Infinity, hi = -Infinity;
  const take = (t) => { if (t !== null) { lo = Math.min(lo, t); hi = Math.max(hi, t); } };
  visibleRunPoints((r, first, last) => { for (let i = first; i <= last; i++) take(r.time[i]); });
  for (const p of scheduled) if (p.pos >= view.from && p.pos <= view.to) take(p.time);
  for (const m of [view.from, view.to]) {
    const at = runAt(m);
    take(at && at.time);
    take(scheduledAt(m));
  }
  if (lo > hi) return null;
  if (hi - lo < 60) { const mid = (lo + hi) / 2; lo = mid - 30; hi = mid + 30; }
  return [lo, hi];
}

// Time runs down the row, as on a train graph; the timetable's stops are dots on its line.
export function drawTimeChart(g, r) {
  const extent = timeExtent();
  if (!extent) return;
  const [lo, hi] = extent;
  const y = (t) => r.top + 6 + (t - lo) / (hi - lo) * (r.height - 12);
  g.strokeStyle = TIMETABLE_COLOUR;
  g.fillStyle = TIMETABLE_COLOUR;
  g.lineWidth = 1;
  g.setLineDash([4, 3]);
  g.beginPath();
  scheduled.forEach((p, k) => { if (k === 0) g.moveTo(xOf(p.pos), y(p.time)); else g.lineTo(xOf(p.pos), y(p.time)); });
  g.stroke();
  g.setLineDash([]);
  for (const p of scheduled) {
    if (p.pos < view.from || p.pos > view.to) continue;
    g.beginPath();
    g.arc(xOf(p.pos), y(p.time), 2.5, 0, 2 * Math.PI);
    g.fill();
  }
  g.strokeStyle = RUN_COLOUR;
  g.lineWidth = 1.5;
  visibleRunPoints((run, first, last) => strokeRun(g, run, first, last, (x, i) => x.time[i], y));
  g.fillStyle = "#777";
  g.textAlign = "left";
  g.fillText(clock(lo), LEFT + 3, r.top + 8);
  g.fillText(clock(hi), LEFT + 3, r.top + r.height - 8);
  g.textAlign = "right";
  g.fillStyle = RUN_COLOUR;
  g.fillText("fastest run", LEFT + plotWidth() - 4, r.top + 8);
  g.fillStyle = TIMETABLE_COLOUR;
  g.fillText("timetable - - -", LEFT + plotWidth() - 4, r.top + 21);
}

// "fastest run at 12.345 km\n10:23:45, 87 km/h\ntimetable 10:25:00", or null off the run.
export function runText(m) {
  const at = runAt(m);
  if (!at) return null;
  let text = "fastest run at " + km(Math.round(m)) + "\n" + clock(at.time) + ", " + Math.round(at.speed) + " km/h";
  const planned = scheduledAt(m);
  if (planned !== null) text += "\ntimetable " + clock(planned);
  return text;
}
