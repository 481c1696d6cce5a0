# SPDX-License-Identifier: GPL-3.0-or-later
"""Chromium driven over its DevTools protocol, for the browser checks and the
browser benchmark: one headless browser spoken to over --remote-debugging-pipe
(file descriptors 3 and 4), so that nothing but Python's standard library is
needed; a page in it with input as a student's (mouse, touch, keys) and its
screen as pixels; and a server of the site that sends the precompressed
copies as a school's server would."""
import base64
import functools
import http.server
import io
import json
import os
import struct
import subprocess
import threading
import time
import zlib


class Browser:
    def __init__(self, profile, size=(1280, 1024), extra=()):
        to_browser_r, self._to_browser = os.pipe()
        self._from_browser, from_browser_w = os.pipe()
        flags = [
            "chromium", "--headless=new", "--enable-unsafe-swiftshader", "--no-first-run",
            "--disable-background-networking", "--disable-component-update", "--disable-sync",
            "--disable-quic", "--disable-features=Translate", f"--window-size={size[0]},{size[1]}",
            "--remote-debugging-pipe", "--user-data-dir=" + profile, *extra, "about:blank",
        ]
        if os.geteuid() == 0:
            flags.insert(1, "--no-sandbox")

        def pipes():
            os.dup2(to_browser_r, 3)
            os.dup2(from_browser_w, 4)
            os.setsid()

        self._process = subprocess.Popen(flags, preexec_fn=pipes,
                                         pass_fds=(3, 4, to_browser_r, from_browser_w),
                                         stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(to_browser_r)
        os.close(from_browser_w)
        self._id = 0
        self._replies = {}
        self.events = []
        self._lock = threading.Condition()
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        buffer = b""
        while True:
            chunk = os.read(self._from_browser, 1 << 20)
            if not chunk:
                with self._lock:
                    self._replies[None] = True
                    self._lock.notify_all()
                return
            buffer += chunk
            while b"\0" in buffer:
                raw, buffer = buffer.split(b"\0", 1)
                message = json.loads(raw)
                with self._lock:
                    if "id" in message:
                        self._replies[message["id"]] = message
                    else:
                        self.events.append(message)
                    self._lock.notify_all()

    def call(self, method, session=None, timeout=60, **params):
        with self._lock:
            self._id += 1
            ident = self._id
        message = {"id": ident, "method": method, "params": params}
        if session:
            message["sessionId"] = session
        os.write(self._to_browser, json.dumps(message).encode() + b"\0")
        with self._lock:
            if not self._lock.wait_for(lambda: ident in self._replies or None in self._replies,
                                       timeout):
                raise TimeoutError(method)
            if None in self._replies and ident not in self._replies:
                raise RuntimeError("Chromium closed its pipe")
            reply = self._replies.pop(ident)
        if "error" in reply:
            raise RuntimeError(f"{method}: {reply['error']}")
        return reply["result"]

    def page(self):
        """The browser's first tab."""
        targets = self.call("Target.getTargets")["targetInfos"]
        target = next(t for t in targets if t["type"] == "page")
        session = self.call("Target.attachToTarget", targetId=target["targetId"],
                            flatten=True)["sessionId"]
        return Page(self, session)

    def close(self):
        try:
            os.killpg(self._process.pid, 15)
        except ProcessLookupError:
            pass
        self._process.wait(10)


class Page:
    def __init__(self, browser, session):
        self.browser, self.session = browser, session
        self.seen = 0
        self.send("Page.enable")
        self.send("Runtime.enable")

    def send(self, method, **params):
        return self.browser.call(method, self.session, **params)

    def evaluate(self, expression):
        result = self.send("Runtime.evaluate", expression=expression, awaitPromise=True,
                           returnByValue=True)
        if "exceptionDetails" in result:
            raise RuntimeError(f"{expression}: {result['exceptionDetails']}")
        return result["result"].get("value")

    def wait_for(self, expression, seconds=60):
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            value = self.evaluate(expression)
            if value:
                return value
            time.sleep(0.05)
        raise TimeoutError(f"waiting for {expression}")

    def open(self, url, seconds=60):
        """Navigates and waits for the program's first paint."""
        self.send("Page.navigate", url=url)
        time.sleep(0.2)
        return self.wait_for("window.virtalabFirstPaint", seconds)

    def new_events(self):
        with self.browser._lock:
            events = self.browser.events[self.seen:]
            self.seen = len(self.browser.events)
        return [e for e in events if e.get("sessionId") in (None, self.session)]

    @staticmethod
    def thrown(events):
        return [e["params"]["exceptionDetails"].get("exception", {}).get(
            "description", e["params"]["exceptionDetails"].get("text", ""))
            for e in events if e.get("method") == "Runtime.exceptionThrown"]

    # The panel's frame: where it is on the page and at what scale.
    def panel(self):
        return self.evaluate("""(() => {
            const r = document.getElementById('lab').getBoundingClientRect();
            return {left: r.left, top: r.top, width: r.width, height: r.height,
                    scale: window.virtalabScale || 1};
        })()""")

    def at(self, x, y):
        """A point of the panel (the program's window, menu bar included, in
        its own pixels) as a point of the page."""
        p = self.panel()
        return p["left"] + x * p["scale"], p["top"] + y * p["scale"]

    def mouse(self, kind, x, y, button="left", clicks=1):
        self.send("Input.dispatchMouseEvent", type=kind, x=x, y=y, button=button,
                  buttons=1 if kind == "mousePressed" else 0, clickCount=clicks)

    def click(self, x, y):
        self.mouse("mouseMoved", x, y, button="none")
        self.mouse("mousePressed", x, y)
        self.mouse("mouseReleased", x, y)

    def tap(self, x, y):
        self.send("Input.dispatchTouchEvent", type="touchStart", touchPoints=[{"x": x, "y": y}])
        self.send("Input.dispatchTouchEvent", type="touchEnd", touchPoints=[])

    def drag_touch(self, start, end, steps=12):
        self.send("Input.dispatchTouchEvent", type="touchStart",
                  touchPoints=[{"x": start[0], "y": start[1]}])
        for i in range(1, steps + 1):
            x = start[0] + (end[0] - start[0]) * i / steps
            y = start[1] + (end[1] - start[1]) * i / steps
            self.send("Input.dispatchTouchEvent", type="touchMove", touchPoints=[{"x": x, "y": y}])
            time.sleep(0.02)
        self.send("Input.dispatchTouchEvent", type="touchEnd", touchPoints=[])

    KEYS = {"Tab": 9, "Enter": 13, "Escape": 27, " ": 32, "End": 35, "Home": 36,
            "ArrowLeft": 37, "ArrowUp": 38, "ArrowRight": 39, "ArrowDown": 40}

    TEXTS = {"Enter": "\r", " ": " "}

    def key(self, name, shift=False, ctrl=False):
        """A key pressed and released, with the text it types, as a keyboard
        sends it."""
        code = "Space" if name == " " else name
        modifiers = (8 if shift else 0) | (2 if ctrl else 0)
        text = {} if ctrl or name not in self.TEXTS else {"text": self.TEXTS[name]}
        self.send("Input.dispatchKeyEvent", type="keyDown" if text else "rawKeyDown", key=name,
                  code=code, modifiers=modifiers, windowsVirtualKeyCode=self.KEYS[name], **text)
        self.send("Input.dispatchKeyEvent", type="keyUp", key=name, code=code,
                  modifiers=modifiers, windowsVirtualKeyCode=self.KEYS[name])

    def shot(self, path=None, clip=None, decode=True):
        """The page, or the clip (left, top, width, height) of it, as pixels
        at the device's resolution."""
        params = {"format": "png"}
        if clip:
            params["clip"] = dict(zip(("x", "y", "width", "height"), clip), scale=1)
        data = base64.b64decode(self.send("Page.captureScreenshot", **params)["data"])
        if path:
            with open(path, "wb") as f:
                f.write(data)
        return Image(data) if decode else None

    def colour(self, x, y):
        """The colour at a point of the page."""
        return self.shot(clip=(x, y, 1, 1)).pixel(0, 0)


class Image:
    """An 8-bit RGB or RGBA PNG, decoded."""

    def __init__(self, data):
        assert data[:8] == b"\x89PNG\r\n\x1a\n"
        pos, idat = 8, b""
        while pos < len(data):
            length, kind = struct.unpack(">I4s", data[pos:pos + 8])
            body = data[pos + 8:pos + 8 + length]
            if kind == b"IHDR":
                self.width, self.height, depth, colour = struct.unpack(">IIBB", body[:10])
                assert depth == 8 and colour in (2, 6), (depth, colour)
                channels = 4 if colour == 6 else 3
            elif kind == b"IDAT":
                idat += body
            pos += 12 + length
        raw = zlib.decompress(idat)
        stride = self.width * channels
        rows = []
        prev = bytearray(stride)
        for y in range(self.height):
            kind = raw[y * (stride + 1)]
            line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
            if kind == 2:
                line = bytearray((a + b) & 255 for a, b in zip(line, prev))
            elif kind:
                for i in range(stride):
                    a = line[i - channels] if i >= channels else 0
                    b = prev[i]
                    c = prev[i - channels] if i >= channels else 0
                    if kind == 1:
                        line[i] = (line[i] + a) & 255
                    elif kind == 3:
                        line[i] = (line[i] + ((a + b) >> 1)) & 255
                    else:
                        p = a + b - c
                        pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                        line[i] = (line[i] + (a if pa <= pb and pa <= pc
                                              else b if pb <= pc else c)) & 255
            rows.append(bytes(line[i] for i in range(stride) if channels == 3 or i % 4 != 3)
                        if channels == 4 else bytes(line))
            prev = line
        self.pixels = b"".join(rows)

    def pixel(self, x, y):
        i = (int(y) * self.width + int(x)) * 3
        return tuple(self.pixels[i:i + 3])

    def find(self, colour, run=1):
        """The first point (in reading order) where run pixels of colour
        stand in a row, or None."""
        stripe = bytes(colour) * run
        i = self.pixels.find(stripe)
        while i >= 0 and i % 3:
            i = self.pixels.find(stripe, i + 1)
        return None if i < 0 else ((i // 3) % self.width, (i // 3) // self.width)

    def count(self, colour, box=None):
        """Pixels of exactly this colour, within (left, top, right, bottom)."""
        left, top, right, bottom = box or (0, 0, self.width, self.height)
        stripe = bytes(colour)
        n = 0
        for y in range(max(0, int(top)), min(self.height, int(bottom))):
            row = self.pixels[(y * self.width + max(0, int(left))) * 3:
                              (y * self.width + min(self.width, int(right))) * 3]
            n += sum(1 for i in range(0, len(row), 3) if row[i:i + 3] == stripe)
        return n


class SiteHandler(http.server.SimpleHTTPRequestHandler):
    """Serves the site as a school's server set up as the README says: the
    Brotli or gzip copy beside a file, where the browser takes it."""

    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                      ".wasm": "application/wasm", ".webmanifest": "application/manifest+json",
                      ".js": "text/javascript"}
    requests = None  # a list the paths asked for are appended to

    def log_message(self, *args):
        pass

    def send_head(self):
        if self.requests is not None:
            self.requests.append(self.path)
        path = self.translate_path(self.path)
        accepted = self.headers.get("Accept-Encoding", "")
        for kind, encoding in ((".br", "br"), (".gz", "gzip")):
            if encoding in accepted and os.path.isfile(path + kind):
                with open(path + kind, "rb") as f:
                    body = f.read()
                self.send_response(200)
                self.send_header("Content-Type", self.guess_type(path))
                self.send_header("Content-Encoding", encoding)
                self.send_header("Content-Length", str(len(body)))
                self.send_header("Vary", "Accept-Encoding")
                self.end_headers()
                return io.BytesIO(body)
        return super().send_head()


def serve(site, compressed=True, requests=None, port=0):
    """A server of the site on 127.0.0.1 (a free port unless given), in a
    thread."""
    handler = SiteHandler if compressed else http.server.SimpleHTTPRequestHandler
    handler = type("Handler", (handler,), {"requests": requests,
                                            "log_message": lambda *a: None})
    server = http.server.ThreadingHTTPServer(("127.0.0.1", port),
                                             functools.partial(handler, directory=site))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server
