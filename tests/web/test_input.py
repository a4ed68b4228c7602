# SPDX-FileCopyrightText: 2026 The Quorvel developers
# SPDX-License-Identifier: MIT
"""Input: the desktop's checks that keys and pointer moves take samples and
that closing the window ends the program, against the page in each browser
and place; and a finger on a touch screen, over the picture and below it."""
import time

import pytest

from conftest import SEEN, screen, total, wait_for

# WebKitGTK on Xvfb hands the page only some of the keys and pointer moves
# the check sends (14 to 39 of 50 in three runs, even 40 ms apart).
COUNTED = [seen for seen in SEEN if seen[0] != "webkit"]


@pytest.mark.parametrize("desktop_check", COUNTED, indirect=True, ids="-".join)
def test_input_takes_samples_and_never_ends(desktop_check):
    desktop_check("InputTakesSamplesAndNeverEnds")


def test_closing_ends_with_status_zero(desktop_check):
    desktop_check("ClosingEndsWithStatusZero")


def on_a_phone(chromium, url):
    screen(chromium, 320, 480, True)
    chromium.get(url)
    chromium.run("""window.touches = 0;
        for (const t of ["touchstart", "touchmove", "touchend"])
          document.getElementById("canvas").addEventListener(t, () => window.touches++, {passive: true});""")
    assert wait_for(lambda: chromium.run("return window.tally"), 5)


def drag(chromium, x, y0, y1, steps=30):
    """A finger's drag, its moves paced as a finger's are."""
    for i in range(steps + 2):
        kind = "touchStart" if i == 0 else "touchEnd" if i > steps else "touchMove"
        chromium.cdp("Input.dispatchTouchEvent", type=kind,
                     touchPoints=[] if i > steps else [{"x": x, "y": y0 + (y1 - y0) * i // steps}])
        time.sleep(0.015)


def settled(chromium):
    """The tally once it holds still for a fifth of a second."""
    seen = [total(chromium)]
    wait_for(lambda: seen.append(total(chromium)) or seen[-1] == seen[-2], 5, every=0.2)
    return seen[-1]


def test_drag_over_the_picture_takes_a_sample_per_touch_and_leaves_the_page_still(chromium, serve):
    """Paused, so that the touches are all that takes samples, and can be
    counted exactly."""
    on_a_phone(chromium, serve().url)
    chromium.click("pause")
    before, touches = settled(chromium), chromium.run("return window.touches")
    drag(chromium, 150, 100, 250)
    samples, events = settled(chromium) - before, chromium.run("return window.touches") - touches
    found = {"a sample per touch": samples == events and events > 0,
             "the page where it was": chromium.run("return scrollY") == 0}
    assert all(found.values()), "%s: %d touch events, %d samples" % (found, events, samples)


def test_swipe_below_the_picture_scrolls_the_page(chromium, serve):
    on_a_phone(chromium, serve().url)
    drag(chromium, 150, 460, 200)
    assert wait_for(lambda: chromium.run("return scrollY") > 0, 3)
