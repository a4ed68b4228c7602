# SPDX-FileCopyrightText: 2026 The Quorvel developers
# SPDX-License-Identifier: MIT
"""The chart: an image whose words, as a screen reader gets them, follow the
strip and give the band it stays in, and say when pi leaves it."""
import math
import re

import pytest

from conftest import paste, screen, text, total, wait_for
from test_languages import DRAWN

# The band holds about 95 runs in 100: two standard deviations of a
# sample's 4 x inside, whose mean is the settle value 3.1419, over sqrt(n).
BAND = 2 * math.sqrt(3.1419 * (4 - 3.1419))
SHARE = 125676 / 160000
LEFT = "From about 114 million samples on, \u03c0 is outside the band: the estimate is finding the board's 3.1419, " \
    "not \u03c0."
AXIS = re.compile(r"1[0,]*|\d+[MB]")  # the horizontal axis's labels, in English
WORDS = (r"Samples taken: ([\d,]+)\. The estimate is (\d\.(\d+)), (\d\.\d+) (below|above) \u03c0\."
         r" At this number of samples, about 95 runs in 100 are within \u00b1(\d\.\d+) of 3\.1419")


def test_chart_words_follow_the_strip(page):
    """Within half a second (50 steps at 100 a second, and a few for the
    moment between the two readings), with the band's half-width at that
    count."""
    role, name, text = wait_for(lambda: re.search(WORDS, (d := page.described("#chart"))[2]) and d, 5) \
        or page.described("#chart")
    shown = total(page)
    found = re.search(WORDS, text)
    assert found, text
    n, unit = int(found[1].replace(",", "")), 10 ** -len(found[3])
    off = float(found[2]) - math.pi
    assert role == "image" and "Chart" in name and 0 <= shown - n <= 60, (shown, text)
    assert abs(float(found[6]) - BAND / math.sqrt(n)) <= 0.6 * unit, text
    assert abs(float(found[4]) - abs(off)) <= 1.1 * unit and (found[5] == "below") == (off < 0), text


def drawn_texts(browser):
    return " ".join(d[0] for d in browser.run("return drawn"))


@pytest.mark.parametrize("pooled,outside", [(10 ** 8, False), (10 ** 9, True)], ids=["1e8", "1e9"])
def test_words_say_when_pi_leaves_the_band(fresh, serve, pooled, outside):
    """A class pooled to 10^8 samples, short of the 114 million where the
    band leaves pi, and to 10^9, past it; then this run's strip at 10^10:
    the chart's and the picture's words say pi is outside, the chart marks
    the count in its key, and on a phone's chart the axis's labels stay
    apart."""
    fresh.preload(DRAWN)
    screen(fresh, 320, 640, True)
    paste(fresh, serve().url, "%d/%d" % (round(pooled * SHARE), pooled))
    fresh.click("pause")
    assert wait_for(lambda: "the class together" in drawn_texts(fresh), 3), drawn_texts(fresh)
    assert wait_for(lambda: "Runs of the class" in text(fresh, "chart-reading"), 3)
    assert (LEFT in text(fresh, "chart-reading")) == outside, text(fresh, "chart-reading")
    assert ("\u03c0 leaves the band" in drawn_texts(fresh)) == outside, drawn_texts(fresh)
    fresh.run("Module.quorvelStrip('3.14190001', '7854750002/10000000000'); window.drawn = [];")
    assert wait_for(lambda: LEFT in text(fresh, "reading") and LEFT in text(fresh, "chart-reading"), 3), \
        (text(fresh, "reading"), text(fresh, "chart-reading"))
    axis = wait_for(lambda: sorted(d[1:3] for d in fresh.run("return drawn") if AXIS.fullmatch(d[0])), 3)
    assert len(axis) >= 4 and all(a[1] < b[0] for a, b in zip(axis, axis[1:])), axis
