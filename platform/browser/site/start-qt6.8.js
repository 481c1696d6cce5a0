// SPDX-License-Identifier: GPL-3.0-or-later
// Starts the program with Qt 6.8's loader, which wants the program's
// script loaded already and a container to make its screen in.
"use strict";

(() => {
  let instance = null;
  virtalabPage.start({
    module: () => instance,
    // Qt 6.8 follows its container's size by itself.
    resize: () => {},
    rescreen: () => instance.qtResizeAllScreens(null),
  });
  qtLoad({
    // The loader's promise does not keep the program: its main ends by
    // unwinding into the browser's event loop.
    preRun: [(module) => { instance = module; }],
    qt: {
      entryFunction: window.virtalab_entry,
      containerElements: [document.getElementById("screen")],
      onExit: (exit) => exit.crashed ? virtalabPage.failed(exit.text || String(exit.code))
        : virtalabPage.exited(),
    },
  }).catch((error) => {
    virtalabPage.failed(error && error.message ? error.message : String(error));
  });
})();
