// Drawing helpers the canvases share: sizing for the screen's pixels, labels that never cover
// one another, and the station marks.
import { LEFT, plotWidth } from "./axis.js";

export function prepare(canvas, cssHeight) {
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

// What the last frame drew, for the browser tests to read.
export const drawn = { labels: [], offPlotArrows: [], planLabels: [] };

// Places labels left to right by priority: a label is drawn only where it covers none before.
export function labelPlacer() {
  const taken = [];
  return function (x0, x1, y0, y1) {
    for (const t of taken) if (x0 < t[1] && x1 > t[0] && y0 < t[3] && y1 > t[2]) return false;
    taken.push([x0, x1, y0, y1]);
    return true;
  };
}

// A label's centre, kept so that the label stays inside the plot.
export function clampLabel(x, width) {
  return Math.max(LEFT + width / 2 + 1, Math.min(LEFT + plotWidth() - width / 2 - 1, x));
}

const stationColour = { start: "#0d3d8c", stop: "#1f5fbf", terminus: "#0d3d8c", pass: "#7aa6e0", "not open": "#b0b0b0" };
export const categoryRank = { start: 0, terminus: 0, stop: 0, pass: 1, "not open": 2 };

export function marker(g, x, y, category) {
  g.beginPath();
  g.arc(x, y, categoryRank[category] === 0 ? 5 : 4, 0, 2 * Math.PI);
  g.fillStyle = category === "not open" ? "#fff" : stationColour[category];
  g.strokeStyle = stationColour[category];
  g.lineWidth = category === "not open" ? 2 : 1;
  g.fill();
  g.stroke();
}
