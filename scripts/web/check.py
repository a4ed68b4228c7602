#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Quorvel developers
# SPDX-License-Identifier: MIT
"""What the X11 checks cannot reach, through Chromium's DevTools protocol:
the page on a phone's screen and under touch, what a screen reader gets, the
page installable and running with its server gone; the page opened from
disk, the one file wherever it is put, what the page says when the program
cannot start, the page on a school's network and in a course page's frame,
and the code to scan.

    scripts/web/check.py DIR
"""
import functools
import os
import http.server
import math
import re
import shutil
import subprocess
import sys
import tempfile
import threading
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service

FIRST_VISIT_KIB = 200
ONE_FILE_KIB = 200
SAYS_WHY_S = 5
# A page left on all day keeps flat memory: the chart keeps at most some 400
# points, and the program allocates nothing.
MEMORY_SETTLES_S, MEMORY_SOAK_S, MEMORY_GROWTH_KIB = 20, 150, 256
FLAGS = ["--headless=new", "--no-sandbox", "--disable-gpu", "--no-first-run",
         "--disable-background-networking", "--disable-component-update", "--disable-sync"]
# A teacher's laptop on the school's network, and another site's course page.
LAN, COURSE = "teacher-laptop.lan", "course.example"
NAMES = "--host-resolver-rules=MAP %s 127.0.0.1, MAP %s 127.0.0.1" % (LAN, COURSE)
# Follows the tally the program hands to the page, from its first picture on.
FOLLOW = """Object.defineProperty(window, "Module", {configurable: true, set(module) {
  const take = module.quorvelStrip;
  module.quorvelStrip = (estimate, tally) => {
    window.firstPicture = window.firstPicture || performance.now();
    window.tally = tally;
    take(estimate, tally);
  };
  Object.defineProperty(window, "Module", {value: module, writable: true, configurable: true});
}});"""
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


def browser(*flags):
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for flag in FLAGS + list(flags) + ["--user-data-dir=" + tempfile.mkdtemp()]:
        options.add_argument(flag)
    options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    driver = webdriver.Chrome(options=options, service=Service("/usr/bin/chromedriver"))
    driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": FOLLOW})
    return driver


def errors(driver):
    """The console's errors since last asked."""
    return [e["message"] for e in driver.get_log("browser") if e["level"] == "SEVERE"]


def until(driver, script, seconds):
    end = time.time() + seconds
    while not driver.execute_script(script) and time.time() < end:
        time.sleep(0.1)
    return driver.execute_script(script)


def screen(driver, width, height, touch):
    driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
        "width": width, "height": height, "deviceScaleFactor": 2, "mobile": touch})
    driver.execute_cdp_cmd("Emulation.setTouchEmulationEnabled", {"enabled": touch, "maxTouchPoints": 5})


def start(driver, url):
    """Loads the page and counts the touches on the picture."""
    driver.get(url)
    driver.execute_script("""
        window.touches = 0;
        for (const t of ["touchstart", "touchmove", "touchend"])
          document.getElementById("canvas").addEventListener(t, () => window.touches++, {passive: true});""")
    time.sleep(1)


def total(driver):
    return int(driver.execute_script("return window.tally").split("/")[1])


def running(driver, url):
    """Whether the page at url runs, and its first picture's time in ms."""
    start(driver, url)
    first, before = driver.execute_script("return [window.firstPicture, window.tally]")
    time.sleep(0.5)
    return before is not None and total(driver) > int(before.split("/")[1]), first


def reading(driver):
    """The tally as a screen reader gets it, for frames the tally is not followed in."""
    text = driver.execute_script("return document.getElementById('reading').textContent")
    found = re.search(r"of ([\d,]+) samples", text)
    return int(found[1].replace(",", "")) if found else 0


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
    """The picture, and the chart under it or, from 760 px, beside it."""
    for width in (320, 360, 400, 1280):
        screen(driver, width, 740, width < 1000)
        driver.get(url)
        scroll, view, box, chart = driver.execute_script("""
            const box = document.getElementById("canvas").getBoundingClientRect();
            const chart = document.getElementById("chart").getBoundingClientRect();
            return [document.documentElement.scrollWidth, innerWidth, [box.left, box.width, box.height],
                    [chart.left, chart.right, chart.top, chart.bottom]];""")
        shown = min(width, 400)
        placed = chart[1] <= width and (chart[0] >= 400 and chart[3] <= 740 if width > 760 else chart[2] >= box[2])
        check(scroll <= view and box == [0, shown, shown * 420 / 400] and placed,
              "at %d px wide, the whole picture at %d px, the chart %s, and nothing sideways (%s, %s, %s of %s)"
              % (width, shown, "beside it" if width > 760 else "under it", box, chart, scroll, view))


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


def described(driver, selector):
    """What a screen reader gets of the element: its role, name and description."""
    node = driver.execute_cdp_cmd("DOM.getDocument", {})["root"]["nodeId"]
    node = driver.execute_cdp_cmd("DOM.querySelector", {"nodeId": node, "selector": selector})["nodeId"]
    ax = driver.execute_cdp_cmd("Accessibility.getPartialAXTree", {"nodeId": node, "fetchRelatives": False})["nodes"][0]
    return ax["role"]["value"], ax["name"]["value"], ax.get("description", {}).get("value", "")


def check_reading(driver, url):
    screen(driver, 1280, 740, False)
    start(driver, url)
    texts = []
    for _ in range(2):
        role, name, text = described(driver, "#canvas")
        texts.append(text)
        time.sleep(1)
    check(role == "image" and "Quorvel" in name, "the picture is an image named %r" % name)
    found = [re.search(r"(\d\.\d{8})\D+([\d,]+) of ([\d,]+) samples", t) for t in texts]
    counts = [[int(n.replace(",", "")) for n in f.groups()[1:]] if f else [0, 1] for f in found]
    check(all(found) and all(f[1] == "%.8f" % (4 * i / t) for f, (i, t) in zip(found, counts))
          and counts[1][1] > counts[0][1], "a screen reader reads the strip: %s" % texts)
    check_chart_words(driver)
    live = driver.execute_script("return document.querySelectorAll('[aria-live], [role=status], [role=log]').length")
    check(live == 0, "nothing on the page announces itself")


def check_chart_words(driver):
    """The chart's words follow the strip within half a second (50 steps at
    100 a second, and a few for the moment between the two readings), and
    give the band's half-width at that count as 3.284 / sqrt(n)."""
    role, name, text = described(driver, "#chart")
    shown = total(driver)
    found = re.search(r"After ([\d,]+) samples the estimate is (\d\.(\d+)), (\d\.\d+) (below|above) \u03c0;"
                      r" at this count it stays within \u00b1(\d\.\d+) of 3\.1419", text)
    if not found:
        check(False, "the chart's words: %r" % text)
        return
    n, unit = int(found[1].replace(",", "")), 10 ** -len(found[3])
    off = float(found[2]) - math.pi
    check(role == "image" and "Chart" in name and 0 <= shown - n <= 60 and
          abs(float(found[6]) - 3.284 / math.sqrt(n)) <= 0.6 * unit and abs(float(found[4]) - abs(off)) <= 1.1 * unit and
          (found[5] == "below") == (off < 0),
          "the chart is an image whose words follow the strip at %d samples: %r" % (shown, text))


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


def check_memory(driver, url):
    """A page left on: its JavaScript heap, after a collection, a few minutes apart."""
    start(driver, url)
    heaps = []
    for wait in (MEMORY_SETTLES_S, MEMORY_SOAK_S):
        time.sleep(wait)
        driver.execute_cdp_cmd("HeapProfiler.collectGarbage", {})
        heaps.append(driver.execute_cdp_cmd("Runtime.getHeapUsage", {})["usedSize"] / 1024)
    check(heaps[1] - heaps[0] <= MEMORY_GROWTH_KIB,
          "the page's heap over %d s: %.0f KiB, then %.0f KiB" % (MEMORY_SOAK_S, *heaps))


def check_languages(folder):
    """The page in the browser's language where it has it, else English:
    its lang, its text and controls, and the reading, numbers and all."""
    languages = [("de", "de", "Vollbild", "Quorvel schätzt", r"\d,\d{8}\. [\d.]+ von [\d.]+ Proben"),
                 ("fr", "fr", "Plein écran", "Quorvel estime", r"\d,\d{8}\. [\d\u202f]+ échantillons sur"),
                 ("ja", "en", "Full screen", "Quorvel estimates", r"\d\.\d{8}\. [\d,]+ of [\d,]+ samples")]
    server = Server(folder)
    for asked, shown, control, about, reading in languages:
        driver = browser("--lang=" + asked, "--accept-lang=" + asked)
        try:
            start(driver, server.url)
            found = driver.execute_script("""return [document.documentElement.lang,
                document.getElementById("fullscreen").textContent, document.getElementById("about").textContent,
                document.getElementById("reading").textContent]""")
            check(found[:2] == [shown, control] and found[2].startswith(about) and re.search(reading, found[3]),
                  "asked for %s, the page is in %s: %s" % (asked, shown, found[1:4:2]))
        finally:
            driver.quit()


def check_places(driver, folder):
    """The page opened from disk, and the one file from disk and from a
    folder of a course site, which it asks nothing more of."""
    one = os.path.join(folder, "quorvel.html")
    policy = re.search(r'Content-Security-Policy" content="([^"]*)"', open(one, encoding="utf-8").read())[1]
    check(os.path.getsize(one) <= ONE_FILE_KIB * 1024 and "default-src 'none'" in policy and
          not re.search(r"'unsafe-(inline|eval)'|connect-src|'self'", policy),
          "the one file is %.1f KiB, and lets in only itself: %s" % (os.path.getsize(one) / 1024, policy[:60]))
    site = tempfile.mkdtemp()
    shutil.copytree(folder, site + "/files", ignore=lambda _, names: set(names) - {"quorvel.html"})
    course = Server(site)
    places = [("index.html from disk", "file://%s/index.html" % folder, None),
              ("quorvel.html from disk", "file://" + one, []),
              ("quorvel.html in a course site's folder", course.url + "files/quorvel.html", [])]
    for what, url, fetches in places:
        runs, first = running(driver, url)
        asked = driver.execute_script("return performance.getEntriesByType('resource').map((e) => e.name)")
        check(runs and fetches in (None, asked) and not errors(driver),
              "%s runs, first picture at %s ms, with a clean console%s"
              % (what, first and round(first), "" if fetches is None else ", fetching nothing: %s" % asked))
    check(course.asked == {"/files/quorvel.html"}, "the course site is asked for the one file only: %s"
          % sorted(course.asked))


def check_trouble(driver, folder):
    """A copy of the folder with quorvel.wasm lost or damaged: the page says
    why in place of the picture, and a screen reader gets the same."""
    damages = [("lost", os.remove),
               ("not WebAssembly", lambda path: open(path, "w").write("<!DOCTYPE html><p>Not found</p>"))]
    for what, damage in damages:
        copy = tempfile.mkdtemp() + "/web"
        shutil.copytree(folder, copy)
        damage(copy + "/quorvel.wasm")
        driver.get(Server(copy).url)
        begun = time.time()
        said = until(driver, "return !document.getElementById('trouble').hidden", SAYS_WHY_S + 2)
        shown, heard, canvas = driver.execute_script("""return [document.getElementById("trouble").innerText,
            document.getElementById("reading").textContent, document.getElementById("canvas").hidden]""")
        check(said and canvas and shown == heard and shown.startswith("Quorvel could not start")
              and "quorvel.html" in shown and time.time() - begun < SAYS_WHY_S,
              "quorvel.wasm %s: said in %.1f s: %r" % (what, time.time() - begun, shown))
        errors(driver)


def check_network(folder):
    """The page from a teacher's laptop on the school's network, over plain
    http; its code to scan; and the page in another site's course page."""
    driver = browser(NAMES, "--window-size=1920,1080", "--screen-info={1920x1080}")
    try:
        server = Server(folder)
        url = server.url.replace("127.0.0.1", LAN)
        runs, _ = running(driver, url)
        plain = driver.execute_script("return !isSecureContext && !('serviceWorker' in navigator)")
        check(runs and plain and not errors(driver), "over plain http at %s the page runs, with a clean console" % url)
        check_code(driver, url)
        check_frame(driver, url)
    finally:
        driver.quit()


def check_code(driver, url):
    """The code to scan, decoded from a screenshot shrunk to a third, as from
    the back of a class; for an address only this computer opens, words."""
    driver.set_window_size(1280, 800)
    driver.get(url)
    driver.find_element("id", "share").click()
    shown = until(driver, "return !document.getElementById('code-picture').hidden", 5)
    written = driver.find_element("id", "code-text").text
    if "127.0.0.1" in url:
        check(not shown and "only on this computer" in written, "at %s, no code but words: %r" % (url, written))
    else:
        shot = tempfile.mkdtemp() + "/code.png"
        driver.save_screenshot(shot)
        subprocess.run(["convert", shot, "-resize", "33.3%", shot], check=True)
        read = subprocess.run(["zbarimg", "--quiet", "--raw", shot], capture_output=True, text=True).stdout.strip()
        check(read == url and written == url, "the code to scan reads %r, the address beside it %r" % (read, written))
    driver.find_element("id", "code-close").click()


def check_frame(driver, url):
    """360 px wide in another site's page, and full screen from inside it."""
    site = tempfile.mkdtemp()
    with open(site + "/index.html", "w") as f:
        f.write('<!DOCTYPE html><title>Course</title><iframe src="%s" title="Quorvel" width="360" height="640" '
                'allow="fullscreen"></iframe>' % url)
    driver.set_window_size(1920, 1080)
    driver.get(Server(site).url.replace("127.0.0.1", COURSE))
    driver.switch_to.frame(0)
    before = until(driver, "return document.getElementById('reading').textContent.includes(' samples')", 10) and reading(driver)
    time.sleep(1)
    fits = driver.execute_script("""const box = document.getElementById("canvas").getBoundingClientRect();
        const room = document.documentElement.clientWidth;
        return [document.documentElement.scrollWidth <= room && box.left === 0 && box.width === room, box.width];""")
    check(reading(driver) > before and fits[0],
          "in a course page's 360 px frame the page runs, and fits at %s px beside its scroll bar" % fits[1])
    driver.find_element("id", "fullscreen").click()
    until(driver, "return document.fullscreenElement !== null", 5)
    time.sleep(0.5)
    width, chart = driver.execute_script("""const box = document.getElementById("canvas").getBoundingClientRect();
        const chart = document.getElementById("chart").getBoundingClientRect();
        return [box.width, [chart.left - box.right, chart.width, chart.height]];""")
    check(width >= 800 and width % 400 == 0 and chart[0] >= 0 and chart[1] >= 1000 and chart[2] >= 800,
          "full screen from inside the frame, on a 1920 x 1080 screen, shows the picture at x %s and the chart "
          "beside it at %s x %s" % (width / 400, chart[1], chart[2]))
    driver.switch_to.default_content()


def main():
    folder = sys.argv[1]
    server, first = Server(folder), Server(folder)
    driver = browser()
    try:
        check_offline(driver, first)
        check_screens(driver, server.url)
        check_touch(driver, server.url)
        check_reading(driver, server.url)
        found = errors(driver)
        check(not found, "no errors in the console: %s" % found)
        check_places(driver, os.path.abspath(folder))
        check_code(driver, server.url)
        check_trouble(driver, folder)
        check_memory(driver, server.url)
    finally:
        driver.quit()
    check_network(folder)
    check_languages(folder)
    own = {"/"} | {"/" + name for name in os.listdir(folder)}
    asked = server.asked | first.asked
    check(asked <= own, "the page asked for its own files only: %s" % sorted(asked - own))
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
