// SPDX-License-Identifier: GPL-3.0-or-later
// The program's own page, inside the page a student opens (index.html),
// which scales it to fit and shows the messages. Whatever Qt's loader is
// (start.js), this is what the program and the host page are told.
"use strict";

const virtalabPage = (() => {
  const screen = document.getElementById("screen");
  // The page a student opened, or this page alone when opened by itself.
  const host = window.parent !== window && window.parent.virtalabLab
    ? window.parent.virtalabLab
    : {
      loading() {}, shown() {}, painted() { console.info("virtalab: first paint"); },
      failed(text) { console.error(text); }, exited() {}, stopped(text) { console.error(text); },
    };
  let qt = null; // what start.js hands over
  let shown = false; // the program's window is on its screen

  // Qt renders at window.devicePixelRatio. The host page shows this page
  // scaled down where the panel would not fit; rendering at the pixel ratio
  // times that scale keeps every device pixel sharp, and no more of them.
  let scale = window.parent !== window && window.parent.virtalabScale || 1;
  const pixelRatio = Object.getOwnPropertyDescriptor(window, "devicePixelRatio");
  if (pixelRatio && pixelRatio.get && pixelRatio.configurable) {
    Object.defineProperty(window, "devicePixelRatio", {
      configurable: true,
      get() { return pixelRatio.get.call(window) * scale; },
    });
  }

  // The program's big files, asked for and counted by the host page as it
  // started (index.html): handed to Qt's loader as it asks for them. Alone,
  // or in a page of another origin, this page fetches them itself.
  const plainFetch = window.fetch.bind(window);
  let early = {};
  try {
    early = (window.parent !== window && window.parent.virtalabEarly) || {};
  } catch (error) {
    early = {};
  }
  window.fetch = async (resource, options) => {
    const name = String(resource.url || resource).split("/").pop().split("?")[0];
    const started = early[name];
    delete early[name];
    return (started && await started) || plainFetch(resource, options);
  };

  // The lab takes no focus until a student clicks or tabs into it: in a
  // course page, focus stays where the student is. Qt asks for it for its
  // canvases as it starts and as its windows open.
  let engaged = false;
  const focusElement = HTMLElement.prototype.focus;
  HTMLElement.prototype.focus = function (options) {
    if (engaged) {
      focusElement.call(this, options);
    }
  };
  document.addEventListener("focusin", () => { engaged = true; }, { capture: true });
  // Qt takes the press for itself, which keeps the browser from focusing
  // what was pressed; the keys after a click must reach the program.
  document.addEventListener("pointerdown", (event) => {
    engaged = true;
    const pressed = event.composedPath()[0];
    if (pressed instanceof HTMLElement && pressed.tabIndex >= 0 || pressed.isContentEditable) {
      pressed.focus({ preventScroll: true });
    }
  }, { capture: true });

  // Told by the program (platform/browser/browserpage.cpp).
  window.virtalabFit = (width, height) => {
    screen.style.width = width + "px";
    screen.style.height = height + "px";
    // Qt 6.4 makes its canvas editable, which a phone takes as a text field
    // and answers with its keyboard, and names the hint against it wrongly;
    // the readouts are read-only and nothing here takes text. The canvas
    // stays a keyboard stop of its own.
    if (screen.tagName === "CANVAS") {
      screen.contentEditable = "false";
      screen.tabIndex = 0;
      screen.setAttribute("inputmode", "none");
    }
    // Qt 6.8 takes the keys in a hidden text field of its own, which a
    // phone would answer with its keyboard.
    for (const field of document.querySelectorAll("body > input")) {
      field.setAttribute("inputmode", "none");
    }
    // Qt takes the new size once the program has handed control back.
    setTimeout(() => {
      if (qt) {
        qt.resize();
      }
      shown = true;
      if (window.virtalabAccess && qt) {
        window.virtalabAccess.attach(qt.module());
      }
      host.shown(width, height);
    });
  };
  window.virtalabShown = () => host.painted();
  window.virtalabStopped = (text) => host.stopped(text);

  // From the host page: the scale it shows this page at, after a change of
  // the space, the zoom or the screen's pixel ratio.
  let renderedAt = window.devicePixelRatio;
  function rerender() {
    // Once the browser has settled the new ratio in this page too.
    requestAnimationFrame(() => {
      // Before the window is shown, Qt reads the ratio as it makes it.
      if (!shown || !qt || !qt.module() || window.devicePixelRatio === renderedAt) {
        return;
      }
      renderedAt = window.devicePixelRatio;
      qt.rescreen();
      qt.module()._virtalab_repaint();
    });
  }
  window.virtalabRescale = (newScale) => {
    scale = newScale;
    rerender();
  };
  // This page learns of a new pixel ratio (another screen, the zoom) by
  // itself, which may be after the host page has.
  function watchPixelRatio() {
    const ratio = pixelRatio && pixelRatio.get ? pixelRatio.get.call(window) : 1;
    matchMedia("(resolution: " + ratio + "dppx)").addEventListener("change", () => {
      rerender();
      requestAnimationFrame(watchPixelRatio);
    }, { once: true });
  }
  watchPixelRatio();
  // From the host page as the browser prints it: the panel onto its canvas.
  window.virtalabPaintPage = (target) => {
    if (qt && qt.module()) {
      window.virtalabPrintTarget = target;
      qt.module()._virtalab_paint_page();
    }
  };

  return {
    start(handles) { qt = handles; },
    failed: (text) => host.failed(text),
    exited: () => host.exited(),
  };
})();
