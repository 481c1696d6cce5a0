// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader finds in the program's page: an element for each
// control, laid over its place on the screen and invisible, kept in step
// with the program (platform/browser/accessbridge.cpp). Elements a browser
// knows (buttons, range inputs, radio buttons, read-only fields) bring the
// reader's own ways of working them; what the reader does to one reaches
// the program as a student's click, or as the slider's own change.
"use strict";

const virtalabAccess = (() => {
  const layer = document.createElement("div");
  layer.id = "access";
  layer.style.cssText =
    "position: absolute; left: 0; top: 0; width: 0; height: 0; pointer-events: none;";
  document.body.appendChild(layer);
  const elements = new Map(); // the program's id → element
  const placed = new Map(); // the program's id → the control as last told
  let program = null;
  let focused = null;
  let owner = null; // the element that has the keyboard, and owns the layer

  // The element that has the keyboard names the control in focus as its
  // active one, and owns the layer, which lies beside it (ids reach no
  // further than their own document or shadow root). Qt 6.4 takes the keys
  // on the page's canvas; Qt 6.8 on a hidden text field of its own, or on
  // its windows' canvases inside the screen's shadow root.
  function keyboardHolder() {
    let active = document.activeElement;
    while (active && active.shadowRoot && active.shadowRoot.activeElement) {
      active = active.shadowRoot.activeElement;
    }
    if (active && active !== document.body && !layer.contains(active)) {
      return active;
    }
    return owner || document.querySelector("body > input") || document.getElementById("screen");
  }
  function adopt() {
    const holder = keyboardHolder();
    if (!holder || holder === owner) {
      return owner;
    }
    if (owner) {
      owner.removeAttribute("aria-owns");
      owner.removeAttribute("aria-activedescendant");
    }
    owner = holder;
    const root = holder.getRootNode();
    const home = root === document ? document.body : root;
    if (layer.parentNode !== home) {
      home.appendChild(layer);
    }
    holder.removeAttribute("aria-hidden");
    holder.setAttribute("role", "application");
    holder.setAttribute("aria-label", "Вирталаб");
    holder.setAttribute("aria-roledescription", "лабораторная установка");
    holder.setAttribute("aria-owns", layer.id);
    const screen = document.getElementById("screen");
    if (screen !== holder && screen && !screen.contains(layer)) {
      // Qt 6.8's screen shows the windows, which the layer speaks for.
      screen.setAttribute("aria-hidden", "true");
    }
    return holder;
  }
  // Qt 6.8's own bridge waits behind a hidden English button in each window,
  // which would be a stop of the keyboard's; this one speaks for every
  // control, once, in Russian. The buttons stay in their place, out of
  // everyone's way: Qt takes them out itself as their windows close.
  function silenceQt() {
    const screen = document.getElementById("screen");
    const host = screen && [screen, ...screen.querySelectorAll("*")].find((e) => e.shadowRoot);
    if (host) {
      for (const button of host.shadowRoot.querySelectorAll(
        "button.hidden-visually-read-by-screen-reader")) {
        button.hidden = true;
        button.tabIndex = -1;
      }
    }
  }
  document.addEventListener("focusin", () => {
    const holder = adopt();
    if (holder && focused !== null && elements.has(focused)) {
      holder.setAttribute("aria-activedescendant", elements.get(focused).id);
    }
  }, { capture: true });

  function operable(node) {
    return ["button", "radio", "slider", "textbox", "menuitem"].includes(node.role);
  }

  function make(node) {
    let element;
    switch (node.role) {
      case "button":
        element = document.createElement("button");
        break;
      case "radio":
        element = document.createElement("input");
        element.type = "radio";
        break;
      case "slider":
        element = document.createElement("input");
        element.type = "range";
        element.addEventListener("input", () => {
          if (program) {
            program._virtalab_access_set_value(node.id, Number(element.value));
          }
        });
        break;
      case "textbox":
        element = document.createElement("input");
        element.type = "text";
        element.readOnly = true;
        break;
      case "menuitem":
        element = document.createElement("div");
        element.setAttribute("role", "menuitem");
        break;
      case "text":
        element = document.createElement("span");
        break;
      default:
        element = document.createElement("div");
        element.setAttribute("role", node.role === "image" ? "img" : node.role);
    }
    element.id = "access-" + node.id;
    // Reachable by a reader, never a stop of the keyboard's own.
    if (operable(node)) {
      element.tabIndex = -1;
    }
    element.style.cssText = "position: absolute; margin: 0; padding: 0; border: 0; " +
      "opacity: 0; overflow: hidden; box-sizing: border-box;";
    if (operable(node) && node.role !== "slider") {
      element.addEventListener("click", (event) => {
        event.preventDefault();
        if (program) {
          program._virtalab_access_press(node.id);
        }
      });
    }
    element.addEventListener("focus", () => {
      // Where the reader goes, the keyboard goes: the program focuses the
      // control, and the screen, which names it as its active one, takes
      // the keys again.
      if (program && node.id !== focused) {
        program._virtalab_access_focus(node.id);
      }
      const holder = keyboardHolder();
      if (holder) {
        holder.focus({ preventScroll: true });
      }
    });
    return element;
  }

  function fill(element, node, parent) {
    const rect = parent ? { x: parent.x, y: parent.y } : { x: 0, y: 0 };
    element.style.left = (node.x - rect.x) + "px";
    element.style.top = (node.y - rect.y) + "px";
    element.style.width = node.width + "px";
    element.style.height = node.height + "px";
    if (node.role === "text") {
      element.textContent = node.name;
    } else {
      element.setAttribute("aria-label", node.name);
    }
    if (node.description) {
      element.setAttribute("aria-description", node.description);
    } else {
      element.removeAttribute("aria-description");
    }
    if ("disabled" in element) {
      element.disabled = !!node.disabled;
    } else {
      element.toggleAttribute("aria-disabled", !!node.disabled);
    }
    if (node.role === "radio") {
      element.checked = !!node.checked;
    } else if (node.role === "button") {
      element.setAttribute("aria-pressed", node.pressed ? "true" : "false");
    } else if (node.role === "slider") {
      element.min = node.minimum;
      element.max = node.maximum;
      element.step = 1;
      element.value = node.value;
      element.setAttribute("aria-valuenow", node.value);
    } else if (node.role === "textbox") {
      element.value = node.value;
    } else if (node.role === "dialog") {
      element.setAttribute("aria-modal", "true");
    }
  }

  return {
    // From the program: its controls as they are now, parents first; all
    // of them (whole), or those that changed, which keep their places in
    // the tree.
    update(nodes, whole) {
      silenceQt();
      const holder = adopt();
      const seen = new Set();
      if (whole) {
        placed.clear();
        for (const node of nodes) {
          placed.set(node.id, node);
        }
      }
      for (const node of nodes) {
        seen.add(node.id);
        let element = elements.get(node.id);
        if (!whole && !element) {
          continue;
        }
        if (!element || element.dataset.role !== node.role) {
          if (element) {
            element.remove();
          }
          element = make(node);
          element.dataset.role = node.role;
          elements.set(node.id, element);
        }
        const known = placed.get(node.id);
        if (!whole) {
          node.parent = known ? known.parent : node.parent;
        }
        placed.set(node.id, node);
        const parent = placed.get(node.parent);
        fill(element, node, parent);
        const container = parent ? elements.get(node.parent) : layer;
        if (element.parentNode !== container) {
          container.appendChild(element);
        }
        if (node.focused && (node.id !== focused || holder &&
                             holder.getAttribute("aria-activedescendant") !== element.id)) {
          focused = node.id;
          if (holder) {
            holder.setAttribute("aria-activedescendant", element.id);
          }
        }
      }
      for (const [id, element] of whole ? elements : []) {
        if (!seen.has(id)) {
          element.remove();
          elements.delete(id);
          if (focused === id) {
            focused = null;
          }
        }
      }
    },
    // From the page, once the program runs.
    attach(module) { program = module; },
  };
})();
window.virtalabAccess = virtalabAccess;
