# SPDX-FileCopyrightText: 2026 The Quorvel developers
# SPDX-License-Identifier: MIT
"""What the page says where it cannot run, and that what it says of silence
it takes back: in Chromium, the page's folder in QUORVEL_WEB (build-web)."""
import functools
import http.server
import os
import re
import tempfile
import threading
import time

import pytest
from selenium import webdriver
from selenium.webdriver.chrome.service import Service

FOLDER = os.path.abspath(os.environ.get("QUORVEL_WEB", os.path.join(os.path.dirname(__file__), "../../build-web")))
SAID = "const t = document.getElementById('trouble'); return t.hidden ? null : [t.textContent, " \
    "document.getElementById('reading').textContent, document.getElementById('canvas').hidden]"
# Every tally the program hands over, and the time of the last.
FOLLOW = "const take = Module.quorvelStrip; window.totals = []; Module.quorvelStrip = (e, t) => " \
    "{ totals.push(Number(t.split('/')[1])); window.lastPicture = performance.now(); take(e, t); };"
# The program's steps held where it sleeps, as a phone that falls behind would; the page's own timers run on.
HOLD = "window.held = []; window.keep = setTimeout; window.setTimeout = (f, ms, ...a) => held.push(() => f(...a));"
RELEASE = "window.setTimeout = keep; held.splice(0).forEach((f) => setTimeout(f, 0));"
RUNNING = "return / of [1-9][\\d,]* samples/.test(document.getElementById('reading').textContent)"
RUNS_AGAIN = "return document.getElementById('trouble').hidden && totals.length > arguments[0] + 50"


class Handler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


@pytest.fixture(scope="module")
def served():
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(Handler, directory=FOLDER))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    yield "http://127.0.0.1:%d/" % server.server_address[1]
    server.shutdown()


@pytest.fixture
def page():
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for flag in ["--headless=new", "--no-sandbox", "--disable-gpu", "--user-data-dir=" + tempfile.mkdtemp()]:
        options.add_argument(flag)
    driver = webdriver.Chrome(options=options, service=Service("/usr/bin/chromedriver"))
    yield driver
    driver.quit()


def until(page, script, seconds, *args):
    end = time.time() + seconds
    while not page.execute_script(script, *args) and time.time() < end:
        time.sleep(0.05)
    return page.execute_script(script, *args)


def without_policy_keyword(_):
    with open(FOLDER + "/quorvel.html", encoding="utf-8") as f:
        page = re.sub(r"(script-src[^\"]*) 'wasm-unsafe-eval'", r"\1", f.read())
    copy = tempfile.mkdtemp() + "/quorvel.html"
    with open(copy, "w", encoding="utf-8") as f:
        f.write(page)
    return "file://" + copy


@pytest.mark.parametrize("taken, where, need", [
    ("delete window.DecompressionStream", lambda _: "file://%s/quorvel.html" % FOLDER, "unpack"),
    ("delete window.DecompressionStream", lambda _: "file://%s/index.html" % FOLDER, "unpack"),
    ("delete window.DecompressionStream", lambda url: url, None),
    ("delete window.WebAssembly", lambda url: url, "WebAssembly"),
    ("delete window.WebAssembly", lambda _: "file://%s/quorvel.html" % FOLDER, "WebAssembly"),
    ("", without_policy_keyword, "WebAssembly")])
def test_a_browser_without_what_the_page_needs_is_named(page, served, taken, where, need):
    page.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": taken})
    page.get(where(served))
    if need is None:
        assert until(page, RUNNING, 10)
        return
    assert until(page, "return document.readyState === 'complete' && !document.getElementById('trouble').hidden", 5)
    shown, heard, hidden = page.execute_script(SAID)
    fetched = page.execute_script("return performance.getEntriesByType('resource').map((e) => e.name).join(' ')")
    assert hidden and shown == heard and need in shown and "browser" in shown and "quorvel.wasm" not in shown
    assert re.search(r"Safari \d+(\.\d+)?, Chrome and Edge \d+, and Firefox \d+", shown) and "quorvel.js" not in fetched


def test_silence_is_taken_back_and_quiet_is_not_held_against_the_program(page, served):
    page.get(served)
    assert until(page, RUNNING, 10)
    page.execute_script(FOLLOW)
    page.execute_script(HOLD)
    shown, heard, hidden = until(page, SAID, 15)
    spoke = page.execute_script("return performance.now() - lastPicture")
    assert hidden and shown == heard and "waiting" in shown and "stopped" not in shown
    held = page.execute_script("return totals.length")
    page.execute_script(RELEASE)
    assert until(page, RUNS_AGAIN, 5, held)
    assert not page.execute_script("return document.getElementById('canvas').hidden")
    # Paused, twice as long as the watcher needed to speak, and nothing is said; let go, and it runs on.
    page.execute_script("quorvel.quiet(true);" + HOLD)
    assert until(page, "return performance.now() - lastPicture > 2 * arguments[0]", 30, spoke)
    assert page.execute_script(SAID) is None
    held = page.execute_script("quorvel.quiet(false);" + RELEASE + "return totals.length")
    assert until(page, RUNS_AGAIN, 5, held)
    totals = page.execute_script("return totals")
    assert totals == list(range(totals[0], totals[0] + len(totals)))
