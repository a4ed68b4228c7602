# SPDX-FileCopyrightText: 2026 The Quorvel developers
# SPDX-License-Identifier: MIT
"""Memory: a page left on all day keeps flat memory, since the chart keeps at
most some 400 points and the program allocates nothing.  Its JavaScript heap,
after a collection, a few minutes apart."""
import time

from conftest import figure

SETTLES_S, SOAK_S, GROWTH_KIB = 20, 150, 256


def test_heap_stays_flat(chromium, serve):
    chromium.get(serve().url)
    heaps = []
    for spell in (SETTLES_S, SOAK_S):
        time.sleep(spell)
        chromium.cdp("HeapProfiler.collectGarbage")
        heaps.append(chromium.cdp("Runtime.getHeapUsage")["usedSize"] / 1024)
    figure("the page's heap over %d s: %.0f KiB, then %.0f KiB" % (SOAK_S, *heaps))
    assert heaps[1] - heaps[0] <= GROWTH_KIB, heaps
