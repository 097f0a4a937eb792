#!/usr/bin/env python3
"""Headless Chromium driven over the DevTools protocol on a pipe (nothing listens on the
network): a page opened at a screen size, as a phone or not, a script run in it, a picture.
"""
import base64
import json
import os
import subprocess


class Browser:
    def __init__(self, chromium, profile):
        to_browser_read, self.to_browser = os.pipe()
        self.from_browser, from_browser_write = os.pipe()

        # Chromium reads commands on fd 3 and answers on fd 4.
        def give_pipes():
            reading, writing = os.dup(to_browser_read), os.dup(from_browser_write)
            os.dup2(reading, 3)
            os.dup2(writing, 4)
            for own in (self.to_browser, self.from_browser):
                if own not in (3, 4):
                    os.close(own)

        # Without the background-networking switches Chromium's own connections are refused here.
        self.process = subprocess.Popen(
            [chromium, "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
             "--no-first-run", "--disable-background-networking", "--disable-component-update",
             "--disable-sync", "--hide-scrollbars", "--remote-debugging-pipe",
             "--user-data-dir=" + profile, "about:blank"],
            close_fds=False, preexec_fn=give_pipes, stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL)
        os.close(to_browser_read)
        os.close(from_browser_write)
        self.next_id = 0
        self.buffer = b""
        self.events = []
        self.tab = None  # the one tab every page opens in, as its session

    def message(self):
        while b"\0" not in self.buffer:
            chunk = os.read(self.from_browser, 1 << 16)
            if not chunk:
                raise RuntimeError("Chromium closed the pipe")
            self.buffer += chunk
        text, self.buffer = self.buffer.split(b"\0", 1)
        return json.loads(text)

    def call(self, method, session=None, **params):
        self.next_id += 1
        command = {"id": self.next_id, "method": method, "params": params}
        if session:
            command["sessionId"] = session
        os.write(self.to_browser, json.dumps(command).encode() + b"\0")
        while True:
            answer = self.message()
            if answer.get("id") == self.next_id:
                if "error" in answer:
                    raise RuntimeError(method + ": " + json.dumps(answer["error"]))
                return answer["result"]
            self.events.append(answer)

    def wait_for(self, method):
        while True:
            for i, event in enumerate(self.events):
                if event.get("method") == method:
                    del self.events[i]
                    return event
            self.events.append(self.message())

    def close(self):
        try:
            self.call("Browser.close")
        finally:
            self.process.wait(timeout=30)


def open_page(browser, page, width, height, mobile):
    """The page loaded afresh at that size, in the browser's one tab (a tab each costs a
    renderer's start); a phone has device scale 3, touch, and the page's viewport tag honoured.
    Returns the tab's session."""
    if browser.tab is None:
        target = browser.call("Target.createTarget", url="about:blank")["targetId"]
        browser.tab = browser.call("Target.attachToTarget", targetId=target, flatten=True)["sessionId"]
        browser.call("Page.enable", browser.tab)
    session = browser.tab
    browser.call("Emulation.setDeviceMetricsOverride", session, width=width, height=height,
                 deviceScaleFactor=3 if mobile else 1, mobile=mobile)
    browser.call("Emulation.setTouchEmulationEnabled", session, enabled=mobile,
                 maxTouchPoints=5 if mobile else 1)
    browser.call("Page.navigate", session, url="file://" + os.path.abspath(page))
    browser.wait_for("Page.loadEventFired")
    next_frames(browser, session)
    return session


def next_frames(browser, session):
    """Two frames drawn: what a frame's resize observers do has been done."""
    evaluate(browser, session, "new Promise((done) => requestAnimationFrame(() => "
             "requestAnimationFrame(() => done(1))))")


def resize(browser, session, width, height):
    """The open page at another size, as a window resized (its resize handlers run)."""
    browser.call("Emulation.setDeviceMetricsOverride", session, width=width, height=height,
                 deviceScaleFactor=1, mobile=False)
    next_frames(browser, session)


def evaluate(browser, session, script):
    """The script's value (a promise's once it settles), as JSON gives it back."""
    result = browser.call("Runtime.evaluate", session, expression=script, returnByValue=True,
                          awaitPromise=True)
    if "exceptionDetails" in result:
        raise RuntimeError("the script failed: " + json.dumps(result["exceptionDetails"]))
    return result["result"].get("value")


def screenshot(browser, session, path, width, height):
    """The screen's picture at half a pixel a CSS pixel, also on a phone's dense screen: it is
    only checked for not being blank, and each pixel left out is work saved."""
    scale = 0.5 / evaluate(browser, session, "devicePixelRatio")
    shot = browser.call("Page.captureScreenshot", session, format="png",
                        clip={"x": 0, "y": 0, "width": width, "height": height, "scale": scale})
    with open(path, "wb") as f:
        f.write(base64.b64decode(shot["data"]))
