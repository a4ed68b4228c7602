#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Quorvel developers
# SPDX-License-Identifier: MIT
"""The page's figures for make bench, in one headless Chromium driven by
Selenium: the CPU of all the browser's processes for the page at x1, x100
and paused, and for a bare 400 x 420 canvas changed and shown a hundred times
a second, the least any page showing such a picture costs; the samples a
second the page takes at each speed, and at x10,000 its CPU and how soon it
reaches a hundred million samples, where pi leaves the band; and x100 and
x10,000 again with the CPU slowed four times, as on a school's Chromebook.
The page and the bare canvas take turns, and each figure is the median of
its turns, so that the noise of a shared machine falls on both alike.
Then, as a record, the page with its sound on, at x1 and paused; with it off,
the figures above are the page's own, since nothing of the sound is made
until it is asked for.

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
FAR = 10 ** 8  # samples: past the 114 million where pi leaves the band
SLOWED = 4  # times, as DevTools slows a page's CPU
# Targets, on a 2-core machine.
AT_X10000, AT_X100, AT_X10, AT_X1 = 950000, 9000, 950, 97
SLOWED_X10000, SLOWED_X100 = 250000, 9900
FAR_S = 120
X10000_CPU = 100.0  # % of a core, all the browser's processes
PAUSED_CPU = 2.0
OVER_BARE, X100_OVER_BARE = 1.2, 1.3
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


def far(driver, root):
    """At x10,000 from a new page: the CPU and samples a second over a spell,
    then the seconds from the click to FAR samples, None where it takes over
    twice the target."""
    open_page(driver, os.environ["QUORVEL_URL"])
    start = time.monotonic()
    driver.execute_script("document.getElementById('speed-10000').click()")
    time.sleep(2)
    cpu, rate = spell(driver, root, SPEED_S)
    reached = browsers.wait_for(lambda: driver.execute_script("return window.benchTotal || 0") >= FAR, 2 * FAR_S,
                                every=0.5)
    return cpu, rate, time.monotonic() - start if reached else None


def slowed(driver, root):
    """Samples a second at x10,000 and at x100 with the page's CPU slowed."""
    open_page(driver, os.environ["QUORVEL_URL"])
    driver.execute_cdp_cmd("Emulation.setCPUThrottlingRate", {"rate": SLOWED})
    rates = {}
    for speed in (10000, 100):
        click(driver, "speed-%d" % speed)
        rates[speed] = spell(driver, root, SPEED_S)[1]
    driver.execute_cdp_cmd("Emulation.setCPUThrottlingRate", {"rate": 1})
    return rates


def row(figure, value, unit, target, met):
    verdict = "" if met is None else "met" if met else "MISS"
    shown = "%13s %-3s" % ("n/a", "") if value is None else "%13.2f %-3s" % (value, unit)
    print("| %-52s | %s | %-24s | %-4s |" % (figure, shown, target, verdict))


def main():
    url = os.environ["QUORVEL_URL"]  # the page, served by serve.sh
    bare, spot = ("data:text/html," + urllib.parse.quote(BARE.replace("CHANGE", change)) for change in (WHOLE, SPOT))
    driver = browsers.Chromium()
    root = psutil.Process(driver.service.process.pid)
    version = driver.capabilities.get("browserVersion", "?")
    try:
        print("the page in headless Chromium: %d turns of %d s, bare canvases and page..." % (TURNS, TURN_S),
              file=sys.stderr)
        page_turns, fast_turns, bare_turns, spot_turns, paced = [], [], [], [], []
        for _ in range(TURNS):
            for url_of, turns in ((bare, bare_turns), (spot, spot_turns)):
                driver.get(url_of)
                time.sleep(SETTLE_S)
                turns.append(spell(driver, root, TURN_S)[0])
            open_page(driver, url)
            cpu, samples = spell(driver, root, TURN_S)
            page_turns.append(cpu)
            paced.append(samples)
            click(driver, "speed-100")
            fast_turns.append(spell(driver, root, TURN_S)[0])
            click(driver, "speed-1")
        click(driver, "pause")
        paused = spell(driver, root, PAUSED_S)[0]
        click(driver, "pause")
        rates = {}
        for speed in (10, 100):
            click(driver, "speed-%d" % speed)
            rates[speed] = spell(driver, root, SPEED_S)[1]
        print("the page at x10,000 to %d samples, then with its CPU slowed %d times..." % (FAR, SLOWED),
              file=sys.stderr)
        far_cpu, rates[10000], far_s = far(driver, root)
        slow = slowed(driver, root)
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
    page, fast, floor, spot = (statistics.median(turns) for turns in (page_turns, fast_turns, bare_turns, spot_turns))
    x1 = statistics.median(paced)
    print("\nThe page in headless Chromium (%s), all its processes; CPU as the median of %d turns of %d s"
          % (version, TURNS, TURN_S))
    print("| %-52s | %17s | %-24s | %-4s |" % ("figure", "", "target", ""))
    print("|%s|%s|%s|%s|" % ("-" * 54, "-" * 19, "-" * 26, "-" * 6))
    row("bare 400x420 canvas, filled 100 times a second", floor, "%", "(the floor)", None)
    row("the same, changed at one 3x3 spot", spot, "%", "(a record)", None)
    row("page at x1", page, "%", "<= %.1f x the floor" % OVER_BARE, page <= OVER_BARE * floor)
    row("page at x1, to the floor", page / floor, "x", "<= %.1f" % OVER_BARE, page <= OVER_BARE * floor)
    row("page paused", paused, "%", "< %g %% of a core" % PAUSED_CPU, paused < PAUSED_CPU)
    row("samples a second at x1", x1, "/s", ">= %d" % AT_X1, x1 >= AT_X1)
    row("samples a second at x10, over %d s" % SPEED_S, rates[10], "/s", ">= %d" % AT_X10, rates[10] >= AT_X10)
    row("samples a second at x100, over %d s" % SPEED_S, rates[100], "/s", ">= %d" % AT_X100,
        rates[100] >= AT_X100)
    row("page at x100, to the floor", fast / floor, "x", "<= %.1f" % X100_OVER_BARE, fast <= X100_OVER_BARE * floor)
    row("samples a second at x10,000, over %d s" % SPEED_S, rates[10000], "/s", ">= %d" % AT_X10000,
        rates[10000] >= AT_X10000)
    row("CPU at x10,000, over the same %d s" % SPEED_S, far_cpu, "%", "<= %d %% (one core)" % X10000_CPU,
        far_cpu <= X10000_CPU)
    row("x10,000: from the click to %.0e samples" % FAR, far_s, "s", "<= %d s" % FAR_S,
        far_s is not None and far_s <= FAR_S)
    row("CPU slowed %dx: samples a second at x10,000" % SLOWED, slow[10000], "/s", ">= %d" % SLOWED_X10000,
        slow[10000] >= SLOWED_X10000)
    row("CPU slowed %dx: samples a second at x100" % SLOWED, slow[100], "/s", ">= %d (its full 10,000)" % SLOWED_X100,
        slow[100] >= SLOWED_X100)
    row("page at x1, sound on (one turn)", heard, "%", "(a record)", None)
    row("page paused, sound on", heard_paused, "%", "< %g %% of a core" % PAUSED_CPU, heard_paused < PAUSED_CPU)


if __name__ == "__main__":
    main()
