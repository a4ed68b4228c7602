# SPDX-FileCopyrightText: 2026 The Quorvel developers
# SPDX-License-Identifier: MIT
"""The teacher's controls: pause, one sample, starting again right after it
and sound in every browser, the sound heard as it leaves the page; the
speeds, starting again and full screen in Chromium and Firefox, each pressed
as a user would; a thousand new starts in a row in Chromium."""
import math
import time

import pytest

from conftest import figure, heard, hearing, pitch, text, total, wait_for

BOARD = 400
DISC_PIXELS = 25  # fewer than a disc of radius 3 covers
DISC_BOX = 49  # more than it covers
SLOWED = 50  # times: a step at x10,000 then takes longer than a frame's share
# The board's pixels as the page shows them: the grey ones, which every
# sample leaves behind, those of the trail's newer colours, the black ones no
# sample has reached, and the grey ones over the white border, where only
# the oldest trail disc may lie in a whole picture.
BOARD_PIXELS = """const pixels = document.getElementById("canvas").getContext("2d").getImageData(0, 0, %d, %d).data;
let grey = 0, other = 0, black = 0, edge = 0;
for (let i = 0; i < pixels.length; i += 4) {
  const [r, g, b] = [pixels[i], pixels[i + 1], pixels[i + 2]], x = i / 4 %% %d, y = Math.floor(i / 4 / %d);
  if (r === 100 && g === 100 && b === 100) grey++, edge += x < 5 || x > 395 || y < 5 || y > 395;
  else if (r + g + b === 0) black++;
  else if (!(r === g && g === b && r === 255)) other++;
}
return [grey, other, black, edge];""" % (BOARD, BOARD, BOARD, BOARD)
# Starts the program again and again, paused, each run with one sample, whose step notes the stack.
RESTARTS = """const pace = quorvel.pace, take = Module.quorvelStrip;
  window.restarts = {left: arguments[0], stacks: []};
  Module.quorvelStrip = (estimate, tally, landed) => {
    take(estimate, tally, landed);
    if (!tally.endsWith("/1")) return;
    restarts.stacks.push(Module.stackSave());
    if (--restarts.left === 0) Module.quorvelStrip = take;
    else Object.assign(pace, {again: true, steps: 1}).poke(); };
  Object.assign(pace, {again: true, steps: 1}).poke();"""
FULL = "return (document.fullscreenElement || document.webkitFullscreenElement) === document.getElementById('stage')"
# The browsers that full screen and the speeds are checked in.
TEACHERS = pytest.mark.parametrize("browser", ["chromium", "firefox"], indirect=True)


def full_screen(browser):
    """Full screen where the browser allows it: headless Firefox answers
    every request, even a trusted click's, with a fullscreenerror."""
    if type(browser).__name__ == "Firefox":
        return False
    browser.click("fullscreen")
    assert wait_for(lambda: browser.run(FULL), 5)
    return True


def pause(browser):
    browser.click("pause")
    assert wait_for(lambda: text(browser, "pause") == "Play", 2)
    return total(browser)


def rate(browser, seconds):
    before, start = total(browser), time.monotonic()
    time.sleep(seconds)
    return (total(browser) - before) / (time.monotonic() - start)


def test_pause_holds_the_tally_and_one_sample_takes_one(page):
    assert page.run("return document.getElementById('step').disabled"), "one sample while running"
    held = pause(page)
    time.sleep(2)
    assert total(page) == held
    for _ in range(5):
        page.click("step")
    assert wait_for(lambda: total(page) == held + 5, 5), total(page)
    time.sleep(0.5)
    assert total(page) == held + 5
    # Five more asked for, and Start again pressed at once: the new run has none of them.
    page.run("""for (let i = 0; i < 5; i++) document.getElementById("step").click();
        document.getElementById("again").click();""")
    assert wait_for(lambda: sum(page.run(BOARD_PIXELS)[:2]) == 0, 5), "the new run took the old one's samples"
    page.click("step")
    assert wait_for(lambda: total(page) == 1, 5) and not wait_for(lambda: total(page) != 1, 0.5), total(page)


def whole(browser, samples):
    """Whether the picture shown is whole: its frame drawn over the grey
    dots, a trail in its colours, and as much of the board grey as so many
    samples leave, with at most twice the black pixels chance leaves."""
    grey, other, black, edge = browser.run(BOARD_PIXELS)
    uncovered = BOARD * BOARD * math.exp(-(samples - 10) * DISC_PIXELS / BOARD ** 2)
    return edge <= DISC_BOX and other > 0 and black <= 2 * uncovered, (grey, other, black, edge, samples)


@TEACHERS
def test_x100_and_x10000_keep_pace_and_the_picture_whole(page):
    """x100 takes over 20 times x1's samples, x10,000 over 50 times x100's;
    at x10,000, where most steps draw only their lasting disc, pictures keep
    coming and each is whole, also in Chromium slowed until frames end with
    ticks still owed, and so is the picture paused on, whose strip gives the
    estimate of its own tally."""
    slow = rate(page, 3)
    page.click("speed-100")
    rate(page, 0.5)
    fast = rate(page, 3)
    page.click("speed-10000")
    rate(page, 0.5)
    fastest = rate(page, 3)
    figure("x1 %.0f, x100 %.0f, x10,000 %.0f samples a second, in %s" % (slow, fast, fastest, type(page).__name__))
    assert fastest >= 50 * fast >= 1000 * slow > 0, (slow, fast, fastest)
    slowed = hasattr(page, "cdp")
    try:
        for turn in range(5):
            if turn == 3 and slowed:  # so slow that a frame's time runs out before its ticks
                page.cdp("Emulation.setCPUThrottlingRate", rate=SLOWED)
            before = total(page)
            assert wait_for(lambda: total(page) > before, 10), "no new picture in 10 s"
            shown = whole(page, total(page))
            assert shown[0], shown[1]
        pause(page)
    finally:
        if slowed:
            page.cdp("Emulation.setCPUThrottlingRate", rate=1)
    inside, samples = map(int, page.run("return window.tally").split("/"))
    shown = whole(page, samples)
    assert page.run("return window.estimate") == "%.8f" % (4 * inside / samples) and shown[0], (inside, shown[1])


@pytest.mark.parametrize("paused", [False, True], ids=["running", "paused"])
@TEACHERS
def test_start_again_in_full_screen(page, paused):
    """A new run on a cleared board, still in full screen and at its speed;
    paused, on the program's start-up picture until a sample is asked for."""
    full = full_screen(page)
    page.click("speed-100")
    assert wait_for(lambda: total(page) > 500, 5)
    speed = "speed-100" if paused else "speed-1"  # at x1, a new run's first tallies can be seen
    page.click(speed)
    if paused:
        pause(page)
    page.click("again")
    if paused:
        assert wait_for(lambda: sum(page.run(BOARD_PIXELS)[:2]) == 0, 5), "the old run's picture stays"
        page.click("step")
        assert wait_for(lambda: total(page) == 1, 5), "a step ran while paused"
    else:
        assert wait_for(lambda: total(page) < 50, 5)
    samples = total(page)
    assert sum(page.run(BOARD_PIXELS)[:2]) <= samples * 4 * DISC_PIXELS + 4 * DISC_PIXELS
    assert page.run(FULL) == full and page.run("return document.getElementById(arguments[0]).checked", speed)


@TEACHERS
def test_paused_is_not_stopped_and_full_screen_is_described(page):
    """Paused well past the watcher's limit, the page still says nothing
    of stopping; in full screen a screen reader gets the picture's and the
    chart's numbers, and that the run is paused."""
    full_screen(page)
    described = lambda: [page.described(e)[2] for e in ("#canvas", "#chart")]  # noqa: E731
    assert wait_for(lambda: "circle:" in described()[0] and "Samples taken:" in described()[1], 3), described()
    held = pause(page)
    time.sleep(5)
    assert page.run("return document.getElementById('trouble').hidden")
    assert described()[0].startswith("Paused. Samples taken: {:,}.".format(held)), described()
    page.click("pause")
    assert wait_for(lambda: total(page) > held, 5)


def test_a_thousand_new_starts_leave_the_stack_as_it_was_and_the_page_running(chromium, serve):
    chromium.get(serve().url)
    pause(chromium)
    begun = time.monotonic()
    chromium.run(RESTARTS, 1000)
    assert wait_for(lambda: chromium.run("return restarts.left") == 0, 600), chromium.run("return restarts.left")
    figure("1000 new starts in %.0f s, in Chromium" % (time.monotonic() - begun))
    stacks = chromium.run("return restarts.stacks")
    chromium.click("pause")
    assert len(stacks) == 1000 and len(set(stacks)) == 1 and wait_for(lambda: total(chromium) > 50, 5), set(stacks)


def test_sound_is_asked_for_stops_when_paused_and_tells_where_samples_land(page):
    """Nothing is made before Sound is pressed, nor heard from a hidden tab or once paused; then
    each "One sample" is a note, higher for a sample the strip counts inside
    than for one outside, and from the side of the board it landed on."""
    held = total(page)
    assert wait_for(lambda: total(page) > held + 50, 5) and not page.run("return !!window.hearing")
    page.click("sound")
    assert wait_for(lambda: heard(page), 5), "nothing heard at x1"
    page.click("speed-100")
    since = hearing(page)
    assert wait_for(lambda: heard(page, since + 0.5), 5), "nothing heard at x100"
    page.click("speed-1")
    tab = "document.dispatchEvent(new Event('visibilitychange'))"
    page.run("Object.defineProperty(document, 'visibilityState', {value: 'hidden', configurable: true});" + tab)
    hidden = hearing(page)
    time.sleep(1.5)
    assert not heard(page, hidden + 0.3), "heard from a hidden tab"
    page.run("delete document.visibilityState;" + tab)
    pause(page)
    paused = hearing(page)
    time.sleep(1.5)
    assert not heard(page, paused + 0.3), "heard while paused"
    notes = []
    while len({inside for inside, *_ in notes}) < 2 and len(notes) < 60:
        inside, taken = map(int, page.run("return window.tally").split("/"))
        since = hearing(page)
        page.click("step")
        assert wait_for(lambda: total(page) == taken + 1 and hearing(page) > since + 0.5, 5)
        blocks = heard(page, since)
        notes.append((int(page.run("return window.tally").split("/")[0]) > inside, pitch(blocks),
                      page.run("return window.landed.at(-1).x"), sum(b[2] - b[1] for b in blocks),
                      max(b[3] for b in blocks)))
    highs, lows = ([p for inside, p, *_ in notes if inside == kind] for kind in (True, False))
    figure("One sample heard in %s: %d notes, inside %.0f-%.0f Hz, outside %.0f-%.0f Hz, peak %.2f of full scale"
           % (type(page).__name__, len(notes), min(highs), max(highs), min(lows), max(lows), max(n[4] for n in notes)))
    assert min(highs) > max(lows) > 0 and max(n[4] for n in notes) < 1, notes
    assert all((right > 0) == (x > 200) for _, _, x, right, _ in notes if abs(x - 200) > 40), notes
    page.get(page.run("return location.href"))
    assert page.run("return document.getElementById('sound').getAttribute('aria-pressed')") == "true"
    assert not page.run("return !!window.hearing"), "sound before the page was touched"


def test_controls_read_as_buttons_and_a_group(chromium, serve):
    chromium.get(serve().url)
    found = [chromium.described(e)[:2] for e in ("#pause", "#step", "#speed", "#speed-1", "#again")]
    checked = chromium.cdp("Accessibility.getPartialAXTree", fetchRelatives=False, nodeId=chromium.cdp(
        "DOM.querySelector", nodeId=chromium.cdp("DOM.getDocument")["root"]["nodeId"], selector="#speed-1")["nodeId"])
    states = {p["name"]: p["value"].get("value") for p in checked["nodes"][0].get("properties", [])}
    assert found == [("button", "Pause"), ("button", "One sample"), ("group", "Speed"), ("radio", "\u00d71"),
                     ("button", "Start again")] and states.get("checked") == "true", (found, states)
