# SPDX-FileCopyrightText: 2026 The Quorvel developers
# SPDX-License-Identifier: MIT
"""What the page says where it cannot run, and that what it says of silence
it takes back: in Chromium, the page's folder in QUORVEL_WEB (build-web)."""
import os
import re
import tempfile
import time

import pytest
from selenium import webdriver
from selenium.webdriver.chrome.service import Service

WEB = os.path.abspath(os.environ.get("QUORVEL_WEB", os.path.join(os.path.dirname(__file__), "../../build-web")))
SAID = "const t = document.getElementById('trouble'); return t.hidden ? null : [t.textContent, " \
    "document.getElementById('reading').textContent, document.getElementById('canvas').hidden]"
RUNNING = "return / of [1-9][\\d,]* samples/.test(document.getElementById('reading').textContent)"
# Every tally the program hands over, and the time of the last.
FOLLOW = "const take = Module.quorvelStrip; window.totals = []; Module.quorvelStrip = (e, t) => " \
    "{ totals.push(Number(t.split('/')[1])); window.lastPicture = performance.now(); take(e, t); };"
# The program's steps held where it sleeps, as on a phone that falls behind; the page's own timers run on.
HOLD = "window.held = []; window.keep = setTimeout; window.setTimeout = (f, ms, ...a) => held.push(() => f(...a));"
RELEASE = "window.setTimeout = keep; held.splice(0).forEach((f) => setTimeout(f, 0)); return totals.length;"
RUNS_AGAIN = "return document.getElementById('trouble').hidden && !document.getElementById('canvas').hidden " \
    "&& totals.length > arguments[0] + 50"


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


def unknowing():  # the one file's policy as a browser that does not know 'wasm-unsafe-eval' reads it
    copy = tempfile.mkdtemp() + "/quorvel.html"
    with open(WEB + "/quorvel.html", encoding="utf-8") as one, open(copy, "w", encoding="utf-8") as f:
        f.write(re.sub(r"(script-src[^\"]*) 'wasm-unsafe-eval'", r"\1", one.read()))
    return copy


@pytest.mark.parametrize("taken, where, need", [
    ("delete window.DecompressionStream", lambda: WEB + "/quorvel.html", "unpack"),
    ("delete window.DecompressionStream", lambda: WEB + "/index.html", "unpack"),
    ("delete window.WebAssembly", lambda: WEB + "/index.html", "WebAssembly"),
    ("delete window.WebAssembly", lambda: WEB + "/quorvel.html", "WebAssembly"),
    ("", unknowing, "WebAssembly")])
def test_a_browser_without_what_the_page_needs_is_named(page, taken, where, need):
    page.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": taken})
    page.get("file://" + where())
    assert until(page, "return document.readyState === 'complete' && !document.getElementById('trouble').hidden", 5)
    shown, heard, hidden = page.execute_script(SAID)
    fetched = page.execute_script("return performance.getEntriesByType('resource').map((e) => e.name)")
    assert hidden and shown == heard and need in shown and "browser" in shown and "quorvel.wasm" not in shown
    assert re.search(r"Safari \d+(\.\d+)?, Chrome and Edge \d+, and Firefox \d+", shown)
    assert not [name for name in fetched if re.search(r"quorvel(-wasm)?\.js$", name)]


def test_silence_is_taken_back_and_quiet_is_not_held_against_the_program(page):
    page.get("file://%s/index.html" % WEB)
    assert until(page, RUNNING, 10)
    page.execute_script(FOLLOW)
    assert until(page, "return totals.length > 5", 5)
    page.execute_script(HOLD)
    shown, heard, hidden = until(page, SAID, 15)
    spoke = page.execute_script("return performance.now() - lastPicture")
    assert hidden and shown == heard and "waiting" in shown and "stopped" not in shown
    assert until(page, RUNS_AGAIN, 5, page.execute_script(RELEASE))
    # Paused, twice as long as the watcher needed to speak, and nothing is said; let go, and it runs on.
    page.execute_script("quorvel.quiet(true);" + HOLD)
    assert until(page, "return performance.now() - lastPicture > 2 * arguments[0]", 30, spoke)
    assert page.execute_script(SAID) is None
    assert until(page, RUNS_AGAIN, 5, page.execute_script("quorvel.quiet(false);" + RELEASE))
    totals = page.execute_script("return totals")
    assert totals == list(range(totals[0], totals[0] + len(totals)))
