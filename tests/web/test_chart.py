# SPDX-FileCopyrightText: 2026 The Quorvel developers
# SPDX-License-Identifier: MIT
"""The chart: an image whose words, as a screen reader gets them, follow the
strip and give the band it stays in, and say when pi leaves it; heard, read
point by point, and as a table."""
import math
import re
import statistics

import pytest
from selenium.webdriver.common.keys import Keys

from conftest import figure, heard, hearing, paste, pitch, screen, text, total, wait_for
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


# A run whose estimate rises from about pi to over 3.1419 over its first two decades, then
# falls back to 3.1419 over two more, as the program would hand the page its tallies.
RUN = [(round(10 ** (4 + k / 4) * (3.1414 + 0.001 * min(k, 8) / 8 - 0.0005 * max(k - 8, 0) / 8) / 4),
        round(10 ** (4 + k / 4))) for k in range(17)]
STRIP = "for (const [i, t] of arguments[0]) Module.quorvelStrip((4 * i / t).toFixed(8), i + '/' + t, []);"
# The blocks' time from the first sound: pi, 3.1419, and the run's path (over the axis's
# second half, as it starts at 10,000 of 100,000,000) in thirds.
HEARD = {"pi": (0.1, 0.4), "3.1419": (0.8, 1.1), "rise": (3.7, 4.2), "top": (4.35, 4.85), "fall": (5.0, 5.5)}


def heard_in(page, since, seconds):
    """The pitch of each block heard from the context's time since on, by its time from the first."""
    assert wait_for(lambda: hearing(page) > since + seconds, seconds + 10)
    blocks = [b for b in heard(page, since) if b[5] > 500]
    return [(b[0] - blocks[0][0], pitch([b])) for b in blocks]


def test_chart_is_heard_and_read_point_by_point_and_as_a_table(page):
    """Paused on a new run: the chart of a run that rises then falls is heard
    rising then falling, after pi and 3.1419; its table ends at the words'
    numbers; and, in Chromium, Home, the arrows and End read its points,
    each with its note."""
    page.click("pause")
    page.click("again")
    assert wait_for(lambda: page.run("return quorvel.chartView() === null"), 5)
    page.run(STRIP, RUN)
    page.click("points-title")
    assert wait_for(lambda: "Samples taken: 100,000,000." in text(page, "chart-reading"), 5)
    rows = wait_for(lambda: page.run("""return [...document.querySelectorAll("#points-table tr")]
        .map((tr) => [...tr.cells].map((c) => c.textContent));"""), 5)
    words = re.search(r"estimate is (3\.(\d+))", text(page, "chart-reading"))
    assert [int(r[1].replace(",", "")) for r in rows[1:]] == [t for _, t in RUN], rows
    assert rows[-1][0] == "this run" and round(float(rows[-1][3]), len(words[2])) == float(words[1]), (rows[-1], words)
    since = hearing(page)
    page.click("listen")
    found = heard_in(page, since, 6)
    median = {name: statistics.median(p for t, p in found if low <= t <= high) for name, (low, high) in HEARD.items()}
    figure("the chart heard in %s: %s Hz" % (type(page).__name__, ", ".join("%s %.0f" % m for m in median.items())))
    assert median["pi"] < median["3.1419"] and median["rise"] < median["top"] > median["fall"], (median, found)
    if type(page).__name__ != "Chromium":
        return
    notes = {}
    for name, keys, said in [("first", Keys.HOME, "10,000"), ("", Keys.RIGHT * 7, "562,341"),
                             ("top", Keys.RIGHT, "1,000,000"), ("now", Keys.END, "100,000,000")]:
        since = hearing(page)
        page.find_element("id", "chart-points").send_keys(keys)
        value = page.run("return document.getElementById('chart-points').getAttribute('aria-valuetext')")
        assert value.startswith("Samples taken: %s. Estimate: 3.14" % said), value
        notes[name] = statistics.median(p for _, p in heard_in(page, since, 0.5))
    assert notes["first"] < notes["now"] < notes["top"], notes
    # A point kept while the reader is on a pupil's run moves it along the list, not the reader off it.
    paste(page, None, "7853/10000 78540/100000")
    page.find_element("id", "chart-points").send_keys(Keys.END + Keys.LEFT)
    page.run(STRIP, [(157080000, 2 * 10 ** 8)])
    page.find_element("id", "chart-points").send_keys(Keys.LEFT)
    value = page.run("return document.getElementById('chart-points').getAttribute('aria-valuetext')")
    assert "Samples taken: 10,000." in value, value


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
