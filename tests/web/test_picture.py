# SPDX-FileCopyrightText: 2026 The Quorvel developers
# SPDX-License-Identifier: MIT
"""Picture and pace: the desktop's checks of the window's frame, trail and
strip, and of a tally that grows, against the page in each browser and
place; and the whole picture on screens from a phone's to a laptop's, with
the strip's figures in the page's type under it where it is shrunk."""
import pytest

from conftest import screen, wait_for


def test_window_shows_frame_trail_and_strip(desktop_check):
    desktop_check("WindowShowsFrameTrailAndStrip")


@pytest.mark.parametrize("width", [320, 360, 400, 1280])
def test_whole_picture_with_the_chart_under_or_beside_it(chromium, serve, width):
    """The chart under the picture or, from 760 px, beside it; nothing sideways."""
    screen(chromium, width, 740, width < 1000)
    chromium.get(serve().url)
    scroll, view, box, chart = chromium.run("""
        const box = document.getElementById("canvas").getBoundingClientRect();
        const chart = document.getElementById("chart").getBoundingClientRect();
        return [document.documentElement.scrollWidth, innerWidth, [box.left, box.width, box.height],
                [chart.left, chart.right, chart.top, chart.bottom]];""")
    shown = min(width, 400)
    placed = chart[1] <= width and (chart[0] >= 400 and chart[3] <= 740 if width > 760 else chart[2] >= box[2])
    assert scroll <= view and box == [0, shown, shown * 420 / 400] and placed, (box, chart, scroll, view)
    chromium.cdp("Browser.grantPermissions", permissions=["clipboardReadWrite", "clipboardSanitizedWrite"],
                 origin=chromium.current_url.rstrip("/"))
    chromium.click("pause")
    again = """const count = document.getElementById("strip-count"), size = parseFloat(getComputedStyle(count).fontSize);
        const hidden = document.getElementById("strip-again").hidden;
        return [hidden, !hidden && count.textContent === window.tally && size >= 16];"""
    assert wait_for(lambda: chromium.run(again) == [width >= 400, width < 400], 5), chromium.run(again)
    if width < 400:
        chromium.click("copy")
        assert wait_for(lambda: chromium.run("return navigator.clipboard.readText()") == chromium.run(
            "return window.tally"), 5)
