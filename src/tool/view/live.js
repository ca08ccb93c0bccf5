// The live page of `scenario serve`: new data arrives on an event stream beside the page and is
// drawn in place. When the server goes away the page says so, keeps what it shows, and takes up
// the stream again once the server is back.
"use strict";
(function () {
  const notice = document.createElement("p");
  notice.id = "live-notice";
  notice.setAttribute("role", "status");
  notice.hidden = true;
  notice.style.cssText = "margin: 0; padding: 6px 14px; background: #fff3d6; border-bottom: 1px solid #e0b44c;";
  notice.textContent = "The server has stopped: this is the last data it sent. The page follows again when it is back.";
  document.querySelector("header").after(notice);

  const live = { updates: 0, connected: false, lastPaint: null, paintedUpdate: 0 };
  window.routeLive = live;

  // The browser reconnects by itself after a dropped stream, sending the id of the last event
  // seen, so that the server sends only data the page lacks.
  const source = new EventSource("events?since=" + encodeURIComponent(document.body.dataset.generation || ""));
  source.addEventListener("open", () => {
    live.connected = true;
    notice.hidden = true;
  });
  source.addEventListener("error", () => {
    live.connected = false;
    notice.hidden = false;
  });
  source.addEventListener("data", (event) => {
    window.routeView.replaceData(JSON.parse(event.data));
    live.updates++;
    document.body.dataset.updates = String(live.updates);
    const update = live.updates;
    requestAnimationFrame(() => {
      live.lastPaint = performance.now();
      live.paintedUpdate = update;
      document.body.dataset.lastPaint = String(live.lastPaint);
    });
  });
})();
