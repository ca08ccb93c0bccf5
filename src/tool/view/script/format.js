// The page's few text forms, and elements that take text only, never markup.

// Every kilometre the page shows has this one form: "6.450 km".
export function kmNumber(m) { return (m / 1000).toFixed(3); }
export function km(m) { return kmNumber(m) + " km"; }

// "14:25:30", past midnight too: a run that goes on into the next day keeps counting.
export function clock(seconds) {
  const two = (v) => String(v).padStart(2, "0");
  const s = Math.round(seconds);
  return two(Math.floor(s / 3600) % 24) + ":" + two(Math.floor(s / 60) % 60) + ":" + two(((s % 60) + 60) % 60);
}

// "+1:05", "-0:12", "1:02:30": a duration in minutes and seconds, hours when it has any, signed
// when asked.
export function duration(seconds, signed) {
  const s = Math.round(Math.abs(seconds));
  const two = (v) => String(v).padStart(2, "0");
  const text = s >= 3600 ? Math.floor(s / 3600) + ":" + two(Math.floor(s / 60) % 60) + ":" + two(s % 60) : Math.floor(s / 60) + ":" + two(s % 60);
  if (!signed) return text;
  return (seconds < 0 ? "-" : "+") + text;
}

export function element(tag, text, className) {
  const e = document.createElement(tag);
  if (text !== undefined) e.textContent = text;
  if (className) e.className = className;
  return e;
}

// "stop, arrives 14:25:30, departs 14:26:00": what the train does there and when.
export function stationTimes(s) {
  let text = s.category;
  if (s.arrival !== null) text += ", arrives " + clock(s.arrival);
  if (s.departure !== null) text += ", departs " + clock(s.departure);
  return text;
}

// The text is the line `check` prints, made by the tool: the page adds only the related record.
export function diagnosticText(d) {
  return d.related ? d.text + "\nrelated record: " + d.related.file + ":" + d.related.line : d.text;
}
