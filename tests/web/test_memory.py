# SPDX-FileCopyrightText: 2026 The Quorvel developers
# SPDX-License-Identifier: MIT
"""Memory: a page left on all day, with 200 of the class's runs on its chart,
keeps flat memory, since the chart keeps at most some 400 points and the
program allocates nothing: its JavaScript heap after a collection, minutes
apart.  Its pace then is printed, not held against a busy machine."""
import time

from conftest import figure, paste
from test_class import tallies

SETTLES_S, SOAK_S, GROWTH_KIB = 20, 160, 256


def test_heap_stays_flat_with_the_class_runs_on_the_chart(chromium, serve):
    paste(chromium, serve().url, tallies(200, 4)[1])
    heaps, counts = [], []
    for spell in (SETTLES_S, SOAK_S):
        time.sleep(spell)
        chromium.cdp("HeapProfiler.collectGarbage")
        heaps.append(chromium.cdp("Runtime.getHeapUsage")["usedSize"] / 1024)
        counts.append((time.monotonic(), chromium.run("return window.quorvel.chartKept().at(-1)[0]")))
    pace = (counts[1][1] - counts[0][1]) / (counts[1][0] - counts[0][0])
    figure("200 of the class's runs on the chart over %d s: the page's heap %.0f KiB, then %.0f KiB; "
           "%.1f samples a second" % (SOAK_S, *heaps, pace))
    assert heaps[1] - heaps[0] <= GROWTH_KIB, heaps
