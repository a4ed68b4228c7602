# SPDX-FileCopyrightText: 2026 The Quorvel developers
# SPDX-License-Identifier: MIT
"""The teacher's controls on the page: pause, one sample, the speeds, start
again, and what a screen reader gets of them in full screen.  The bodies
use only the page's own JavaScript and clicks on its elements by id; what a
screen reader gets comes through Chromium's DevTools protocol.

    QUORVEL_WEB_DIR=build-web python3 -m pytest tests/web/test_controls.py
"""
import functools
import http.server
import math
import os
import re
import tempfile
import threading
import time

import pytest
from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By

FLAGS = ["--headless=new", "--no-sandbox", "--disable-gpu", "--no-first-run", "--window-size=1280,800",
         "--disable-background-networking", "--disable-component-update", "--disable-sync"]
BOARD = 400
DISC_PIXELS = 25  # fewer than a disc of radius 3 covers
GREY = [100, 100, 100]  # the oldest of the trail, which every sample leaves behind
# Follows every strip the program hands to the page, from now on.
FOLLOW = """const take = Module.quorvelStrip;
window.strips = 0;
Module.quorvelStrip = (estimate, tally) => {
  const [inside, total] = tally.split("/").map(Number);
  window.strip = { estimate, inside, total };
  window.strips++;
  take(estimate, tally);
};"""
# The board's pixels as the page shows them: the grey ones, and those of
# any other colour than black, white and grey (the trail's newer discs).
BOARD_PIXELS = """const pixels = document.getElementById("canvas").getContext("2d").getImageData(0, 0, %d, %d).data;
let grey = 0, other = 0;
for (let i = 0; i < pixels.length; i += 4) {
  const [r, g, b] = [pixels[i], pixels[i + 1], pixels[i + 2]];
  if (r === 100 && g === 100 && b === 100) grey++;
  else if (!(r === g && g === b && (r === 0 || r === 255))) other++;
}
return { grey, other };""" % (BOARD, BOARD)


class Quiet(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


@pytest.fixture(scope="module")
def url():
    folder = os.environ.get("QUORVEL_WEB_DIR", os.path.join(os.path.dirname(__file__), "..", "..", "build-web"))
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(Quiet, directory=folder))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    yield "http://127.0.0.1:%d/" % server.server_address[1]
    server.shutdown()


@pytest.fixture(scope="module")
def browser():
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for flag in FLAGS + ["--user-data-dir=" + tempfile.mkdtemp()]:
        options.add_argument(flag)
    driver = webdriver.Chrome(options=options, service=Service("/usr/bin/chromedriver"))
    yield driver
    driver.quit()


@pytest.fixture
def page(browser, url):
    """The page, running, with its strips followed."""
    browser.get(url)
    until(browser, "return !!(window.Module && Module.quorvelPace && Module.quorvelPace.poke)", 10)
    browser.execute_script(FOLLOW)
    until(browser, "return window.strips > 0", 5)
    return browser


def until(driver, script, seconds):
    """The script's value once it is true; fails at the deadline."""
    end = time.monotonic() + seconds
    while True:
        value = driver.execute_script(script)
        if value or time.monotonic() > end:
            assert value, "not within %s s: %s" % (seconds, script)
            return value
        time.sleep(0.05)


def press(driver, element):
    driver.find_element(By.ID, element).click()


def strip(driver):
    return driver.execute_script("return [window.strip, window.strips]")


def total(driver):
    return strip(driver)[0]["total"]


def rate(driver, seconds):
    before, start = total(driver), time.monotonic()
    time.sleep(seconds)
    return (total(driver) - before) / (time.monotonic() - start)


def paused(driver):
    """Pauses, and waits until the strips have stopped, as they must at once."""
    press(driver, "pause")
    until(driver, "return document.getElementById('pause').textContent === 'Play'", 2)
    return strip(driver)


def full_screen(driver):
    press(driver, "fullscreen")
    until(driver, "return document.fullscreenElement === document.getElementById('stage')", 5)


def described(driver, selector):
    """What a screen reader gets of the element: role, name, description and states."""
    root = driver.execute_cdp_cmd("DOM.getDocument", {})["root"]["nodeId"]
    node = driver.execute_cdp_cmd("DOM.querySelector", {"nodeId": root, "selector": selector})["nodeId"]
    ax = driver.execute_cdp_cmd("Accessibility.getPartialAXTree", {"nodeId": node, "fetchRelatives": False})["nodes"][0]
    states = {p["name"]: p["value"].get("value") for p in ax.get("properties", [])}
    return ax["role"]["value"], ax["name"]["value"], ax.get("description", {}).get("value", ""), states


def test_pause_holds_the_tally(page):
    held, strips = paused(page)
    time.sleep(2)
    assert strip(page) == [held, strips]
    assert not page.find_element(By.ID, "step").get_attribute("disabled")


def test_one_sample_takes_exactly_one(page):
    assert page.find_element(By.ID, "step").get_attribute("disabled"), "one sample while running"
    held, strips = paused(page)
    for _ in range(5):
        press(page, "step")
    until(page, "return window.strips === %d" % (strips + 5), 5)
    time.sleep(0.5)
    now, after = strip(page)
    assert (now["total"], after) == (held["total"] + 5, strips + 5)


def test_x100_runs_at_least_20_times_x1(page):
    slow = rate(page, 3)
    press(page, "speed-100")
    rate(page, 0.5)
    fast = rate(page, 3)
    assert fast >= 20 * slow > 0, "x1 %.0f/s, x100 %.0f/s" % (slow, fast)


def test_picture_after_x100_is_whole(page):
    """Every sample of a spell at x100 left its grey dot, and the strip
    shows the estimate of its own tally."""
    press(page, "speed-100")
    time.sleep(1.5)
    shown, _ = paused(page)
    assert shown["estimate"] == "%.8f" % (4 * shown["inside"] / shown["total"])
    board = page.execute_script(BOARD_PIXELS)
    covered = BOARD * BOARD * (1 - math.exp(-(shown["total"] - 10) * DISC_PIXELS / (BOARD * BOARD)))
    assert shown["total"] > 2000 and board["grey"] >= covered / 2, (shown, board)


@pytest.mark.parametrize("held", [False, True], ids=["running", "paused"])
def test_start_again_in_full_screen(page, held):
    """A new run on a cleared board, still in full screen and at its speed;
    paused, on the program's start-up picture, until a sample is asked for."""
    full_screen(page)
    press(page, "speed-100")
    time.sleep(1)
    if not held:
        press(page, "speed-1")
    else:
        last = paused(page)
    press(page, "again")
    if held:
        until(page, "const b = (() => { %s })(); return b.grey + b.other === 0" % BOARD_PIXELS, 5)
        assert strip(page) == last, "a step while paused"
        press(page, "step")
        until(page, "return window.strip.total === 1", 5)
    else:
        until(page, "return window.strip.total < 30", 5)
    first = page.execute_script("return [window.strip.total, (() => { %s })()]" % BOARD_PIXELS)
    assert first[1]["grey"] + first[1]["other"] <= first[0] * 4 * DISC_PIXELS, first
    assert page.execute_script("""return document.fullscreenElement !== null &&
        document.getElementById(arguments[0]).checked""", "speed-100" if held else "speed-1")


def test_paused_page_is_not_said_to_have_stopped(page):
    if not page.execute_script("return typeof window.quorvel.quiet === 'function'"):
        pytest.skip("the page's watcher has no quiet() yet")
    paused(page)
    time.sleep(5)
    assert page.execute_script("return document.getElementById('trouble').hidden")
    press(page, "pause")
    before = total(page)
    until(page, "return window.strip.total > %d" % before, 5)


def test_full_screen_is_described(page):
    """In full screen a screen reader gets the picture's and the chart's
    numbers, the controls' names and states, and, paused, that it is."""
    full_screen(page)
    time.sleep(1)
    _, _, picture, _ = described(page, "#canvas")
    _, _, chart, _ = described(page, "#chart")
    assert re.search(r"\d\.\d{8}\D+[\d,]+ of [\d,]+ samples", picture), picture
    assert re.search(r"After [\d,]+ samples the estimate is \d\.\d+", chart), chart
    controls = [described(page, selector) for selector in ("#pause", "#step", "#speed", "#speed-1", "#speed-10")]
    assert [c[:2] for c in controls] == [("button", "Pause"), ("button", "One sample"), ("group", "Speed"),
                                         ("radio", "\u00d71"), ("radio", "\u00d710")]
    assert [c[3].get("checked") for c in controls[3:]] == ["true", "false"]
    held, _ = paused(page)
    time.sleep(1)
    _, name, picture, _ = described(page, "#canvas")
    assert described(page, "#pause")[1] == "Play"
    assert picture.startswith("Paused after {:,} samples.".format(held["total"])), picture
