// The train's fastest run as the tool timed it, and the timetable beside it, with every time
// counted on from the first day so that a run past midnight keeps going forward.
import { data } from "./data.js";

const DAY = 24 * 3600;
export const timing = data.timing || null;
export const sections = timing ? timing.sections : [];

// The time of the day `t` on the day that puts it closest after `before`, allowing half a day
// back for a timetable whose times are not in order.
function onward(t, before) {
  if (before === null) return t;
  let v = t + Math.floor(before / DAY) * DAY;
  while (v < before - DAY / 2) v += DAY;
  while (v > before + DAY / 2) v -= DAY;
  return v;
}

// The timetable as a line in time against distance: each stop's arrival and departure.
export const scheduled = [];
// Each section's run: positions (m), speeds (km/h), times counted from the first day (s).
export const runs = [];
(function build() {
  if (!timing) return;
  let last = null;
  for (const s of timing.stops) {
    for (const [t, what] of [[s.arrival, "arrives"], [s.departure, "departs"]]) {
      if (t === null) continue;
      last = onward(t, last);
      scheduled.push({ pos: s.position, time: last, name: s.name, what });
    }
  }
  last = null;
  sections.forEach((s, k) => {
    if (s.departure === null || s.run.position.length < 2) return;
    const start = onward(s.departure, last);
    const time = Float64Array.from(s.run.time, (t) => start + t);
    last = time[time.length - 1];
    runs.push({ section: k, from: s.run.position[0], to: s.run.position[s.run.position.length - 1],
      position: Float64Array.from(s.run.position), speed: Float64Array.from(s.run.speed), time });
  });
})();

// The greatest speed of any run, for the speed row's scale.
export let topRunSpeed = 0;
for (const r of runs) for (const v of r.speed) topRunSpeed = Math.max(topRunSpeed, v);

// The index of the last of `xs` (ascending) at or before `m`.
function lastAtOrBefore(xs, m) {
  let lo = 0, hi = xs.length - 1;
  while (lo < hi) {
    const mid = (lo + hi + 1) >> 1;
    if (xs[mid] <= m) lo = mid; else hi = mid - 1;
  }
  return lo;
}

// The fastest run at a route metre, between its points: { time, speed, section }, or null.
export function runAt(m) {
  const r = runs.find((x) => m >= x.from && m <= x.to);
  if (!r) return null;
  const i = lastAtOrBefore(r.position, m);
  const j = Math.min(i + 1, r.position.length - 1);
  const span = r.position[j] - r.position[i];
  const f = span > 0 ? (m - r.position[i]) / span : 0;
  return {
    time: r.time[i] + (r.time[j] - r.time[i]) * f,
    speed: r.speed[i] + (r.speed[j] - r.speed[i]) * f,
    section: sections[r.section],
  };
}

// The timetable's time at a route metre, straight between its stops; null beyond them.
export function scheduledAt(m) {
  if (scheduled.length === 0 || m < scheduled[0].pos || m > scheduled[scheduled.length - 1].pos) return null;
  const i = lastAtOrBefore(scheduled.map((p) => p.pos), m);
  const a = scheduled[i], b = scheduled[Math.min(i + 1, scheduled.length - 1)];
  return b.pos > a.pos ? a.time + (b.time - a.time) * (m - a.pos) / (b.pos - a.pos) : a.time;
}
