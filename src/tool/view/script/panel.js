// The side panel: a cell's fields with their meanings and records, the running times of the
// sections, the stations to jump to and the diagnostics.
import { data, CELL, fields, columns, cellCount, routeLength } from "./data.js";
import { view, centreOn } from "./axis.js";
import { stations, diagnostics, elevation, origins, meaningOf, valueText } from "./decode.js";
import { km, duration, element, stationTimes } from "./format.js";
import { timing, sections } from "./run.js";
import { runText } from "./chart.js";

// Each field of the cell: its value as stored, what it means, where it came from.
export function showDetails(m, cell, onObject) {
  const body = document.getElementById("details-body");
  document.getElementById("details-empty").hidden = true;
  body.replaceChildren();
  if (cell < 0 || cell >= cellCount) return;
  const meaning = meaningOf(columns.kind[cell]);
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
      means = valueText(name, raw, v);
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
  const run = runText(m);
  if (run !== null) body.append(element("p", run.replace(/\n/g, " · "), "run"));
}

export function goToStation(s) {
  centreOn(s.pos, Math.min(routeLength, 4000));
  view.hover = s.pos;
  showDetails(s.pos, Math.min(cellCount - 1, Math.floor(s.pos / CELL)), false);
}

function listStations() {
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

function searchStations() {
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
}

function listDiagnostics() {
  if (diagnostics.length === 0 && data.origin !== "sources") return;
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

// One row a section: from, to, km, scheduled, minimum and slack, as `scenario timing` prints them;
// a click shows the section.
function listSections() {
  if (!timing) return;
  document.getElementById("timing").hidden = false;
  document.getElementById("timing-stock").textContent = "stock: " + (timing.stock || "the defaults");
  const table = document.getElementById("section-table");
  const head = element("tr");
  for (const t of ["from", "to", "km", "scheduled", "minimum", "slack"]) head.append(element("th", t));
  table.append(head);
  for (const s of sections) {
    const tr = element("tr");
    if (s.slack !== null && s.slack < 0) tr.className = "tight";
    tr.append(element("td", s.from), element("td", s.to), element("td", ((s.toPosition - s.fromPosition) / 1000).toFixed(3), "number"),
      element("td", s.scheduled === null ? "-" : duration(s.scheduled), "number"),
      element("td", s.minimum === null ? "-" : duration(s.minimum), "number"),
      element("td", s.slack === null ? "-" : duration(s.slack, true), "number"));
    if (s.note) tr.title = s.note;
    tr.addEventListener("click", () => { const from = Math.min(s.fromPosition, s.toPosition); centreOn(from + Math.abs(s.toPosition - s.fromPosition) / 2, Math.max(Math.abs(s.toPosition - s.fromPosition) * 1.1, 1000)); });
    table.append(tr);
  }
}

export function fillPanel() {
  listStations();
  searchStations();
  listDiagnostics();
  listSections();
}


