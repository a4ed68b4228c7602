# SPDX-FileCopyrightText: 2026 The Quorvel developers
# SPDX-License-Identifier: MIT
"""What the page says where it cannot run, in place of the picture and to a
screen reader alike; in Chromium, a browser of its own for each check, as
parts of it are taken away."""
import os
import re
import shutil
import tempfile
import time

import pytest

from conftest import figure, reading, wait_for

SAYS_WHY_S = 5
FRAME_TICKS = 16  # the most ticks a display frame accounts for
DAMAGES = {"lost": os.remove, "not WebAssembly": lambda path: open(path, "w").write("<!DOCTYPE html><p>Not found")}
SAID = "const t = document.getElementById('trouble'); return t.hidden ? null : [t.textContent, " \
    "document.getElementById('reading').textContent, document.getElementById('canvas').hidden]"
# Every tally the program hands over, one with each picture it shows, the time of the last, and how many
# events SDL had been given by then: each is a sample of its own (a focus change from the X server too).
FOLLOW = "const take = Module.quorvelStrip; window.totals = []; window.given = []; window.sdlEvents = 0; " \
    "for (const t of 'focus blur visibilitychange keydown keyup mousedown mouseup mousemove touchstart touchend " \
    "touchmove wheel'.split(' ')) addEventListener(t, (e) => [window, document, Module.canvas].includes(e.target) " \
    "&& sdlEvents++, true); " \
    "Module.quorvelStrip = (e, t, l) => { totals.push(Number(t.split('/')[1])); given.push(sdlEvents); " \
    "window.lastPicture = performance.now(); take(e, t, l); };"
# The program's steps held where it sleeps, until a display frame (or, hidden, a timeout), as on a phone
# that falls behind; the page's own timers run on.
HOLD = """window.held = [];
    window.keep = [setTimeout, requestAnimationFrame];
    window.setTimeout = (f, ms, ...a) => held.push(() => f(...a));
    window.requestAnimationFrame = (f) => held.push(() => f(performance.now()));"""
RELEASE = """[window.setTimeout, window.requestAnimationFrame] = keep;
    held.splice(0).forEach((f) => setTimeout(f, 0));
    return totals.length;"""
RUNS_AGAIN = "return document.getElementById('trouble').hidden && !document.getElementById('canvas').hidden " \
    "&& totals.length > arguments[0] + 50"


@pytest.mark.provokes("the browser's own words on quorvel.wasm, which fails to load or to compile")
@pytest.mark.parametrize("damage", DAMAGES)
def test_says_why_in_place_of_the_picture(browser, folder, serve, damage):
    """quorvel.wasm lost or damaged; a screen reader gets the same words."""
    copy = shutil.copytree(folder, tempfile.mkdtemp() + "/web")
    DAMAGES[damage](copy + "/quorvel.wasm")
    browser.get(serve(copy).url)
    begun = time.monotonic()
    said = wait_for(lambda: browser.run("return !document.getElementById('trouble').hidden"), SAYS_WHY_S + 2)
    took = time.monotonic() - begun
    shown, heard, hidden = browser.run("""return [document.getElementById("trouble").innerText,
        document.getElementById("reading").textContent, document.getElementById("canvas").hidden]""")
    figure("quorvel.wasm %s, in %s: said in %.1f s" % (damage, type(browser).__name__, took))
    assert said and hidden and shown == heard and shown.startswith("Quorvel could not start") and \
        "quorvel.html" in shown and took < SAYS_WHY_S, (took, shown)


def unknowing(folder):  # the one file's policy as a browser that does not know 'wasm-unsafe-eval' reads it
    copy = tempfile.mkdtemp() + "/quorvel.html"
    with open(folder + "/quorvel.html", encoding="utf-8") as one, open(copy, "w", encoding="utf-8") as f:
        f.write(re.sub(r"(script-src[^\"]*) 'wasm-unsafe-eval'", r"\1", one.read()))
    return copy


@pytest.mark.parametrize("taken, where, need", [
    ("delete window.DecompressionStream", "quorvel.html", "unpack"),
    ("delete window.DecompressionStream", "index.html", "unpack"),
    ("delete window.WebAssembly", "index.html", "WebAssembly"),
    pytest.param("delete window.WebAssembly", "quorvel.html", "WebAssembly", marks=pytest.mark.provokes(
        "the one file's program, which runs under the watch, finds no WebAssembly")),
    ("", None, "WebAssembly")])
def test_a_browser_without_what_the_page_needs_is_named(fresh, folder, taken, where, need):
    fresh.preload(taken)
    fresh.get("file://" + (folder + "/" + where if where else unknowing(folder)))
    assert wait_for(lambda: fresh.run("return document.readyState === 'complete' && "
                                      "!document.getElementById('trouble').hidden"), 5)
    shown, heard, hidden = fresh.run(SAID)
    fetched = fresh.run("return performance.getEntriesByType('resource').map((e) => e.name)")
    assert hidden and shown == heard and need in shown and "browser" in shown and "quorvel.wasm" not in shown
    assert re.search(r"Safari \d+(\.\d+)?, Chrome and Edge \d+, and Firefox \d+", shown)
    assert not [name for name in fetched if re.search(r"quorvel(-wasm)?\.js$", name)]


def test_silence_is_taken_back_and_quiet_is_not_held_against_the_program(fresh, folder):
    fresh.get("file://%s/index.html" % folder)
    assert wait_for(lambda: reading(fresh), 10)
    fresh.run(FOLLOW)
    assert wait_for(lambda: fresh.run("return totals.length > 5"), 5)
    fresh.run(HOLD)
    shown, heard, hidden = wait_for(lambda: fresh.run(SAID), 15)
    spoke = fresh.run("return performance.now() - lastPicture")
    assert hidden and shown == heard and "waiting" in shown and "stopped" not in shown
    released = fresh.run(RELEASE)
    assert wait_for(lambda: fresh.run(RUNS_AGAIN, released), 5)
    # Paused, twice as long as the watcher needed to speak, and nothing is said; played, it runs on.
    fresh.click("pause")
    assert wait_for(lambda: fresh.run("return performance.now() - lastPicture > 2 * arguments[0]", spoke), 30)
    assert fresh.run(SAID) is None
    fresh.click("pause")
    released = fresh.run("return totals.length")
    assert wait_for(lambda: fresh.run(RUNS_AGAIN, released), 5)
    # Every picture shows the samples taken since the last: at most a frame's worth of ticks at x1, and the events.
    totals, given = fresh.run("return [totals, given]")
    assert not [(a, b) for a, b, i, j in zip(totals, totals[1:], given, given[1:])
                if not 0 < b - a <= FRAME_TICKS + j - i], list(zip(totals, given))
