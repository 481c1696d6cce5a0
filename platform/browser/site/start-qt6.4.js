// SPDX-License-Identifier: GPL-3.0-or-later
// Starts the program with Qt 6.4's loader.
"use strict";

(() => {
  const canvas = document.getElementById("screen");
  const loader = QtLoader({
    canvasElements: [canvas],
    showLoader: () => {},
    showCanvas: () => {},
    showError: (text) => virtalabPage.failed(text),
    showExit: () => virtalabPage.exited(),
  });
  virtalabPage.start({
    module: () => loader.module(),
    resize: () => loader.resizeCanvasElement(canvas),
    // Qt 6.4 sizes its canvas for the pixel ratio only as its screens change.
    rescreen: () => loader.module().qtResizeAllScreens(null),
  });
  loader.loadEmscriptenModule("virtalab");
})();
