#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Quorvel developers
# SPDX-License-Identifier: MIT
"""The page's figures for make bench, in one headless Chromium driven by
Selenium: the CPU of all the browser's processes for the page at x1 and
paused, and for a bare 400 x 420 canvas changed and shown a hundred times a
second, the least any page showing such a picture costs; and the samples a
second the page takes at x1, x10 and x100.  The page and the bare canvas take
turns, and each figure is the median of its turns, so that the noise of a
shared machine falls on both alike.  Then, as a record, the page with its
sound on, at x1 and paused; with it off, the figures above are the page's
own, since nothing of the sound is made until it is asked for.

The bare canvas is filled anew with a colour at each change: every step of
the program changes its picture at ten discs scattered over the board and in
the strip, and the browser puts on screen the rectangle around all that
changed, nearly the whole canvas, however the page hands it over.  A canvas
changed at a single small spot costs the browser less than any page showing
this picture can; it is measured too, as a record.

    scripts/web/serve.sh DIR bench/page.py
"""
import os
import statistics
import sys
import time
import urllib.parse

import psutil

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "scripts", "web"))
import browsers  # noqa: E402, the Chromium the checks drive too, its flags written once

SETTLE_S = 3
TURN_S, TURNS = 10, 5
PAUSED_S = 10
SPEED_S = 20
# Targets, on a 2-core machine.
AT_X100, AT_X10, AT_X1 = 9000, 950, 97
PAUSED_CPU = 2.0
OVER_BARE = 1.2
BARE = """<!DOCTYPE html><title>bare canvas</title><canvas id="c" width="400" height="420"></canvas><script>
const pen = document.getElementById("c").getContext("2d");
let n = 0;
setInterval(() => { n++; pen.fillStyle = `rgb(${n % 256}, 0, 0)`; pen.fillRect(CHANGE); }, 10);
</script>"""
WHOLE, SPOT = "0, 0, 400, 420", "n * 7 % 397, n * 13 % 417, 3, 3"
FOLLOW = """const take = Module.quorvelStrip;
Module.quorvelStrip = (estimate, tally, x) => {
  window.benchTotal = Number(tally.split("/")[1]); take(estimate, tally, x); };"""


def cpu_seconds(root):
    """User and system time of every process the driver started (the browser
    and all its own), each known by its pid and start."""
    found = {}
    for process in root.children(recursive=True):
        try:
            times = process.cpu_times()
            found[process.pid, process.create_time()] = times.user + times.system
        except psutil.Error:
            pass
    return found


def spell(driver, root, seconds):
    """The browser's CPU in % of a core, and the page's samples a second, over
    a spell: the time of the processes alive at its end, from its start or
    theirs, so that one that ends in the spell (the last page's) takes
    nothing off."""
    total = "return window.benchTotal || 0"
    cpu, samples, start = cpu_seconds(root), driver.execute_script(total), time.monotonic()
    time.sleep(seconds)
    span = time.monotonic() - start
    spent = sum(now - cpu.get(key, 0.0) for key, now in cpu_seconds(root).items())
    return 100 * spent / span, (driver.execute_script(total) - samples) / span


def open_page(driver, url):
    driver.get(url)
    started = "return !!(window.Module && Module.quorvelPace && Module.quorvelPace.poke)"
    if not browsers.wait_for(lambda: driver.execute_script(started), 10):
        sys.exit("bench.py: the page did not start")
    driver.execute_script(FOLLOW)
    time.sleep(SETTLE_S)


def click(driver, element):
    driver.execute_script("document.getElementById(arguments[0]).click()", element)
    time.sleep(1)


def row(figure, value, unit, target, met):
    verdict = "" if met is None else "met" if met else "MISS"
    print("| %-48s | %10.2f %-3s | %-22s | %-4s |" % (figure, value, unit, target, verdict))


def main():
    url = os.environ["QUORVEL_URL"]  # the page, served by serve.sh
    bare, spot = ("data:text/html," + urllib.parse.quote(BARE.replace("CHANGE", change)) for change in (WHOLE, SPOT))
    driver = browsers.Chromium()
    root = psutil.Process(driver.service.process.pid)
    version = driver.capabilities.get("browserVersion", "?")
    try:
        print("the page in headless Chromium: %d turns of %d s, bare canvases and page..." % (TURNS, TURN_S),
              file=sys.stderr)
        page_turns, bare_turns, spot_turns, paced = [], [], [], []
        for _ in range(TURNS):
            for url_of, turns in ((bare, bare_turns), (spot, spot_turns)):
                driver.get(url_of)
                time.sleep(SETTLE_S)
                turns.append(spell(driver, root, TURN_S)[0])
            open_page(driver, url)
            cpu, samples = spell(driver, root, TURN_S)
            page_turns.append(cpu)
            paced.append(samples)
        click(driver, "pause")
        paused = spell(driver, root, PAUSED_S)[0]
        click(driver, "pause")
        rates = {}
        for speed in (10, 100):
            click(driver, "speed-%d" % speed)
            rates[speed] = spell(driver, root, SPEED_S)[1]
        # A person's click, as browsers start sound only for one.
        click(driver, "speed-1")
        driver.find_element("id", "sound").click()
        time.sleep(SETTLE_S)
        heard = spell(driver, root, TURN_S)[0]
        click(driver, "pause")
        time.sleep(SETTLE_S)
        heard_paused = spell(driver, root, PAUSED_S)[0]
    finally:
        driver.quit()
    page, floor, spot = (statistics.median(turns) for turns in (page_turns, bare_turns, spot_turns))
    x1 = statistics.median(paced)
    print("\nThe page in headless Chromium (%s), all its processes; CPU as the median of %d turns of %d s"
          % (version, TURNS, TURN_S))
    print("| %-48s | %14s | %-22s | %-4s |" % ("figure", "", "target", ""))
    print("|%s|%s|%s|%s|" % ("-" * 50, "-" * 16, "-" * 24, "-" * 6))
    row("bare 400x420 canvas, filled 100 times a second", floor, "%", "(the floor)", None)
    row("the same, changed at one 3x3 spot", spot, "%", "(a record)", None)
    row("page at x1", page, "%", "<= %.1f x the floor" % OVER_BARE, page <= OVER_BARE * floor)
    row("page at x1, to the floor", page / floor, "x", "<= %.1f" % OVER_BARE, page <= OVER_BARE * floor)
    row("page paused", paused, "%", "< %g %% of a core" % PAUSED_CPU, paused < PAUSED_CPU)
    row("samples a second at x1", x1, "/s", ">= %d" % AT_X1, x1 >= AT_X1)
    row("samples a second at x10, over %d s" % SPEED_S, rates[10], "/s", ">= %d" % AT_X10, rates[10] >= AT_X10)
    row("samples a second at x100, over %d s" % SPEED_S, rates[100], "/s", ">= %d" % AT_X100,
        rates[100] >= AT_X100)
    row("page at x1, sound on (one turn)", heard, "%", "(a record)", None)
    row("page paused, sound on", heard_paused, "%", "< %g %% of a core" % PAUSED_CPU, heard_paused < PAUSED_CPU)


if __name__ == "__main__":
    main()
