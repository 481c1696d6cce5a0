#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The browser build's figures, against their absolute targets:

- transfer size: every file of the site compressed with gzip -9, as a web
  server compresses them;
- first paint: from navigation to the panel's first paint (the program tells
  the page), served from 127.0.0.1, in a headless Chromium that is already
  running, with its cache off (a first visit each time), software WebGL;
  the median of the loads;
- slider step: one step of sl4 in the sweep along X and Y, sent as a real key
  press: the main thread's busy time over many steps (handler, repaint,
  drawing the frame) less the same time idle, per step; the least of the
  rounds. Twice: with SwiftShader as the browser's GPU, so that the page's
  WebGL frame reaches the screen as a browser with a graphics card hands it
  on (judged against the target); and with software compositing, the
  fallback of a browser whose graphics card it refuses, which reads every
  WebGL frame back into memory (shown, not judged).

Chromium is driven over its DevTools pipe (file descriptors 3 and 4), so
nothing but Python's standard library is needed.

  web_bench.py <site folder> [loads] [rounds]
"""
import functools
import gzip
import http.server
import json
import os
import statistics
import subprocess
import sys
import tempfile
import threading
import time

SIZE_TARGET_MB = 4.0
PAINT_TARGET_MS = 1500
STEP_TARGET_MS = 8.0
STEPS = 40


class Browser:
    """One headless Chromium, spoken to over --remote-debugging-pipe."""

    def __init__(self, profile, gpu_compositing=False):
        to_chrome_r, self._to_chrome = os.pipe()
        self._from_chrome, from_chrome_w = os.pipe()
        flags = [
            "chromium", "--headless=new", "--enable-unsafe-swiftshader", "--no-first-run",
            "--disable-background-networking", "--disable-component-update", "--disable-sync",
            "--disable-quic", "--window-size=1280,1024", "--remote-debugging-pipe",
            "--user-data-dir=" + profile, "about:blank",
        ]
        if os.geteuid() == 0:
            flags.insert(1, "--no-sandbox")
        if gpu_compositing:
            flags[1:1] = ["--use-gl=angle", "--use-angle=swiftshader"]

        def pipes():
            os.dup2(to_chrome_r, 3)
            os.dup2(from_chrome_w, 4)

        self._process = subprocess.Popen(flags, preexec_fn=pipes, pass_fds=(3, 4),
                                         stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(to_chrome_r)
        os.close(from_chrome_w)
        self._buffer = b""
        self._id = 0
        targets = self.call("Target.getTargets")["targetInfos"]
        page = next(t for t in targets if t["type"] == "page")
        self._session = self.call("Target.attachToTarget", targetId=page["targetId"],
                                  flatten=True)["sessionId"]

    def call(self, method, session=None, **params):
        self._id += 1
        message = {"id": self._id, "method": method, "params": params}
        if session:
            message["sessionId"] = session
        os.write(self._to_chrome, json.dumps(message).encode() + b"\0")
        while True:
            while b"\0" not in self._buffer:
                chunk = os.read(self._from_chrome, 1 << 16)
                if not chunk:
                    raise RuntimeError("Chromium closed its pipe")
                self._buffer += chunk
            raw, self._buffer = self._buffer.split(b"\0", 1)
            reply = json.loads(raw)
            if reply.get("id") == self._id:
                if "error" in reply:
                    raise RuntimeError(f"{method}: {reply['error']}")
                return reply["result"]

    def page(self, method, **params):
        return self.call(method, self._session, **params)

    def evaluate(self, expression):
        result = self.page("Runtime.evaluate", expression=expression, awaitPromise=True,
                           returnByValue=True)
        return result["result"].get("value")

    def wait_for(self, expression, seconds=60):
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            value = self.evaluate(expression)
            if value:
                return value
            time.sleep(0.05)
        raise RuntimeError(f"timed out waiting for {expression}")

    def close(self):
        self._process.terminate()
        self._process.wait()


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def serve(site):
    handler = functools.partial(QuietHandler, directory=site)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


def transfer_size(site):
    return sum(len(gzip.compress(open(os.path.join(site, name), "rb").read(), 9))
               for name in sorted(os.listdir(site)))


def first_paints(url, work, loads):
    """A student's browser is running already; the site is new to it."""
    browser = Browser(tempfile.mkdtemp(dir=work))
    try:
        browser.page("Network.enable")
        browser.page("Network.setCacheDisabled", cacheDisabled=True)
        paints = []
        for _ in range(loads):
            browser.page("Page.navigate", url="about:blank")
            browser.wait_for("document.readyState === 'complete'")
            browser.page("Page.navigate", url=url)
            paints.append(browser.wait_for("window.virtalabFirstPaint"))
        return paints
    finally:
        browser.close()


def busy_ms(browser):
    metrics = browser.page("Performance.getMetrics")["metrics"]
    return next(m["value"] for m in metrics if m["name"] == "TaskDuration") * 1000


def frames(browser, count):
    browser.evaluate("new Promise(done => { let n = %d; const next = () => --n ? "
                     "requestAnimationFrame(next) : done(true); requestAnimationFrame(next); })"
                     % count)


def slider_steps(url, work, rounds, gpu_compositing):
    browser = Browser(tempfile.mkdtemp(dir=work), gpu_compositing)
    try:
        browser.page("Performance.enable")
        browser.page("Page.navigate", url=url)
        browser.wait_for("window.virtalabFirstPaint")
        box = browser.evaluate("(() => { const r = document.getElementById('screen')"
                               ".getBoundingClientRect(); return [r.left, r.bottom]; })()")
        left, top = box[0], box[1] - 433

        def click(twips_x, twips_y):
            for kind in ("mousePressed", "mouseReleased"):
                browser.page("Input.dispatchMouseEvent", type=kind, button="left", clickCount=1,
                             x=left + twips_x / 15, y=top + twips_y / 15)
            frames(browser, 3)

        def key(name, code):
            for kind in ("rawKeyDown", "keyUp"):
                browser.page("Input.dispatchKeyEvent", type=kind, key=name, code=name,
                             windowsVirtualKeyCode=code)

        # Both units on, the sweep along X and Y, then sl4 (frequency) in focus.
        for point in ((1087, 547), (1087, 5587), (1207, 1507), (6450, 6007)):
            click(*point)
        frames(browser, 10)
        results = []
        for _ in range(rounds):
            # The same number of frames, idle and with a step in each.
            start = busy_ms(browser)
            for _ in range(STEPS):
                frames(browser, 2)
            idle = busy_ms(browser) - start
            start = busy_ms(browser)
            for step in range(STEPS):
                key(*(("ArrowRight", 39) if step % 2 == 0 else ("ArrowLeft", 37)))
                frames(browser, 2)
            busy = busy_ms(browser) - start
            results.append((busy - idle) / STEPS)
        return min(results)
    finally:
        browser.close()


def row(figure, measured, unit, target):
    verdict = "pass" if measured <= target else "FAIL"
    print(f"{figure:<38} {measured:9.2f} {unit:<3} {'target':>8} {target:7.2f} {unit:<3} {verdict}")


def main():
    site = sys.argv[1]
    loads = int(sys.argv[2]) if len(sys.argv) > 2 else 7
    rounds = int(sys.argv[3]) if len(sys.argv) > 3 else 5
    server = serve(site)
    url = f"http://127.0.0.1:{server.server_address[1]}/index.html"
    with tempfile.TemporaryDirectory() as work:
        paints = first_paints(url, work, loads)
        step = slider_steps(url, work, rounds, gpu_compositing=True)
        software_step = slider_steps(url, work, rounds, gpu_compositing=False)
    server.shutdown()
    row("browser: site size after gzip -9", transfer_size(site) / 1e6, "MB", SIZE_TARGET_MB)
    row(f"browser: first paint (median of {loads})", statistics.median(paints), "ms",
        PAINT_TARGET_MS)
    row("browser: slider step sl4", step, "ms", STEP_TARGET_MS)
    print(f"  slider step with software compositing: {software_step:.2f} ms")
    print(f"  first paints: {', '.join(f'{p:.0f}' for p in sorted(paints))} ms")


if __name__ == "__main__":
    main()
