// The route's data as the tool embeds it in the page, or as the live page last received it, with
// the cells as one column a field.
export const data = window.routeViewNext || JSON.parse(document.getElementById("route-data").textContent);
export const model = data.model;
export const CELL = model.cellLength;
export const fields = data.meanings.fields;
export const columns = {};
fields.forEach((name, f) => { columns[name] = data.cells[f] || []; });
export const cellCount = columns.kind.length;
export const routeLength = Math.max(data.routeLength, CELL);
// The cells the route covers, the tail after its end left out.
export const routeCells = Math.min(cellCount, Math.ceil(routeLength / CELL));
