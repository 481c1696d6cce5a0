#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The browser build's figures, against their absolute targets:

- site size: every file of the program compressed with gzip -9, as a web
  server compresses them on the fly;
- Brotli transfer: what a browser that takes Brotli actually receives on a
  first visit, from a server that sends the site's precompressed copies;
- first paint: from navigation to the panel's first paint (the program tells
  the page), served from 127.0.0.1, in a headless Chromium that is already
  running, with its cache off (a first visit each time), software WebGL;
  the median of the loads;
- a slow home line: the same at 1.6 Mbit/s with 150 ms of latency, Brotli
  copies served; first paint, and when the page first shows the share
  downloaded;
- slider step: one step of sl4 in the sweep along X and Y, sent as a real key
  press: the main thread's busy time over many steps (handler, repaint,
  drawing the frame) less the same time idle, per step; the least of the
  rounds. Twice: with SwiftShader as the browser's GPU, so that the page's
  WebGL frame reaches the screen as a browser with a graphics card hands it
  on (judged against the target); and with software compositing, the
  fallback of a browser whose graphics card it refuses, which reads every
  WebGL frame back into memory (shown, not judged).

Chromium is driven over its DevTools pipe (tests/e2e/cdp.py).

  web_bench.py <site folder> [loads] [rounds]
"""
import gzip
import os
import statistics
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
import cdp  # noqa: E402

SIZE_TARGET_MB = 4.0
BROTLI_TARGET_MB = 3.0
PAINT_TARGET_MS = 1500
SLOW_PAINT_TARGET_MS = 20000
PROGRESS_TARGET_MS = 1000
STEP_TARGET_MS = 8.0
STEPS = 40


def site_files(site):
    for folder, _, names in os.walk(site):
        for name in sorted(names):
            if not name.endswith((".gz", ".br")):
                yield os.path.join(folder, name)


def transfer_size(site):
    return sum(len(gzip.compress(open(path, "rb").read(), 9)) for path in site_files(site))


def first_paints(url, work, loads):
    """A student's browser is running already; the site is new to it."""
    browser = cdp.Browser(tempfile.mkdtemp(dir=work))
    try:
        page = browser.page()
        page.send("Network.enable")
        page.send("Network.setCacheDisabled", cacheDisabled=True)
        paints = []
        for _ in range(loads):
            page.send("Page.navigate", url="about:blank")
            page.wait_for("document.readyState === 'complete'")
            paints.append(page.open(url))
        return paints
    finally:
        browser.close()


def slow_line(url, work):
    """A first visit over a slow home line: first paint, the first share
    shown, and the bytes received."""
    browser = cdp.Browser(tempfile.mkdtemp(dir=work))
    try:
        page = browser.page()
        page.send("Network.enable")
        page.send("Network.setCacheDisabled", cacheDisabled=True)
        page.send("Network.emulateNetworkConditions", offline=False, latency=150,
                  downloadThroughput=200_000, uploadThroughput=100_000)
        page.send("Page.navigate", url=url)
        progress = None
        deadline = time.monotonic() + 120
        while time.monotonic() < deadline:
            state = page.evaluate(
                "document.readyState === 'loading' ? null : "
                "[document.getElementById('message-text').textContent.includes('%'), "
                "performance.now(), window.virtalabFirstPaint || 0]")
            if state and state[0] and progress is None:
                progress = state[1]
            if state and state[2]:
                paint = state[2]
                break
            time.sleep(0.05)
        else:
            raise TimeoutError("no first paint over the slow line")
        received = sum(e["params"]["encodedDataLength"] for e in page.new_events()
                       if e.get("method") == "Network.loadingFinished")
        return paint, progress, received
    finally:
        browser.close()


def slider_steps(url, work, rounds, gpu_compositing):
    extra = ("--use-gl=angle", "--use-angle=swiftshader") if gpu_compositing else ()
    browser = cdp.Browser(tempfile.mkdtemp(dir=work), extra=extra)
    try:
        page = browser.page()
        page.send("Performance.enable")
        page.open(url)

        def busy_ms():
            metrics = page.send("Performance.getMetrics")["metrics"]
            return next(m["value"] for m in metrics if m["name"] == "TaskDuration") * 1000

        def frames(count):
            page.evaluate("new Promise(done => { let n = %d; const next = () => --n ? "
                          "requestAnimationFrame(next) : done(true); "
                          "requestAnimationFrame(next); })" % count)

        # Both units on, the sweep along X and Y, then sl4 (frequency) in
        # focus; the panel starts below the window's 19-pixel menu bar.
        for x, y in ((1087, 547), (1087, 5587), (1207, 1507), (6450, 6007)):
            page.click(*page.at(x / 15, 19 + y / 15))
            frames(3)
        frames(10)
        results = []
        for _ in range(rounds):
            # The same number of frames, idle and with a step in each.
            start = busy_ms()
            for _ in range(STEPS):
                frames(2)
            idle = busy_ms() - start
            start = busy_ms()
            for step in range(STEPS):
                page.key("ArrowRight" if step % 2 == 0 else "ArrowLeft")
                frames(2)
            busy = busy_ms() - start
            results.append((busy - idle) / STEPS)
        return min(results)
    finally:
        browser.close()


def row(figure, measured, unit, target):
    verdict = "pass" if measured <= target else "FAIL"
    print(f"{figure:<42} {measured:9.2f} {unit:<3} {'target':>8} {target:8.2f} {unit:<3} {verdict}")


def main():
    site = sys.argv[1]
    loads = int(sys.argv[2]) if len(sys.argv) > 2 else 7
    rounds = int(sys.argv[3]) if len(sys.argv) > 3 else 5
    server = cdp.serve(site)
    url = f"http://127.0.0.1:{server.server_address[1]}/index.html"
    with tempfile.TemporaryDirectory() as work:
        paints = first_paints(url, work, loads)
        slow_paint, progress, received = slow_line(url, work)
        step = slider_steps(url, work, rounds, gpu_compositing=True)
        software_step = slider_steps(url, work, rounds, gpu_compositing=False)
    server.shutdown()
    row("browser: site size after gzip -9", transfer_size(site) / 1e6, "MB", SIZE_TARGET_MB)
    row("browser: Brotli transfer, first visit", received / 1e6, "MB", BROTLI_TARGET_MB)
    row(f"browser: first paint (median of {loads})", statistics.median(paints), "ms",
        PAINT_TARGET_MS)
    row("browser: first paint at 1.6 Mbit/s, 150 ms", slow_paint, "ms", SLOW_PAINT_TARGET_MS)
    row("browser: share downloaded first shown", progress if progress is not None else 1e9,
        "ms", PROGRESS_TARGET_MS)
    row("browser: slider step sl4", step, "ms", STEP_TARGET_MS)
    print(f"  slider step with software compositing: {software_step:.2f} ms")
    print(f"  first paints: {', '.join(f'{p:.0f}' for p in sorted(paints))} ms")


if __name__ == "__main__":
    main()
