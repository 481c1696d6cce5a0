#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The browser build where students open it, in headless Chromium driven
through its DevTools protocol with a student's input (mouse, touch, keys):

- each device of the table: the whole panel in view at its scale, never off
  the page, rendered at the device's pixel ratio times that scale; a tap or
  click switches the scope on, a touch drag moves a slider, and no tap
  brings up the on-screen keyboard;
- the browser's zoom changing under a running page: the canvas follows
  without a reload;
- the about box through taps, the wheel and a touch drag outside it;
- a course page holding the lab in an iframe from another origin: the lab
  takes no focus, and Tab and Shift+Tab pass through it;
- a slow home line: the page shows the share downloaded as it grows;
- a visit without the network after a first one opens the program, and a
  new version on the server replaces the old files, none of which is
  served again;
- the icon and the manifest that make the page installable;
- what a screen reader finds: the page's accessibility tree holds the
  controls the desktop program's own accessibility names (accesstree
  prints those), with their roles, names and values, and follows the
  program; a reader's "activate" and a value it sets reach the program.

Screenshots of the layouts go to the folder given, or to a temporary one;
their paths are printed. Every check prints one line; the exit status is 1
if any failed.

  web_checks.py <site folder> <accesstree executable> [screenshot folder]
"""
import json
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import urllib.parse
import urllib.request

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import cdp  # noqa: E402

# name, CSS width and height of the viewport, device pixel ratio, touch
DEVICES = [
    ("desktop", 1280, 1024, 1, False),
    ("phone upright", 390, 844, 3, True),
    ("phone on its side", 844, 390, 3, True),
    ("tablet", 768, 1024, 2, True),
    ("laptop at 200 % zoom", 640, 360, 2, False),
]
# The program's window as designed, menu bar included; the panel starts
# below the menu bar.
WINDOW = (594, 452)
MENU = 19
DARK_RED = (192, 0, 0)
GREEN = (0, 255, 0)
BLUE = (0, 0, 255)


# The program's main window's canvas: Qt 6.4 draws into the page's own, Qt
# 6.8 gives each window one inside a shadow root of its container.
CANVAS = """(() => {
    const own = document.getElementById('screen');
    if (own.tagName === 'CANVAS') return own;
    const host = [own, ...own.querySelectorAll('*')].find(e => e.shadowRoot);
    return [...host.shadowRoot.querySelectorAll('canvas')]
        .sort((a, b) => b.width * b.height - a.width * a.height)[0];
})()"""


# The screen reader's layer, and the element that owns it: beside Qt's
# canvas that has the keyboard, in the page or in a shadow root of Qt 6.8's.
SEEK = """((selector) => {
    const seek = (root) => root.querySelector(selector) || [...root.querySelectorAll('*')]
        .map(e => e.shadowRoot && seek(e.shadowRoot)).find(Boolean);
    return seek(document);
})"""
LAYER = f"{SEEK}('#access')"
OWNER = f"{SEEK}('[aria-owns=access]')"


def twips(x, y):
    """A point of the panel in twips, as a point of the program's window."""
    return x / 15, MENU + y / 15


SCOPE_ON = twips(1087, 547)
LAMP = (36, MENU + 36)  # inside the scope's lamp
GAIN = twips(1237, 2252)  # the gain slider's handle, at 6 of 1…11


class Checks:
    def __init__(self, site, accesstree, shots):
        self.site, self.accesstree, self.shots = site, accesstree, shots
        self.failures = 0
        self.server = cdp.serve(site)
        self.url = f"http://127.0.0.1:{self.server.server_address[1]}/index.html"

    def check(self, what, ok, detail=""):
        self.failures += not ok
        print(f"   {'ok  ' if ok else 'FAIL'} {what}{': ' + str(detail) if detail else ''}",
              flush=True)
        return ok

    def browser(self, size=(1280, 1024)):
        return cdp.Browser(tempfile.mkdtemp(prefix="virtalab-web-"), size)

    def frame(self, page, expression):
        """Evaluates in the program's own page, inside the one a student opens."""
        return page.evaluate(
            f"(() => {{ const w = document.getElementById('lab').contentWindow; "
            f"return w.eval({expression!r}); }})()")

    @staticmethod
    def colour_at(page, point):
        """The colour at a point of the program's window."""
        return page.colour(*page.at(*point))

    @staticmethod
    def row(page, point, width):
        """A row of the program's window from a point on, as pixels."""
        x, y = page.at(*point)
        return page.shot(clip=(x, y, width * page.panel()["scale"], 1)).pixels

    # --- each device --------------------------------------------------
    def device(self, name, width, height, ratio, touch):
        print(f"-- {name}: {width} x {height} CSS pixels at {ratio}x", flush=True)
        browser = self.browser()
        try:
            page = browser.page()
            page.send("Emulation.setDeviceMetricsOverride", width=width, height=height,
                      deviceScaleFactor=ratio, mobile=touch)
            if touch:
                page.send("Emulation.setTouchEmulationEnabled", enabled=True, maxTouchPoints=5)
            page.open(self.url)
            time.sleep(0.5)
            panel = page.panel()
            scale = min(1, width / WINDOW[0], height / WINDOW[1])
            self.check("scaled to fit, proportions kept", abs(panel["scale"] - scale) < 1e-3 and
                       abs(panel["width"] / panel["height"] - WINDOW[0] / WINDOW[1]) < 0.01,
                       f"scale {panel['scale']:.3f}, expected {scale:.3f}")
            self.check("the whole panel on the page",
                       panel["left"] >= 0 and panel["top"] >= 0 and
                       panel["left"] + panel["width"] <= width + 0.5 and
                       panel["top"] + panel["height"] <= height + 0.5, panel)
            backing = self.frame(page, f"[{CANVAS}.width, {CANVAS}.height]")
            expected = [round(WINDOW[0] * ratio * scale), round(WINDOW[1] * ratio * scale)]
            self.check("rendered at the pixel ratio times the scale",
                       all(abs(a - b) <= 1 for a, b in zip(backing, expected)),
                       f"canvas {backing}, expected {expected}")
            path = os.path.join(self.shots, name.replace(" ", "-").replace("%", "pc") + ".png")
            page.shot(path, decode=False)
            print(f"   screenshot: {path}")
            self.check("the scope's lamp in view, dark red",
                       self.colour_at(page, LAMP) == DARK_RED, self.colour_at(page, LAMP))
            x, y = page.at(*SCOPE_ON)
            if touch:
                page.tap(x, y)
            else:
                page.click(x, y)
            time.sleep(0.7)
            self.check(f"a {'tap' if touch else 'click'} on «On» lights the lamp",
                       self.colour_at(page, LAMP) == GREEN, self.colour_at(page, LAMP))
            if touch:
                self.touch_drag(page)
                # What has the keyboard may take text only with the hint that
                # no on-screen keyboard is wanted.
                editing = self.frame(page, """(() => {
                    let a = document.activeElement;
                    while (a && a.shadowRoot && a.shadowRoot.activeElement)
                        a = a.shadowRoot.activeElement;
                    const text = a && (a.isContentEditable || a.tagName === 'INPUT' ||
                                       a.tagName === 'TEXTAREA');
                    return text && a.getAttribute('inputmode') !== 'none'
                        ? a.outerHTML.slice(0, 80) : '';
                })()""")
                self.check("no tap brings up the on-screen keyboard", editing == "", editing)
            self.check("nothing thrown on the page", not page.thrown(page.new_events()))
        finally:
            browser.close()

    def touch_drag(self, page):
        # Dragged to the right end, the handle and the readout above it change.
        slider = (GAIN[0] - 70, GAIN[1])
        readout = twips(1455, 1935)
        before = self.row(page, slider, 140), self.row(page, readout, 30)
        page.drag_touch(page.at(*GAIN), page.at(GAIN[0] + 140, GAIN[1]))
        time.sleep(0.5)
        after = self.row(page, slider, 140), self.row(page, readout, 30)
        self.check("a touch drag moves the gain slider and its readout",
                   before[0] != after[0] and before[1] != after[1])

    # --- a running page ------------------------------------------------
    def zoom(self):
        # The browser's zoom, as on a laptop whose student presses Ctrl and
        # +: the pixel ratio grows and the page's space shrinks with it.
        print("-- the browser zooms a running page", flush=True)
        browser = self.browser()
        try:
            page = browser.page()
            page.send("Emulation.setDeviceMetricsOverride", width=1280, height=1024,
                      deviceScaleFactor=1, mobile=False)
            page.open(self.url)
            page.evaluate("window.virtalabSamePage = true")
            for zoom in (2, 1.5, 3):
                page.send("Emulation.setDeviceMetricsOverride", width=round(1280 / zoom),
                          height=round(1024 / zoom), deviceScaleFactor=zoom, mobile=False)
                time.sleep(1)
                scale = min(1, round(1280 / zoom) / WINDOW[0], round(1024 / zoom) / WINDOW[1])
                backing = self.frame(page, f"{CANVAS}.width")
                self.check(f"at {zoom * 100:.0f} % the canvas follows, without a reload",
                           abs(backing - WINDOW[0] * zoom * scale) <= 1 and
                           page.evaluate("window.virtalabSamePage === true"),
                           f"canvas {backing} wide, expected {round(WINDOW[0] * zoom * scale)}")
                self.check(f"at {zoom * 100:.0f} % the panel is drawn afresh",
                           self.colour_at(page, LAMP) == DARK_RED, self.colour_at(page, LAMP))
            self.check("nothing thrown on the page", not page.thrown(page.new_events()))
        finally:
            browser.close()

    def about_box(self):
        print("-- the about box through taps, the wheel and a drag outside it", flush=True)
        browser = self.browser()
        try:
            page = browser.page()
            page.send("Emulation.setTouchEmulationEnabled", enabled=True, maxTouchPoints=5)
            page.open(self.url)
            page.click(*page.at(25, 9))  # «Меню»
            time.sleep(0.6)
            for key in ("ArrowDown", "ArrowDown", "Enter"):
                page.key(key)
            time.sleep(1)

            panel = page.panel()

            def frame_of_box():
                # The about box's blue frame, the only one on the panel.
                at = page.shot(clip=(panel["left"], panel["top"], panel["width"],
                                     panel["height"])).find(BLUE, 200)
                return at and (panel["left"] + at[0], panel["top"] + at[1])

            opened = frame_of_box()
            if not self.check("the about box opened", opened is not None):
                return
            for name, act in (
                    ("a tap on «On»", lambda: page.tap(*page.at(*SCOPE_ON))),
                    ("the wheel over the gain slider", lambda: page.send(
                        "Input.dispatchMouseEvent", type="mouseWheel", x=page.at(*GAIN)[0],
                        y=page.at(*GAIN)[1], deltaX=0, deltaY=120)),
                    ("a touch drag along the gain slider", lambda: page.drag_touch(
                        page.at(*GAIN), page.at(GAIN[0] + 100, GAIN[1])))):
                act()
                time.sleep(0.6)
                thrown = page.thrown(page.new_events())
                self.check(f"{name}: nothing thrown, the box stays, the panel untouched",
                           not thrown and frame_of_box() == opened and
                           self.colour_at(page, LAMP) == DARK_RED,
                           thrown[:1] or self.colour_at(page, LAMP))
            page.click(opened[0] + (5760 + 172) / 15, opened[1] + (3240 + 142) / 15)
            time.sleep(1)
            self.check("«OK» closes it", frame_of_box() is None)
            page.tap(*page.at(*SCOPE_ON))
            time.sleep(0.7)
            self.check("then a tap on «On» lights the lamp", self.colour_at(page, LAMP) == GREEN)
        finally:
            browser.close()

    def course_page(self):
        print("-- a course page holding the lab in an iframe from another origin", flush=True)
        host = tempfile.mkdtemp(prefix="virtalab-course-")
        with open(os.path.join(host, "course.html"), "w", encoding="utf-8") as f:
            f.write(f"""<!doctype html><html lang="ru"><head><meta charset="utf-8">
<title>Курс</title></head><body>
<p><label>Имя <input id="before" autofocus></label></p>
<iframe id="lab" src="{self.url}" width="600" height="460" title="Вирталаб"></iframe>
<p><label>Ответ <input id="after"></label></p>
<script>window.addEventListener("message", () => {{}});</script>
</body></html>""")
        server = cdp.serve(host, compressed=False)
        browser = self.browser()
        try:
            page = browser.page()
            page.send("Page.navigate",
                      url=f"http://127.0.0.1:{server.server_address[1]}/course.html")
            deadline = time.monotonic() + 60
            painted = False
            while not painted and time.monotonic() < deadline:
                time.sleep(0.2)
                painted = any(e.get("method") == "Runtime.consoleAPICalled" and
                              "virtalab: first paint" in str(e["params"]["args"])
                              for e in browser.events)
            if not self.check("the lab started in the course page", painted):
                return
            time.sleep(1)
            self.check("the lab takes no focus as it loads",
                       page.evaluate("document.activeElement.id") == "before",
                       page.evaluate("document.activeElement.id || document.activeElement.tagName"))

            def walk(shift, start, goal):
                page.evaluate(f"document.getElementById('{start}').focus()")
                seen = []
                for _ in range(60):
                    page.key("Tab", shift=shift)
                    time.sleep(0.15)
                    here = page.evaluate("document.activeElement.id || document.activeElement.tagName")
                    if not seen or seen[-1] != here:
                        seen.append(here)
                    if here == goal:
                        break
                return seen

            forward = walk(False, "before", "after")
            self.check("Tab enters the lab and leaves it for the next field",
                       forward[:1] == ["lab"] and forward[-1] == "after", " → ".join(forward))
            backward = walk(True, "after", "before")
            self.check("Shift+Tab passes back through it", backward[:1] == ["lab"] and
                       backward[-1] == "before", " → ".join(backward))
        finally:
            browser.close()
            server.shutdown()

    # --- a screen reader ------------------------------------------------
    @staticmethod
    def reader_view(page):
        """The page's accessibility tree, as a screen reader gets it: the
        program's frame's nodes as (role, name, value), with their DOM node."""
        frame = page.send("Page.getFrameTree")["frameTree"]["childFrames"][0]["frame"]["id"]
        page.send("Accessibility.enable")
        nodes = page.send("Accessibility.getFullAXTree", frameId=frame)["nodes"]
        roles = {"button": "button", "radio": "radio", "slider": "slider",
                 "textbox": "textbox", "menubar": "menubar", "menuitem": "menuitem",
                 "group": "group", "dialog": "dialog", "img": "image", "image": "image"}
        view = []
        for node in nodes:
            role = roles.get(node.get("role", {}).get("value"))
            if role and not node.get("ignored"):
                view.append((role, node.get("name", {}).get("value", ""),
                             str(node.get("value", {}).get("value", "")),
                             node.get("backendDOMNodeId")))
        return view

    def screen_reader(self):
        print("-- what a screen reader finds", flush=True)
        desktop = json.loads(subprocess.run([self.accesstree], capture_output=True, check=True,
                                            text=True).stdout)
        expected = sorted((n["role"], n["name"], n.get("value", "")) for n in desktop
                          if n["role"] != "text")
        browser = self.browser()
        try:
            page = browser.page()
            page.open(self.url)
            time.sleep(1)
            view = self.reader_view(page)
            found = sorted(entry[:3] for entry in view)
            missing = [entry for entry in expected if entry not in found]
            extra = [entry for entry in found if entry not in expected]
            self.check(f"the page holds the {len(expected)} controls the desktop names, "
                       "with their roles, names and values",
                       not missing and not extra, f"missing {missing}, extra {extra}")

            def node(role, name):
                return next((entry for entry in self.reader_view(page)
                             if entry[:2] == (role, name)), None)

            def activate(entry):
                # A reader's default action on an element is a click on it.
                target = page.send("DOM.resolveNode", backendNodeId=entry[3])["object"]
                page.send("Runtime.callFunctionOn", objectId=target["objectId"],
                          functionDeclaration="function () { this.click(); }")

            activate(node("radio", "Осциллограф: On"))
            time.sleep(0.7)
            self.check("an activate on «Осциллограф: On» through the tree lights the lamp",
                       self.colour_at(page, LAMP) == GREEN, self.colour_at(page, LAMP))
            self.check("the tree follows: the switch checked, the gain slider enabled",
                       self.frame(page, f"{LAYER}.querySelector('[aria-label=\"Осциллограф: On\"]')"
                                        f".checked && !{LAYER}.querySelector("
                                        "'input[type=range][aria-label=\"Усиление\"]').disabled"))
            page.click(*page.at(*GAIN))
            page.key("End")
            time.sleep(0.5)
            gain = node("slider", "Усиление")
            self.check("after End on the gain slider its value in the tree is its maximum, 11",
                       gain and gain[2] == "11", gain)
            target = page.send("DOM.resolveNode", backendNodeId=gain[3])["object"]
            page.send("Runtime.callFunctionOn", objectId=target["objectId"],
                      functionDeclaration="function () { this.value = 3; "
                                          "this.dispatchEvent(new Event('input')); }")
            time.sleep(0.5)
            readout = node("textbox", "Усиление")
            self.check("a value a reader sets moves the slider, and its readout follows",
                       node("slider", "Усиление")[2] == "3" and readout and readout[2] == "3",
                       readout)
            self.check("the keyboard's focus is the reader's: the screen names the gain slider",
                       self.frame(page, f"{LAYER}.querySelector('#' + {OWNER}.getAttribute("
                                        "'aria-activedescendant')).getAttribute('aria-label')")
                       == "Усиление")
            page.click(*page.at(25, 9))
            for key in ("ArrowDown", "ArrowDown", "Enter"):
                page.key(key)
            time.sleep(1)
            box = [entry for entry in self.reader_view(page) if entry[0] == "dialog"]
            ok = node("button", "OK")
            self.check("the about box opens in the tree with its texts and «OK»",
                       len(box) == 1 and ok is not None and self.frame(
                           page, f"{LAYER}.querySelector('[role=dialog]').textContent"
                                 ".includes('Авторы:')"), box)
            if ok:
                activate(ok)
                time.sleep(1)
                self.check("an activate on «OK» closes it",
                           not [e for e in self.reader_view(page) if e[0] == "dialog"])
            self.check("nothing thrown on the page", not page.thrown(page.new_events()))
        finally:
            browser.close()

    # --- the line, the offline copy, a new version ----------------------
    def slow_line(self):
        print("-- a slow home line: 1.6 Mbit/s, 150 ms", flush=True)
        browser = self.browser()
        try:
            page = browser.page()
            page.send("Network.enable")
            page.send("Network.emulateNetworkConditions", offline=False, latency=150,
                      downloadThroughput=200_000, uploadThroughput=100_000)
            page.send("Page.navigate", url=self.url)
            texts = []
            deadline = time.monotonic() + 120
            while time.monotonic() < deadline:
                state = page.evaluate("document.readyState === 'loading' ? null : "
                                      "[document.getElementById('message-text').textContent, "
                                      "!!window.virtalabFirstPaint]")
                if state and state[1]:
                    break
                if state and (not texts or texts[-1] != state[0]):
                    texts.append(state[0])
                time.sleep(0.1)
            shares = [t for t in texts if "%" in t]
            self.check("the share downloaded shows, changing as it grows, then «Запуск…»",
                       len(shares) >= 3 and "Запуск…" in texts and
                       bool(page.evaluate("window.virtalabFirstPaint")),
                       f"{len(texts)} texts: {texts[:2]} … {texts[-2:]}")
        finally:
            browser.close()

    @staticmethod
    def wait_offline_copy(page, version):
        """Waits until the offline copy is the given version's alone."""
        return page.wait_for(f"""(async () => {{
            const ready = await navigator.serviceWorker.ready;
            const keys = await caches.keys();
            return ready.active && ready.active.state === 'activated' &&
                   keys.length === 1 && keys[0] === 'virtalab-{version}';
        }})()""", 60)

    def offline_and_new_version(self):
        print("-- without the network after a first visit; then a new version", flush=True)
        served = tempfile.mkdtemp(prefix="virtalab-served-")
        shutil.copytree(self.site, served, dirs_exist_ok=True)
        requests = []
        server = cdp.serve(served, requests=requests)
        url = f"http://127.0.0.1:{server.server_address[1]}/index.html"
        browser = self.browser()
        try:
            page = browser.page()
            page.open(url)
            old = page.evaluate("document.getElementById('lab').getAttribute('src')")
            old_version = old.split("/")[0]
            self.wait_offline_copy(page, old_version)
            port = server.server_address[1]
            server.shutdown()
            server.server_close()
            page.send("Page.reload")
            time.sleep(0.3)
            opened = page.wait_for("window.virtalabFirstPaint", 60)
            page.click(*page.at(*SCOPE_ON))
            time.sleep(0.7)
            self.check("with the server stopped, a reload opens the program and a switch works",
                       opened and self.colour_at(page, LAMP) == GREEN, self.colour_at(page, LAMP))

            # The next version, as a teacher puts it on the same server.
            new_version = old_version + "9"
            shutil.rmtree(served)
            shutil.copytree(self.site, served)
            os.rename(os.path.join(served, old_version), os.path.join(served, new_version))
            for name in ("index.html", "sw.js"):
                path = os.path.join(served, name)
                with open(path, encoding="utf-8") as f:
                    text = f.read().replace(old_version, new_version)
                with open(path, "w", encoding="utf-8") as f:
                    f.write(text)
            requests.clear()
            server = cdp.serve(served, requests=requests, port=port)
            page.open(url)
            self.wait_offline_copy(page, new_version)
            page.open(url)
            asked = [path for path in requests if path.startswith(f"/{old_version}/")]
            self.check("after a version change the new files are served, and no old ones",
                       not asked and page.evaluate(
                           "document.getElementById('lab').getAttribute('src')").startswith(
                           new_version + "/"), f"old files asked for: {asked}")
            self.check("nothing thrown on the page", not page.thrown(page.new_events()))
        finally:
            browser.close()
            server.shutdown()

    def installable(self):
        print("-- installable: the icon and the manifest", flush=True)
        browser = self.browser()
        try:
            page = browser.page()
            page.open(self.url)
            links = page.evaluate("""[...document.querySelectorAll('link[rel~=icon],'
                                     + 'link[rel=manifest]')].map(l => [l.rel, l.href])""")
            manifest = next((href for rel, href in links if rel == "manifest"), None)
            icons = [href for rel, href in links if "icon" in rel]
            self.check("the page links its icon", icons and all(
                urllib.request.urlopen(href).read()[:8] == b"\x89PNG\r\n\x1a\n" for href in icons),
                icons)
            data = json.loads(urllib.request.urlopen(manifest).read()) if manifest else {}
            sizes = {}
            for icon in data.get("icons", []):
                png = urllib.request.urlopen(urllib.parse.urljoin(manifest, icon["src"])).read()
                sizes[icon["sizes"]] = "%dx%d" % struct.unpack(">II", png[16:24])
            self.check("and a manifest naming the program, its icon at 192 and 512 pixels",
                       data.get("name") == "Вирталаб" and data.get("display") == "standalone" and
                       sizes == {"192x192": "192x192", "512x512": "512x512"},
                       f"{data.get('name')}, {sizes}")
        finally:
            browser.close()

    def run(self):
        for device in DEVICES:
            self.device(*device)
        self.zoom()
        self.about_box()
        self.course_page()
        self.slow_line()
        self.offline_and_new_version()
        self.installable()
        self.screen_reader()
        return 1 if self.failures else 0


def main():
    site, accesstree = sys.argv[1:3]
    shots = sys.argv[3] if len(sys.argv) > 3 else tempfile.mkdtemp(prefix="virtalab-layouts-")
    os.makedirs(shots, exist_ok=True)
    return Checks(site, accesstree, shots).run()


if __name__ == "__main__":
    sys.exit(main())
