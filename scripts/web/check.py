#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Quorvel developers
# SPDX-License-Identifier: MIT
"""What the X11 checks cannot reach, through Chromium's DevTools protocol:
the page on a phone's screen and under touch, what a screen reader gets, and
the page installable and running with its server gone.

    scripts/web/check.py DIR
"""
import functools
import os
import http.server
import re
import sys
import tempfile
import threading
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service

FIRST_VISIT_KIB = 200
FLAGS = ["--headless=new", "--no-sandbox", "--disable-gpu", "--no-first-run",
         "--disable-background-networking", "--disable-component-update", "--disable-sync"]
failures = []


def check(ok, what):
    print(("ok: " if ok else "FAIL: ") + what)
    if not ok:
        failures.append(what)


class Server(http.server.ThreadingHTTPServer):
    """The page's folder on 127.0.0.1, noting every path asked for and the
    bytes sent."""

    def __init__(self, folder):
        self.asked = set()
        self.sent = 0
        handler = functools.partial(Handler, directory=folder)
        super().__init__(("127.0.0.1", 0), handler)
        threading.Thread(target=self.serve_forever, daemon=True).start()
        self.url = "http://127.0.0.1:%d/" % self.server_address[1]


class Handler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        self.server.asked.add(self.path)

    def copyfile(self, source, outputfile):
        data = source.read()
        self.server.sent += len(data)
        outputfile.write(data)


def browser():
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for flag in FLAGS + ["--user-data-dir=" + tempfile.mkdtemp()]:
        options.add_argument(flag)
    options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    return webdriver.Chrome(options=options, service=Service("/usr/bin/chromedriver"))


def screen(driver, width, height, touch):
    driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
        "width": width, "height": height, "deviceScaleFactor": 2, "mobile": touch})
    driver.execute_cdp_cmd("Emulation.setTouchEmulationEnabled", {"enabled": touch, "maxTouchPoints": 5})


def start(driver, url):
    """Loads the page and follows the tally the program hands to the page."""
    driver.get(url)
    driver.execute_script("""
        window.touches = 0;
        for (const t of ["touchstart", "touchmove", "touchend"])
          document.getElementById("canvas").addEventListener(t, () => window.touches++, {passive: true});
        const take = Module.quorvelStrip;
        Module.quorvelStrip = (estimate, tally) => { window.tally = tally; take(estimate, tally); };""")
    time.sleep(1)


def total(driver):
    return int(driver.execute_script("return window.tally").split("/")[1])


def touch(driver, kind, x, y):
    points = [] if kind == "touchEnd" else [{"x": x, "y": y}]
    driver.execute_cdp_cmd("Input.dispatchTouchEvent", {"type": kind, "touchPoints": points})


def drag(driver, x, y0, y1, steps=30):
    touch(driver, "touchStart", x, y0)
    for i in range(1, steps + 1):
        touch(driver, "touchMove", x, y0 + (y1 - y0) * i // steps)
        time.sleep(0.015)
    touch(driver, "touchEnd", x, y1)


def samples_over(driver, action):
    before, touches = total(driver), driver.execute_script("return window.touches")
    end = time.time() + 1.5
    action()
    time.sleep(max(0, end - time.time()))
    return total(driver) - before, driver.execute_script("return window.touches") - touches


def check_screens(driver, url):
    for width in (320, 360, 400, 1280):
        screen(driver, width, 740, width < 1000)
        driver.get(url)
        scroll, view, box = driver.execute_script("""
            const box = document.getElementById("canvas").getBoundingClientRect();
            return [document.documentElement.scrollWidth, innerWidth, [box.left, box.width, box.height]];""")
        shown = min(width, 400)
        check(scroll <= view and box == [0, shown, shown * 420 / 400],
              "at %d px wide, the whole picture at %d px and nothing sideways (%s, %s of %s)"
              % (width, shown, box, scroll, view))


def check_touch(driver, url):
    screen(driver, 320, 480, True)
    start(driver, url)
    ticks, _ = samples_over(driver, lambda: None)
    samples, events = samples_over(driver, lambda: drag(driver, 150, 100, 250))
    check(abs(samples - ticks - events) <= 8,
          "a drag over the picture: %d touch events, %d samples beside %d from ticks" % (events, samples, ticks))
    check(driver.execute_script("return scrollY") == 0, "a drag over the picture leaves the page where it is")
    drag(driver, 150, 460, 200)
    time.sleep(0.5)
    check(driver.execute_script("return scrollY") > 0, "a swipe below the picture scrolls the page")


def check_reading(driver, url):
    screen(driver, 1280, 740, False)
    start(driver, url)
    texts = []
    for _ in range(2):
        node = driver.execute_cdp_cmd("DOM.getDocument", {})["root"]["nodeId"]
        node = driver.execute_cdp_cmd("DOM.querySelector", {"nodeId": node, "selector": "#canvas"})["nodeId"]
        ax = driver.execute_cdp_cmd("Accessibility.getPartialAXTree", {"nodeId": node, "fetchRelatives": False})
        ax = ax["nodes"][0]
        texts.append(ax.get("description", {}).get("value", ""))
        time.sleep(1)
    check(ax["role"]["value"] == "image" and "Quorvel" in ax["name"]["value"],
          "the picture is an image named %r" % ax["name"]["value"])
    found = [re.search(r"(\d\.\d{8})\D+(\d+)/(\d+)", t) for t in texts]
    check(all(found) and all(f[1] == "%.8f" % (4 * int(f[2]) / int(f[3])) for f in found)
          and int(found[1][3]) > int(found[0][3]), "a screen reader reads the strip: %s" % texts)
    live = driver.execute_script("return document.querySelectorAll('[aria-live], [role=status], [role=log]').length")
    check(live == 0, "nothing on the page announces itself")


def check_offline(driver, server):
    """A first visit, on a server of its own, so that nothing is cached yet."""
    start(driver, server.url)
    errors = driver.execute_cdp_cmd("Page.getInstallabilityErrors", {})["installabilityErrors"]
    check(not errors, "installable as an app: %s" % (errors or "no objections"))
    driver.execute_async_script("navigator.serviceWorker.ready.then(() => arguments[0]())")
    check(server.sent < FIRST_VISIT_KIB * 1024,
          "a first visit fetches %.1f KiB in all, kept for offline use too" % (server.sent / 1024))
    server.shutdown()
    server.server_close()
    start(driver, server.url)
    before = total(driver)
    time.sleep(1)
    check(total(driver) > before, "with the server gone, the page loads and runs")


def main():
    folder = sys.argv[1]
    server, first = Server(folder), Server(folder)
    driver = browser()
    try:
        check_offline(driver, first)
        check_screens(driver, server.url)
        check_touch(driver, server.url)
        check_reading(driver, server.url)
        errors = [e["message"] for e in driver.get_log("browser") if e["level"] == "SEVERE"]
        check(not errors, "no errors in the console: %s" % errors)
    finally:
        driver.quit()
    own = {"/"} | {"/" + name for name in os.listdir(folder)}
    asked = server.asked | first.asked
    check(asked <= own, "the page asked for its own files only: %s" % sorted(asked - own))
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
