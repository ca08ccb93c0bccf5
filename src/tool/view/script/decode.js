// The route's features, decoded once from the data by the meanings the tool sends with it: no
// cell value is read here by a rule of its own.
import { data, model, CELL, fields, columns, cellCount, routeCells } from "./data.js";
import { km } from "./format.js";

const kinds = data.meanings.kinds;
const profiles = data.meanings.profiles;

export function meaningOf(kind) {
  return kinds[String(kind)] || { object: "unknown kind " + kind, record: "", values: {} };
}

export function kindName(kind) { return meaningOf(kind).object; }

// A profile field's value in its unit: the gradient in ‰, the speed limit in km/h.
export function profileValue(name, i) {
  const p = profiles[name];
  return columns[name][i] * p.scale + p.offset;
}

export const stations = data.stations ? data.stations.map((s) => Object.assign({ pos: s.position }, s)) : [];

// The name a station-table entry holds: a station's, or a sign's text.
export function entryName(entry) {
  const s = stations.find((x) => x.entry === entry);
  return s ? s.name : (data.entryNames[String(entry)] || "");
}

// What a cell's value means, "entry 3: NAME" for one that points into the station table.
export function valueText(name, raw, v) {
  if (v.entry) return "entry " + raw + ": " + entryName(raw);
  return raw + (v.unit ? " " + v.unit : "");
}

export const plan = decodePlan(data.plan);
export const planLevels = buildPlanLevels(plan);
export const elevation = buildElevation();
export const objects = gatherObjects();
export const tunnels = gatherTunnels();
export const origins = buildOrigins();
export const diagnostics = data.diagnostics || [];
export const curves = data.curves.map(([from, to, side, cls]) => ({ pos: from, to, side, cls }));

// "right curve of class 3, radius 2500 m, 1.200 km – 1.450 km".
export function curveText(c) {
  const radius = Math.round(1 / model.curveTurns[c.cls - 1]);
  return (c.side > 0 ? "right" : "left") + " curve of class " + c.cls + ", radius " + radius + " m, " + km(c.pos) + " – " + km(c.to);
}

function decodePlan(p) {
  const n = p.dx.length;
  const xs = new Float64Array(n), ys = new Float64Array(n), ms = new Float64Array(n);
  let x = 0, y = 0;
  for (let i = 0; i < n; i++) {
    x += p.dx[i]; y += p.dy[i];
    xs[i] = x / p.unitsPerMetre; ys[i] = y / p.unitsPerMetre;
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

// Elevation at each cell boundary, integrated from the gradients (‰) from 0 m at the start.
function buildElevation() {
  const e = new Float64Array(routeCells + 1);
  for (let i = 0; i < routeCells; i++) e[i + 1] = e[i] + profileValue("gradient", i) * CELL / 1000;
  return e;
}

// Objects from the cells, each with its route position, cell and row; the meanings say which row
// a kind goes in and how many cells after its position the object's cell stands.
function gatherObjects() {
  const rows = {};
  for (const k of Object.values(kinds)) if (k.row) rows[k.row] = [];
  for (let i = 0; i < cellCount; i++) {
    const kind = columns.kind[i];
    const meaning = kinds[String(kind)];
    if (!meaning || !meaning.row) continue;
    const pos = (i - meaning.cellsAfterPosition) * CELL;
    rows[meaning.row].push({ pos, cell: i, kind, text: objectText(meaning, i, pos) });
  }
  return rows;
}

// The object, where it stands, and the values that have a unit or name an entry.
function objectText(meaning, i, pos) {
  let text = meaning.object + " at " + km(pos) + " (cell " + i + ")";
  for (const [name, v] of Object.entries(meaning.values)) {
    if (v.entry) text += "\n" + entryName(columns[name][i]);
    else if (v.unit) text += "\n" + v.from + ": " + columns[name][i] + " " + v.unit;
  }
  return text;
}

// The label of an object on its row: the entry it names, else where it stands.
export function objectLabel(o) {
  for (const [name, v] of Object.entries(meaningOf(o.kind).values)) if (v.entry) return entryName(columns[name][o.cell]);
  return null;
}

function gatherTunnels() {
  const list = [];
  const n = Math.min(cellCount, routeCells + 1);
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
