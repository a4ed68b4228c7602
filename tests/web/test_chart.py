# SPDX-FileCopyrightText: 2026 The Quorvel developers
# SPDX-License-Identifier: MIT
"""The chart: an image whose words, as a screen reader gets them, follow the
strip and give the band it stays in."""
import math
import re

from conftest import total, wait_for

# The band holds about 95 runs in 100: two standard deviations of a
# sample's 4 x inside, whose mean is the settle value 3.1419, over sqrt(n).
BAND = 2 * math.sqrt(3.1419 * (4 - 3.1419))
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
